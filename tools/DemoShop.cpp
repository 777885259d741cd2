#include "DemoShop.h"

#include "currency/EuroChangeover.h"

#include "DemoCatalogue.h"
#include "DemoDataWorkbook.h"
#include "DemoPictures.h"
#include "HelpDocument.h"
#include "InvoiceForm.h"

#include "store/ProgramFiles.h"
#include "store/StoreError.h"
#include "store/Workbook.h"
#include "store/xls/XlsError.h"
#include "tools/ToolError.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

void makeFolder(const QString& path)
{
    if (!QDir().mkpath(path))
        throw store::Error(store::xls::XlsError::FolderNotCreated, {path});
}

void writeFile(const QString& path, const QByteArray& content)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        throw store::Error(store::xls::XlsError::FileNotWritten, {QDir::toNativeSeparators(path), file.errorString()});
}

void drawPictures(const std::vector<demo::Article>& catalogue, const QString& pictures)
{
    makeFolder(pictures);
    demo::savePicture(demo::drawNoPicture(), pictures + QLatin1Char('/') + store::kNoPicture);
    demo::savePicture(demo::drawNoGoods(), pictures + QLatin1Char('/') + store::kNoGoods);
    for (const demo::Article& article : catalogue) {
        const QString folder = pictures + QLatin1Char('/') + article.name;
        makeFolder(folder);
        for (const demo::Goods& goods : article.goods)
            if (!goods.picture.fileName.isEmpty())
                demo::savePicture(demo::drawGoodsPicture(goods.picture), folder + QLatin1Char('/') + goods.picture.fileName);
    }
}

} // namespace

void layOutDemoShop(const QString& dir)
{
    const QString dataPath = QDir(dir).filePath(store::kDataFile);
    if (QFileInfo::exists(dataPath))
        throw store::Error(tools::ToolError::ShopAlreadyThere, {QDir::toNativeSeparators(dir), store::kDataFile});
    makeFolder(dir);
    const QString pictures = QDir(dir).filePath(store::kPictureFolder);
    const auto& catalogue = demo::demoCatalogue();
    // The pictures first: adding goods takes each picture from its article's folder.
    drawPictures(catalogue, pictures);
    auto data = demo::buildDemoDataWorkbook(catalogue, pictures, QDate::currentDate());
    const auto form = demo::makeInvoiceForm();
    currency::followCurrency(*form, store::Currency::Euro);
    form->SaveAs(QDir(dir).filePath(store::kInvoiceFile));
    writeFile(QDir(dir).filePath(store::kHelpFile), demo::helpDocument());
    data->SaveAs(dataPath);
}
