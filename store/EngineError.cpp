#include "store/EngineError.h"

namespace store {

QString errorMessage(EngineError kind, const QStringList& a)
{
    switch (kind) {
    case EngineError::ApplicationClosed:
        return QStringLiteral("Приложението за таблици вече е затворено.");
    case EngineError::NoWorkbookNumber:
        return QStringLiteral("Няма отворена работна книга номер %1.").arg(a.value(0));
    case EngineError::WorkbookWithoutSheets:
        return QStringLiteral("Файлът „%1“ не може да бъде прочетен: в него няма нито един лист.").arg(a.value(0));
    case EngineError::NoSheetNamed:
        return QStringLiteral("В работната книга „%1“ няма лист „%2“.").arg(a.value(0), a.value(1));
    case EngineError::NoSheetNumber:
        return QStringLiteral("В работната книга „%1“ няма лист номер %2.").arg(a.value(0)).arg(a.value(1));
    case EngineError::WorkbookWithoutFile:
        return QStringLiteral("Работната книга още няма файл, в който да бъде записана.");
    case EngineError::SheetNameTaken:
        return QStringLiteral("В работната книга вече има лист с името „%1“.").arg(a.value(0));
    case EngineError::LastSheet:
        return QStringLiteral("Листът „%1“ не може да бъде изтрит: работната книга трябва да има поне един лист.")
            .arg(a.value(0));
    case EngineError::SheetNameLength:
        return QStringLiteral("Името на лист „%1“ трябва да е от 1 до %2 знака.").arg(a.value(0)).arg(a.value(1));
    case EngineError::SheetWithoutName:
        return QStringLiteral("Лист не може да бъде без име.");
    case EngineError::SheetNameCharacters:
        return QStringLiteral("Името на лист „%1“ не може да съдържа знаците : \\ / ? * [ ].").arg(a.value(0));
    case EngineError::SheetNameApostrophe:
        return QStringLiteral("Името на лист „%1“ не може да започва или да завършва с апостроф.").arg(a.value(0));
    case EngineError::CellOutsideSheet:
        return QStringLiteral("Клетката (%1, %2) е извън листа „%3“.").arg(a.value(0)).arg(a.value(1)).arg(a.value(2));
    case EngineError::TextTooLong:
        return QStringLiteral("Текстът за клетката (%1, %2) е по-дълъг от %3 знака.")
            .arg(a.value(0))
            .arg(a.value(1))
            .arg(a.value(2));
    case EngineError::NotARange:
        return QStringLiteral("Адресът „%1“ не е валиден диапазон от клетки.").arg(a.value(0));
    case EngineError::SortKeyOutsideRange:
        return QStringLiteral("Ключът за сортиране е извън диапазона %1.").arg(a.value(0));
    case EngineError::NotWholeRows:
        return QStringLiteral("Могат да се изтриват само цели редове, не %1.").arg(a.value(0));
    case EngineError::TooManyCellFormats:
        return QStringLiteral("Работната книга не може да има повече от %1 формата на клетки.").arg(a.value(0));
    case EngineError::NotACount:
        return QStringLiteral("Клетка %1 трябва да съдържа цяло число от 0 до %2, а съдържа „%3“. Нищо не е записано; "
                              "поправете клетката в програма за таблици.")
            .arg(a.value(0))
            .arg(a.value(1))
            .arg(a.value(2));
    case EngineError::SheetCountDiffers:
        return QStringLiteral("Клетка %1 казва, че листовете са %2, а те са %3. Нищо не е записано; "
                              "поправете клетката в програма за таблици.")
            .arg(a.value(0))
            .arg(a.value(1))
            .arg(a.value(2));
    case EngineError::GoodsCountDiffers:
        return QStringLiteral("Броят на стоките в клетка %1 (%2) не отговаря на записите: на ред %3 вече има стока, "
                              "„%4“. Вероятно някое име в колона B е изтрито в друга програма. Нищо не е записано; "
                              "попълнете празното име или изтрийте реда му в програма за таблици.")
            .arg(a.value(0))
            .arg(a.value(1))
            .arg(a.value(2))
            .arg(a.value(3));
    case EngineError::LedgerRowEmpty:
        return QStringLiteral("Броят на редовете на %1 в клетка %2 (%3) не отговаря на редовете му: ред %4 е празен. "
                              "Нищо не е записано; поправете брояча или дневника в програма за таблици.")
            .arg(a.value(0), a.value(1))
            .arg(a.value(2))
            .arg(a.value(3));
    case EngineError::LedgerRowTaken:
        return QStringLiteral("Броят на редовете на %1 в клетка %2 (%3) не отговаря на редовете му: ред %4 вече е "
                              "попълнен. Нищо не е записано; поправете брояча или дневника в програма за таблици.")
            .arg(a.value(0), a.value(1))
            .arg(a.value(2))
            .arg(a.value(3));
    }
    return {};
}

} // namespace store
