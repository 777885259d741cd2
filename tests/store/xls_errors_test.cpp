// Files we cannot read and workbooks we cannot write: each gives a store::Error of the problem
// that names the file, and a failed save leaves what was on disk as it was.

#include "error_message.h"
#include "store/StoreError.h"
#include "store/Workbook.h"
#include "store/xls/BiffRecords.h"
#include "store/xls/OleStream.h"
#include "store/xls/XlsError.h"
#include "store/xls/XlsFile.h"
#include "tests/support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

using namespace store;
using namespace store::xls;

namespace {

using testsupport::fileBytes;
using testsupport::writeBytes;

void read(const QString& path)
{
    Workbook book(nullptr, false);
    readWorkbook(path, book);
}

std::optional<XlsError> readError(const QString& path)
{
    return errorKind<XlsError>([&] { read(path); });
}

// A good workbook stream: two sheets, shared strings, numbers.
QByteArray goodStream(const QString& dir)
{
    Workbook book(nullptr, false);
    Worksheet& a = book.appendSheet(QStringLiteral("Стоки"));
    Worksheet& b = book.appendSheet(QStringLiteral("Продажби"));
    a.setValue(1, 1, QStringLiteral("кукла"));
    a.setValue(2, 1, 12.5);
    b.setValue(1, 1, QStringLiteral("мечо"));
    const QString path = dir + QStringLiteral("/good.xls");
    writeWorkbook(book, path);
    return readWorkbookStream(path);
}

// Offset of the first record with this id that starts after `after`.
qsizetype findRecord(const QByteArray& stream, quint16 id, qsizetype after = -1)
{
    RecordReader reader(stream, 0);
    while (auto r = reader.next())
        if (r->id == id && r->offset > after) return r->offset;
    return -1;
}

quint32 u32At(const QByteArray& b, qsizetype at) { return get32(reinterpret_cast<const uchar*>(b.constData()) + at); }

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The whole message of a file not read or not written (frame) for the reason.
QString fileMessage(XlsError frame, const QString& path, XlsError reason, const QStringList& arguments = {})
{
    return errorMessage(frame, {QDir::toNativeSeparators(path), errorMessage(reason, arguments) + QLatin1Char('.')});
}

} // namespace

TEST(XlsReadErrors, FilesThatAreNotWorkbooksNameTheFileAndTheReason)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("Danni.xls"));
    EXPECT_EQ(errorOf([&] { read(missing); }), fileMessage(XlsError::FileNotRead, missing, XlsError::FileMissing));
    EXPECT_EQ(readError(missing), XlsError::FileMissing);

    const QString text = dir.filePath(QStringLiteral("text.xls"));
    ASSERT_TRUE(writeBytes(text, QByteArray("Име;Цена\nкукла;12.50\n").repeated(300)));
    EXPECT_EQ(readError(text), XlsError::NotAWorkbook);

    const QString empty = dir.filePath(QStringLiteral("empty.xls"));
    ASSERT_TRUE(writeBytes(empty, QByteArray()));
    EXPECT_EQ(readError(empty), XlsError::EmptyFile);

    // A whole file cut in half: the container itself is damaged.
    goodStream(dir.path());
    const QByteArray whole = fileBytes(dir.filePath(QStringLiteral("good.xls")));
    const QString cut = dir.filePath(QStringLiteral("cut.xls"));
    ASSERT_TRUE(writeBytes(cut, whole.left(whole.size() / 2)));
    EXPECT_EQ(readError(cut), XlsError::Damaged);

    // Workbook::open reports the same way.
    EXPECT_EQ(errorOf([&] { Workbook::open(text); }), fileMessage(XlsError::FileNotRead, text, XlsError::NotAWorkbook));
}

