#pragma once

#include "store/InvoiceLayout.h"

#include <memory>

namespace store { class Workbook; }

namespace demo {

// The invoice form Faktura.xls. Its first sheet takes the cells the program fills after a sale
// with an invoice (store/InvoiceLayout.h); the line amounts and totals are the form's own formulas.
namespace invoice {
using namespace store::layout::invoice;
using store::layout::CellPos;

// Computed by the form.
inline constexpr int kUnitColumn = 13;           // M: "бр." on lines with a count
inline constexpr int kAmountColumn = 15;         // O: count × unit price, to the stotinka
inline constexpr CellPos kTaxBase{18, 15};       // O18: the total without VAT
inline constexpr CellPos kVat{19, 15};           // O19
inline constexpr CellPos kTotal{20, 15};         // O20: the sum of the lines, VAT included
inline constexpr double kVatRate = 0.20;
} // namespace invoice

// A blank invoice form: titles, labels, borders, column widths and formulas, the demo shop as
// supplier, nothing of a sale filled.
std::unique_ptr<store::Workbook> makeInvoiceForm();

} // namespace demo
