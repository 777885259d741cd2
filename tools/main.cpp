// tervin-workbook: makes, copies and prints the shop's workbooks from the command line.
#include "WorkbookDump.h"

#include "archive/Arhiv.h"
#include "currency/EuroChangeover.h"
#include "ledgers/RollOver.h"
#include "store/DataWorkbook.h"
#include "store/ProgramFiles.h"
#include "store/StoreError.h"
#include "store/Workbook.h"
#include "tools/ToolError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QStringList>
#include <QTextStream>
#include <memory>

namespace {

int usage(QTextStream& err)
{
    err << "Употреба:\n"
           "  tervin-workbook new FILE        нова работна книга с данни на магазин в евро;\n"
           "                                  съществуващ FILE не се заменя\n"
           "  tervin-workbook new --force FILE  заменя и съществуващ FILE, ако програмата\n"
           "                                  не работи в папката му\n"
           "  tervin-workbook copy IN OUT     прочита IN и го записва като OUT\n"
           "  tervin-workbook dump FILE       извежда листовете и клетките на FILE\n"
           "  tervin-workbook check FILE      прочита FILE и извежда размерите на листовете му\n"
           "                                  и колко от формулите му се изчисляват\n"
           "  tervin-workbook demo DIR        подрежда в DIR демонстрационен магазин\n"
           "  tervin-workbook archive DIR     архивните копия на DIR/Danni.xls, най-новото първо\n"
           "  tervin-workbook restore DIR ДАТА  връща копието от ДАТА (както го показва archive)\n"
           "  tervin-workbook euro DIR        магазинът в DIR преминава от лева към евро\n"
           "  tervin-workbook rollover DIR    редовете на дневниците отпреди тази година\n"
           "                                  отиват в годишните книги в DIR/Dnevnici\n";
    return 2;
}

using store::kDataFile;
using store::kInvoiceFile;

// The data workbook of a program folder.
archive::Arhiv archiveOf(const QString& dir)
{
    return archive::Arhiv(QDir(dir).filePath(kDataFile));
}

void listArchive(const QString& dir, QTextStream& out)
{
    const archive::Arhiv arhiv = archiveOf(dir);
    const std::vector<archive::Copy> copies = arhiv.copies();
    if (copies.empty()) out << "В „" << QDir::toNativeSeparators(arhiv.folder()) << "“ още няма архивни копия.\n";
    for (const archive::Copy& copy : copies)
        out << copy.stamp << '\t' << arhiv.line(copy, archive::readContents(copy.path)) << '\n';
}

// The folder taken as the running program takes it, which would write its own data over ours.
std::unique_ptr<QLockFile> lockFolder(const QString& dir)
{
    auto lock = std::make_unique<QLockFile>(QDir(dir).filePath(store::kLockFile));
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) return lock;
    if (lock->error() == QLockFile::LockFailedError)
        throw store::Error(tools::ToolError::ProgramRunning, {QDir::toNativeSeparators(dir)});
    throw store::Error(tools::ToolError::FolderNotWritable, {QDir::toNativeSeparators(dir)});
}

// A fresh data workbook as file. An existing file is replaced only when forced, and then not while
// the program runs on its folder: it may be a shop's data.
void makeFresh(const QString& file, bool force)
{
    std::unique_ptr<QLockFile> lock;
    if (force) lock = lockFolder(QFileInfo(file).absolutePath());
    else if (QFileInfo::exists(file))
        throw store::Error(tools::ToolError::FileExists, {QDir::toNativeSeparators(file), file});
    store::DataWorkbook::createFresh(nullptr, store::Currency::Euro)->SaveAs(file);
}

void restoreCopy(const QString& dir, const QString& stamp, QTextStream& out)
{
    archive::Arhiv arhiv = archiveOf(dir);
    const std::optional<archive::Copy> copy = arhiv.find(stamp);
    if (!copy)
        throw store::Error(tools::ToolError::NoSuchCopy, {QDir::toNativeSeparators(arhiv.folder()), stamp, dir});
    const auto lock = lockFolder(dir);
    const QString before = arhiv.putBack(*copy);
    out << "Възстановено е копието от " << archive::whenTaken(*copy) << '\n';
    if (!before.isEmpty()) out << "Данните отпреди са запазени в архива като " << before << '\n';
}

