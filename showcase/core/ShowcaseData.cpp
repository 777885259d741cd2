#include "showcase/core/ShowcaseData.h"

#include "common/ProgramFolder.h"
#include "store/DataWorkbook.h"
#include "store/PicturePaths.h"
#include "store/ProgramFiles.h"
#include "store/Workbook.h"
#include "store/Worksheet.h"

#include <algorithm>
#include <cmath>

namespace showcase {

namespace col = store::layout::article;

namespace {

QString pictureFolder(const QString& programFolder)
{
    return app::inFolder(programFolder, store::kPictureFolder);
}

QString text(const store::Worksheet& sheet, int row, int column)
{
    return sheet.shownText(row, column);
}

} // namespace

QStringList articleEntries(const store::Workbook& workbook, int sheetCount)
{
    QStringList entries;
    const int sheets = std::min(sheetCount, workbook.sheetCount());
    for (int i = 1; i <= sheets; ++i) {
        const QString name = workbook.sheets(i).Name();
        if (name != store::layout::kIndexSheet) entries << kArticleListIndent + name;
    }
    if (sheetCount <= 1) entries = QStringList{kNoArticles};
    return entries;
}

QString articleName(const QString& entry)
{
    qsizetype blanks = 0;
    while (blanks < entry.size() && entry[blanks] == QLatin1Char(' ')) ++blanks;
    return entry.mid(blanks);
}

QString noPicturePath(const QString& programFolder)
{
    return app::inFolder(pictureFolder(programFolder), store::kNoPicture);
}

QString noGoodsPicturePath(const QString& programFolder)
{
    return app::inFolder(pictureFolder(programFolder), store::kNoGoods);
}

QString goodsPicturePath(const QString& programFolder, const QString& article, const QString& fileName)
{
    const std::optional<QString> path = store::articlePicture(pictureFolder(programFolder), article, fileName);
    return path && app::ImaFail(*path) ? *path : noPicturePath(programFolder);
}

QString showcasePrice(const store::Value& price)
{
    const auto number = price.toNumber();
    return number ? store::formatMoney(*number) : price.toText();
}

QString detailsPrice(const store::Value& price)
{
    if (price.toText().isEmpty()) return {};
    return showcasePrice(price);
}

SlotContent readSlot(const store::Worksheet& article, int row, const QString& programFolder)
{
    SlotContent slot;
    slot.name = text(article, row, col::kName);
    slot.hasGoods = !slot.name.isEmpty();
    if (!slot.hasGoods) return slot;
    slot.price = showcasePrice(article.value(row, col::kPrice));
    slot.currency = store::currencySign(store::currencyOf(article));
    slot.picture = goodsPicturePath(programFolder, article.Name(), text(article, row, col::kPicture));
    return slot;
}

QString detailsText(const store::Worksheet& article, int row)
{
    const QString crlf = QStringLiteral("\r\n");
    return crlf + text(article, row, col::kName) + crlf
        + QStringLiteral("цена: ") + detailsPrice(article.value(row, col::kPrice)) + QLatin1Char(' ')
        + store::currencySign(store::currencyOf(article)) + crlf
        + crlf + text(article, row, col::kAvailability) + crlf
        + crlf + QStringLiteral("Производител:") + crlf
        + text(article, row, col::kMaker) + crlf
        + crlf + text(article, row, col::kDescription) + crlf;
}

int stockOf(const store::Worksheet& article, int row)
{
    const auto stock = article.value(row, col::kStock).toNumber();
    if (!stock || !std::isfinite(*stock) || *stock < 1) return 0;
    // The quantity box holds at most as many entries as a 16-bit count allows.
    return int(std::min(std::floor(*stock), 32767.0));
}

} // namespace showcase
