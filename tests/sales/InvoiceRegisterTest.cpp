// Every invoice issued is kept: its PDF and filled form in its year's folder under Fakturi, a row
// in the register, its recipient remembered for the next one; the window of issued documents opens
// the PDF and prints a duplicate. The recipient's numbers are checked before anything is recorded.
#include "SaleCounter.h"

#include "app/support/MessageRecorder.h"
#include "app/support/Previews.h"
#include "tests/support/PdfReader.h"

#include "sales/CompanyId.h"
#include "sales/Faktura.h"
#include "sales/Form16.h"
#include "sales/InvoiceRegister.h"
#include "sales/Returns.h"
#include "sales/Sale.h"
#include "store/ProgramFiles.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDesktopServices>
#include <QFile>
#include <QTreeView>
#include <QUrl>

namespace sales {
void PrintTo(const Recipient& r, std::ostream* os)
{
    const QStringList fields{r.companyId, r.vatNumber, r.company, r.address};
    *os << fields.join(QStringLiteral(" | ")).toStdString();
}
} // namespace sales

namespace {

namespace index = store::layout::index;

const sales::Recipient kJoy{QStringLiteral("175074752"), QStringLiteral("BG175074752"),
                            QStringLiteral("Детска радост ООД"), QStringLiteral("Пловдив, ул. Липа 3")};

// Stands in for the desktop's program for PDF files: keeps the paths it is asked to open.
class DesktopCatcher : public QObject {
    Q_OBJECT
public:
    DesktopCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~DesktopCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QStringList opened;
public slots:
    void open(const QUrl& url) { opened << url.toLocalFile(); }
};

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

QString folderFile(const SaleShop& shop, const QString& name)
{
    return shop.folder.file(store::kInvoiceFolder + QLatin1Char('/') + name);
}

// One ball into the basket and "Продажба" with an invoice: the invoice dialog.
sales::Form6& sellBall(Counter& c)
{
    c.invoiceChoice(true);
    c.add(SaleShop::kToys, QStringLiteral("Топка"), 1);
    c.sell();
    return *c.invoiceDialog();
}

void typeRecipient(sales::Form6& dialog, const sales::Recipient& r)
{
    type(dialog.Text3, r.companyId);
    type(dialog.Text4, r.vatNumber);
    type(dialog.Text5, r.company);
    type(dialog.Text6, r.address);
}

sales::Recipient shownRecipient(const sales::Form6& dialog)
{
    return {dialog.Text3->text(), dialog.Text4->text(), dialog.Text5->text(), dialog.Text6->text()};
}

QStringList offered(QLineEdit* field)
{
    QStringList texts;
    const QAbstractItemModel* model = field->completer()->model();
    for (int row = 0; row < model->rowCount(); ++row) texts << model->index(row, 0).data().toString();
    return texts;
}

// Picks the first completion the field offers for prefix, as Enter in its popup does.
void pickCompletion(QLineEdit* field, const QString& prefix)
{
    QCompleter* completer = field->completer();
    completer->setCompletionPrefix(prefix);
    completer->complete();
    completer->popup()->setCurrentIndex(completer->completionModel()->index(0, 0));
    QTest::keyClick(completer->popup(), Qt::Key_Return);
}

} // namespace

