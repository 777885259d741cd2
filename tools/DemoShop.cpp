#include "DemoShop.h"

#include "currency/EuroChangeover.h"

#include "DemoCatalogue.h"
#include "DemoDataWorkbook.h"
#include "DemoPictures.h"
#include "HelpDocument.h"
#include "InvoiceForm.h"

#include "sales/Faktura.h"
#include "sales/InvoiceRegister.h"
#include "sales/Koshnica.h"
#include "store/Application.h"
#include "store/DataWorkbook.h"
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

// The firms the demo shop has invoiced, in turn.
const sales::Recipient kDemoRecipients[] = {
    {QStringLiteral("175074752"), QStringLiteral("BG175074752"), QStringLiteral("Детска радост ООД"),
     QStringLiteral("Пловдив, ул. Липа 3")},
    {QStringLiteral("131468980"), QStringLiteral("BG131468980"), QStringLiteral("Слънчице ЕООД"),
     QStringLiteral("София, бул. Витоша 12")},
    {QStringLiteral("100000086"), QStringLiteral("BG100000086"), QStringLiteral("Зайчето ЕТ"),
     QStringLiteral("Варна, ул. Морска 5")},
};

// An invoice of the demo shop, issued as the program issues one: filled into the form, kept as a
// PDF with the filled form beside it, and entered in the register.
class DemoInvoices {
public:
    DemoInvoices(const QString& dir, QString formPath) : register_(dir), formPath_(std::move(formPath)) {}

    void issue(const sales::Koshnica& basket, const QDate& day, const QString& number)
    {
        const sales::Recipient& to = kDemoRecipients[number.toLongLong() % std::size(kDemoRecipients)];
        sales::InvoiceData typed;
        typed.number = QString::number(number.toLongLong());
        typed.date = store::formatShopDate(day);
        typed.companyId = to.companyId;
        typed.vatNumber = to.vatNumber;
        typed.company = to.company;
        typed.address = to.address;
        typed.payment = sales::InvoiceData::Payment::Cash;
        sales::PokajiFakturata(faktura_, formPath_, store::Currency::Euro, basket, typed);
        const sales::IssuedDocument invoice{sales::DocumentKind::Invoice, number, day, basket.total(),
                                            store::Currency::Euro, to, {}, {}};
        register_.keepFiles(*faktura_.ActiveWorkbook(), invoice);
        register_.enter(invoice);
    }

private:
    store::Application faktura_;
    sales::InvoiceRegister register_;
    QString formPath_;
};

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
    const auto form = demo::makeInvoiceForm();
    currency::followCurrency(*form, store::Currency::Euro);
    const QString formPath = QDir(dir).filePath(store::kInvoiceFile);
    form->SaveAs(formPath);
    DemoInvoices invoices(dir, formPath);
    auto data = demo::buildDemoDataWorkbook(
        catalogue, pictures, QDate::currentDate(),
        [&invoices](const sales::Koshnica& basket, const QDate& day, const QString& number) {
            invoices.issue(basket, day, number);
        });
    writeFile(QDir(dir).filePath(store::kHelpFile), demo::helpDocument());
    data->SaveAs(dataPath);
}
