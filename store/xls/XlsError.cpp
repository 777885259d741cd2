#include "store/xls/XlsError.h"

namespace store::xls {

QString errorMessage(XlsError kind, const QStringList& a)
{
    switch (kind) {
    case XlsError::FileMissing: return QStringLiteral("файлът не съществува");
    case XlsError::NotAFile: return QStringLiteral("това не е файл");
    case XlsError::FileNotOpened: return QStringLiteral("файлът не може да бъде отворен (%1)").arg(a.value(0));
    case XlsError::FileNotReadToEnd: return QStringLiteral("файлът не може да бъде прочетен докрай (%1)").arg(a.value(0));
    case XlsError::ChangedWhileRead: return QStringLiteral("друга програма промени файла, докато се четеше; опитайте пак");
    case XlsError::EmptyFile: return QStringLiteral("файлът е празен");
    case XlsError::NewerFormat:
        return QStringLiteral("работната книга е в по-новия формат на Excel 2007 и следващите (.xlsx), а се чете само "
                              "Excel 97-2003 (.xls)");
    case XlsError::NotAWorkbook: return QStringLiteral("не е работна книга на Excel 97-2003");
    case XlsError::NoWorkbookStream:
        return QStringLiteral("не е работна книга на Excel 97-2003: в нея няма поток „Workbook“");
    case XlsError::Damaged: return QStringLiteral("файлът е повреден или непълен");
    case XlsError::RecordHeaderCut:
        return QStringLiteral("потокът свършва насред заглавие на запис при отместване %1").arg(a.value(0));
    case XlsError::RecordCut: return QStringLiteral("запис %1 при отместване %2 е прекъснат").arg(a.value(0), a.value(1));
    case XlsError::RecordShort:
        return QStringLiteral("запис %1 при отместване %2 е по-къс от съдържанието си").arg(a.value(0), a.value(1));
    case XlsError::StreamWithoutBof:
        return QStringLiteral("файлът е повреден: потокът на работната книга не започва със запис BOF");
    case XlsError::GlobalsWithoutBof: return QStringLiteral("общата част на книгата не започва със запис BOF");
    case XlsError::SheetWithoutBof: return QStringLiteral("листът „%1“ не започва със запис BOF").arg(a.value(0));
    case XlsError::OlderFormat:
        return QStringLiteral("работната книга е в по-стария формат на Excel 5.0/95, а се чете само Excel 97-2003");
    case XlsError::UnknownVersion:
        return QStringLiteral("не е работна книга на Excel 97-2003 (версия 0x%1)").arg(a.value(0));
    case XlsError::GlobalsOfWrongType:
        return QStringLiteral("общата част на книгата е от вид 0x%1, а не 0x%2").arg(a.value(0), a.value(1));
    case XlsError::SheetOfWrongType:
        return QStringLiteral("листът „%1“ е от вид 0x%2, а не 0x%3").arg(a.value(0), a.value(1), a.value(2));
    case XlsError::PasswordProtected: return QStringLiteral("книгата е защитена с парола");
    case XlsError::GlobalsWithoutEof: return QStringLiteral("общата част на книгата няма край (запис EOF)");
    case XlsError::SheetMisplaced:
        return QStringLiteral("списъкът на листовете сочи грешно място за листа „%1“").arg(a.value(0));
    case XlsError::SheetWithoutEof: return QStringLiteral("листът „%1“ няма край (запис EOF)").arg(a.value(0));
    case XlsError::NoSheets: return QStringLiteral("в него няма нито един лист");
    case XlsError::CellFormatUnknown:
        return QStringLiteral("клетка %1 на лист „%2“ сочи към формат %3, който липсва").arg(a.value(0), a.value(1), a.value(2));
    case XlsError::TextOutsideTable:
        return QStringLiteral("клетка %1 на лист „%2“ сочи към текст %3, а таблицата на текстовете има %4")
            .arg(a.value(0), a.value(1), a.value(2), a.value(3));
    case XlsError::UnknownErrorCode:
        return QStringLiteral("клетка %1 на лист „%2“ има непозната грешка 0x%3").arg(a.value(0), a.value(1), a.value(2));
    case XlsError::MultipleCellsDamaged:
        return QStringLiteral("запис с няколко клетки на ред %1 е повреден").arg(a.value(0));
    case XlsError::UnknownFormulaResult:
        return QStringLiteral("формулата в клетка %1 на лист „%2“ има непознат вид резултат").arg(a.value(0), a.value(1));
    case XlsError::NoSheetsToWrite: return QStringLiteral("работната книга няма нито един лист");
    case XlsError::SheetNameTooLong:
        return QStringLiteral("името на листа „%1“ е по-дълго от %2 знака").arg(a.value(0), a.value(1));
    case XlsError::SheetNamesClash:
        return QStringLiteral("два листа се казват „%1“ (главни и малки букви не се различават)").arg(a.value(0));
    case XlsError::TooManyRows: return QStringLiteral("листът „%1“ има повече от 65 536 реда").arg(a.value(0));
    case XlsError::TooManyColumns: return QStringLiteral("листът „%1“ има повече от 256 колони").arg(a.value(0));
    case XlsError::MergedOutsideSheet:
        return QStringLiteral("листът „%1“ има обединени клетки извън листа").arg(a.value(0));
    case XlsError::ColumnFormatMissing:
        return QStringLiteral("колона %1 на лист „%2“ има формат %3, който липсва").arg(a.value(0), a.value(1), a.value(2));
    case XlsError::CellFormatMissing:
        return QStringLiteral("клетка %1 на лист „%2“ има формат %3, който липсва").arg(a.value(0), a.value(1), a.value(2));
    case XlsError::CellTextTooLong:
        return QStringLiteral("текстът в клетка %1 на лист „%2“ е по-дълъг от %3 знака").arg(a.value(0), a.value(1), a.value(2));
    case XlsError::FormulaNotWritten:
        return QStringLiteral("формулата в клетка %1 на лист „%2“ не може да се запише: %3").arg(a.value(0), a.value(1), a.value(2));
    case XlsError::FormulaTooLong:
        return QStringLiteral("формулата в клетка %1 на лист „%2“ е твърде дълга").arg(a.value(0), a.value(1));
    case XlsError::FontCount: return QStringLiteral("работната книга трябва да има от 1 до %1 шрифта").arg(a.value(0));
    case XlsError::FormatCount:
        return QStringLiteral("работната книга трябва да има от %1 до %2 формата на клетки").arg(a.value(0), a.value(1));
    case XlsError::FormatWithoutFont:
        return QStringLiteral("форматът %1 сочи към шрифт %2, който липсва").arg(a.value(0), a.value(1));
    case XlsError::FontNameLength:
        return QStringLiteral("името на шрифт „%1“ трябва да е от 1 до 255 знака").arg(a.value(0));
    case XlsError::NumberFormatTooLong: return QStringLiteral("числовият формат %1 е по-дълъг от 255 знака").arg(a.value(0));
    case XlsError::FileNotCreated: return QStringLiteral("не може да се създаде файл в папката (%1)").arg(a.value(0));
    case XlsError::FileNotReplaced: return QStringLiteral("файлът не може да бъде заменен (%1)").arg(a.value(0));
    case XlsError::StreamStartTooLong: return QStringLiteral("началото на потока е по-дълго от самия поток");
    case XlsError::DiskWriteFailed: return QStringLiteral("грешка при запис на диска (%1)").arg(a.value(0));
    case XlsError::FileNotRead: return QStringLiteral("Файлът „%1“ не може да бъде прочетен: %2").arg(a.value(0), a.value(1));
    case XlsError::WorkbookNotRead: return QStringLiteral("Работната книга не може да бъде прочетена: %1").arg(a.value(0));
    case XlsError::FileNotWritten:
        if (a.size() < 2) return QStringLiteral("Файлът „%1“ не може да бъде записан.").arg(a.value(0));
        return QStringLiteral("Файлът „%1“ не може да бъде записан: %2").arg(a.value(0), a.value(1));
    case XlsError::WorkbookNotWritten: return QStringLiteral("Работната книга не може да бъде записана: %1").arg(a.value(0));
    case XlsError::FolderNotCreated: return QStringLiteral("Папката „%1“ не може да бъде създадена.").arg(a.value(0));
    }
    return {};
}

} // namespace store::xls
