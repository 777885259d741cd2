#include "ShopFolder.h"

#include "catalogue/core/Articles.h"
#include "catalogue/core/GoodsStore.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <cstdlib>

namespace layout = store::layout;

const QColor ShopFolder::kNoPictureColour(200, 30, 30);
const QColor ShopFolder::kNoGoodsColour(30, 30, 200);

namespace {

void writeJpeg(const QString& path, const QColor& colour)
{
    writePhoto(path, colour, QSize(60, 60));
}

} // namespace

void writePhoto(const QString& path, const QColor& colour, const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    if (!image.save(path, "JPEG", 20)) qFatal("cannot write %s", qPrintable(path));
}

void writePhotoClaimingSize(const QString& path, const QSize& size)
{
    writePhoto(path, Qt::gray, QSize(16, 16));
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) qFatal("cannot open %s", qPrintable(path));
    QByteArray bytes = file.readAll();
    // The frame header (SOF0): marker, length, precision, height, width, all big-endian.
    const qsizetype frame = bytes.indexOf(QByteArray("\xff\xc0", 2));
    if (frame < 0) qFatal("no frame header in %s", qPrintable(path));
    bytes[frame + 5] = char(size.height() >> 8), bytes[frame + 6] = char(size.height());
    bytes[frame + 7] = char(size.width() >> 8), bytes[frame + 8] = char(size.width());
    file.seek(0);
    file.write(bytes);
}

ShopFolder::ShopFolder() : path_(dir_.path()), workbook_(store::DataWorkbook::createFresh())
{
    QDir(path_).mkdir(QStringLiteral("Kartini"));
    writeJpeg(file(QStringLiteral("Kartini/BezKartina.JPG")), kNoPictureColour);
    writeJpeg(file(QStringLiteral("Kartini/BezArtikul.JPG")), kNoGoodsColour);
}

QString ShopFolder::file(const QString& name) const
{
    return path_ + QLatin1Char('/') + name;
}

QByteArray ShopFolder::bytes(const QString& name) const
{
    return testsupport::fileBytes(file(name));
}

store::Worksheet& ShopFolder::addArticle(const QString& name)
{
    const catalogue::ArticleAdded added = catalogue::DobaviArtikul(data(), file(QStringLiteral("Kartini")), name);
    if (!added.refusal.isEmpty()) qFatal("article refused: %s", qPrintable(added.refusal));
    return workbook_->sheets(name);
}

int ShopFolder::addGoods(store::Worksheet& article, const Goods& goods)
{
    namespace col = layout::article;
    catalogue::GoodsStore store(data(), article.Name(), file(QStringLiteral("Kartini")));
    const QString price = goods.price.isNumber() ? store::numberToText(goods.price.number()) : QStringLiteral("0");
    const QString stock = goods.stock.isNumber() ? goods.stock.toText() : QStringLiteral("0");
    const catalogue::GoodsFields fields{goods.name, price, stock, QStringLiteral("0"), 0,
                                        goods.maker, goods.description, goods.minimum, goods.barcode};
    const auto saved = store.DobaviStokaVEksel(fields, {}, QDate::currentDate());
    if (saved.refusal) qFatal("goods refused: %s", qPrintable(saved.refusal->message));
    const int row = col::recordRow(saved.record);
    // A price, count or picture name the program would not write, as another program may leave them.
    if (!goods.stock.isNumber()) article.setValue(row, col::kStock, goods.stock);
    if (!goods.price.isNumber()) {
        article.setValue(row, col::kPurchasePrice, goods.price);
        article.setValue(row, col::kPrice, goods.price);
    }
    if (!goods.picture.isEmpty()) article.setValue(row, col::kPicture, store::Value(goods.picture));
    return row;
}

void ShopFolder::putPicture(const QString& article, const QString& fileName, const QColor& colour) const
{
    writeJpeg(file(QStringLiteral("Kartini/%1/%2").arg(article, fileName)), colour);
}

void ShopFolder::save()
{
    workbook_->SaveAs(file(QStringLiteral("Danni.xls")));
    store::Workbook form;
    form.SaveAs(file(QStringLiteral("Faktura.xls")));
}

QColor shownColour(const QLabel* picture)
{
    const QImage image = picture->pixmap().toImage();
    if (image.isNull()) return {};
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

bool nearColour(const QColor& a, const QColor& b)
{
    return a.isValid() && b.isValid() && std::abs(a.red() - b.red()) < 24 && std::abs(a.green() - b.green()) < 24
        && std::abs(a.blue() - b.blue()) < 24;
}
