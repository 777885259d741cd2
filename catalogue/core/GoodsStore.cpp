#include "catalogue/core/GoodsStore.h"

#include "catalogue/core/NumberCheck.h"
#include "catalogue/core/PictureFiles.h"
#include "store/Money.h"
#include "store/RowKeeper.h"
#include "store/Workbook.h"

#include <QFile>

namespace catalogue {

namespace col = store::layout::article;
namespace idx = store::layout::index;

namespace {

// A typed text is held to what spreadsheet programs let one type into a cell; cells read from a
// file may hold more.
constexpr int kLongestTypedText = 32767;

double numberOf(const QString& typed)
{
    return store::parseNumber(typed).value_or(0.0);
}

// The whole name with case ignored, Cyrillic included; no wildcards.
bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

std::optional<Refusal> missingField(const GoodsFields& f)
{
    if (f.Pr1Text1.isEmpty()) return Refusal{QStringLiteral("Въведете името на стоката"), Field::Name};
    if (f.Pr2Text2.isEmpty()) return Refusal{QStringLiteral("Въведете цената на стоката"), Field::Price};
    if (f.Pr3Text3.isEmpty()) return Refusal{QStringLiteral("Въведете брой закупени стоки"), Field::Count};
    if (f.Pr4Text4.isEmpty()) return Refusal{QStringLiteral("Въведете увеличението на стоката"), Field::Markup};
    return std::nullopt;
}

std::optional<Refusal> badField(const GoodsFields& f)
{
    if (!typedNumber(f.Pr2Text2)) return Refusal{kNotANumber, Field::Price};
    if (!typedWholeNumber(f.Pr3Text3)) return Refusal{kNotAWholeNumber, Field::Count};
    if (!typedNumber(f.Pr4Text4)) return Refusal{kNotANumber, Field::Markup};
    const std::pair<const QString*, Field> texts[] = {
        {&f.Pr1Text1, Field::Name}, {&f.Pr6Text6, Field::Maker}, {&f.Pr7Text7, Field::Description}};
    for (const auto& [text, field] : texts)
        if (text->size() > kLongestTypedText)
            return Refusal{QStringLiteral("Текстът е твърде дълъг: в поле се въвеждат най-много %1 знака.")
                               .arg(kLongestTypedText), field};
    return std::nullopt;
}

double sellingPrice(double purchasePrice, double markup)
{
    return purchasePrice + purchasePrice * markup / 100;
}

GoodsStore::GoodsStore(const store::DataWorkbook& data, const QString& article, const QString& picturesRoot,
                       store::RowKeeper* keeper)
    : data_(data), article_(article), picturesRoot_(picturesRoot), keeper_(keeper)
{
}

store::Worksheet& GoodsStore::sheet() const
{
    return data_.workbook().sheets(article_);
}

std::optional<QString> GoodsStore::picture(const QString& fileName) const
{
    return articlePicture(picturesRoot_, article_, fileName);
}

int GoodsStore::count() const
{
    return data_.goodsCount(sheet());
}

QString GoodsStore::goodsName(int record) const
{
    return sheet().shownText(col::recordRow(record), col::kName);
}

bool GoodsStore::KluchNaBD(const QString& name, int ownRecord) const
{
    const store::Worksheet& s = sheet();
    const int n = count();
    for (int record = 1; record <= n; ++record)
        if (record != ownRecord && sameName(s.value(col::recordRow(record), col::kName).toText(), name)) return true;
    return false;
}

std::optional<Refusal> GoodsStore::refusalToWrite(const GoodsFields& fields, int ownRecord) const
{
    if (auto missing = missingField(fields)) return missing;
    if (auto bad = badField(fields)) return bad;
    if (KluchNaBD(fields.Pr1Text1, ownRecord)) return Refusal{kGoodsTaken, std::nullopt};
    return std::nullopt;
}

void GoodsStore::writeFields(int row, const GoodsFields& f) const
{
    store::Worksheet& s = sheet();
    s.cells(row, col::kName) = store::Value(f.Pr1Text1);
    s.cells(row, col::kPurchasePrice) = store::Value(numberOf(f.Pr2Text2));
    s.cells(row, col::kStock) = store::Value(numberOf(f.Pr3Text3));
    s.cells(row, col::kMarkup) = store::Value(numberOf(f.Pr4Text4));
    s.cells(row, col::kPromotion) = store::Value(f.Pr5Text5 == 1 ? 1 : 0);
    s.cells(row, col::kMaker) = store::Value(f.Pr6Text6);
    s.cells(row, col::kDescription) = store::Value(f.Pr7Text7);
}

void GoodsStore::writeComputed(int row, const GoodsFields& f) const
{
    store::Worksheet& s = sheet();
    const double price = sellingPrice(numberOf(f.Pr2Text2), numberOf(f.Pr4Text4));
    const double stock = numberOf(f.Pr3Text3);
    s.cells(row, col::kPrice) = store::Value(price);
    s.cells(row, col::kStockValue) = store::Value(price * stock);
    s.cells(row, col::kAvailability) = store::Value(stock > 0 ? col::kAvailable : col::kNotAvailable);
}

QString GoodsStore::storeChosenPicture(int row, const QString& chosenPicture) const
{
    if (chosenPicture.isEmpty()) return {};
    const std::optional<QString> folder = articlePictureFolder(picturesRoot_, article_);
    if (!folder)
        return QStringLiteral("Картината не е запазена: името на артикула „%1“ не може да бъде име на папка за картини.")
            .arg(article_);
    const StoredPicture stored = storePicture(chosenPicture, *folder);
    if (!stored.name.isEmpty()) sheet().cells(row, col::kPicture) = store::Value(stored.name);
    return stored.problem;
}

void GoodsStore::appendPurchase(int row, const GoodsFields& f, const QDate& today) const
{
    store::Worksheet& index = data_.indexSheet();
    index.cells(row, idx::purchases::kDate) = store::Value(store::formatShopDate(today));
    index.cells(row, idx::purchases::kName) = store::Value(f.Pr1Text1);
    index.cells(row, idx::purchases::kCount) = store::Value(numberOf(f.Pr3Text3));
    index.cells(row, idx::purchases::kPrice) = store::Value(numberOf(f.Pr2Text2));
    data_.setCell(idx::kPurchaseRows, store::Value(row - idx::kFirstListRow + 1));
}

GoodsStore::Saved GoodsStore::DobaviStokaVEksel(const GoodsFields& fields, const QString& chosenPicture,
                                                const QDate& today)
{
    const int n = count();
    if (auto refusal = refusalToWrite(fields, 0)) return {refusal, {}, 0};
    if (n >= col::kMaxRecords)
        return {Refusal{QStringLiteral("В артикула вече има %1 стоки, колкото най-много може да има. "
                                       "Новата стока не е добавена.").arg(col::kMaxRecords), std::nullopt}, {}, 0};
    const int purchaseRow = data_.nextLedgerRow(idx::kPurchaseLedger, 1);
    if (purchaseRow > store::kMaxRows)
        return {Refusal{QStringLiteral("Дневникът на закупените стоки е запълнил всичките %1 реда на листа. "
                                       "Новата стока не е добавена.").arg(store::kMaxRows), std::nullopt}, {}, 0};
    const int row = data_.nextGoodsRow(sheet());
    const int record = n + 1;
    const QString pictureProblem = storeChosenPicture(row, chosenPicture);
    writeFields(row, fields);
    appendPurchase(purchaseRow, fields, today);
    writeComputed(row, fields);
    return {std::nullopt, pictureProblem, record};
}

GoodsStore::Saved GoodsStore::RedaktiraiStoka(int record, const GoodsFields& fields, const QString& chosenPicture)
{
    if (auto refusal = refusalToWrite(fields, record)) return {refusal, {}, 0};
    if (record < 1 || record > count())
        return {Refusal{QStringLiteral("Няма стока с номер %1.").arg(record), std::nullopt}, {}, 0};
    const int row = col::recordRow(record);
    const QString pictureProblem = storeChosenPicture(row, chosenPicture);
    writeFields(row, fields);
    writeComputed(row, fields);
    return {std::nullopt, pictureProblem, record};
}

GoodsStore::Record GoodsStore::ProchetiOtEksel(int record) const
{
    const store::Worksheet& s = sheet();
    const int row = col::recordRow(record);
    Record r;
    r.fields.Pr1Text1 = s.shownText(row, col::kName);
    // A price in whole cents shows with its two decimals, as it is paid: 12,50, not 12,5. One
    // with more decimals shows them all, so that saving the record unchanged keeps it.
    const store::Value price = s.value(row, col::kPurchasePrice);
    const bool inCents = price.isNumber() && store::roundToCent(price.number()) == price.number();
    r.fields.Pr2Text2 = inCents ? store::formatMoney(price.number()) : s.shownText(row, col::kPurchasePrice);
    r.fields.Pr3Text3 = s.shownText(row, col::kStock);
    r.fields.Pr4Text4 = s.shownText(row, col::kMarkup);
    r.fields.Pr5Text5 = s.value(row, col::kPromotion).toNumber() == 1.0 ? 1 : 0;
    r.fields.Pr6Text6 = s.shownText(row, col::kMaker);
    r.fields.Pr7Text7 = s.shownText(row, col::kDescription);
    r.picture = picture(s.value(row, col::kPicture).toText()).value_or(QString());
    return r;
}

bool GoodsStore::pictureNamedElsewhere(const QString& file, int record) const
{
    const store::Worksheet& s = sheet();
    const int n = count();
    for (int other = 1; other <= n; ++other)
        if (other != record && sameName(s.value(col::recordRow(other), col::kPicture).toText(), file)) return true;
    return false;
}

QString GoodsStore::IztriiStoka(int record)
{
    store::Worksheet& s = sheet();
    if (record < 1 || record > count()) return QStringLiteral("Няма стока с номер %1.").arg(record);
    const int row = col::recordRow(record);
    if (keeper_ && keeper_->holdsRow(s.Name(), row))
        return QStringLiteral("Стоката „%1“ е в кошницата. Продайте я или я извадете от кошницата, преди да я изтриете.")
            .arg(goodsName(record));
    const QString fileName = s.value(row, col::kPicture).toText();
    if (const auto path = picture(fileName); path && !pictureNamedElsewhere(fileName, record)) QFile::remove(*path);
    s.Rows(row).Delete();
    if (keeper_)
        keeper_->rowsMoved(s.Name(), [row](int old) { return old < row ? old : old == row ? 0 : old - 1; });
    return {};
}

} // namespace catalogue
