#pragma once

#include <QString>
#include <QStringList>

class QAbstractButton;
class QComboBox;
class QListView;

// Reading and driving the report windows' lists.
QStringList comboEntries(const QComboBox* box);
QStringList listEntries(const QListView* list);
// A button's caption as it reads, without the mark of its Alt key.
QString caption(const QAbstractButton* button);
// Opens the drop-down list and clicks its entry, as the shop keeper picks a date.
void pickEntry(QComboBox* box, int index);

// The text of a PDF as pdftotext reads it, keeping the layout; pages first..last (0: all).
QString pdfText(const QString& path, int first = 0, int last = 0);
// The number of pages pdfinfo finds; -1 when it cannot read the file.
int pdfPages(const QString& path);
