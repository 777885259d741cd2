// What the reader does with files that are not whole workbooks: each is refused with a message
// that says what it is (empty, a folder, text, a newer workbook, damaged) or read whole, never
// read in part, never a crash; and nothing but our message reaches the terminal.
#include "error_message.h"
#include "store/StoreError.h"
#include "store/xls/XlsError.h"
#include "store/Workbook.h"
#include "store/formula/Formula.h"
#include "tests/support/FileBytes.h"
#include "tests/support/Programs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

using namespace store;
using store::xls::XlsError;

namespace {

using testsupport::writeBytes;

// Two sheets of texts, numbers, formulas and a merged area: records of every kind the shop uses.
QByteArray sampleFile()
{
    Workbook book;
    Worksheet& goods = book.sheets(1);
    goods.setName(QStringLiteral("Кукли"));
    goods.setFormula(1, 20, Formula::parseR1C1(QStringLiteral("=COUNTIF(R[1]C[-18]:R[9999]C[-18],\"<>\")"), 1, 20));
    for (int row = 2; row <= 400; ++row) {
        goods.setValue(row, 2, Value(QStringLiteral("Кукла %1").arg(row)));
        goods.setValue(row, 3, Value(row * 1.5));
        goods.setValue(row, 4, Value(row % 7));
        goods.setFormula(row, 5, Formula::parseA1(QStringLiteral("=C%1*D%1").arg(row), row, 5));
    }
    goods.merged().push_back(CellArea{2, 7, 3, 8});
    Worksheet& index = book.sheetsAdd();
    index.setName(QStringLiteral("List"));
    index.setValue(1, 4, Value(2));
    index.setValue(2, 53, Value(QStringLiteral("admin")));
    index.setValue(2, 54, Value(100000.0));
    return book.toBytes();
}

// Every cell of every sheet as text, formulas with their values computed now.
QStringList allCells(const Workbook& book)
{
    QStringList cells;
    for (int s = 1; s <= book.sheetCount(); ++s) {
        const Worksheet& sheet = book.sheets(s);
        for (int row = 1; row <= sheet.lastRow(); ++row)
            for (const Cell& cell : sheet.rowCells(row))
                cells << QStringLiteral("%1!%2,%3=%4").arg(sheet.Name()).arg(row).arg(cell.col).arg(sheet.value(row, cell.col).toText());
    }
    return cells;
}

// What became of damaged bytes: refused with a message, or read (and then saved again).
enum class Outcome { Refused, Read };

Outcome readDamaged(const QByteArray& bytes, QStringList* cells = nullptr)
{
    std::unique_ptr<Workbook> book;
    const QString message = errorOf([&] { book = Workbook::fromBytes(bytes); });
    if (!book) {
        EXPECT_TRUE(message.startsWith(errorMessage(XlsError::WorkbookNotRead, {}))) << message.toStdString();
        return Outcome::Refused;
    }
    if (cells) *cells = allCells(*book);
    else allCells(*book);
    // Whatever was read can be written again.
    const QString saved = errorOf([&] { book->toBytes(); });
    EXPECT_EQ(saved, QStringLiteral("(no error)"));
    return Outcome::Read;
}

// Where to flip a bit: every byte of the compound file's header fields, the four header bytes
// of the first record of each kind in the workbook stream, and every 401st byte.
std::vector<qsizetype> flipSample(const QByteArray& file)
{
    constexpr qsizetype kHeaderFields = 0x4C;
    std::set<qsizetype> sample;
    for (qsizetype at = 0; at < kHeaderFields; ++at) sample.insert(at);
    // The workbook stream, written in one piece, starts with the BIFF8 globals' BOF.
    const QByteArray globalsBof = QByteArrayLiteral("\x09\x08\x10\x00\x00\x06\x05\x00");
    std::set<int> kinds;
    for (qsizetype at = file.indexOf(globalsBof); at >= 0 && at + 4 <= file.size();) {
        const int id = quint8(file[at]) | quint8(file[at + 1]) << 8;
        const int length = quint8(file[at + 2]) | quint8(file[at + 3]) << 8;
        if (id == 0) break;
        if (kinds.insert(id).second)
            for (int i = 0; i < 4; ++i) sample.insert(at + i);
        at += 4 + length;
    }
    for (qsizetype at = 0; at < file.size(); at += 401) sample.insert(at);
    return {sample.begin(), sample.end()};
}

} // namespace

