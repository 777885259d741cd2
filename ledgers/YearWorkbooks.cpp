#include "ledgers/YearWorkbooks.h"

#include "store/ProgramFiles.h"
#include "store/Workbook.h"
#include "store/Worksheet.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace ledgers {

namespace idx = store::layout::index;

QString yearFolderOf(const store::Workbook& danni)
{
    if (danni.FullName().isEmpty()) return {};
    return QFileInfo(danni.FullName()).dir().filePath(store::kLedgerFolder);
}

QString yearWorkbookPath(const QString& yearFolder, int year)
{
    return QDir(yearFolder).filePath(store::yearWorkbookName(year));
}

std::vector<int> yearsIn(const QString& yearFolder)
{
    std::vector<int> years;
    if (yearFolder.isEmpty()) return years;
    static const QRegularExpression name(QStringLiteral("^Danni-(\\d{4})\\.xls$"), QRegularExpression::CaseInsensitiveOption);
    for (const QString& file : QDir(yearFolder).entryList(QDir::Files)) {
        const QRegularExpressionMatch m = name.match(file);
        if (m.hasMatch()) years.push_back(m.captured(1).toInt());
    }
    std::sort(years.begin(), years.end());
    return years;
}

std::unique_ptr<store::Workbook> createYearWorkbook(store::Currency currency)
{
    auto workbook = std::make_unique<store::Workbook>();
    workbook->sheets(1).setName(store::layout::kIndexSheet);
    const store::DataWorkbook data(*workbook);
    for (const Ledger* ledger : {&idx::kSalesLedger, &idx::kPurchaseLedger}) {
        data.setCell(ledger->rowCount, store::Value(0));
        data.setCell(ledger->movedRowCount, store::Value(0));
        if (currency == store::Currency::Euro) data.setCell(ledger->levaRowCount, store::Value(0));
    }
    if (currency == store::Currency::Euro) data.setCell(idx::kCurrency, store::Value(idx::kEuroCode));
    return workbook;
}

int countedRows(const store::DataWorkbook& data, const Ledger& ledger)
{
    return std::clamp(data.counter(ledger.rowCount), 0, store::kMaxRows - idx::kFirstListRow + 1);
}

namespace {

LedgerPart partOf(const store::DataWorkbook& data, const Ledger& ledger, int rows)
{
    return {&data.indexSheet(), idx::kFirstListRow + rows - 1, data.levaRows(ledger)};
}

} // namespace

LedgerHistory::LedgerHistory(const store::DataWorkbook& data, const Ledger& ledger) : currency_(data.currency())
{
    const QString folder = yearFolderOf(data.workbook());
    const int movedOut = data.counter(ledger.movedRowCount);
    for (const int year : yearsIn(folder)) {
        auto workbook = store::Workbook::open(yearWorkbookPath(folder, year));
        const store::DataWorkbook yearData(*workbook);
        const int before = yearData.counter(ledger.movedRowCount);
        const int rows = std::min(countedRows(yearData, ledger), movedOut - before);
        if (rows <= 0) continue;
        parts_.push_back(partOf(yearData, ledger, rows));
        years_.push_back(std::move(workbook));
    }
    parts_.push_back(partOf(data, ledger, countedRows(data, ledger)));
}

} // namespace ledgers
