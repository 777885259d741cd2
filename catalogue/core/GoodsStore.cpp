#include "catalogue/core/GoodsStore.h"

#include "catalogue/core/Barcode.h"
#include "catalogue/core/PictureFiles.h"
#include "store/Money.h"
#include "store/PicturePaths.h"
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

// A field that may stay empty and is empty: its cell holds nothing.
bool leftEmpty(const FieldInfo& info, const GoodsFields& f)
{
    return info.missing.isEmpty() && info.kind != FieldKind::Text && info.kind != FieldKind::Flag &&
           (f.*info.text).isEmpty();
}

store::Value cellValue(const FieldInfo& info, const GoodsFields& f)
{
    if (info.kind == FieldKind::Flag) return store::Value(f.*info.flag == 1 ? 1 : 0);
    if (leftEmpty(info, f)) return store::Value();
    if (info.kind == FieldKind::Text || info.kind == FieldKind::Barcode) return store::Value(f.*info.text);
    return store::Value(numberOf(f.*info.text));
}

// A field's cell as the editor shows it. A price in whole cents shows with its two decimals, as it
// is paid: 12,50, not 12,5. One with more decimals shows them all, so that saving the record
// unchanged keeps it.
QString shownField(const store::Worksheet& s, int row, const FieldInfo& info)
{
    const store::Value value = s.value(row, info.column);
    const bool inCents = value.isNumber() && store::roundToCent(value.number()) == value.number();
    return info.kind == FieldKind::Money && inCents ? store::formatMoney(value.number()) : s.shownText(row, info.column);
}

} // namespace

std::optional<Refusal> missingField(const GoodsFields& f)
{
    for (const FieldInfo& info : kGoodsFields)
        if (!info.missing.isEmpty() && (f.*info.text).isEmpty()) return Refusal{info.missing, info.field};
    return std::nullopt;
}

std::optional<Refusal> badField(const GoodsFields& f)
{
    for (const FieldInfo& info : kGoodsFields)
        if (isNumeric(info.kind) && !leftEmpty(info, f) && !typedValue(info.kind, f.*info.text))
            return Refusal{notANumber(info.kind), info.field};
    for (const FieldInfo& info : kGoodsFields)
        if (info.kind == FieldKind::Barcode)
            if (auto problem = barcodeProblem(f.*info.text)) return Refusal{*problem, info.field};
    for (const FieldInfo& info : kGoodsFields)
        if (info.kind == FieldKind::Text && (f.*info.text).size() > kLongestTypedText)
            return Refusal{QStringLiteral("Текстът е твърде дълъг: в поле се въвеждат най-много %1 знака.")
                               .arg(kLongestTypedText), info.field};
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
    return store::articlePicture(picturesRoot_, article_, fileName);
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
    return barcodeTaken(fields.Pr9Text9, ownRecord);
}

std::optional<Refusal> GoodsStore::barcodeTaken(const QString& code, int ownRecord) const
{
    const std::optional<GoodsPlace> holder = findBarcode(data_, code);
    if (!holder || (holder->article == article_ && holder->record == ownRecord)) return std::nullopt;
    const QString name = data_.workbook().sheets(holder->article).shownText(col::recordRow(holder->record), col::kName);
    return Refusal{QStringLiteral("Баркодът %1 вече е на „%2“ (%3).").arg(code, name, holder->article), Field::Barcode};
}

// A cell left empty that holds nothing is not written: a record without the optional fields
// keeps the cells it had.
void GoodsStore::writeFields(int row, const GoodsFields& f) const
{
    store::Worksheet& s = sheet();
    for (const FieldInfo& info : kGoodsFields)
        if (!leftEmpty(info, f) || !s.value(row, info.column).isEmpty()) s.cells(row, info.column) = cellValue(info, f);
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
    const std::optional<QString> folder = store::articlePictureFolder(picturesRoot_, article_);
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
    std::optional<ledgers::RollOver> rollOver = ledgers::makeRoom(data_, idx::kPurchaseLedger, 1, today);
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
    return {std::nullopt, pictureProblem, record, std::move(rollOver)};
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
    for (const FieldInfo& info : kGoodsFields) {
        if (info.kind == FieldKind::Flag)
            r.fields.*info.flag = s.value(row, info.column).toNumber() == 1.0 ? 1 : 0;
        else
            r.fields.*info.text = shownField(s, row, info);
    }
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
