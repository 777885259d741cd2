#include "catalogue/core/Barcode.h"

#include "store/DataWorkbook.h"
#include "store/Workbook.h"
#include "store/Worksheet.h"

namespace catalogue {

namespace col = store::layout::article;

std::optional<BarcodeHit> findBarcode(const store::DataWorkbook& data, const QString& code)
{
    const QString wanted = code.trimmed();
    if (wanted.isEmpty()) return std::nullopt;
    const store::Workbook& workbook = data.workbook();
    for (int i = 1; i <= workbook.sheetCount(); ++i) {
        const store::Worksheet& article = workbook.sheets(i);
        if (article.Name() == store::layout::kIndexSheet) continue;
        const int last = col::recordRow(data.goodsCount(article));
        for (int row = col::recordRow(1); row <= last; ++row)
            if (article.value(row, col::kBarcode).toText().trimmed() == wanted) return BarcodeHit{article.Name(), row};
    }
    return std::nullopt;
}

QString unknownBarcodeText(const QString& code)
{
    return QStringLiteral("Няма стока с баркод „%1“.").arg(code.trimmed());
}

} // namespace catalogue
