// The .xls reader on arbitrary bytes: every input is read or refused with a store::Error.
#include "store/StoreError.h"
#include "store/Workbook.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        store::Workbook::fromBytes(bytes);
    } catch (const store::Error&) {
    }
    return 0;
}
