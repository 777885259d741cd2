#include "DemoFolder.h"

#include "tools/DemoShop.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace demotest {

const QString& demoShopFolder()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tervin-demo-XXXXXX"));
    static const QString folder = [] {
        const QString path = dir.filePath(QStringLiteral("Магазин"));
        layOutDemoShop(path);
        return path;
    }();
    return folder;
}

QString demoShopFile(const QString& relativePath)
{
    return QDir(demoShopFolder()).filePath(relativePath);
}

std::vector<store::Worksheet*> articleSheets(const store::Workbook& workbook)
{
    std::vector<store::Worksheet*> sheets;
    for (int i = 1; i <= workbook.sheetCount(); ++i)
        if (workbook.sheets(i).Name() != store::layout::kIndexSheet) sheets.push_back(&workbook.sheets(i));
    return sheets;
}

double numberAt(const store::Worksheet& sheet, int row, int col)
{
    const auto number = sheet.value(row, col).toNumber();
    EXPECT_TRUE(number.has_value()) << "no number in " << sheet.Name().toStdString() << " row " << row << " col " << col;
    return number.value_or(-1e9);
}

} // namespace demotest
