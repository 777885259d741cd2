#include "sales/Faktura.h"

#include "currency/EuroChangeover.h"
#include "sales/Koshnica.h"
#include "store/Application.h"
#include "store/InvoiceLayout.h"
#include "store/Workbook.h"

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

void fillLines(store::Worksheet& sheet, const Koshnica& basket)
{
    for (int i = 1; i <= form::kLineCount; ++i) {
        const int row = form::lineRow(i);
        const BasketLine line = i <= basket.lines() ? basket.line(i) : BasketLine{};
        sheet.setValue(row, form::kNameColumn, store::Value(line.name));
        sheet.setValue(row, form::kCountColumn, store::Value(line.count));
        sheet.setValue(row, form::kPriceColumn, store::Value(line.price));
    }
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

void PokajiFakturata(store::Application& FakturaEksel, const QString& formPath, store::Currency currency,
                     const Koshnica& basket, const InvoiceData& data)
{
    store::Worksheet& sheet = documentSheet(FakturaEksel, formPath, currency);
    FakturaEksel.setVisible(true);
    fillLines(sheet, basket);
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
}

} // namespace sales