TEST(CompanyIds, CheckDigitsOfEikEgnAndVatNumbers)
{
    struct Case {
        const char* number;
        bool (*check)(const QString&);
        bool valid;
    };
    // The right numbers' check digits computed by hand from the weights; each wrong one differs
    // from a right one in one digit.
    const Case cases[] = {
        {"175074752", sales::validCompanyId, true},       {"175074753", sales::validCompanyId, false},
        {"131468980", sales::validCompanyId, true},       {"131468981", sales::validCompanyId, false},
        {"100000086", sales::validCompanyId, true},       // the weights 3 to 10 decide
        {"100000550", sales::validCompanyId, true},       // both sums give 10: 0
        {"100000551", sales::validCompanyId, false},      {"1750747520004", sales::validCompanyId, true},
        {"1750747520005", sales::validCompanyId, false},  {"1750747520154", sales::validCompanyId, true},
        {"1750747530004", sales::validCompanyId, false},  {"17507475", sales::validCompanyId, false},
        {"17507475A", sales::validCompanyId, false},      {"7501020018", sales::validPersonalId, true},
        {"7501020019", sales::validPersonalId, false},    {"7552010005", sales::validPersonalId, true},
        {"8032056031", sales::validPersonalId, true},     {"7513020016", sales::validPersonalId, false},
        {"BG175074752", sales::validBulgarianVatNumber, true},
        {"BG7501020018", sales::validBulgarianVatNumber, true},
        {"BG175074753", sales::validBulgarianVatNumber, false},
        {"175074752", sales::validBulgarianVatNumber, false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.check(QString::fromLatin1(c.number)), c.valid) << c.number;
    EXPECT_EQ(sales::recipientIdProblem({}, QStringLiteral("DE123456789")), QString());
    EXPECT_EQ(sales::recipientIdProblem(QStringLiteral("7501020018"), {}), QString());
}

// A first invoice leaves its PDF, form and register row; its recipient is offered for the second,
// chosen by its firm, and stays one recipient.
TEST(InvoiceRegister, AnInvoiceIsKeptAndItsRecipientOfferedForTheNext)
{
    const SaleShop shop;
    Counter c(shop);
    MessageRecorder messages;
    sales::Form6& first = sellBall(c);
    type(first.Text1, QStringLiteral("4711"));
    typeRecipient(first, kJoy);
    QTest::mouseClick(first.Command1, Qt::LeftButton);
    settle();
    EXPECT_EQ(messages.texts(), QStringList());

    const sales::InvoiceRegister kept(shop.folder.path());
    const sales::IssuedDocument invoice{sales::DocumentKind::Invoice, QStringLiteral("0000000001"), QDate::currentDate(),
                                        5.5, store::Currency::Leva, kJoy, {}, {}};
    ASSERT_EQ(kept.documents(), std::vector{invoice});
    const QString year = QString::number(QDate::currentDate().year());
    EXPECT_EQ(kept.pdfPath(invoice), folderFile(shop, year + QStringLiteral("/0000000001.pdf")));
    const QString text = testsupport::pdfText(kept.pdfPath(invoice));
    for (const QString& expected : {QStringLiteral("ФАКТУРА"), QStringLiteral("4711"), kJoy.company, kJoy.companyId})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();
    EXPECT_TRUE(QFile::exists(kept.formPath(invoice)));

    sales::Form6& second = sellBall(c);
    EXPECT_EQ(offered(second.Text3), QStringList{kJoy.companyId});
    EXPECT_EQ(offered(second.Text5), QStringList{kJoy.company});
    pickCompletion(second.Text5, QStringLiteral("радост"));
    EXPECT_EQ(shownRecipient(second), kJoy);
    QTest::mouseClick(second.Command1, Qt::LeftButton);
    settle();
    EXPECT_EQ(kept.documents().size(), 2u);
    EXPECT_EQ(kept.recipients(), std::vector{kJoy});
    EXPECT_EQ(kept.recipientOf(QStringLiteral("0000000002")), kJoy);
}

// The return of an invoiced sale issues its credit note to the invoice's recipient as registered,
// and keeps it beside the invoice.
TEST(InvoiceRegister, ACreditNoteGoesToTheInvoicesRecipientAndIsKept)
{
    const SaleShop shop;
    Counter c(shop);
    MessageRecorder messages;
    sales::Form6& dialog = sellBall(c);
    typeRecipient(dialog, kJoy);
    QTest::mouseClick(dialog.Command1, Qt::LeftButton);
    settle();
    const sales::ReturnIssued issued = sales::returnSale(c.shop(), {{index::kFirstListRow, 1}}, sales::kReturnReasons[1]);
    EXPECT_EQ(messages.texts(), QStringList());

    const sales::InvoiceRegister kept(shop.folder.path());
    const sales::IssuedDocument note{sales::DocumentKind::CreditNote, QStringLiteral("0000000002"), QDate::currentDate(),
                                     -5.5, store::Currency::Leva, kJoy, QStringLiteral("0000000001"), QDate::currentDate()};
    EXPECT_EQ(issued.creditNote, note);
    ASSERT_EQ(kept.documents().size(), 2u);
    EXPECT_EQ(kept.documents()[1], note);
    const QString text = testsupport::pdfText(kept.pdfPath(note));
    for (const QString& expected : {QStringLiteral("КРЕДИТНО ИЗВЕСТИЕ"), QStringLiteral("към фактура № 0000000001"), kJoy.company})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();
}

// Documents go to the folder of their date's year, and a credit note keeps what it belongs to.
TEST(InvoiceRegister, DocumentsOfTwoYearsGoToTheirYearFolders)
{
    const SaleShop shop;
    Counter c(shop);
    MessageRecorder messages;
    sales::documentSheet(*c.shop().FakturaEksel, shop.folder.file(store::kInvoiceFile), store::Currency::Leva);
    const sales::IssuedDocument invoice{sales::DocumentKind::Invoice, QStringLiteral("0000000007"), QDate(2025, 12, 30),
                                        24.0, store::Currency::Leva, kJoy, {}, {}};
    const sales::IssuedDocument note{sales::DocumentKind::CreditNote, QStringLiteral("0000000008"), QDate(2026, 1, 5),
                                     -12.0, store::Currency::Euro, kJoy, invoice.number, invoice.date};
    EXPECT_TRUE(sales::registerIssued(c.shop(), invoice));
    EXPECT_TRUE(sales::registerIssued(c.shop(), note));
    EXPECT_EQ(messages.texts(), QStringList());
    for (const QString& file : {QStringLiteral("2025/0000000007.pdf"), QStringLiteral("2026/0000000008.pdf")})
        EXPECT_TRUE(QFile::exists(folderFile(shop, file))) << file.toStdString();
    EXPECT_EQ(sales::InvoiceRegister(shop.folder.path()).documents(), (std::vector{invoice, note}));
}

// Nothing is recorded while the ЕИК is wrong; the shop keeper is told which and why.
TEST(InvoiceRegister, AWrongCompanyIdIsNamedAndNothingRecorded)
{
    const SaleShop shop;
    Counter c(shop);
    MessageRecorder messages;
    sales::Form6& dialog = sellBall(c);
    typeRecipient(dialog, {QStringLiteral("175074753"), {}, kJoy.company, {}});
    QTest::mouseClick(dialog.Command1, Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("ЕИК „175074753“ не е валиден: контролната цифра не съвпада.")});
    EXPECT_TRUE(c.data().cell(index::kSalesRows).isEmpty() || c.data().counter(index::kSalesRows) == 0);
    EXPECT_EQ(c.data().counter(index::kLastInvoice), 0);
    EXPECT_EQ(c.invoiceDialog(), &dialog);
    EXPECT_FALSE(QFile::exists(shop.folder.file(store::kInvoiceFolder)));
}

