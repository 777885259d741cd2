#pragma once

#include <QString>
#include <QStringList>

class QAbstractItemView;
class QComboBox;
class QModelIndex;

// The entry a list shows on row: a list view shows one column of its model.
QModelIndex shownIndex(const QAbstractItemView* view, int row);
// The texts a list shows, top to bottom.
QStringList entries(const QAbstractItemView* view);
QStringList entries(const QComboBox* box);
// The row whose text, blanks around it left out, is text; -1 when none is.
int rowOf(const QAbstractItemView* view, const QString& text);
// The current row; -1 when there is none.
int currentRow(const QAbstractItemView* view);
