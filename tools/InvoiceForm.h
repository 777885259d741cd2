#pragma once

#include "store/DataWorkbook.h"

#include <memory>

namespace store { class Workbook; }

namespace demo {

// The invoice form Faktura.xls. Its first sheet takes the cells the program fills after a sale
// with an invoice; the line amounts and totals are the form's own formulas.
namespace invoice {
using store::layout::CellPos;

// Filled by the program.
inline constexpr CellPos kNumber{2, 3};          // C2
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

inline const QString kCompanyIdPrefix = QStringLiteral("ЕИК:  ");
inline const QString kVatNumberPrefix = QStringLiteral("ИН по ЗДДС  ");
inline const QString kAddressPrefix = QStringLiteral("Адрес:  ");

// Computed by the form.
inline constexpr int kUnitColumn = 13;           // M: "бр." on lines with a count
inline constexpr int kAmountColumn = 15;         // O: count × unit price, to the stotinka
inline constexpr CellPos kTaxBase{18, 15};       // O18: the total without VAT
inline constexpr CellPos kVat{19, 15};           // O19
inline constexpr CellPos kTotal{20, 15};         // O20: the sum of the lines, VAT included
inline constexpr double kVatRate = 0.20;
} // namespace invoice

// A blank invoice form: titles, labels, borders, column widths and formulas, nothing filled.
std::unique_ptr<store::Workbook> makeInvoiceForm();

} // namespace demo