// Where the register cannot be written (a file stands where its folder would), the sale stays
// recorded and the shop keeper is told why the invoice was not kept.
TEST(InvoiceRegister, ARegisterThatCannotBeWrittenLeavesTheSaleRecorded)
{
    const SaleShop shop;
    QFile blocker(shop.folder.file(store::kInvoiceFolder));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Counter c(shop);
    MessageRecorder messages;
    sales::Form6& dialog = sellBall(c);
    QTest::mouseClick(dialog.Command1, Qt::LeftButton);
    settle();
    EXPECT_EQ(c.data().counter(index::kSalesRows), 1);
    EXPECT_EQ(c.data().counter(index::kLastInvoice), 1);
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].startsWith(QStringLiteral("Документ № 0000000001 е издаден и продажбата е записана")))
        << messages.texts()[0].toStdString();
    EXPECT_EQ(c.invoiceDialog(), nullptr);
}

// The window lists the newest first; "Отвори" hands the PDF to the desktop, "Дубликат" prints the
// kept form marked as a duplicate.
TEST(IssuedDocumentsWindow, ListsOpensAndPrintsADuplicate)
{
    const SaleShop shop;
    Counter c(shop);
    MessageRecorder messages;
    for (const QString& company : {QStringLiteral("Първа ООД"), QStringLiteral("Втора ЕООД")}) {
        sales::Form6& dialog = sellBall(c);
        type(dialog.Text5, company);
        QTest::mouseClick(dialog.Command1, Qt::LeftButton);
        settle();
    }
    c.w.fakturi->trigger();
    auto* window = qobject_cast<sales::Form16*>(c.shop().windows.window(16));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->objectName(), QStringLiteral("Form16"));
    const QAbstractItemModel* model = window->List1->model();
    ASSERT_EQ(model->rowCount(), 2);
    const auto cell = [model](int row, int column) { return model->index(row, column).data().toString(); };
    EXPECT_EQ(cell(0, 0), QStringLiteral("0000000002"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("фактура"));
    EXPECT_EQ(cell(0, 3), QStringLiteral("Втора ЕООД"));
    EXPECT_EQ(cell(1, 4), QStringLiteral("5,50 лв."));

    QTest::mouseClick(window->Command1, Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Изберете документ от списъка.")});
    messages.clear();
    DesktopCatcher desktop;
    window->List1->setCurrentIndex(model->index(1, 0));
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    const QString year = QString::number(QDate::currentDate().year());
    EXPECT_EQ(desktop.opened, QStringList{folderFile(shop, year + QStringLiteral("/0000000001.pdf"))});

    QTest::mouseClick(window->Command2, Qt::LeftButton);
    const QString duplicate = shop.folder.file(QStringLiteral("дубликат.pdf"));
    ASSERT_TRUE(printFromPreview(*window, duplicate));
    const QString text = testsupport::pdfText(duplicate);
    for (const QString& expected : {QStringLiteral("ДУБЛИКАТ"), QStringLiteral("Първа ООД")})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();

    QFile::remove(folderFile(shop, year + QStringLiteral("/0000000001.pdf")));
    QTest::mouseClick(window->Command1, Qt::LeftButton);
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts()[0].endsWith(QStringLiteral("0000000001.pdf“ липсва."))) << messages.texts()[0].toStdString();
}

#include "InvoiceRegisterTest.moc"
