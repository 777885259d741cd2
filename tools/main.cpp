// tervin-workbook: makes, copies and prints the shop's workbooks from the command line.
#include "WorkbookDump.h"

#include "store/DataWorkbook.h"
#include "store/StoreError.h"
#include "store/Workbook.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

namespace {

int usage(QTextStream& err)
{
    err << "Употреба:\n"
           "  tervin-workbook new FILE        нова работна книга с данни на магазин\n"
           "  tervin-workbook copy IN OUT     прочита IN и го записва като OUT\n"
           "  tervin-workbook dump FILE       извежда листовете и клетките на FILE\n";
    return 2;
}

int run(const QStringList& args, QTextStream& out)
{
    const QString command = args.value(0);
    if (command == QLatin1String("new") && args.size() == 2) {
        store::DataWorkbook::createFresh()->SaveAs(args[1]);
        return 0;
    }
    if (command == QLatin1String("copy") && args.size() == 3) {
        store::Workbook::open(args[1])->SaveAs(args[2]);
        return 0;
    }
    if (command == QLatin1String("dump") && args.size() == 2) {
        dumpWorkbook(*store::Workbook::open(args[1]), out);
        return 0;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
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
