#include "search/SearchSteps.h"

#include "catalogue/core/Barcode.h"
#include "showcase/core/ShowcaseData.h"
#include "store/DataWorkbook.h"
#include "store/Workbook.h"
#include "store/Worksheet.h"

namespace search {

namespace col = store::layout::article;

namespace {

const QString kPromoted = QStringLiteral("1");
constexpr int kFirstGoodsRow = col::recordRow(1);

// Column `column` of the goods rows 2 to last: what the searches walk.
store::Range goodsColumn(store::Worksheet& article, int column, int last)
{
    return article.Range(kFirstGoodsRow, column, last, column);
}

Outcome record(const store::Worksheet& article, int row, const QString& programFolder)
{
    Outcome shown;
    shown.kind = Outcome::Kind::Record;
    shown.row = row;
    shown.text = recordText(article, row);
    shown.picture = showcase::goodsPicturePath(programFolder, article.Name(), article.shownText(row, col::kPicture));
    return shown;
}

Outcome notFound(const QString& text)
{
    Outcome shown;
    shown.kind = Outcome::Kind::NotFound;
    shown.text = text;
    return shown;
}

Outcome ofKind(Outcome::Kind kind, bool hideNext = false)
{
    Outcome shown;
    shown.kind = kind;
    shown.hideNext = hideNext;
    return shown;
}

Hit hitOf(const store::Worksheet& article, const store::Range& cell)
{
    return {article.Name(), cell.row(), cell.column()};
}

// The article resolution every search step starts with; remembers the article searched. Nothing
// when the step is to go no further, with the outcome to show.
std::optional<Outcome> resolveForSearch(SearchState& state, const store::DataWorkbook& data, const ArticlePick& pick,
                                        ArticleTarget& target)
{
    target = resolveArticle(data, pick);
    switch (target.state) {
    case ArticleTarget::State::NoArticles: return ofKind(Outcome::Kind::Nothing);
    case ArticleTarget::State::NotChosen: return ofKind(Outcome::Kind::NotChosen, true);
    case ArticleTarget::State::Ready: break;
    }
    state.ListZaTyrsene = target.sheet;
    if (target.last <= 1) return ofKind(Outcome::Kind::Nothing);
    return std::nullopt;
}

// The hit after `current` on the article's column, wrapping round, for what the search looks for.
// A current hit on another article's sheet (or none) leaves nothing to continue from.
std::optional<store::Range> findNextOn(store::Worksheet& article, int column, int last,
                                       const std::optional<Hit>& current, const QString& what)
{
    if (!current || current->sheet != article.Name()) return std::nullopt;
    // The next search goes on with this search's criteria, whatever was looked for since.
    article.parent().lastFind = what;
    const store::Range range = goodsColumn(article, column, last);
    return range.FindNext(article.cells(current->row, current->column));
}

} // namespace

ArticleTarget resolveArticle(const store::DataWorkbook& data, const ArticlePick& pick)
{
    ArticleTarget target;
    if (data.counter(store::layout::index::kSheetCount) <= 1) return target;
    if (pick.chooserEntry) {
        target.sheet = showcase::articleName(*pick.chooserEntry);
    } else if (pick.mainListSelected) {
        target.sheet = pick.ImeNaList;
    } else {
        target.state = ArticleTarget::State::NotChosen;
        return target;
    }
    target.state = ArticleTarget::State::Ready;
    target.last = data.goodsCount(data.workbook().sheets(target.sheet)) + 1;
    return target;
}

bool isBlankWord(const QString& word)
{
    return word.isEmpty() || word == QStringLiteral(" ");
}

Outcome TyrseneNaDuma(SearchState& state, const store::DataWorkbook& data, const ArticlePick& pick,
                      const QString& word, const QString& programFolder)
{
    ArticleTarget target;
    if (auto stop = resolveForSearch(state, data, pick, target)) return *stop;
    if (isBlankWord(word)) return ofKind(Outcome::Kind::Blank);
    store::Worksheet& article = data.workbook().sheets(target.sheet);
    state.what = QStringLiteral("*") + word + QStringLiteral("*");
    const auto hit = goodsColumn(article, col::kName, target.last).Find(state.what);
    if (!hit) {
        Outcome shown = notFound(kWordNotFound);
        shown.hideNext = true;
        return shown;
    }
    state.TekushtoNamirane = state.PyrvoNamirane = hitOf(article, *hit);
    return record(article, hit->row(), programFolder);
}

Outcome nextWord(SearchState& state, const store::DataWorkbook& data, const ArticlePick& pick,
                 const QString& word, const QString& programFolder)
{
    ArticleTarget target;
    if (auto stop = resolveForSearch(state, data, pick, target)) return *stop;
    Outcome shown;
    if (isBlankWord(word)) {
        shown = ofKind(Outcome::Kind::Blank, true);
    } else {
        store::Worksheet& article = data.workbook().sheets(target.sheet);
        const auto hit = findNextOn(article, col::kName, target.last, state.TekushtoNamirane, state.what);
        if (hit) {
            shown = record(article, hit->row(), programFolder);
            state.TekushtoNamirane = hitOf(article, *hit);
        } else {
            // Nothing to walk on this article (its goods changed, or the hit lies in another one).
            shown = notFound(kWordNotFound);
            shown.hideNext = true;
        }
    }
    if (state.TekushtoNamirane == state.PyrvoNamirane) shown.hideNext = true;
    return shown;
}

Outcome TyrseneNaPromocia(SearchState& state, const store::DataWorkbook& data, const ArticlePick& pick,
                          const QString& programFolder)
{
    ArticleTarget target;
    if (auto stop = resolveForSearch(state, data, pick, target)) return *stop;
    store::Worksheet& article = data.workbook().sheets(target.sheet);
    const auto hit = goodsColumn(article, col::kPromotion, target.last).Find(kPromoted);
    if (!hit) {
        // "Следващ" then has nothing to go on from.
        state.TekushtaPromocia.reset();
        Outcome shown = notFound(kPromotionNotFound);
        shown.hideNext = true;
        return shown;
    }
    state.TekushtaPromocia = hitOf(article, *hit);
    return record(article, hit->row(), programFolder);
}

Outcome TyrseneNaSledvashtaPromocia(SearchState& state, const store::DataWorkbook& data, const ArticlePick& pick,
                                    const QString& programFolder)
{
    ArticleTarget target;
    if (auto stop = resolveForSearch(state, data, pick, target)) return *stop;
    store::Worksheet& article = data.workbook().sheets(target.sheet);
    const auto hit = findNextOn(article, col::kPromotion, target.last, state.TekushtaPromocia, kPromoted);
    if (!hit) return notFound(kPromotionNotFound);
    state.TekushtaPromocia = hitOf(article, *hit);
    return record(article, hit->row(), programFolder);
}

Outcome TyrseneNaBarkod(const store::DataWorkbook& data, const QString& code, const QString& programFolder)
{
    if (code.trimmed().isEmpty()) return ofKind(Outcome::Kind::Blank);
    const auto hit = catalogue::findBarcode(data, code);
    if (!hit) return notFound(catalogue::unknownBarcodeText(code));
    Outcome shown = record(data.workbook().sheets(hit->article), col::recordRow(hit->record), programFolder);
    shown.text = QStringLiteral("Артикул: ") + hit->article + QStringLiteral("\r\n") + shown.text;
    return shown;
}

QString recordText(const store::Worksheet& article, int row)
{
    const auto cell = [&](int column) { return article.shownText(row, column); };
    const QStringList lines{
        cell(col::kName),
        QStringLiteral("цена: ") + showcase::showcasePrice(article.value(row, col::kPrice)) + QLatin1Char(' ')
            + store::currencySign(store::currencyOf(article)),
        QString(),
        cell(col::kAvailability),
        QString(),
        QStringLiteral("Производител:"),
        cell(col::kMaker),
        QString(),
        cell(col::kDescription),
    };
    const QString crlf = QStringLiteral("\r\n");
    return lines.join(crlf) + crlf;
}

} // namespace search
