#include "sales/Sale.h"

#include "common/Messages.h"
#include "common/Shop.h"
#include "sales/Faktura.h"
#include "sales/InvoiceRegister.h"
#include "sales/Koshnica.h"
#include "sales/SaleError.h"
#include "sales/SalesLedger.h"
#include "showcase/core/ShowcaseData.h"
#include "store/InvoiceLayout.h"
#include "store/ProgramFiles.h"
#include "store/StoreError.h"
#include "store/Workbook.h"

#include <QDate>
#include <algorithm>
#include <functional>

namespace sales {

namespace {

Recipient typedRecipient(const InvoiceData& data)
{
    return {data.companyId.trimmed(), data.vatNumber.trimmed(), data.company.trimmed(), data.address.trimmed()};
}

// Whom the invoice was made out to, as the register keeps it. A register that cannot be read
// leaves the credit note without a recipient: keeping the credit note tells what is wrong with it.
Recipient invoiceRecipient(const app::Shop& shop, const QString& invoice)
{
    try {
        return InvoiceRegister(shop.folder()).recipientOf(invoice).value_or(Recipient{});
    } catch (const store::Error&) {
        return {};
    }
}

// The rows a sale moved out of the full ledger, told once the sale is done.
void tellRollOver(const std::optional<ledgers::RollOver>& moved)
{
    if (moved) app::inform(ledgers::rollOverText(*moved));
}

} // namespace

bool registerIssued(app::Shop& shop, const IssuedDocument& document)
{
    const InvoiceRegister kept(shop.folder());
    QStringList problems;
    const auto keep = [&problems](const std::function<void()>& step) {
        try {
            step();
        } catch (const store::Error& e) {
            problems << e.message();
        }
    };
    keep([&] {
        const store::Workbook* form = shop.FakturaEksel ? shop.FakturaEksel->ActiveWorkbook() : nullptr;
        if (!form) throw store::Error(SaleError::InvoiceFormClosed);
        kept.keepFiles(*form, document);
    });
    keep([&] { kept.enter(document); });
    if (problems.isEmpty()) return true;
    app::failure(errorMessage(SaleError::NotRegistered, {document.number, problems.join(QLatin1Char('\n'))}));
    return false;
}

bool addToBasket(app::Shop& shop, Koshnica& basket, const QString& sheet, int articlePosition, int goodsPosition,
                 int count)
{
    if (basket.isFull()) return false;
    const int row = store::layout::article::recordRow(goodsPosition + 1);
    return basket.add(shop.danni().sheets(sheet), articlePosition, row, count);
}

PieceAdded addOnePiece(app::Shop& shop, Koshnica& basket, const QString& sheet, int articlePosition, int row)
{
    store::Worksheet& article = shop.danni().sheets(sheet);
    if (showcase::stockOf(article, row) < 1) return PieceAdded::OutOfStock;
    if (const int line = basket.lineHolding(sheet, row)) {
        basket.raiseLine(shop.danni(), line, 1);
        return PieceAdded::LineRaised;
    }
    return basket.add(article, articlePosition, row, 1) ? PieceAdded::NewLine : PieceAdded::BasketFull;
}

void sellWithoutInvoice(app::Shop& shop, Koshnica& basket)
{
    const auto moved = ProdajbiDobavi(shop.data(), basket, false);
    basket.IzchistiMasivite();
    // Without the form open there is nothing on it to clear.
    if (shop.FakturaEksel && shop.FakturaEksel->ActiveWorkbook())
        IzchistiFakturata(shop.FakturaEksel->ActiveWorkbook()->sheets(store::layout::invoice::kSheet));
    tellRollOver(moved);
}

bool sellWithInvoice(app::Shop& shop, Koshnica& basket, const InvoiceData& data)
{
    if (basket.isEmpty()) return false;
    if (!shop.FakturaEksel) throw store::Error(SaleError::InvoiceFormClosed);
    // The form must be there before the sale is recorded: no sale without its invoice.
    const QString formPath = shop.file(store::kInvoiceFile);
    documentSheet(*shop.FakturaEksel, formPath, shop.currency());
    IssuedDocument invoice{DocumentKind::Invoice, NomerNaFaktura(shop.data()), QDate::currentDate(), basket.total(),
                           shop.currency(), typedRecipient(data), {}, {}};
    const auto moved = ProdajbiDobavi(shop.data(), basket, true);
    PokajiFakturata(*shop.FakturaEksel, formPath, shop.currency(), basket, data);
    basket.IzchistiMasivite();
    registerIssued(shop, invoice);
    tellRollOver(moved);
    return true;
}

void sellDecliningInvoice(app::Shop& shop, Koshnica& basket)
{
    const auto moved = ProdajbiDobavi(shop.data(), basket, false);
    basket.IzchistiMasivite();
    tellRollOver(moved);
}

ReturnIssued returnSale(app::Shop& shop, const std::vector<ReturnLine>& lines, const QString& reason)
{
    const QString formPath = shop.file(store::kInvoiceFile);
    const store::Worksheet& index = shop.data().indexSheet();
    const bool invoiced = std::any_of(lines.begin(), lines.end(), [&](const ReturnLine& line) {
        return !index.value(line.row, store::layout::index::sales::kInvoice).toText().isEmpty();
    });
    if (invoiced) {
        if (!shop.FakturaEksel) throw store::Error(SaleError::InvoiceFormClosed);
        documentSheet(*shop.FakturaEksel, formPath, shop.currency());
    }
    ReturnIssued issued{VarniStoka(shop.data(), lines, reason), std::nullopt};
    if (!issued.done.creditNote.isEmpty()) {
        issued.creditNote = PokajiKreditnoIzvestie(*shop.FakturaEksel, formPath, shop.currency(), issued.done,
                                                   invoiceRecipient(shop, issued.done.invoice));
        registerIssued(shop, *issued.creditNote);
    }
    tellRollOver(issued.done.moved);
    return issued;
}

QString saleRecordedText(const Koshnica& basket, store::Currency currency, const QString& invoiceNumber)
{
    const int lines = basket.lines();
    QString text = QStringLiteral("Продажбата е записана: %1 %2, %3")
                       .arg(lines)
                       .arg(lines == 1 ? QStringLiteral("ред") : QStringLiteral("реда"))
                       .arg(store::moneyWithSign(basket.total(), currency));
    if (!invoiceNumber.isEmpty()) text += QStringLiteral(", фактура № ") + invoiceNumber;
    // "лв." ends the sentence by itself.
    return text.endsWith(QLatin1Char('.')) ? text : text + QLatin1Char('.');
}

void returnBasketAtEnd(app::Shop& shop, Koshnica& basket)
{
    if (!shop.ObektEksel || !shop.ObektEksel->ActiveWorkbook()) return;
    basket.returnAllToStock(shop.danni());
}

} // namespace sales
