#include "ShopFolder.h"

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
    QImage image(60, 60, QImage::Format_RGB32);
    image.fill(colour);
    if (!image.save(path, "JPEG")) qFatal("cannot write %s", qPrintable(path));
}

} // namespace

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
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

store::Worksheet& ShopFolder::addArticle(const QString& name)
{
    store::Worksheet& sheet = workbook_->sheetsAdd();
    sheet.setName(name);
    sheet.cells(layout::article::kCountFormulaCell.row, layout::article::kCountFormulaCell.col)
        .setFormulaR1C1(layout::article::kCountFormulaR1C1);
    const int articles = data().counter(layout::index::kSheetCount);
    data().indexSheet().setValue(articles + 2, layout::index::kArticleNameColumn, store::Value(name));
    data().setCell(layout::index::kSheetCount, store::Value(articles + 1));
    QDir(file(QStringLiteral("Kartini"))).mkdir(name);
    return sheet;
}

int ShopFolder::addGoods(store::Worksheet& article, const Goods& goods)
{
    namespace col = layout::article;
    const int row = col::recordRow(data().goodsCount(article) + 1);
    article.setValue(row, col::kName, store::Value(goods.name));
    article.setValue(row, col::kPrice, goods.price);
    article.setValue(row, col::kStock, goods.stock);
    const bool available = goods.stock.toNumber().value_or(0) > 0;
    article.setValue(row, col::kAvailability, store::Value(available ? col::kAvailable : col::kNotAvailable));
    article.setValue(row, col::kMaker, store::Value(goods.maker));
    article.setValue(row, col::kDescription, store::Value(goods.description));
    article.setValue(row, col::kPromotion, store::Value(0));
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
