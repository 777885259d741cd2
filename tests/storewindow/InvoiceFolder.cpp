#include "InvoiceFolder.h"

#include "tools/InvoiceForm.h"

#include <QLocale>
#include <cmath>

namespace invoice = demo::invoice;

InvoiceFolder::InvoiceFolder()
{
    demo::makeInvoiceForm()->SaveAs(form());
}

const std::vector<InvoiceLine> kThreeLines{{QStringLiteral("Плюшено мече"), 2, 16.2},
                                           {QStringLiteral("Гумено патенце"), 3, 2.88},
                                           {QStringLiteral("Дървен влак с релси"), 1, 118.75}};

void fillLines(store::Worksheet& form, const std::vector<InvoiceLine>& lines)
{
    for (int i = 0; i < invoice::kLineCount; ++i) {
        const int row = invoice::kFirstLineRow + i;
        const bool used = i < int(lines.size());
        form.cells(row, invoice::kNameColumn) = store::Value(used ? lines[size_t(i)].name : QString());
        form.cells(row, invoice::kCountColumn) = store::Value(used ? lines[size_t(i)].count : 0);
        form.cells(row, invoice::kPriceColumn) = store::Value(used ? lines[size_t(i)].price : 0.0);
    }
}

double round2(double x)
{
    return std::round(x * 100) / 100;
}

QString money(double x)
{
    return QString::number(x, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(','));
}
