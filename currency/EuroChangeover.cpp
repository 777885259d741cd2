#include "currency/EuroChangeover.h"

#include "archive/Arhiv.h"
#include "currency/CurrencyError.h"
#include "store/DataWorkbook.h"
#include "store/StoreError.h"
#include "store/Workbook.h"
#include "store/Worksheet.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <memory>
#include <optional>

namespace currency {

namespace col = store::layout::article;
namespace idx = store::layout::index;
using store::Currency;

namespace {

// The article sheets: every sheet but the index sheet.
template <class Visit> void forEachArticle(store::Workbook& workbook, Visit visit)
{
    for (int i = 1; i <= workbook.sheetCount(); ++i) {
        store::Worksheet& sheet = workbook.sheets(i);
        if (sheet.Name() != store::layout::kIndexSheet) visit(sheet);
    }
}

// The rows of an article sheet that hold a goods record: a name in B. Walked to the sheet's end,
// whatever its count formula says.
template <class Visit> void forEachGoodsRow(store::Worksheet& article, Visit visit)
{
    for (int row = col::recordRow(1); row <= article.lastRow(); ++row)
        if (!article.value(row, col::kName).toText().isEmpty()) visit(row);
}

// A price cell that converts: a number, or text that reads as one; not a formula.
std::optional<double> convertiblePrice(const store::Worksheet& sheet, int row, int column)
{
    if (sheet.formulaAt(row, column)) return std::nullopt;
    const store::Value value = sheet.value(row, column);
    const std::optional<double> number = value.isNumber() ? std::optional(value.number())
                                          : value.isText() ? store::parseNumber(value.text())
                                                           : std::nullopt;
    if (!number || !std::isfinite(*number)) return std::nullopt;
    return number;
}

// The stock value follows the selling price: the count it was worked out for, times the new price.
std::optional<double> convertedStockValue(const store::Worksheet& article, int row, double oldPrice, double newPrice)
{
    if (article.formulaAt(row, col::kStockValue)) return std::nullopt;
    const store::Value value = article.value(row, col::kStockValue);
    if (!value.isNumber()) return std::nullopt;
    if (oldPrice == 0) return store::levaToEuro(value.number());
    const double count = value.number() / oldPrice;
    const double whole = std::round(count);
    return std::abs(count - whole) < 1e-9 ? newPrice * whole : value.number() * newPrice / oldPrice;
}

void convertRecord(store::Worksheet& article, int row, store::CellChanges& changes)
{
    if (const auto price = convertiblePrice(article, row, col::kPrice)) {
        const double euro = store::levaPriceToEuro(*price);
        changes.write(article, row, col::kPrice, store::Value(euro));
        if (const auto value = convertedStockValue(article, row, *price, euro))
            changes.write(article, row, col::kStockValue, store::Value(*value));
    }
    if (const auto cost = convertiblePrice(article, row, col::kPurchasePrice))
        changes.write(article, row, col::kPurchasePrice, store::Value(store::levaPriceToEuro(*cost)));
}

struct Swap {
    QRegularExpression from;
    QString to;
};

// Words of one currency and those of the other; a sign stands alone or inside a format's
// brackets and quotes, never as part of a longer word.
std::vector<Swap> swapsTo(Currency currency)
{
    const auto word = [](const QString& text) {
        return QRegularExpression(QStringLiteral("(?<!\\p{L})") + QRegularExpression::escape(text) + QStringLiteral("(?!\\p{L})"),
                                  QRegularExpression::UseUnicodePropertiesOption);
    };
    if (currency == Currency::Euro)
        return {{word(QStringLiteral("лв.")), QStringLiteral("€")}, {word(QStringLiteral("лв")), QStringLiteral("€")},
                {word(QStringLiteral("лева")), QStringLiteral("евро")}, {word(QStringLiteral("BGN")), QStringLiteral("EUR")}};
    return {{word(QStringLiteral("€")), QStringLiteral("лв.")}, {word(QStringLiteral("евро")), QStringLiteral("лева")},
            {word(QStringLiteral("EUR")), QStringLiteral("BGN")}};
}

QString swapped(QString text, const std::vector<Swap>& swaps)
{
    for (const Swap& swap : swaps) text.replace(swap.from, swap.to);
    return text;
}

bool namesACurrency(const QString& code)
{
    return code.contains(QStringLiteral("€")) || code.contains(QStringLiteral("лв")) || code.contains(QStringLiteral("EUR"))
        || code.contains(QStringLiteral("BGN"));
}

// A format for amounts: two decimals in a section, no currency named.
bool isBareAmountFormat(const QString& code)
{
    return code.contains(QStringLiteral("0.00")) && !namesACurrency(code) && !code.contains(QLatin1Char('"'));
}

// Each section that shows figures gets the euro sign after them.
QString withEuroSign(const QString& code)
{
    QStringList sections = code.split(QLatin1Char(';'));
    for (QString& section : sections)
        if (section.contains(QLatin1Char('0'))) section += QStringLiteral("\" €\"");
    return sections.join(QLatin1Char(';'));
}

bool followInFormats(store::WorkbookStyles& styles, Currency currency, const std::vector<Swap>& swaps)
{
    bool changed = false;
    for (store::CellFormat& format : styles.formats) {
        if (format.isStyle) continue;
        const QString code = styles.numberFormatCode(format.numberFormat);
        QString wanted = swapped(code, swaps);
        if (currency == Currency::Euro && isBareAmountFormat(wanted)) wanted = withEuroSign(wanted);
        if (wanted == code) continue;
        format.numberFormat = styles.addNumberFormat(wanted);
        changed = true;
    }
    return changed;
}

bool followInTexts(store::Worksheet& sheet, const std::vector<Swap>& swaps)
{
    bool changed = false;
    for (int row = 1; row <= sheet.lastRow(); ++row) {
        std::vector<std::pair<int, QString>> texts;
        for (const store::Cell& cell : sheet.rowCells(row))
            if (cell.holds() == store::Cell::Holds::Text) texts.emplace_back(cell.col, sheet.valueOf(cell).text());
        for (const auto& [column, text] : texts) {
            const QString wanted = swapped(text, swaps);
            if (wanted == text) continue;
            sheet.setValue(row, column, store::Value(wanted));
            changed = true;
        }
    }
    return changed;
}

void rewriteForm(const QString& formPath)
{
    const std::unique_ptr<store::Workbook> form = store::Workbook::open(formPath);
    if (followCurrency(*form, Currency::Euro)) form->Save();
}

} // namespace

ChangeoverPlan planChangeover(const store::DataWorkbook& data)
{
    ChangeoverPlan plan;
    forEachArticle(data.workbook(), [&plan](store::Worksheet& article) {
        forEachGoodsRow(article, [&](int row) {
            ++plan.goods;
            for (const int column : {col::kPrice, col::kPurchasePrice})
                if (convertiblePrice(article, row, column)) ++plan.prices;
        });
    });
    return plan;
}

QString changeoverQuestion(const ChangeoverPlan& plan)
{
    return QStringLiteral("Магазинът ще премине от лева към евро по курс 1 евро = 1,95583 лв.\n\n"
                          "Ще бъдат превърнати %1 цени (продажни и доставни) на %2 стоки, закръглени до евроцент. "
                          "Надценките остават същите. Записаните досега продажби и доставки остават в лева, "
                          "а справките ги показват превърнати в евро.\n\n"
                          "Преди това данните в лева се запазват като архивно копие, с което преминаването "
                          "може да бъде отменено от „Архивни копия“.\n\nДа премине ли магазинът към евро?")
        .arg(plan.prices)
        .arg(plan.goods);
}

store::CellChanges convertToEuro(const store::DataWorkbook& data)
{
    if (data.currency() == Currency::Euro) throw store::Error(CurrencyError::AlreadyEuro);
    store::CellChanges changes;
    forEachArticle(data.workbook(), [&changes](store::Worksheet& article) {
        forEachGoodsRow(article, [&](int row) { convertRecord(article, row, changes); });
    });
    store::Worksheet& index = data.indexSheet();
    const auto mark = [&](store::layout::CellPos pos, const store::Value& value) { changes.write(index, pos.row, pos.col, value); };
    mark(idx::kLevaSalesRows, store::Value(data.counter(idx::kSalesRows)));
    mark(idx::kLevaPurchaseRows, store::Value(data.counter(idx::kPurchaseRows)));
    mark(idx::kCurrency, store::Value(idx::kEuroCode));
    return changes;
}

bool followCurrency(store::Workbook& form, Currency currency)
{
    const std::vector<Swap> swaps = swapsTo(currency);
    bool changed = followInFormats(form.styles(), currency, swaps);
    for (int i = 1; i <= form.sheetCount(); ++i) changed = followInTexts(form.sheets(i), swaps) || changed;
    return changed;
}

ChangeoverDone changeShopToEuro(store::Workbook& danni, archive::Arhiv& arhiv, const QString& formPath)
{
    const store::DataWorkbook data(danni);
    if (data.currency() == Currency::Euro) throw store::Error(CurrencyError::AlreadyEuro);
    ChangeoverDone done;
    done.prices = planChangeover(data).prices;
    done.archiveCopy = arhiv.keepMoment();
    store::CellChanges changes = convertToEuro(data);
    try {
        danni.Save();
    } catch (const store::Error& e) {
        changes.undo();
        throw store::Error(CurrencyError::ChangeoverNotSaved, {e.message()});
    }
    if (QFileInfo::exists(formPath)) {
        try {
            rewriteForm(formPath);
        } catch (const store::Error& e) {
            done.formProblem = e.message();
        }
    }
    return done;
}

} // namespace currency
