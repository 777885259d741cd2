#include "sales/InvoiceRegister.h"

#include "store/DataWorkbook.h"
#include "store/InvoiceLayout.h"
#include "store/ProgramFiles.h"
#include "store/StoreError.h"
#include "store/Workbook.h"
#include "store/window/SheetPrint.h"
#include "store/xls/XlsError.h"

#include <QDir>
#include <QFileInfo>
#include <array>

namespace sales {

namespace {

// Registar.xls: a sheet of documents and one of recipients, each with a heading row and one row
// per entry after it, up to the first row without a value in A.
const QString kDocumentSheet = QStringLiteral("Документи");
const QString kRecipientSheet = QStringLiteral("Получатели");
constexpr int kFirstRow = 2;

namespace document {
constexpr int kNumber = 1, kKind = 2, kDate = 3, kCompany = 4, kCompanyId = 5, kVatNumber = 6, kAddress = 7,
              kSum = 8, kCurrency = 9, kForInvoice = 10, kForInvoiceDate = 11;
} // namespace document
namespace recipient {
constexpr int kCompanyId = 1, kVatNumber = 2, kCompany = 3, kAddress = 4;
} // namespace recipient

const std::array kDocumentHeadings{QStringLiteral("Номер"),       QStringLiteral("Вид"),   QStringLiteral("Дата"),
                                   QStringLiteral("Фирма"),       QStringLiteral("ЕИК"),   QStringLiteral("ИН по ЗДДС"),
                                   QStringLiteral("Адрес"),       QStringLiteral("Сума"),  QStringLiteral("Валута"),
                                   QStringLiteral("Към фактура"), QStringLiteral("От дата")};
const std::array kRecipientHeadings{QStringLiteral("ЕИК"), QStringLiteral("ИН по ЗДДС"), QStringLiteral("Фирма"),
                                    QStringLiteral("Адрес")};

const QString kLevaCode = QStringLiteral("BGN");

QString text(const store::Worksheet& sheet, int row, int column)
{
    return sheet.value(row, column).toText();
}

QString dateText(const QDate& date)
{
    return date.isValid() ? store::formatShopDate(date) : QString();
}

QDate readDate(const store::Worksheet& sheet, int row, int column)
{
    return store::parseShopDate(text(sheet, row, column)).value_or(QDate());
}

// A row holds an entry while A or C does: a document has its number and date there, a
// recipient its ЕИК or its firm.
bool holdsEntry(const store::Worksheet& sheet, int row)
{
    return !sheet.value(row, 1).isEmpty() || !sheet.value(row, 3).isEmpty();
}

template <size_t N>
void addSheet(store::Workbook& workbook, const QString& name, const std::array<QString, N>& headings)
{
    store::Worksheet& sheet = workbook.appendSheet(name);
    for (size_t i = 0; i < N; ++i) sheet.setValue(1, int(i) + 1, store::Value(headings[i]));
}

IssuedDocument readDocument(const store::Worksheet& sheet, int row)
{
    using namespace document;
    IssuedDocument d;
    d.kind = text(sheet, row, kKind) == kindName(DocumentKind::CreditNote) ? DocumentKind::CreditNote
                                                                          : DocumentKind::Invoice;
    d.number = text(sheet, row, kNumber);
    d.date = readDate(sheet, row, kDate);
    d.recipient = {text(sheet, row, kCompanyId), text(sheet, row, kVatNumber), text(sheet, row, kCompany),
                   text(sheet, row, kAddress)};
    const store::Value sum = sheet.value(row, kSum);
    d.sum = sum.isNumber() ? sum.number() : 0;
    d.currency = text(sheet, row, kCurrency) == store::layout::index::kEuroCode ? store::Currency::Euro
                                                                                : store::Currency::Leva;
    d.forInvoice = text(sheet, row, kForInvoice);
    d.forInvoiceDate = readDate(sheet, row, kForInvoiceDate);
    return d;
}

void writeDocument(store::Worksheet& sheet, int row, const IssuedDocument& d)
{
    using namespace document;
    const auto put = [&](int column, const store::Value& value) { sheet.setValue(row, column, value); };
    put(kNumber, d.number);
    put(kKind, kindName(d.kind));
    put(kDate, dateText(d.date));
    put(kCompany, d.recipient.company);
    put(kCompanyId, d.recipient.companyId);
    put(kVatNumber, d.recipient.vatNumber);
    put(kAddress, d.recipient.address);
    put(kSum, d.sum);
    put(kCurrency, d.currency == store::Currency::Euro ? store::layout::index::kEuroCode : kLevaCode);
    put(kForInvoice, d.forInvoice);
    put(kForInvoiceDate, dateText(d.forInvoiceDate));
}

Recipient readRecipient(const store::Worksheet& sheet, int row)
{
    using namespace recipient;
    return {text(sheet, row, kCompanyId), text(sheet, row, kVatNumber), text(sheet, row, kCompany),
            text(sheet, row, kAddress)};
}

// The key a recipient is remembered by: the ЕИК, or the firm when there is none.
QString recipientKey(const Recipient& r)
{
    return r.companyId.isEmpty() ? QStringLiteral("firm:") + r.company : r.companyId;
}

void remember(store::Worksheet& sheet, const Recipient& r)
{
    if (r.companyId.isEmpty() && r.company.isEmpty()) return;
    int row = kFirstRow;
    for (; holdsEntry(sheet, row); ++row)
        if (recipientKey(readRecipient(sheet, row)) == recipientKey(r)) break;
    using namespace recipient;
    sheet.setValue(row, kCompanyId, store::Value(r.companyId));
    sheet.setValue(row, kVatNumber, store::Value(r.vatNumber));
    sheet.setValue(row, kCompany, store::Value(r.company));
    sheet.setValue(row, kAddress, store::Value(r.address));
}

template <typename Entry, typename Read>
std::vector<Entry> entries(const store::Workbook* workbook, const QString& sheetName, Read readEntry)
{
    std::vector<Entry> found;
    const store::Worksheet* sheet = workbook ? workbook->findSheet(sheetName) : nullptr;
    if (!sheet) return found;
    for (int row = kFirstRow; holdsEntry(*sheet, row); ++row) found.push_back(readEntry(*sheet, row));
    return found;
}

} // namespace

QString kindName(DocumentKind kind)
{
    return kind == DocumentKind::CreditNote ? QStringLiteral("кредитно известие") : QStringLiteral("фактура");
}

InvoiceRegister::InvoiceRegister(const QString& programFolder)
    : folder_(QDir(programFolder).filePath(store::kInvoiceFolder))
{
}

QString InvoiceRegister::pdfPath(const IssuedDocument& document) const
{
    return QStringLiteral("%1/%2/%3.pdf").arg(folder_).arg(document.date.year()).arg(document.number);
}

QString InvoiceRegister::formPath(const IssuedDocument& document) const
{
    return QStringLiteral("%1/%2/%3.xls").arg(folder_).arg(document.date.year()).arg(document.number);
}

QString InvoiceRegister::file() const
{
    return QDir(folder_).filePath(store::kInvoiceRegisterFile);
}

std::unique_ptr<store::Workbook> InvoiceRegister::read() const
{
    if (!QFileInfo::exists(file())) return nullptr;
    return store::Workbook::open(file());
}

std::vector<IssuedDocument> InvoiceRegister::documents() const
{
    return entries<IssuedDocument>(read().get(), kDocumentSheet, readDocument);
}

std::vector<Recipient> InvoiceRegister::recipients() const
{
    return entries<Recipient>(read().get(), kRecipientSheet, readRecipient);
}

std::optional<Recipient> InvoiceRegister::recipientOf(const QString& number) const
{
    for (const IssuedDocument& d : documents())
        if (d.number == number) return d.recipient;
    return std::nullopt;
}

void InvoiceRegister::enter(const IssuedDocument& document) const
{
    if (!QDir().mkpath(folder_))
        throw store::Error(store::xls::XlsError::FolderNotCreated, {QDir::toNativeSeparators(folder_)});
    std::unique_ptr<store::Workbook> workbook = read();
    if (!workbook) workbook = std::make_unique<store::Workbook>(nullptr, false);
    if (!workbook->findSheet(kDocumentSheet)) addSheet(*workbook, kDocumentSheet, kDocumentHeadings);
    if (!workbook->findSheet(kRecipientSheet)) addSheet(*workbook, kRecipientSheet, kRecipientHeadings);
    store::Worksheet& documents = workbook->sheets(kDocumentSheet);
    int row = kFirstRow;
    while (holdsEntry(documents, row)) ++row;
    writeDocument(documents, row, document);
    remember(workbook->sheets(kRecipientSheet), document.recipient);
    workbook->SaveAs(file());
}

void InvoiceRegister::keepFiles(const store::Workbook& form, const IssuedDocument& document) const
{
    const QString folder = QFileInfo(pdfPath(document)).absolutePath();
    if (!QDir().mkpath(folder))
        throw store::Error(store::xls::XlsError::FolderNotCreated, {QDir::toNativeSeparators(folder)});
    store::window::exportPdf(form, store::layout::invoice::kSheet, pdfPath(document));
    store::Workbook::fromBytes(form.toBytes())->SaveAs(formPath(document));
}

} // namespace sales
