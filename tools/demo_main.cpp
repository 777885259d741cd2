// tervin-demo: lays out a program folder with a demo shop. It draws the shop's pictures, so it
// loads the drawing libraries; tervin-workbook, started far more often and on big files, does not.
#include "DemoShop.h"

#include "store/StoreError.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    // Pictures are drawn without a display unless the caller chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    err.setEncoding(QStringConverter::Utf8);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 1) {
        err << "Употреба:\n  tervin-demo DIR   подрежда в DIR демонстрационен магазин\n";
        return 2;
    }
    try {
        layOutDemoShop(args[0]);
        return 0;
    } catch (const store::Error& e) {
        err << e.message() << '\n';
        return 1;
    }
}