TEST(XlsReadErrors, DamagedRecordsAreErrorsNeverAnEmptyWorkbook)
{
    QTemporaryDir dir;
    const QByteArray padded = goodStream(dir.path());
    const qsizetype firstBound = findRecord(padded, rec::BoundSheet);
    const qsizetype firstSheet = qsizetype(u32At(padded, firstBound + 4));
    const qsizetype secondSheet = qsizetype(u32At(padded, findRecord(padded, rec::BoundSheet, firstBound) + 4));
    // Without the zeros that pad the stream: it ends with the last sheet's EOF.
    const QByteArray good = padded.left(findRecord(padded, rec::Eof, secondSheet) + 4);
    int n = 0;
    // Each damaged stream is written into a proper compound file and must be refused for what is
    // wrong with it.
    auto expectRefused = [&](const QByteArray& stream, XlsError reason) {
        const QString path = dir.filePath(QStringLiteral("damaged%1.xls").arg(++n));
        writeWorkbookStream(path, {&stream}, 0);
        EXPECT_EQ(readError(path), reason) << "damaged" << n;
    };

    {   // the good one reads
        const QString path = dir.filePath(QStringLiteral("plain.xls"));
        writeWorkbookStream(path, {&good}, 0);
        Workbook book(nullptr, false);
        readWorkbook(path, book);
        EXPECT_EQ(book.sheetCount(), 2);
    }
    // A record cut off by the end of the stream.
    expectRefused(good.left(firstSheet + 30), XlsError::RecordCut);
    // The stream ends before the sheet's EOF.
    expectRefused(good.left(good.size() - 4), XlsError::SheetWithoutEof);
    // ... or before the globals' EOF.
    expectRefused(good.left(findRecord(good, rec::Eof)), XlsError::GlobalsWithoutEof);
    {   // a BOUNDSHEET that points into the middle of a record
        QByteArray s = good;
        put32(s.data() + findRecord(good, rec::BoundSheet) + 4, quint32(firstSheet + 2));
        expectRefused(s, XlsError::SheetMisplaced);
        put32(s.data() + findRecord(good, rec::BoundSheet) + 4, quint32(good.size() + 100));
        expectRefused(s, XlsError::SheetMisplaced);
    }
    {   // a LABELSST past the shared strings
        QByteArray s = good;
        put32(s.data() + findRecord(good, rec::LabelSst) + 4 + 6, 2);
        expectRefused(s, XlsError::TextOutsideTable);
    }
    {   // a cell whose format does not exist
        QByteArray s = good;
        put16(s.data() + findRecord(good, rec::LabelSst) + 4 + 4, 400);
        expectRefused(s, XlsError::CellFormatUnknown);
    }
    {   // an encrypted workbook
        QByteArray filePass(4, '\0');
        put16(filePass.data(), rec::FilePass);
        const qsizetype afterBof = 4 + 16;
        const QByteArray s = good.left(afterBof) + filePass + good.mid(afterBof);
        expectRefused(s, XlsError::PasswordProtected);
    }
    {   // a workbook whose only sheet is a chart
        QByteArray s = good;
        const qsizetype bound = findRecord(good, rec::BoundSheet);
        s[bound + 4 + 5] = 0x02;
        s[findRecord(good, rec::BoundSheet, bound) + 4 + 5] = 0x02;
        expectRefused(s, XlsError::NoSheets);
    }
    {   // a BIFF5 BOF inside a "Workbook" stream
        QByteArray s = good;
        put16(s.data() + 4, 0x0500);
        expectRefused(s, XlsError::OlderFormat);
    }
}

// A file another program cuts short while we read it neither ends the process nor reads as a
// workbook: the reading stops with a message, and the next read of the file works again.
TEST(XlsReadErrors, FileCutShortWhileReadIsRefusedNotACrash)
{
#ifdef _WIN32
    GTEST_SKIP() << "On Windows the file is read into memory whole, never mapped: a cut cannot reach a read";
#endif
    QTemporaryDir dir;
    Workbook book(nullptr, false);
    Worksheet& sheet = book.appendSheet(QStringLiteral("Стоки"));
    for (int row = 1; row <= 3000; ++row) sheet.setValue(row, 1, row * 1.25);
    const QString path = dir.filePath(QStringLiteral("Danni.xls"));
    writeWorkbook(book, path);
    ASSERT_GT(QFileInfo(path).size(), 8 * 4096);

    qint64 sum = 0;
    const auto reason = errorKind<XlsError>([&] {
        useWorkbookStream(path, [&](const QByteArray& stream, const StreamDone&) {
            QFile(path).resize(4096);
            for (const char byte : stream) sum += byte;   // the pages past the cut are gone
        });
    });
    EXPECT_EQ(reason, XlsError::ChangedWhileRead);

    writeWorkbook(book, path);
    Workbook back(nullptr, false);
    readWorkbook(path, back);
    EXPECT_EQ(back.sheets(1).value(3000, 1), Value(3750.0));
}

TEST(XlsReadErrors, OlderExcel95WorkbookIsRefused)
{
    // What Excel 5.0/95 writes: a "Book" stream of BIFF5 records (LibreOffice no longer writes
    // this format, so the test lays it out itself).
    QTemporaryDir dir;
    QByteArray bof(4 + 8, '\0');
    put16(bof.data(), rec::Bof);
    put16(bof.data() + 2, 8);
    put16(bof.data() + 4, 0x0500);
    put16(bof.data() + 6, kBofGlobals);
    QByteArray eof(4, '\0');
    put16(eof.data(), rec::Eof);
    const QByteArray book = bof + eof;
    const QString path = dir.filePath(QStringLiteral("old.xls"));
    writeStreamFile(path, "Book", {&book}, 4096);
    EXPECT_EQ(readError(path), XlsError::OlderFormat);
}