TEST(XlsBadInput, EachKindOfWrongFileIsNamedForWhatItIs)
{
    QTemporaryDir dir;
    const auto readError = [](const QString& path) { return errorKind<XlsError>([&] { Workbook::open(path); }); };
    const auto expectReason = [&](const QString& name, const QByteArray& bytes, XlsError reason) {
        const QString path = dir.filePath(name);
        ASSERT_TRUE(writeBytes(path, bytes));
        EXPECT_EQ(readError(path), reason) << name.toStdString();
    };
    const QByteArray good = sampleFile();
    expectReason(QStringLiteral("empty.xls"), QByteArray(), XlsError::EmptyFile);
    expectReason(QStringLiteral("text.xls"), QByteArray("Име;Цена\nкукла;12.50\n"), XlsError::NotAWorkbook);
    expectReason(QStringLiteral("new.xls"), QByteArrayLiteral("PK\x03\x04\x14\x00\x06\x00") + QByteArray(600, 'x'),
                 XlsError::NewerFormat);
    expectReason(QStringLiteral("half.xls"), good.left(good.size() / 2), XlsError::Damaged);
    expectReason(QStringLiteral("header.xls"), good.left(600), XlsError::Damaged);
    QByteArray noStream = good;
    noStream.replace(QByteArray("W\0o\0r\0k\0b\0o\0o\0k\0", 16), QByteArray("W\0o\0r\0k\0b\0o\0o\0x\0", 16));
    expectReason(QStringLiteral("other.xls"), noStream, XlsError::NoWorkbookStream);

    const QString folder = dir.filePath(QStringLiteral("folder.xls"));
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_EQ(readError(folder), XlsError::NotAFile);
}

TEST(XlsBadInput, DamagedFilesAreToldInOurMessageAlone)
{
    QTemporaryDir dir;
    const QByteArray good = sampleFile();
    // A cut container, and one whose header puts the big stream into the small-stream area.
    QByteArray wrongCutoff = good;
    wrongCutoff[0x3A] = char(wrongCutoff[0x3A] ^ 0x01);
    const std::pair<const char*, QByteArray> damaged[] = {{"cut.xls", good.left(good.size() / 3)},
                                                          {"cutoff.xls", wrongCutoff}};
    for (const auto& [name, bytes] : damaged) {
        const QString path = dir.filePath(QLatin1String(name));
        ASSERT_TRUE(writeBytes(path, bytes));
        const testsupport::RunResult tool = testsupport::runWorkbookTool({QStringLiteral("dump"), path});
        ASSERT_TRUE(tool.finished);
        EXPECT_EQ(tool.exitCode, 1);
        const QString reason = errorMessage(XlsError::Damaged, {}) + QLatin1Char('.');
        EXPECT_EQ(QString::fromUtf8(tool.err),
                  errorMessage(XlsError::FileNotRead, {QDir::toNativeSeparators(path), reason}) + QLatin1Char('\n'));
    }
}

TEST(XlsBadInput, TruncatedAnywhereIsRefusedOrReadWhole)
{
    const QByteArray good = sampleFile();
    QStringList whole;
    ASSERT_EQ(readDamaged(good, &whole), Outcome::Read);
    int refused = 0, readWhole = 0;
    std::vector<qsizetype> cuts{0, 1, 7, 8, 511, 512, 513, good.size() - 1};
    for (qsizetype at = 0; at < good.size(); at += good.size() / 400 + 1) cuts.push_back(at);
    for (qsizetype at : cuts) {
        QStringList cells;
        if (readDamaged(good.left(at), &cells) == Outcome::Refused) {
            ++refused;
        } else {
            EXPECT_EQ(cells, whole) << "cut at " << at << " read in part";
            ++readWhole;
        }
    }
    EXPECT_GT(refused, 300);
}

TEST(XlsBadInput, FlippedBytesNeverCrashAndWhatReadsCanBeSaved)
{
    const QByteArray good = sampleFile();
    int refused = 0;
    // Each sampled byte in turn, each with a different bit flipped: the compound file's header,
    // the first record of each kind (id and length), and a spread over the sector tables, cell
    // fields and formula tokens. The fuzzers (fuzz/) go through the rest.
    for (qsizetype at : flipSample(good)) {
        QByteArray damaged = good;
        damaged[at] = char(damaged[at] ^ (1 << (at % 8)));
        refused += readDamaged(damaged) == Outcome::Refused;
    }
    EXPECT_GT(refused, 0);
}
