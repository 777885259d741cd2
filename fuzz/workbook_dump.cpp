// What the workbook tool's dump and every save do with a file: read it, compute every formula,
// print it, write it again and read what was written. Whatever the reader accepts, the writer
// must write and the reader read back: a workbook that opens but cannot be saved would lose the
// shop keeper's work.
#include "store/StoreError.h"
#include "store/Workbook.h"
#include "tools/WorkbookDump.h"

#include <QTextStream>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    std::unique_ptr<store::Workbook> book;
    try {
        book = store::Workbook::fromBytes(bytes);
    } catch (const store::Error&) {
        return 0;
    }
    QString printed;
    QTextStream out(&printed);
    dumpWorkbook(*book, out);
    try {
        store::Workbook::fromBytes(book->toBytes());
    } catch (const store::Error&) {
        std::abort();
    }
    return 0;
}
