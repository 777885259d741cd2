// The .xls reader's and writer's problems: each kind worded once for the shop keeper, and a reason
// told in the sentence of its file keeping its kind.
#include "store/StoreError.h"
#include "tests/store/error_message.h"
#include "store/xls/XlsError.h"
#include "tests/app/support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using store::xls::XlsError;

TEST(XlsErrors, EachKindReadsAsTheShopKeeperIsTold)
{
    expectSentences<XlsError>({
        {XlsError::FileMissing, {}, u"файлът не съществува"_s},
        {XlsError::NotAFile, {}, u"това не е файл"_s},
        {XlsError::FileNotOpened, {u"Permission denied"_s}, u"файлът не може да бъде отворен (Permission denied)"_s},
        {XlsError::FileNotReadToEnd, {u"I/O error"_s}, u"файлът не може да бъде прочетен докрай (I/O error)"_s},
        {XlsError::ChangedWhileRead, {}, u"друга програма промени файла, докато се четеше; опитайте пак"_s},
        {XlsError::EmptyFile, {}, u"файлът е празен"_s},
        {XlsError::NewerFormat, {},
         u"работната книга е в по-новия формат на Excel 2007 и следващите (.xlsx), а се чете само Excel 97-2003 (.xls)"_s},
        {XlsError::NotAWorkbook, {}, u"не е работна книга на Excel 97-2003"_s},
        {XlsError::NoWorkbookStream, {}, u"не е работна книга на Excel 97-2003: в нея няма поток „Workbook“"_s},
        {XlsError::Damaged, {}, u"файлът е повреден или непълен"_s},
        {XlsError::RecordHeaderCut, {u"1200"_s}, u"потокът свършва насред заглавие на запис при отместване 1200"_s},
        {XlsError::RecordCut, {u"0x0203"_s, u"1200"_s}, u"запис 0x0203 при отместване 1200 е прекъснат"_s},
        {XlsError::RecordShort, {u"0x0203"_s, u"1200"_s}, u"запис 0x0203 при отместване 1200 е по-къс от съдържанието си"_s},
        {XlsError::StreamWithoutBof, {}, u"файлът е повреден: потокът на работната книга не започва със запис BOF"_s},
        {XlsError::GlobalsWithoutBof, {}, u"общата част на книгата не започва със запис BOF"_s},
        {XlsError::SheetWithoutBof, {u"Коли"_s}, u"листът „Коли“ не започва със запис BOF"_s},
        {XlsError::OlderFormat, {}, u"работната книга е в по-стария формат на Excel 5.0/95, а се чете само Excel 97-2003"_s},
        {XlsError::UnknownVersion, {u"0700"_s}, u"не е работна книга на Excel 97-2003 (версия 0x0700)"_s},
        {XlsError::GlobalsOfWrongType, {u"0010"_s, u"0005"_s}, u"общата част на книгата е от вид 0x0010, а не 0x0005"_s},
        {XlsError::SheetOfWrongType, {u"Коли"_s, u"0020"_s, u"0010"_s}, u"листът „Коли“ е от вид 0x0020, а не 0x0010"_s},
        {XlsError::PasswordProtected, {}, u"книгата е защитена с парола"_s},
        {XlsError::GlobalsWithoutEof, {}, u"общата част на книгата няма край (запис EOF)"_s},
        {XlsError::SheetMisplaced, {u"Коли"_s}, u"списъкът на листовете сочи грешно място за листа „Коли“"_s},
        {XlsError::SheetWithoutEof, {u"Коли"_s}, u"листът „Коли“ няма край (запис EOF)"_s},
        {XlsError::NoSheets, {}, u"в него няма нито един лист"_s},
        {XlsError::CellFormatUnknown, {u"B5"_s, u"Коли"_s, u"400"_s}, u"клетка B5 на лист „Коли“ сочи към формат 400, който липсва"_s},
        {XlsError::TextOutsideTable, {u"B5"_s, u"Коли"_s, u"7"_s, u"2"_s},
         u"клетка B5 на лист „Коли“ сочи към текст 7, а таблицата на текстовете има 2"_s},
        {XlsError::UnknownErrorCode, {u"B5"_s, u"Коли"_s, u"2b"_s}, u"клетка B5 на лист „Коли“ има непозната грешка 0x2b"_s},
        {XlsError::MultipleCellsDamaged, {u"12"_s}, u"запис с няколко клетки на ред 12 е повреден"_s},
        {XlsError::UnknownFormulaResult, {u"B5"_s, u"Коли"_s}, u"формулата в клетка B5 на лист „Коли“ има непознат вид резултат"_s},
        {XlsError::NoSheetsToWrite, {}, u"работната книга няма нито един лист"_s},
        {XlsError::SheetNameTooLong, {u"Коли"_s, u"31"_s}, u"името на листа „Коли“ е по-дълго от 31 знака"_s},
        {XlsError::SheetNamesClash, {u"Коли"_s}, u"два листа се казват „Коли“ (главни и малки букви не се различават)"_s},
        {XlsError::TooManyRows, {u"Коли"_s}, u"листът „Коли“ има повече от 65 536 реда"_s},
        {XlsError::TooManyColumns, {u"Коли"_s}, u"листът „Коли“ има повече от 256 колони"_s},
        {XlsError::MergedOutsideSheet, {u"Коли"_s}, u"листът „Коли“ има обединени клетки извън листа"_s},
        {XlsError::ColumnFormatMissing, {u"C"_s, u"Коли"_s, u"500"_s}, u"колона C на лист „Коли“ има формат 500, който липсва"_s},
        {XlsError::CellFormatMissing, {u"C3"_s, u"Коли"_s, u"500"_s}, u"клетка C3 на лист „Коли“ има формат 500, който липсва"_s},
        {XlsError::CellTextTooLong, {u"B5"_s, u"Коли"_s, u"32767"_s},
         u"текстът в клетка B5 на лист „Коли“ е по-дълъг от 32767 знака"_s},
        {XlsError::FormulaNotWritten, {u"B5"_s, u"Коли"_s, u"няма такава функция"_s},
         u"формулата в клетка B5 на лист „Коли“ не може да се запише: няма такава функция"_s},
        {XlsError::FormulaTooLong, {u"B5"_s, u"Коли"_s}, u"формулата в клетка B5 на лист „Коли“ е твърде дълга"_s},
        {XlsError::FontCount, {u"510"_s}, u"работната книга трябва да има от 1 до 510 шрифта"_s},
        {XlsError::FormatCount, {u"16"_s, u"4050"_s}, u"работната книга трябва да има от 16 до 4050 формата на клетки"_s},
        {XlsError::FormatWithoutFont, {u"15"_s, u"4"_s}, u"форматът 15 сочи към шрифт 4, който липсва"_s},
        {XlsError::FontNameLength, {u"Arial"_s}, u"името на шрифт „Arial“ трябва да е от 1 до 255 знака"_s},
        {XlsError::NumberFormatTooLong, {u"164"_s}, u"числовият формат 164 е по-дълъг от 255 знака"_s},
        {XlsError::FileNotCreated, {u"Permission denied"_s}, u"не може да се създаде файл в папката (Permission denied)"_s},
        {XlsError::FileNotReplaced, {u"Is a directory"_s}, u"файлът не може да бъде заменен (Is a directory)"_s},
        {XlsError::StreamStartTooLong, {}, u"началото на потока е по-дълго от самия поток"_s},
        {XlsError::DiskWriteFailed, {u"No space left on device"_s}, u"грешка при запис на диска (No space left on device)"_s},
        {XlsError::FileNotRead, {u"C:\\Магазин\\Danni.xls"_s, u"файлът е празен."_s},
         u"Файлът „C:\\Магазин\\Danni.xls“ не може да бъде прочетен: файлът е празен."_s},
        {XlsError::WorkbookNotRead, {u"файлът е празен."_s}, u"Работната книга не може да бъде прочетена: файлът е празен."_s},
        {XlsError::FileNotWritten, {u"C:\\Магазин\\Отчет.pdf"_s}, u"Файлът „C:\\Магазин\\Отчет.pdf“ не може да бъде записан."_s},
        {XlsError::FileNotWritten, {u"C:\\Магазин\\Danni.xls"_s, u"Disk full"_s},
         u"Файлът „C:\\Магазин\\Danni.xls“ не може да бъде записан: Disk full"_s},
        {XlsError::WorkbookNotWritten, {u"работната книга няма нито един лист."_s},
         u"Работната книга не може да бъде записана: работната книга няма нито един лист."_s},
        {XlsError::FolderNotCreated, {u"C:\\Магазин\\Tervin"_s}, u"Папката „C:\\Магазин\\Tervin“ не може да бъде създадена."_s},
    });
}

TEST(XlsErrors, AReasonToldInItsFilesSentenceKeepsItsKind)
{
    const store::Error reason(XlsError::PasswordProtected);
    const store::Error told(reason, XlsError::FileNotRead, {u"Danni.xls"_s, u"книгата е защитена с парола."_s});
    EXPECT_EQ(told.message(), u"Файлът „Danni.xls“ не може да бъде прочетен: книгата е защитена с парола."_s);
    EXPECT_EQ(told.kind<XlsError>(), XlsError::PasswordProtected);
    // A reason without a kind, such as the system's, leaves the sentence's.
    const store::Error fromSystem(store::Error(u"Disk full"_s), XlsError::FileNotWritten, {u"Danni.xls"_s, u"Disk full"_s});
    EXPECT_EQ(fromSystem.kind<XlsError>(), XlsError::FileNotWritten);
}