void changeToEuro(const QString& dir, QTextStream& out)
{
    const auto lock = lockFolder(dir);
    archive::Arhiv arhiv = archiveOf(dir);
    const std::unique_ptr<store::Workbook> danni = store::Workbook::open(arhiv.dataFile());
    danni->calculate();
    const currency::ChangeoverDone done = currency::changeShopToEuro(*danni, arhiv, QDir(dir).filePath(kInvoiceFile));
    out << "Магазинът премина към евро: превърнати са " << done.prices << " цени.\n"
        << "Данните в лева са запазени в архива като " << done.archiveCopy.stamp
        << "; връщат се с „tervin-workbook restore " << dir << ' ' << done.archiveCopy.stamp << "“.\n";
    if (!done.formProblem.isEmpty()) out << "Файлът на фактурата остава в лева: " << done.formProblem << '\n';
}

// Every whole year before this one moves out of both ledgers to the year workbooks.
void rollOver(const QString& dir, QTextStream& out)
{
    const auto lock = lockFolder(dir);
    const std::unique_ptr<store::Workbook> danni = store::Workbook::open(QDir(dir).filePath(kDataFile));
    danni->calculate();
    const store::DataWorkbook data(*danni);
    const int year = QDate::currentDate().year();
    bool moved = false;
    for (const auto* ledger : {&store::layout::index::kSalesLedger, &store::layout::index::kPurchaseLedger}) {
        if (const auto done = ledgers::moveYearsBefore(data, *ledger, year)) {
            out << ledgers::rollOverText(*done) << '\n';
            moved = true;
        }
    }
    if (!moved) out << "В дневниците няма редове отпреди " << year << " г.: нищо не е преместено.\n";
}

// The demo shop is laid out by tervin-demo beside this tool, which draws its pictures: the drawing
// libraries are not loaded into the commands that read and write workbooks.
int layOutDemoShop(const QString& dir)
{
    const QString demo = QCoreApplication::applicationDirPath() + QStringLiteral("/tervin-demo");
    const int status = QProcess::execute(demo, {dir});
    if (status < 0) throw store::Error(tools::ToolError::ProgramNotStarted, {demo});
    return status;
}

// The workbook a command read. The process ends right after the command: the system takes a big
// workbook's memory back at once, much faster than freeing it cell by cell, so it is not freed.
store::Workbook& opened(const QString& path)
{
    return *store::Workbook::open(path).release();
}

int run(const QStringList& args, QTextStream& out)
{
    const QString command = args.value(0);
    if (command == QLatin1String("new") && args.size() == 2) {
        makeFresh(args[1], false);
        return 0;
    }
    if (command == QLatin1String("new") && args.size() == 3 && args[1] == QLatin1String("--force")) {
        makeFresh(args[2], true);
        return 0;
    }
    if (command == QLatin1String("copy") && args.size() == 3) {
        opened(args[1]).SaveAs(args[2]);
        return 0;
    }
    if (command == QLatin1String("dump") && args.size() == 2) {
        dumpWorkbook(opened(args[1]), out);
        return 0;
    }
    if (command == QLatin1String("check") && args.size() == 2) {
        summarizeWorkbook(opened(args[1]), out);
        return 0;
    }
    if (command == QLatin1String("archive") && args.size() == 2) {
        listArchive(args[1], out);
        return 0;
    }
    if (command == QLatin1String("restore") && args.size() == 3) {
        restoreCopy(args[1], args[2], out);
        return 0;
    }
    if (command == QLatin1String("euro") && args.size() == 2) {
        changeToEuro(args[1], out);
        return 0;
    }
    if (command == QLatin1String("rollover") && args.size() == 2) {
        rollOver(args[1], out);
        return 0;
    }
    if (command == QLatin1String("demo") && args.size() == 2) {
        return layOutDemoShop(args[1]);
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    const QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    try {
        const int status = run(app.arguments().mid(1), out);
        return status < 0 ? usage(err) : status;
    } catch (const store::Error& e) {
        err << e.message() << '\n';
        return 1;
    }
}
