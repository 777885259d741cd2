#include "ledgers/RollOver.h"

#include "archive/Arhiv.h"
#include "ledgers/LedgerError.h"
#include "ledgers/YearWorkbooks.h"
#include "store/CellChanges.h"
#include "store/ProgramFiles.h"
#include "store/StoreError.h"
#include "store/Workbook.h"
#include "store/Worksheet.h"
#include "store/xls/XlsError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <memory>

namespace ledgers {

namespace {

namespace idx = store::layout::index;
constexpr int kFirst = idx::kFirstListRow;

// Every column of a ledger's row.
std::vector<int> columnsOf(const Ledger& ledger)
{
    std::vector<int> columns;
    for (int column = ledger.firstColumn; column <= ledger.lastColumn; ++column) columns.push_back(column);
    if (ledger.extraColumn != 0) columns.push_back(ledger.extraColumn);
    return columns;
}

// For each counted row, the latest date of the rows up to it; none before the first readable
// date. A row goes to the year of this date: the rows moved stay the ledger's first rows and
// each year workbook gets rows that follow each other, even where a date steps back.
std::vector<QDate> runningDates(const store::DataWorkbook& data, const Ledger& ledger, int rows)
{
    std::vector<QDate> running(static_cast<size_t>(rows));
    QDate latest;
    QString lastText;
    std::optional<QDate> lastDate;
    for (int i = 0; i < rows; ++i) {
        const QString text = data.indexSheet().value(kFirst + i, ledger.date).toText();
        if (text != lastText || i == 0) {
            lastText = text;
            lastDate = store::parseShopDate(text);
        }
        if (lastDate && (!latest.isValid() || *lastDate > latest)) latest = *lastDate;
        running[size_t(i)] = latest;
    }
    return running;
}

// How many of the first rows lie before the day. A row with no readable date before it stays,
// and so do those after it.
int rowsBefore(const std::vector<QDate>& running, const QDate& day)
{
    const auto stays = std::find_if(running.begin(), running.end(), [&](const QDate& d) { return !d.isValid() || d >= day; });
    return int(stays - running.begin());
}

// The first rows of the data workbook's ledger that go to one year workbook: first … first + count − 1.
struct Group {
    int year;
    int first;
    int count;
};

std::vector<Group> groupsOf(const std::vector<QDate>& running, int rows)
{
    std::vector<Group> groups;
    for (int i = 0; i < rows; ++i) {
        const int year = running[size_t(i)].year();
        if (groups.empty() || groups.back().year != year) groups.push_back({year, kFirst + i, 0});
        ++groups.back().count;
    }
    return groups;
}

// A year workbook with the group's rows added, not yet written, and its file as it was.
struct YearFile {
    QString path;
    bool existed = false;
    QByteArray before;
    std::unique_ptr<store::Workbook> workbook;
};

// The leva rows of a year workbook that takes `count` rows after its first `kept`, `leva` of them
// in leva: the ledger's leva rows are its first ones.
void countLevaRows(const store::DataWorkbook& year, const Ledger& ledger, int kept, int leva, store::Currency shop)
{
    if (year.currency() == store::Currency::Leva) {
        if (shop == store::Currency::Leva) return;
        for (const Ledger* each : {&idx::kSalesLedger, &idx::kPurchaseLedger})
            year.setCell(each->levaRowCount, store::Value(countedRows(year, *each)));
        year.setCell(idx::kCurrency, store::Value(idx::kEuroCode));
    }
    const int levaBefore = year.counter(ledger.levaRowCount);
    if (levaBefore >= kept) year.setCell(ledger.levaRowCount, store::Value(kept + leva));
}

YearFile prepareYear(const store::DataWorkbook& data, const Ledger& ledger, const Group& group, int maxRows)
{
    YearFile file;
    file.path = yearWorkbookPath(yearFolderOf(data.workbook()), group.year);
    const QString shown = QDir::toNativeSeparators(store::kLedgerFolder + QLatin1Char('/') + store::yearWorkbookName(group.year));
    const QString ledgerName = QString::fromUtf8(ledger.name);
    file.existed = QFileInfo::exists(file.path);
    if (file.existed) {
        file.workbook = store::Workbook::open(file.path);
        QFile existing(file.path);
        if (existing.open(QIODevice::ReadOnly)) file.before = existing.readAll();
    } else {
        file.workbook = createYearWorkbook(data.currency());
    }
    const store::DataWorkbook year(*file.workbook);
    // The line before the group's first row, counted over the shop's whole history.
    const int lineBefore = data.counter(ledger.movedRowCount) + group.first - kFirst;
    const int rows = countedRows(year, ledger);
    if (rows == 0) year.setCell(ledger.movedRowCount, store::Value(lineBefore));
    // Rows past the group's first line are left from a move not finished: the group brings them again.
    const int kept = rows == 0 ? 0 : lineBefore - year.counter(ledger.movedRowCount);
    if (kept < 0 || kept > rows) throw store::Error(LedgerError::YearWorkbookDisagrees, {shown, ledgerName});
    if (kept + group.count > maxRows - kFirst + 1)
        throw store::Error(LedgerError::YearWorkbookFull, {shown, ledgerName, QString::number(maxRows - kFirst + 1)});
    const std::vector<int> columns = columnsOf(ledger);
    store::Worksheet& to = year.indexSheet();
    const store::Worksheet& from = data.indexSheet();
    for (int i = 0; i < std::max(rows - kept, group.count); ++i)
        for (const int column : columns)
            to.setValue(kFirst + kept + i, column, i < group.count ? from.value(group.first + i, column) : store::Value());
    const int leva = std::clamp(data.levaRows(ledger) - (group.first - kFirst), 0, group.count);
    countLevaRows(year, ledger, kept, leva, data.currency());
    year.setCell(ledger.rowCount, store::Value(kept + group.count));
    return file;
}

// Puts a year workbook's file back as it was; as far as the disk lets it.
void putBack(const YearFile& file)
{
    if (!file.existed) {
        QFile::remove(file.path);
        return;
    }
    QSaveFile again(file.path);
    if (!file.before.isEmpty() && again.open(QIODevice::WriteOnly) && again.write(file.before) == file.before.size())
        again.commit();
}

// The data workbook's ledger without its first `moved` rows: the others move up, the counters follow.
store::CellChanges takeOut(const store::DataWorkbook& data, const Ledger& ledger, int moved)
{
    store::CellChanges changes;
    store::Worksheet& sheet = data.indexSheet();
    const int rows = countedRows(data, ledger);
    for (int row = kFirst; row < kFirst + rows; ++row)
        for (const int column : columnsOf(ledger))
            changes.write(sheet, row, column, row + moved < kFirst + rows ? sheet.value(row + moved, column) : store::Value());
    const auto set = [&](store::layout::CellPos pos, int value) { changes.write(sheet, pos.row, pos.col, store::Value(value)); };
    set(ledger.rowCount, rows - moved);
    set(ledger.movedRowCount, data.counter(ledger.movedRowCount) + moved);
    if (!data.cell(ledger.levaRowCount).isEmpty()) set(ledger.levaRowCount, std::max(data.counter(ledger.levaRowCount) - moved, 0));
    return changes;
}

RollOver moveOut(const store::DataWorkbook& data, const Ledger& ledger, const std::vector<QDate>& running, int moved,
                 const QDate& before, int maxRows)
{
    RollOver done{&ledger, moved, before, {}};
    std::vector<YearFile> files;
    for (const Group& group : groupsOf(running, moved)) {
        files.push_back(prepareYear(data, ledger, group, maxRows));
        done.years.push_back(group.year);
    }
    std::vector<const YearFile*> written;
    const auto undo = [&](const store::Error& e) {
        for (const YearFile* file : written) putBack(*file);
        return store::Error(e, LedgerError::NotRolledOver, {QString::fromUtf8(ledger.name), e.message()});
    };
    const QString folder = yearFolderOf(data.workbook());
    const bool folderThere = QFileInfo::exists(folder);
    store::CellChanges changes;
    try {
        archive::Arhiv(data.workbook().FullName()).keepMoment();
        if (!QDir().mkpath(folder))
            throw store::Error(store::xls::XlsError::FolderNotCreated, {QDir::toNativeSeparators(folder)});
        for (const YearFile& file : files) {
            written.push_back(&file);
            file.workbook->SaveAs(file.path);
        }
        changes = takeOut(data, ledger, moved);
        data.workbook().Save();
    } catch (const store::Error& e) {
        changes.undo();
        const store::Error failed = undo(e);
        if (!folderThere) QDir().rmdir(folder);
        throw failed;
    }
    return done;
}

} // namespace

QString rollOverText(const RollOver& moved)
{
    QStringList files;
    for (const int year : moved.years) files << store::yearWorkbookName(year);
    return QStringLiteral("Най-старите %1 реда на %2 (отпреди %3) са преместени в папката %4: %5. "
                          "Справките ги четат и оттам.")
        .arg(moved.rows)
        .arg(QString::fromUtf8(moved.ledger->name), store::formatShopDate(moved.before), store::kLedgerFolder,
             files.join(QStringLiteral(", ")));
}

std::optional<RollOver> makeRoom(const store::DataWorkbook& data, const Ledger& ledger, int rows, const QDate& today,
                                 int maxRows)
{
    const int next = data.nextLedgerRow(ledger, rows);
    const int needed = next + rows - 1 - maxRows;
    if (needed <= 0) return std::nullopt;
    const std::vector<QDate> running = runningDates(data, ledger, next - kFirst);
    if (running.empty() || !running.front().isValid()) return std::nullopt;
    std::vector<QDate> cuts;
    for (int year = running.front().year() + 1; year <= today.year(); ++year) cuts.emplace_back(year, 1, 1);
    for (int month = 2; month <= today.month(); ++month) cuts.emplace_back(today.year(), month, 1);
    for (const QDate& cut : cuts)
        if (const int moved = rowsBefore(running, cut); moved >= needed) return moveOut(data, ledger, running, moved, cut, maxRows);
    return std::nullopt;
}

std::optional<RollOver> moveYearsBefore(const store::DataWorkbook& data, const Ledger& ledger, int year, int maxRows)
{
    const int next = data.nextLedgerRow(ledger, 0);
    const std::vector<QDate> running = runningDates(data, ledger, next - kFirst);
    const QDate cut(year, 1, 1);
    const int moved = rowsBefore(running, cut);
    if (moved == 0) return std::nullopt;
    return moveOut(data, ledger, running, moved, cut, maxRows);
}

} // namespace ledgers
