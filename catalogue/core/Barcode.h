#pragma once

#include <QString>
#include <optional>

namespace store {
class DataWorkbook;
}

// Goods barcodes (column W): EAN-13, EAN-8 and UPC-A with their check digit, or the shop's own
// code. The goods editor checks them; the till finds goods by them.
namespace catalogue {

inline constexpr int kLongestOwnCode = 20;

// Why the text cannot be a goods barcode; nothing when it can (the empty text too: no barcode).
// 8, 12 or 13 digits are EAN-8, UPC-A or EAN-13 and must end in their check digit; any other
// code is the shop's own: Latin letters and digits, at most kLongestOwnCode of them.
std::optional<QString> barcodeProblem(const QString& text);

// The check digit that ends an EAN-8, UPC-A or EAN-13 of these leading digits.
int checkDigit(const QString& leadingDigits);

struct GoodsPlace {
    QString article;   // the article sheet
    int record = 0;    // the goods record, in row record + 1
};

// The goods record holding this barcode, in any article; nothing for an empty code or none.
// Blanks round the code or the cell do not count.
std::optional<GoodsPlace> findBarcode(const store::DataWorkbook& data, const QString& code);

// What the shop keeper is told when no goods hold the code.
QString unknownBarcodeText(const QString& code);

} // namespace catalogue
