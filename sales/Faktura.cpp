#include "sales/Faktura.h"

#include "currency/EuroChangeover.h"
#include "sales/Koshnica.h"
#include "sales/Returns.h"
#include "store/Application.h"
#include "store/InvoiceLayout.h"
#include "store/Workbook.h"

#include <vector>

namespace sales {

namespace {

namespace form = store::layout::invoice;
using store::layout::CellPos;

void put(store::Worksheet& sheet, CellPos pos, const QString& text)
{
    sheet.setValue(pos.row, pos.col, store::Value(text));
}

void putMark(store::Worksheet& sheet, int row, const QString& text)
{
    sheet.setValue(row, form::kPaymentColumn, store::Value(text));
}

// A goods line of a document.
struct DocumentLine {
    QString name;
    int count = 0;
    double price = 0;
};

std::vector<DocumentLine> basketLines(const Koshnica& basket)
{
    std::vector<DocumentLine> lines;
    for (int i = 1; i <= basket.lines(); ++i) lines.push_back({basket.line(i).name, basket.line(i).count, basket.line(i).price});
    return lines;
}

// The returned goods, each with a negative count.
std::vector<DocumentLine> returnedLines(const ReturnDone& done)
{
    std::vector<DocumentLine> lines;
    for (const ReturnedLine& line : done.lines) lines.push_back({line.name, -line.count, line.price});
    return lines;
}

void fillLines(store::Worksheet& sheet, const std::vector<DocumentLine>& lines)
{
    for (int i = 1; i <= form::kLineCount; ++i) {
        const int row = form::lineRow(i);
        const DocumentLine line = size_t(i) <= lines.size() ? lines[size_t(i - 1)] : DocumentLine{};
        sheet.setValue(row, form::kNameColumn, store::Value(line.name));
        sheet.setValue(row, form::kCountColumn, store::Value(line.count));
        sheet.setValue(row, form::kPriceColumn, store::Value(line.price));
    }
}

// The form's title cell, "ФАКТУРА" or "КРЕДИТНО ИЗВЕСТИЕ", says the title given (a title already
// saying it, in whatever letters, stays as it is). A form whose top rows hold neither keeps its own.
void putTitle(store::Worksheet& sheet, const QString& title)
{
    const auto is = [](const QString& text, const QString& title) { return text.compare(title, Qt::CaseInsensitive) == 0; };
    for (int row = 1; row <= form::kTitleRows; ++row)
        for (int column = 1; column <= form::kTitleColumns; ++column) {
            const QString text = sheet.value(row, column).toText().trimmed();
            if (is(text, title)) return;
            if (is(text, form::kInvoiceTitle) || is(text, form::kCreditNoteTitle)) {
                sheet.setValue(row, column, store::Value(title));
                return;
            }
        }
}

// The lines of a credit note under the payment; an invoice leaves them as the form has them.
void putCorrection(store::Worksheet& sheet, const QString& invoice, const QString& reason)
{
    put(sheet, form::kCorrectedInvoice, invoice);
    put(sheet, form::kCorrectionReason, reason);
}

void clearCorrection(store::Worksheet& sheet)
{
    for (const CellPos pos : {form::kCorrectedInvoice, form::kCorrectionReason})
        if (!sheet.value(pos.row, pos.col).isEmpty()) sheet.setValue(pos.row, pos.col, store::Value());
}

// A chosen way of payment gets "да" in its own row; the other two rows are emptied. Without a
// choice the three rows keep what they held.
void markPayment(store::Worksheet& sheet, InvoiceData::Payment payment)
{
    const QString yes = form::kPaymentMark;
    switch (payment) {
    case InvoiceData::Payment::Cash:
        putMark(sheet, form::kCashRow, yes);
        putMark(sheet, form::kTransferRow, {});
        putMark(sheet, form::kSetOffRow, {});
        break;
    case InvoiceData::Payment::Transfer:
        putMark(sheet, form::kTransferRow, yes);
        putMark(sheet, form::kCashRow, {});
        putMark(sheet, form::kSetOffRow, {});
        break;
    case InvoiceData::Payment::SetOff:
        putMark(sheet, form::kSetOffRow, yes);
        putMark(sheet, form::kTransferRow, {});
        putMark(sheet, form::kCashRow, {});
        break;
    case InvoiceData::Payment::None:
        break;
    }
}

} // namespace

void openInvoiceForm(store::Application& FakturaEksel, const QString& formPath, store::Currency shopCurrency)
{
    FakturaEksel.Workbooks().Open(formPath);
    currency::followCurrency(*FakturaEksel.ActiveWorkbook(), shopCurrency);
}

store::Worksheet& documentSheet(store::Application& FakturaEksel, const QString& formPath, store::Currency currency)
{
    if (!FakturaEksel.Visible() || !FakturaEksel.ActiveWorkbook()) {
        FakturaEksel.DisplayAlerts = false;
        openInvoiceForm(FakturaEksel, formPath, currency);
    }
    return FakturaEksel.ActiveWorkbook()->sheets(form::kSheet);
}

// The invoice's filling, for an invoice and a credit note alike; the form is shown.
store::Worksheet& fillDocument(store::Application& FakturaEksel, const QString& formPath, store::Currency currency,
                               const std::vector<DocumentLine>& lines, const InvoiceData& data)
{
    store::Worksheet& sheet = documentSheet(FakturaEksel, formPath, currency);
    FakturaEksel.setVisible(true);
    fillLines(sheet, lines);
    put(sheet, form::kNumber, data.number);
    put(sheet, form::kDate, data.date);
    put(sheet, form::kCompanyId, form::kCompanyIdPrefix + data.companyId);
    put(sheet, form::kVatNumber, form::kVatNumberPrefix + data.vatNumber);
    put(sheet, form::kCompany, data.company);
    put(sheet, form::kAddress, form::kAddressPrefix + data.address);
    markPayment(sheet, data.payment);
    put(sheet, form::kTerm, data.term);
    put(sheet, form::kDeliveryDate, data.deliveryDate);
    put(sheet, form::kDeliveryPlace, data.deliveryPlace);
    put(sheet, form::kZeroVatBasis, data.zeroVatBasis);
    return sheet;
}

void PokajiFakturata(store::Application& FakturaEksel, const QString& formPath, store::Currency currency,
                     const Koshnica& basket, const InvoiceData& data)
{
    store::Worksheet& sheet = fillDocument(FakturaEksel, formPath, currency, basketLines(basket), data);
    putTitle(sheet, form::kInvoiceTitle);
    clearCorrection(sheet);
}

IssuedDocument PokajiKreditnoIzvestie(store::Application& FakturaEksel, const QString& formPath, store::Currency currency,
                                      const ReturnDone& done, const Recipient& recipient)
{
    InvoiceData data;
    data.number = done.creditNote;
    data.date = done.date;
    data.companyId = recipient.companyId;
    data.vatNumber = recipient.vatNumber;
    data.company = recipient.company;
    data.address = recipient.address;
    store::Worksheet& sheet = fillDocument(FakturaEksel, formPath, currency, returnedLines(done), data);
    putTitle(sheet, form::kCreditNoteTitle);
    putCorrection(sheet, QStringLiteral("към фактура № %1 от %2").arg(done.invoice, done.invoiceDate),
                  QStringLiteral("основание: ") + done.reason);
    const auto day = [](const QString& text) { return store::parseShopDate(text).value_or(QDate()); };
    return {DocumentKind::CreditNote, done.creditNote, day(done.date), -done.amount(), currency, recipient,
            done.invoice, day(done.invoiceDate)};
}

void IzchistiFakturata(store::Worksheet& sheet)
{
    put(sheet, form::kCompanyId, form::kCompanyIdPrefix);
    put(sheet, form::kVatNumber, form::kVatNumberPrefix);
    put(sheet, form::kCompany, {});
    put(sheet, form::kAddress, form::kAddressPrefix);
    for (const int row : {form::kCashRow, form::kTransferRow, form::kSetOffRow}) putMark(sheet, row, {});
    for (const CellPos pos : {form::kTerm, form::kDeliveryDate, form::kDeliveryPlace, form::kZeroVatBasis}) put(sheet, pos, {});
    for (int i = 1; i <= form::kLineCount; ++i)
        for (const int column : {form::kNameColumn, form::kCountColumn, form::kPriceColumn})
            sheet.setValue(form::lineRow(i), column, store::Value(QString()));
    putTitle(sheet, form::kInvoiceTitle);
    clearCorrection(sheet);
}

} // namespace sales
