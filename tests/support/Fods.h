#pragma once

// Flat OpenDocument spreadsheets (.fods) written by tests, for LibreOffice to turn into the
// .xls files our reader must take.

#include <QString>
#include <QStringList>
#include <vector>

namespace testsupport::fods {

// One cell's XML. Formulas are in OpenFormula syntax ("of:=SUM([.A1:.A3])"); LibreOffice
// computes them when it loads the file. A style names one of the styles given to write().
QString text(const QString& value, const QString& style = {});
QString number(double value, const QString& style = {});
QString boolean(bool value);
QString formula(const QString& openFormula);
// A cell spanning cols × rows; the covered cells of its own row follow it here, those of the
// rows below must be given as covered() in those rows.
QString spanning(const QString& value, int cols, int rows, const QString& style = {});
QString covered();
QString empty();

struct Sheet {
    QString name;
    QStringList columnStyles;              // one per column from A, empty for the default
    std::vector<QStringList> rows;         // cells from column A
};

// Writes the document; styles is the XML of its automatic styles (cells and columns).
bool write(const QString& path, const std::vector<Sheet>& sheets, const QString& styles = {});

} // namespace testsupport::fods
