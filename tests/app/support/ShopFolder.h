#pragma once

#include "store/DataWorkbook.h"
#include "store/Value.h"
#include "store/Workbook.h"

#include <QByteArray>
#include <QColor>
#include <QSize>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// A program folder for one test: a fresh data workbook (admin / 8642) to fill, the two fixed
// pictures in colours of their own, and an empty invoice form.
class ShopFolder {
public:
    ShopFolder();

    const QString& path() const { return path_; }
    QString file(const QString& name) const;
    QByteArray bytes(const QString& name) const;

    store::Workbook& workbook() { return *workbook_; }
    store::DataWorkbook data() { return store::DataWorkbook(*workbook_); }

    // An article added as the program adds one (a sheet with its count formula, its name in the
    // index, D1 raised, its picture folder).
    store::Worksheet& addArticle(const QString& name);

    struct Goods {
        QString name;
        store::Value price = 1.0;
        store::Value stock = 1;
        QString picture = {};     // column J
        QString maker = {};
        QString description = {};
        QString minimum = {};     // V, as typed
        QString barcode = {};     // W
    };
    // Appends a goods record as the goods editor does (row T1 + 2, purchase ledger row, Y1), with
    // `price` as its purchase and selling price (no increase). A price or count that is no number
    // and a picture name are then put into the cells as given: the windows must cope with them.
    int addGoods(store::Worksheet& article, const Goods& goods);

    // A one-colour JPEG in the article's picture folder.
    void putPicture(const QString& article, const QString& fileName, const QColor& colour) const;

    // Writes Danni.xls and Faktura.xls.
    void save();

    static const QColor kNoPictureColour;   // BezKartina.JPG
    static const QColor kNoGoodsColour;     // BezArtikul.JPG

private:
    QTemporaryDir dir_;
    QString path_;
    std::unique_ptr<store::Workbook> workbook_;
};

// A one-colour JPEG of the given size, at low quality: a phone's 8000 × 6000 photo takes about
// a megabyte.
void writePhoto(const QString& path, const QColor& colour, const QSize& size);
// A small JPEG whose header claims `size`, which is what a reader learns before decoding it.
void writePhotoClaimingSize(const QString& path, const QSize& size);

// The colour in the middle of what a picture control shows.
QColor shownColour(const class QLabel* picture);
// Colours as a JPEG gives them back: close, not equal.
bool nearColour(const QColor& a, const QColor& b);
