// The formula parser on arbitrary text, in both reference styles. A formula that parses prints
// as text that parses again to the same print, computes on a small sheet, and goes to .xls
// tokens and back unchanged when the file format can hold it.
#include "store/StoreError.h"
#include "store/Workbook.h"
#include "store/formula/BiffFormula.h"
#include "store/formula/Formula.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr int kRow = 5, kCol = 3;

void require(bool condition)
{
    if (!condition) std::abort();
}

void check(const store::Formula& formula)
{
    const QString printed = formula.toA1();
    require(store::Formula::parseA1(printed, kRow, kCol).toA1() == printed);

    store::Workbook book;
    store::Worksheet& sheet = book.sheets(1);
    sheet.setValue(1, 1, store::Value(2.5));
    sheet.setValue(2, 1, store::Value(QStringLiteral("кукла")));
    sheet.setValue(3, 2, store::Value::boolean(true));
    sheet.setFormula(kRow, kCol, formula);
    sheet.value(kRow, kCol);

    QByteArray tokens;
    try {
        tokens = store::encodeBiffFormula(formula, kRow, kCol);
    } catch (const store::Error&) {
        return;   // a text longer than a token holds, a function the format has no number for
    }
    const auto back = store::decodeBiffFormula(tokens, kRow, kCol);
    require(back && back->toA1() == printed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const auto parse : {&store::Formula::parseA1, &store::Formula::parseR1C1}) {
        try {
            check(parse(text, kRow, kCol));
        } catch (const store::Error&) {
        }
    }
    return 0;
}
