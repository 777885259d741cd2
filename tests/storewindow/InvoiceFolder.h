#pragma once

#include "store/Workbook.h"

#include <QString>
#include <QTemporaryDir>
#include <vector>

// A folder holding the demo's blank invoice form, Faktura.xls.
class InvoiceFolder {
public:
    InvoiceFolder();
    QString form() const { return file(QStringLiteral("Faktura.xls")); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

struct InvoiceLine {
    QString name;
    int count;
    double price;
};

// Three lines of goods with Cyrillic names and prices that need rounding.
extern const std::vector<InvoiceLine> kThreeLines;

// Fills the goods rows as a sale fills them: the lines, then empty names with 0 count and price.
void fillLines(store::Worksheet& form, const std::vector<InvoiceLine>& lines);

double round2(double x);
// 1234.5 -> "1234,50": amounts as the form shows them under Bulgarian number settings.
QString money(double x);
