#pragma once

#include "store/DataWorkbook.h"

#include <QString>

namespace store::layout {

// The document workbook Faktura.xls: the cells of its first sheet that the program fills after a
// sale with an invoice and clears after a sale without one. Everything else on the sheet (titles,
// line amounts, totals) is the form's own.
namespace invoice {
inline constexpr int kSheet = 1;                 // the document sheet: the first one
inline constexpr CellPos kNumber{2, 3};          // C2: the number as typed in the dialog
inline constexpr CellPos kDate{2, 14};           // N2
inline constexpr CellPos kCompany{4, 2};         // B4
inline constexpr CellPos kCompanyId{5, 2};       // B5, after "ЕИК:  "
inline constexpr CellPos kVatNumber{5, 6};       // F5, after "ИН по ЗДДС  "
inline constexpr CellPos kAddress{6, 2};         // B6, after "Адрес:  "
inline constexpr int kFirstLineRow = 8;          // goods lines 1 to 10: rows 8 to 17
inline constexpr int kLineCount = 10;
inline constexpr int kNameColumn = 3;            // C
inline constexpr int kCountColumn = 12;          // L
inline constexpr int kPriceColumn = 14;          // N: unit selling price
inline constexpr int kPaymentColumn = 5;         // E: "да" beside the way of payment
inline constexpr int kCashRow = 18;
inline constexpr int kTransferRow = 19;
inline constexpr int kSetOffRow = 20;
inline constexpr CellPos kTerm{20, 3};           // C20
inline constexpr CellPos kDeliveryDate{19, 7};   // G19
inline constexpr CellPos kDeliveryPlace{20, 9};  // I20
inline constexpr CellPos kZeroVatBasis{21, 6};   // F21

// A credit note is the same form under its own title (the cell holding "ФАКТУРА" in the top
// rows), with the invoice it corrects and why, in free rows under the payment.
inline constexpr int kTitleRows = 3;             // the title lies in rows 1 to 3 …
inline constexpr int kTitleColumns = 15;         // … of columns A to O
inline const QString kInvoiceTitle = QStringLiteral("ФАКТУРА");
inline const QString kCreditNoteTitle = QStringLiteral("КРЕДИТНО ИЗВЕСТИЕ");
inline constexpr CellPos kCorrectedInvoice{22, 2};  // B22: "към фактура № … от …"
inline constexpr CellPos kCorrectionReason{23, 2};  // B23: "основание: …"

inline const QString kCompanyIdPrefix = QStringLiteral("ЕИК:  ");
inline const QString kVatNumberPrefix = QStringLiteral("ИН по ЗДДС  ");
inline const QString kAddressPrefix = QStringLiteral("Адрес:  ");
inline const QString kPaymentMark = QStringLiteral("да");

inline constexpr int lineRow(int line) { return kFirstLineRow + line - 1; }   // line 1 to 10
} // namespace invoice

} // namespace store::layout
