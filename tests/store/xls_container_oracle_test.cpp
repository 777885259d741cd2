// The compound file we write, checked by readers that are not ours: olefile, held to the format
// strictly, finds the one stream and reads it back byte for byte, small (in the mini stream), of
// a workbook, and big enough to need sectors listing the FAT beyond the header; Gnumeric opens a
// workbook we saved.

#include "store/Workbook.h"
#include "store/xls/OleStream.h"
#include "store/xls/XlsFile.h"
#include "tests/support/Oracles.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace store;
using namespace testsupport;

namespace {

QByteArray pattern(qsizetype size, int seed)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i) bytes[i] = char(i * seed + i / 509);
    return bytes;
}

QString sha256(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

} // namespace

TEST(XlsContainerOracles, OlefileReadsTheStreamWeWriteByteForByte)
{
    QTemporaryDir dir;
    // 7.5 MB need 118 FAT sectors, more than the header's 109; handed over in pieces, with the
    // beginning written again at the end as the workbook writer does.
    const QByteArray big = pattern(7'500'000, 7), newStart = pattern(3000, 11);
    QByteArray bigAsWritten = big;
    bigAsWritten.replace(0, newStart.size(), newStart);
    const QString bigPath = dir.filePath(QStringLiteral("big.xls"));
    xls::writeStreamFile(bigPath, "Workbook", [&](xls::StreamSink& out) {
        for (qsizetype at = 0; at < big.size(); at += 300'000) out.append(big.constData() + at, std::min<qsizetype>(300'000, big.size() - at));
        out.rewriteStart(newStart);
    }, 4096);

    const QByteArray small = pattern(1000, 5);
    const QString smallPath = dir.filePath(QStringLiteral("small.xls"));
    xls::writeWorkbookStream(smallPath, {&small}, 0);

    Workbook book;
    book.sheets(1).setValue(1, 1, Value(QStringLiteral("Кукла")));
    const QString bookPath = dir.filePath(QStringLiteral("Danni.xls"));
    book.SaveAs(bookPath);
    const QByteArray bookStream = xls::readWorkbookStream(bookPath);

    for (const auto& [path, stream] : {std::pair{bigPath, bigAsWritten}, std::pair{smallPath, small}, std::pair{bookPath, bookStream}}) {
        const QJsonObject read = readWithOlefile(path, QStringLiteral("Workbook"));
        ASSERT_TRUE(read[QStringLiteral("error")].isNull()) << read[QStringLiteral("error")].toString().toStdString();
        EXPECT_EQ(read[QStringLiteral("streams")].toArray(), QJsonArray{QStringLiteral("Workbook")});
        EXPECT_EQ(read[QStringLiteral("rootClass")].toString(), QStringLiteral("00020820-0000-0000-C000-000000000046"));
        EXPECT_EQ(read[QStringLiteral("size")].toInteger(), stream.size());
        EXPECT_EQ(read[QStringLiteral("sha256")].toString(), sha256(stream)) << path.toStdString();
    }
    EXPECT_EQ(xls::readWorkbookStream(bigPath), bigAsWritten);
    EXPECT_EQ(xls::readWorkbookStream(smallPath), small);
}

TEST(XlsContainerOracles, GnumericOpensWhatWeSave)
{
    QTemporaryDir dir;
    Workbook book(nullptr, false);
    Worksheet& goods = book.appendSheet(QStringLiteral("Стоки"));
    for (int row = 1; row <= 3000; ++row) {
        goods.setValue(row, 1, QStringLiteral("Плюшено мече %1").arg(row));
        goods.setValue(row, 2, row * 0.5);
    }
    const QString path = dir.filePath(QStringLiteral("Danni.xls"));
    xls::writeWorkbook(book, path);

    const QString csv = dir.filePath(QStringLiteral("Danni.csv"));
    const QString failure = convertWithGnumeric(path, csv);
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
    const auto rows = readCsv(csv);
    ASSERT_EQ(rows.size(), 3000u);
    EXPECT_EQ(rows[0], (QStringList{QStringLiteral("Плюшено мече 1"), QStringLiteral("0.5")}));
    EXPECT_EQ(rows[2999], (QStringList{QStringLiteral("Плюшено мече 3000"), QStringLiteral("1500")}));
}
