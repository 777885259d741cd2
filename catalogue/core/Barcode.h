#pragma once

#include <QString>
#include <optional>

namespace store {
class DataWorkbook;
}

namespace catalogue {

// The goods record that holds a barcode: its article sheet and its row there.
struct BarcodeHit {
    QString sheet;
    int row = 0;
};

// The goods whose barcode (column W) is the code, over every article of the shop; nothing when
// none holds it or the code is blank. Blanks round the code or the cell do not count.
std::optional<BarcodeHit> findBarcode(const store::DataWorkbook& data, const QString& code);

// What the shop keeper is told when no goods hold the code.
QString unknownBarcodeText(const QString& code);

} // namespace catalogue
