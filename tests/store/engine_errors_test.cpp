// The engine's problems: each kind worded once for the shop keeper, and an error's kind as the
// program reads it back.
#include "store/EngineError.h"
#include "store/StoreError.h"
#include "tests/store/error_message.h"
#include "tests/app/support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using store::EngineError;

TEST(EngineErrors, EachKindReadsAsTheShopKeeperIsTold)
{
    expectSentences<EngineError>({
        {EngineError::ApplicationClosed, {}, u"Приложението за таблици вече е затворено."_s},
        {EngineError::NoWorkbookNumber, {u"3"_s}, u"Няма отворена работна книга номер 3."_s},
        {EngineError::WorkbookWithoutSheets, {u"C:\\Магазин\\Danni.xls"_s},
         u"Файлът „C:\\Магазин\\Danni.xls“ не може да бъде прочетен: в него няма нито един лист."_s},
        {EngineError::NoSheetNamed, {u"Danni"_s, u"Играчки"_s}, u"В работната книга „Danni“ няма лист „Играчки“."_s},
        {EngineError::NoSheetNumber, {u"Danni"_s, u"7"_s}, u"В работната книга „Danni“ няма лист номер 7."_s},
        {EngineError::WorkbookWithoutFile, {}, u"Работната книга още няма файл, в който да бъде записана."_s},
        {EngineError::SheetNameTaken, {u"Коли"_s}, u"В работната книга вече има лист с името „Коли“."_s},
        {EngineError::LastSheet, {u"Коли"_s},
         u"Листът „Коли“ не може да бъде изтрит: работната книга трябва да има поне един лист."_s},
        {EngineError::SheetNameLength, {u"Коли"_s, u"31"_s}, u"Името на лист „Коли“ трябва да е от 1 до 31 знака."_s},
        {EngineError::SheetWithoutName, {}, u"Лист не може да бъде без име."_s},
        {EngineError::SheetNameCharacters, {u"Коли/колички"_s},
         u"Името на лист „Коли/колички“ не може да съдържа знаците : \\ / ? * [ ]."_s},
        {EngineError::SheetNameApostrophe, {u"'Коли"_s},
         u"Името на лист „'Коли“ не може да започва или да завършва с апостроф."_s},
        {EngineError::CellOutsideSheet, {u"0"_s, u"2"_s, u"Коли"_s}, u"Клетката (0, 2) е извън листа „Коли“."_s},
        {EngineError::TextTooLong, {u"4"_s, u"2"_s, u"32767"_s},
         u"Текстът за клетката (4, 2) е по-дълъг от 32767 знака."_s},
        {EngineError::NotARange, {u"B0:C"_s}, u"Адресът „B0:C“ не е валиден диапазон от клетки."_s},
        {EngineError::SortKeyOutsideRange, {u"$A$2:$R$7"_s}, u"Ключът за сортиране е извън диапазона $A$2:$R$7."_s},
        {EngineError::NotWholeRows, {u"$B$2:$C$3"_s}, u"Могат да се изтриват само цели редове, не $B$2:$C$3."_s},
        {EngineError::TooManyCellFormats, {u"4050"_s}, u"Работната книга не може да има повече от 4050 формата на клетки."_s},
        {EngineError::NotACount, {u"List!K1"_s, u"65000"_s, u"много"_s},
         u"Клетка List!K1 трябва да съдържа цяло число от 0 до 65000, а съдържа „много“. Нищо не е записано; "
         u"поправете клетката в програма за таблици."_s},
        {EngineError::SheetCountDiffers, {u"List!D1"_s, u"4"_s, u"3"_s},
         u"Клетка List!D1 казва, че листовете са 4, а те са 3. Нищо не е записано; "
         u"поправете клетката в програма за таблици."_s},
        {EngineError::GoodsCountDiffers, {u"Коли!T1"_s, u"2"_s, u"4"_s, u"Количка"_s},
         u"Броят на стоките в клетка Коли!T1 (2) не отговаря на записите: на ред 4 вече има стока, „Количка“. "
         u"Вероятно някое име в колона B е изтрито в друга програма. Нищо не е записано; "
         u"попълнете празното име или изтрийте реда му в програма за таблици."_s},
        {EngineError::LedgerRowEmpty, {u"продажбите"_s, u"List!R1"_s, u"5"_s, u"6"_s},
         u"Броят на редовете на продажбите в клетка List!R1 (5) не отговаря на редовете му: ред 6 е празен. "
         u"Нищо не е записано; поправете брояча или дневника в програма за таблици."_s},
        {EngineError::LedgerRowTaken, {u"продажбите"_s, u"List!R1"_s, u"5"_s, u"7"_s},
         u"Броят на редовете на продажбите в клетка List!R1 (5) не отговаря на редовете му: ред 7 вече е попълнен. "
         u"Нищо не е записано; поправете брояча или дневника в програма за таблици."_s},
    });
}

namespace {

enum class OtherProblem { NotAnEngineOne };

QString errorMessage(OtherProblem, const QStringList&)
{
    return u"Друго."_s;
}

} // namespace

TEST(EngineErrors, AKindOfAnotherListOrNoneIsNoEngineKind)
{
    EXPECT_EQ(store::Error(OtherProblem::NotAnEngineOne).kind<EngineError>(), std::nullopt);
    EXPECT_EQ(store::Error(EngineError::ApplicationClosed).kind<OtherProblem>(), std::nullopt);
    EXPECT_EQ(store::Error(u"Без вид."_s).kind<EngineError>(), std::nullopt);
}

// A name holding "%2" is told as it is: the sentence's arguments go in at once, not one after
// another, where the second would take the place of the first one's "%2".
TEST(EngineErrors, ANameThatLooksLikeAPlaceholderIsToldAsItIs)
{
    EXPECT_EQ(store::Error(EngineError::NoSheetNamed, {u"Книга %2"_s, u"Коли"_s}).message(),
              u"В работната книга „Книга %2“ няма лист „Коли“."_s);
}
