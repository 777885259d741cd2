#pragma once

#include <QString>
#include <QStringList>

namespace app {

// Why the shop's data workbook is not at hand or not saved. Each takes the arguments named after it.
enum class ShopError {
    DataFileClosed,           // data file
    OtherVersionNotKept,      // data file, why the archive did not keep it
    ReloadingOtherVersion,
};

QString errorMessage(ShopError kind, const QStringList& arguments);

} // namespace app
