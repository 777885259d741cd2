#pragma once

#include "store/DataWorkbook.h"
#include "store/Workbook.h"

#include <QString>
#include <memory>
#include <vector>

namespace demotest {

// A demo shop laid out once for the whole test run, in a temporary folder.
const QString& demoShopFolder();
QString demoShopFile(const QString& relativePath);

// The workbook's sheets other than "List", in workbook order.
std::vector<store::Worksheet*> articleSheets(const store::Workbook& workbook);

double numberAt(const store::Worksheet& sheet, int row, int col);

} // namespace demotest
