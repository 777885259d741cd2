// What the tools refuse, each kind worded once for the shop keeper.
#include "store/StoreError.h"
#include "tests/store/error_message.h"
#include "tests/app/support/QtPrinters.h"
#include "tools/ToolError.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using tools::ToolError;

TEST(ToolErrors, EachKindReadsAsTheShopKeeperIsTold)
{
    expectSentences<ToolError>({
        {ToolError::ProgramRunning, {u"C:\\Магазин"_s}, u"Програмата работи с данните от „C:\\Магазин“: затворете я и опитайте пак."_s},
        {ToolError::FolderNotWritable, {u"C:\\Магазин"_s}, u"В папката „C:\\Магазин“ не може да се пише."_s},
        {ToolError::FileExists, {u"C:\\Магазин\\Danni.xls"_s, u"C:/Магазин/Danni.xls"_s},
         u"Файлът „C:\\Магазин\\Danni.xls“ вече съществува и не е заменен. Ако наистина трябва да бъде заменен с празна "
         u"работна книга, използвайте „tervin-workbook new --force C:/Магазин/Danni.xls“."_s},
        {ToolError::NoSuchCopy, {u"C:\\Магазин\\Arhiv"_s, u"2026-03-10"_s, u"C:/Магазин"_s},
         u"В „C:\\Магазин\\Arhiv“ няма копие „2026-03-10“; архивните копия се виждат с „tervin-workbook archive C:/Магазин“."_s},
        {ToolError::ProgramNotStarted, {u"/opt/tervin/tervin-demo"_s}, u"Програмата „/opt/tervin/tervin-demo“ не може да бъде стартирана."_s},
        {ToolError::ShopAlreadyThere, {u"C:\\Магазин"_s, u"Danni.xls"_s},
         u"В папката „C:\\Магазин“ вече има магазин (Danni.xls). Демонстрационният магазин не се записва върху данни на магазин."_s},
        {ToolError::PictureNotWritten, {u"C:\\Магазин\\Kartini\\kukla.jpg"_s},
         u"Картината „C:\\Магазин\\Kartini\\kukla.jpg“ не може да бъде записана."_s},
        {ToolError::DeepFormulaNotRead, {}, u"дълбоката формула не се разчита"_s},
        {ToolError::CorpusFileNotWritten, {u"corpus/xls/demo.xls"_s}, u"„corpus/xls/demo.xls“ не може да бъде записан"_s},
    });
}
