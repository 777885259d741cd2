// Why a copy of the data workbook is not taken or not put back, each kind worded once for the shop
// keeper.
#include "app/support/QtPrinters.h"
#include "archive/ArchiveError.h"
#include "store/StoreError.h"
#include "tests/store/error_message.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using archive::ArchiveError;

TEST(ArchiveErrors, EachKindReadsAsTheShopKeeperIsTold)
{
    expectSentences<ArchiveError>({
        {ArchiveError::CopyNotRead, {u"C:\\Магазин\\Arhiv\\Danni-2026-03-10.xls"_s, u"Permission denied"_s},
         u"Копието „C:\\Магазин\\Arhiv\\Danni-2026-03-10.xls“ не може да бъде прочетено: Permission denied"_s},
        {ArchiveError::FolderNotCreated, {u"C:\\Магазин\\Arhiv"_s},
         u"Папката за архивни копия „C:\\Магазин\\Arhiv“ не може да бъде създадена."_s},
        {ArchiveError::CopyNotWritten, {u"C:\\Магазин\\Arhiv\\Danni-2026-03-10.xls"_s, u"No space left on device"_s},
         u"Архивното копие „C:\\Магазин\\Arhiv\\Danni-2026-03-10.xls“ не може да бъде записано: No space left on device"_s},
        {ArchiveError::CopyDamaged, {u"10.03.2026"_s}, u"Копието от 10.03.2026 е повредено и не може да бъде възстановено."_s},
    });
}