TEST(XlsWriteErrors, WhatTheFormatCannotHoldLeavesTheOldFileAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Danni.xls"));
    goodStream(dir.path());
    ASSERT_TRUE(QFile::copy(dir.filePath(QStringLiteral("good.xls")), path));
    const QByteArray before = fileBytes(path);
    const QStringList filesBefore = entries(dir.path());

    auto expectRefused = [&](const std::function<void(Workbook&)>& spoil, XlsError reason) {
        Workbook book(nullptr, false);
        Worksheet& sheet = book.appendSheet(QStringLiteral("Стоки"));
        sheet.setValue(1, 1, QStringLiteral("ново"));
        spoil(book);
        EXPECT_EQ(errorKind<XlsError>([&] { writeWorkbook(book, path); }), reason);
        EXPECT_EQ(fileBytes(path), before);
        EXPECT_EQ(entries(dir.path()), filesBefore);
    };
    expectRefused([](Workbook& b) { b.sheets(1).rowInfo()[65537] = {400, true, false}; }, XlsError::TooManyRows);
    expectRefused([](Workbook& b) { b.sheets(1).columns()[257] = {2000, 15, false}; }, XlsError::TooManyColumns);
    expectRefused([](Workbook& b) { b.sheets(1).merged().push_back({1, 250, 2, 260}); }, XlsError::MergedOutsideSheet);
    expectRefused([](Workbook& b) { b.sheets(1).putCell(5, 2, Value(QString(65536, QLatin1Char('a'))), 15); },
                  XlsError::CellTextTooLong);
    expectRefused([](Workbook& b) { b.sheets(1).putCell(3, 3, Value(1), 500); }, XlsError::CellFormatMissing);
    expectRefused([](Workbook& b) { b.styles().formats[16 - 1].font = 4; }, XlsError::FormatWithoutFont);

    const Workbook noSheets(nullptr, false);
    EXPECT_EQ(errorOf([&] { writeWorkbook(noSheets, path); }),
              fileMessage(XlsError::FileNotWritten, path, XlsError::NoSheetsToWrite));
    EXPECT_EQ(fileBytes(path), before);
}

TEST(XlsWriteErrors, FailedSaveReportsAndLeavesNoTrace)
{
    QTemporaryDir dir;
    Workbook book(nullptr, false);
    book.appendSheet(QStringLiteral("Стоки")).setValue(1, 1, QStringLiteral("кукла"));

    // A folder that does not exist, and a "folder" that is a file.
    const QString nowhere = dir.filePath(QStringLiteral("няма/Danni.xls"));
    const auto writeError = [&](const QString& path) { return errorKind<XlsError>([&] { writeWorkbook(book, path); }); };
    EXPECT_EQ(writeError(nowhere), XlsError::FileNotCreated);
    ASSERT_TRUE(writeBytes(dir.filePath(QStringLiteral("file")), "x"));
    const QString underFile = dir.filePath(QStringLiteral("file/Danni.xls"));
    EXPECT_EQ(writeError(underFile), XlsError::FileNotCreated);
    EXPECT_EQ(fileBytes(dir.filePath(QStringLiteral("file"))), QByteArray("x"));

    // The target is a folder with a file in it: the rename fails, the folder stays, the
    // temporary file goes.
    const QString folder = dir.filePath(QStringLiteral("Danni.xls"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/inside")));
    EXPECT_EQ(writeError(folder), XlsError::FileNotCreated);
    EXPECT_EQ(entries(dir.path()), (QStringList{QStringLiteral("Danni.xls"), QStringLiteral("file")}));
    EXPECT_EQ(entries(folder), QStringList{QStringLiteral("inside")});

    // A successful save over an old file replaces it whole and keeps its permissions.
    const QString target = dir.filePath(QStringLiteral("Faktura.xls"));
    ASSERT_TRUE(writeBytes(target, "old contents"));
    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    writeWorkbook(book, target);
#ifndef _WIN32   // Windows files have no group and others to keep
    const QFile::Permissions kept = QFile::permissions(target);
    EXPECT_TRUE(kept.testFlag(QFile::ReadGroup));
    EXPECT_FALSE(kept.testFlag(QFile::WriteGroup));
    EXPECT_FALSE(kept.testFlag(QFile::ReadOther));
#endif
    EXPECT_EQ(entries(dir.path()), (QStringList{QStringLiteral("Danni.xls"), QStringLiteral("Faktura.xls"), QStringLiteral("file")}));
    Workbook back(nullptr, false);
    readWorkbook(target, back);
    EXPECT_EQ(back.sheets(1).value(1, 1), Value(QStringLiteral("кукла")));

#ifndef _WIN32   // QFile::link makes a shortcut file on Windows, which is no link to save through
    // Saving through a link replaces the file it points at and keeps the link.
    const QString link = dir.filePath(QStringLiteral("link.xls"));
    ASSERT_TRUE(QFile::link(target, link));
    book.sheets(1).setValue(1, 1, QStringLiteral("мечо"));
    writeWorkbook(book, link);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    Workbook throughLink(nullptr, false);
    readWorkbook(target, throughLink);
    EXPECT_EQ(throughLink.sheets(1).value(1, 1), Value(QStringLiteral("мечо")));
#endif
}
