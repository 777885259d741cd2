// The formula's problems: each kind worded once for the shop keeper.
#include "store/StoreError.h"
#include "tests/store/error_message.h"
#include "store/formula/FormulaError.h"
#include "tests/app/support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using store::FormulaError;

TEST(FormulaErrors, EachKindReadsAsTheShopKeeperIsTold)
{
    expectSentences<FormulaError>({
        {FormulaError::MissingEquals, {}, u"формулата трябва да започва със знака „=“"_s},
        {FormulaError::NothingAfterEquals, {}, u"след „=“ няма нищо"_s},
        {FormulaError::TooDeeplyNested, {}, u"има твърде много вложени скоби или функции"_s},
        {FormulaError::TooManySigns, {}, u"има твърде много знаци пред едно число"_s},
        {FormulaError::UnexpectedEnd, {}, u"формулата свършва неочаквано"_s},
        {FormulaError::SheetNameNotClosed, {}, u"името на листа не е затворено с апостроф"_s},
        {FormulaError::ReferenceAfterSheet, {u"Склад"_s}, u"след името на листа „Склад“ и „!“ трябва да има клетка"_s},
        {FormulaError::UnionOfValues, {}, u"в скоби могат да се изброяват само клетки"_s},
        {FormulaError::ArrayRowsUneven, {}, u"редовете на масива от константи са с различна дължина"_s},
        {FormulaError::NumberTooLarge, {u"1e999"_s}, u"числото „1e999“ е твърде голямо"_s},
        {FormulaError::TextNotClosed, {}, u"текстът не е затворен с кавички"_s},
        {FormulaError::NotAnErrorValue, {u"#FOO!"_s}, u"„#FOO!“ не е стойност за грешка"_s},
        {FormulaError::CellAfterColon, {}, u"след „:“ трябва да има клетка"_s},
        {FormulaError::UnknownWord, {u"Цена"_s}, u"„Цена“ не е клетка, функция или позната стойност"_s},
        {FormulaError::FunctionNameTooLong, {u"255"_s}, u"името на функцията е по-дълго от 255 знака"_s},
        {FormulaError::TooManyArguments, {u"ОТСТЪПКА"_s, u"29"_s, u"31"_s},
         u"функцията ОТСТЪПКА може да има най-много 29 аргумента, а са дадени 31"_s},
        {FormulaError::FixedArgumentCount, {u"ABS"_s, u"1"_s, u"2"_s}, u"функцията ABS иска 1 аргумент, а са дадени 2"_s},
        {FormulaError::FixedArgumentCount, {u"ROUND"_s, u"2"_s, u"1"_s}, u"функцията ROUND иска 2 аргумента, а са дадени 1"_s},
        {FormulaError::ArgumentCountOutOfRange, {u"IF"_s, u"2"_s, u"3"_s, u"1"_s},
         u"функцията IF иска от 2 до 3 аргумента, а са дадени 1"_s},
        {FormulaError::ReferenceOutsideSheet, {u"A65537"_s}, u"препратката „A65537“ е извън листа"_s},
        {FormulaError::MissingAtEnd, {u")"_s}, u"липсва „)“ в края"_s},
        {FormulaError::TooManyOperations, {u"1000"_s}, u"има повече от 1000 последователни действия"_s},
        {FormulaError::UnexpectedCharacter, {u"."_s, u"4"_s}, u"неочакван знак „.“ на позиция 4"_s},
        {FormulaError::EmptyFormula, {}, u"формулата е празна"_s},
        {FormulaError::TextTooLong, {u"255"_s}, u"текстът в нея е по-дълъг от 255 знака"_s},
        {FormulaError::ArrayTooLarge, {u"256"_s, u"65536"_s},
         u"масивът от константи в нея е по-голям от 256 колони или 65536 реда"_s},
        {FormulaError::WrongArgumentCount, {u"VLOOKUP"_s}, u"функцията VLOOKUP е с неправилен брой аргументи"_s},
        {FormulaError::FunctionNotWritable, {u"ОТСТЪПКА"_s}, u"функцията ОТСТЪПКА не може да бъде записана"_s},
        {FormulaError::TooManyArgumentsForFile, {u"ОТСТЪПКА"_s, u"29"_s}, u"функцията ОТСТЪПКА е с повече от 29 аргумента"_s},
        {FormulaError::ReferenceLeavesSheet, {}, u"препратката е извън листа"_s},
        {FormulaError::UnknownOperator, {u"~"_s}, u"непознат оператор „~“"_s},
        {FormulaError::OtherSheetNotWritable, {u"Склад!"_s}, u"препратката към „Склад!“ не може да се запише без книгата си"_s},
        {FormulaError::NoSuchSheet, {u"Склад"_s}, u"в книгата няма лист „Склад“"_s},
        {FormulaError::NotParsed, {u"=A1+"_s, u"формулата свършва неочаквано"_s},
         u"Формулата „=A1+“ не може да бъде разчетена: формулата свършва неочаквано"_s},
        {FormulaError::NotWritten, {u"=\"\""_s, u"формулата е празна"_s},
         u"Формулата „=\"\"“ не може да бъде записана във файла: формулата е празна"_s},
    });
}
