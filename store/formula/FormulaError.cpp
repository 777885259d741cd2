#include "store/formula/FormulaError.h"

namespace store {

namespace {

// "1 аргумент", "2 аргумента".
QString argumentCount(const QString& count)
{
    return count == QLatin1String("1") ? QStringLiteral("1 аргумент") : QStringLiteral("%1 аргумента").arg(count);
}

} // namespace

QString errorMessage(FormulaError kind, const QStringList& a)
{
    switch (kind) {
    case FormulaError::MissingEquals: return QStringLiteral("формулата трябва да започва със знака „=“");
    case FormulaError::NothingAfterEquals: return QStringLiteral("след „=“ няма нищо");
    case FormulaError::TooDeeplyNested: return QStringLiteral("има твърде много вложени скоби или функции");
    case FormulaError::TooManySigns: return QStringLiteral("има твърде много знаци пред едно число");
    case FormulaError::UnexpectedEnd: return QStringLiteral("формулата свършва неочаквано");
    case FormulaError::SheetNameNotClosed: return QStringLiteral("името на листа не е затворено с апостроф");
    case FormulaError::ReferenceAfterSheet:
        return QStringLiteral("след името на листа „%1“ и „!“ трябва да има клетка").arg(a.value(0));
    case FormulaError::UnionOfValues: return QStringLiteral("в скоби могат да се изброяват само клетки");
    case FormulaError::ArrayRowsUneven: return QStringLiteral("редовете на масива от константи са с различна дължина");
    case FormulaError::NumberTooLarge: return QStringLiteral("числото „%1“ е твърде голямо").arg(a.value(0));
    case FormulaError::TextNotClosed: return QStringLiteral("текстът не е затворен с кавички");
    case FormulaError::NotAnErrorValue: return QStringLiteral("„%1“ не е стойност за грешка").arg(a.value(0));
    case FormulaError::CellAfterColon: return QStringLiteral("след „:“ трябва да има клетка");
    case FormulaError::UnknownWord:
        return QStringLiteral("„%1“ не е клетка, функция или позната стойност").arg(a.value(0));
    case FormulaError::FunctionNameTooLong:
        return QStringLiteral("името на функцията е по-дълго от %1 знака").arg(a.value(0));
    case FormulaError::TooManyArguments:
        return QStringLiteral("функцията %1 може да има най-много %2 аргумента, а са дадени %3")
            .arg(a.value(0), a.value(1), a.value(2));
    case FormulaError::FixedArgumentCount:
        return QStringLiteral("функцията %1 иска %2, а са дадени %3").arg(a.value(0), argumentCount(a.value(1)), a.value(2));
    case FormulaError::ArgumentCountOutOfRange:
        return QStringLiteral("функцията %1 иска от %2 до %3 аргумента, а са дадени %4")
            .arg(a.value(0), a.value(1), a.value(2), a.value(3));
    case FormulaError::ReferenceOutsideSheet: return QStringLiteral("препратката „%1“ е извън листа").arg(a.value(0));
    case FormulaError::MissingAtEnd: return QStringLiteral("липсва „%1“ в края").arg(a.value(0));
    case FormulaError::TooManyOperations:
        return QStringLiteral("има повече от %1 последователни действия").arg(a.value(0));
    case FormulaError::UnexpectedCharacter:
        return QStringLiteral("неочакван знак „%1“ на позиция %2").arg(a.value(0), a.value(1));
    case FormulaError::EmptyFormula: return QStringLiteral("формулата е празна");
    case FormulaError::TextTooLong: return QStringLiteral("текстът в нея е по-дълъг от %1 знака").arg(a.value(0));
    case FormulaError::ArrayTooLarge:
        return QStringLiteral("масивът от константи в нея е по-голям от %1 колони или %2 реда").arg(a.value(0), a.value(1));
    case FormulaError::WrongArgumentCount:
        return QStringLiteral("функцията %1 е с неправилен брой аргументи").arg(a.value(0));
    case FormulaError::FunctionNotWritable: return QStringLiteral("функцията %1 не може да бъде записана").arg(a.value(0));
    case FormulaError::TooManyArgumentsForFile:
        return QStringLiteral("функцията %1 е с повече от %2 аргумента").arg(a.value(0), a.value(1));
    case FormulaError::ReferenceLeavesSheet: return QStringLiteral("препратката е извън листа");
    case FormulaError::UnknownOperator: return QStringLiteral("непознат оператор „%1“").arg(a.value(0));
    case FormulaError::OtherSheetNotWritable:
        return QStringLiteral("препратката към „%1“ не може да се запише без книгата си").arg(a.value(0));
    case FormulaError::NoSuchSheet: return QStringLiteral("в книгата няма лист „%1“").arg(a.value(0));
    case FormulaError::NotParsed:
        return QStringLiteral("Формулата „%1“ не може да бъде разчетена: %2").arg(a.value(0), a.value(1));
    case FormulaError::NotWritten:
        return QStringLiteral("Формулата „%1“ не може да бъде записана във файла: %2").arg(a.value(0), a.value(1));
    }
    return {};
}

} // namespace store
