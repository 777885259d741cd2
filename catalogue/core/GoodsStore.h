#pragma once

#include "catalogue/core/GoodsFields.h"
#include "ledgers/RollOver.h"
#include "store/DataWorkbook.h"

#include <QDate>
#include <QString>
#include <optional>

namespace store {
class RowKeeper;
class Worksheet;
} // namespace store

namespace catalogue {

inline const QString kGoodsTaken = QStringLiteral("Вече има стока с такова име");

// Why a save stops, and the field that then gets the focus (none for some).
struct Refusal {
    QString message;
    std::optional<Field> focus;
};

// The first required field left empty (name, price, count, increase).
std::optional<Refusal> missingField(const GoodsFields& fields);
// The numeric fields must read as numbers of their kind, a barcode must be one (Barcode.h), then
// the texts must fit a cell.
std::optional<Refusal> badField(const GoodsFields& fields);

// Selling price C = K + K × L / 100.
double sellingPrice(double purchasePrice, double markup);

// The goods records of one article sheet: append, rewrite, read and delete, with the purchase
// ledger row of every append and the pictures in the article's folder. Nothing is saved here: the
// caller saves (Sahrani) when an operation has changed the workbook.
class GoodsStore {
public:
    GoodsStore(const store::DataWorkbook& data, const QString& article, const QString& picturesRoot,
               store::RowKeeper* keeper = nullptr);

    const QString& article() const { return article_; }
    // The path of a picture of this article named in column J; nothing when the name would lead
    // out of the article's picture folder.
    std::optional<QString> picture(const QString& fileName) const;
    // T1: the number of goods records.
    int count() const;
    // Column B of record k.
    QString goodsName(int record) const;

    // KluchNaBD: another record than ownRecord has this name (whole name, case ignored).
    bool KluchNaBD(const QString& name, int ownRecord) const;

    struct Saved {
        std::optional<Refusal> refusal;   // nothing was written
        QString pictureProblem;           // written, but the chosen picture could not be stored
        int record = 0;                   // the record written
        // The purchase ledger's oldest rows moved out to make room for the record's row.
        std::optional<ledgers::RollOver> rollOver = std::nullopt;
    };
    // DobaviStokaVEksel: appends a record after the last one with its purchase-ledger row (dated
    // today) and Y1 raised. A full purchase ledger first moves its oldest rows out (saved at
    // once, see ledgers::makeRoom); refused when even that makes no room. chosenPicture is the picture file chosen for it, or empty.
    Saved DobaviStokaVEksel(const GoodsFields& fields, const QString& chosenPicture, const QDate& today);
    // RedaktiraiStoka: rewrites record k; the ledger and the count sold (U) stay as they are, and
    // J changes only when a picture was chosen.
    Saved RedaktiraiStoka(int record, const GoodsFields& fields, const QString& chosenPicture);

    struct Record {
        GoodsFields fields;
        QString picture;   // full path of the record's picture file; empty when J names none
    };
    // ProchetiOtEksel: the record's fields as the cells show them.
    Record ProchetiOtEksel(int record) const;

    // IztriiStoka: removes record k's row (the rows below move up), and its picture when no other
    // record of the article names that file. Refused (message returned) while the basket holds it.
    QString IztriiStoka(int record);

private:
    store::Worksheet& sheet() const;
    std::optional<Refusal> refusalToWrite(const GoodsFields& fields, int ownRecord) const;
    // Another goods record of the shop, in any article, already holds the barcode.
    std::optional<Refusal> barcodeTaken(const QString& code, int ownRecord) const;
    void writeFields(int row, const GoodsFields& fields) const;
    void writeComputed(int row, const GoodsFields& fields) const;
    QString storeChosenPicture(int row, const QString& chosenPicture) const;
    // The purchase-ledger row at row, and Y1 after it.
    void appendPurchase(int row, const GoodsFields& fields, const QDate& today) const;
    bool pictureNamedElsewhere(const QString& file, int record) const;

    store::DataWorkbook data_;
    QString article_;
    QString picturesRoot_;
    store::RowKeeper* keeper_;
};

} // namespace catalogue
