#include "formula_test_helpers.h"

#include "error_message.h"
#include "store/StoreError.h"
#include "store/formula/FormulaError.h"
#include "store/formula/Formula.h"

#include <gtest/gtest.h>

#include <string>

using store::Formula;
using store::FormulaError;
using store::FormulaNode;
using namespace Qt::StringLiterals;

namespace {

QString reprinted(const char* text)
{
    return Formula::parseA1(QString::fromUtf8(text), 1, 1).toA1();
}

// The message a parse failure shows the shop keeper, or "" when the text parses.
QString parseFailure(const char* text, bool r1c1 = false)
{
    const QString formula = QString::fromUtf8(text);
    try {
        if (r1c1) Formula::parseR1C1(formula, 1, 1);
        else Formula::parseA1(formula, 1, 1);
    } catch (const store::Error& e) {
        return e.message();
    }
    return {};
}

// Why the text is not read as a formula, when it is not.
std::optional<FormulaError> parseRefusal(const char* text, bool r1c1 = false)
{
    const QString formula = QString::fromUtf8(text);
    return errorKind<FormulaError>([&] {
        if (r1c1) Formula::parseR1C1(formula, 1, 1);
        else Formula::parseA1(formula, 1, 1);
    });
}

} // namespace

TEST(FormulaParse, PrintsTypicalFormulasBackUnchanged)
{
    const char* formulas[] = {
        "=SUM(A1:B5)",
        "=$A$1+B$2*$C3",
        "=COUNTIF(B2:B10000,\"<>\")",
        "=IF(A1>=10,\"голям\",\"малък\")",
        "=\"кажи \"\"да\"\"\"&C1",
        "=-2^2",
        "=(1+2)*3",
        "=((A1))",
        "=50%",
        "=TRUE<>FALSE",
        "=#N/A",
        "=IF(A1,,2)",
        "=ROUND(L8*N8,2)",
        "=1.5-0.25/4",
        "=A1<=B1",
        "=IV65536",
        "=UNKNOWNFN()",
        "=MAX(A1:A3,MIN(B1,-C2),ABS(D4))",
    };
    for (const char* formula : formulas)
        EXPECT_EQ(reprinted(formula), QString::fromUtf8(formula));
}

TEST(FormulaParse, NormalisesBlanksCaseNumbersAndAreaCorners)
{
    EXPECT_EQ(reprinted("= sum( a1 : b2 ,  3 ) "), u"=SUM(A1:B2,3)"_s);
    EXPECT_EQ(reprinted("=1e3+1.50+.5+2E-1"), u"=1e3+1.50+.5+2E-1"_s);   // numbers as typed
    EXPECT_EQ(reprinted("=true&false"), u"=TRUE&FALSE"_s);
    EXPECT_EQ(reprinted("=#div/0!"), u"=#DIV/0!"_s);
    EXPECT_EQ(reprinted("=B5:A1"), u"=A1:B5"_s);
    EXPECT_EQ(reprinted("=$B5:A$1"), u"=A$1:$B5"_s);
}

TEST(FormulaParse, FollowsSpreadsheetPrecedence)
{
    // 1+2*3: the product is the right operand of the sum.
    auto root = Formula::parseA1(u"=1+2*3"_s, 1, 1).root();
    ASSERT_EQ(root->kind, FormulaNode::Kind::Binary);
    EXPECT_EQ(root->text, u"+"_s);
    EXPECT_EQ(root->args[1]->text, u"*"_s);

    // -2^2 is (-2)^2: the sign binds tighter than the power.
    root = Formula::parseA1(u"=-2^2"_s, 1, 1).root();
    EXPECT_EQ(root->text, u"^"_s);
    EXPECT_EQ(root->args[0]->kind, FormulaNode::Kind::Unary);

    // 2^3^2 groups to the left, comparisons are loosest, & sits between them and +.
    root = Formula::parseA1(u"=2^3^2"_s, 1, 1).root();
    EXPECT_EQ(root->args[0]->text, u"^"_s);
    root = Formula::parseA1(u"=A1&1+2=B1"_s, 1, 1).root();
    EXPECT_EQ(root->text, u"="_s);
    EXPECT_EQ(root->args[0]->text, u"&"_s);
    EXPECT_EQ(root->args[0]->args[1]->text, u"+"_s);

    // -50% is (-50)%.
    root = Formula::parseA1(u"=-50%"_s, 1, 1).root();
    EXPECT_EQ(root->text, u"%"_s);
    EXPECT_EQ(root->args[0]->text, u"-"_s);
}

TEST(FormulaParse, StoresReferencesResolvedWithTheirDollarSigns)
{
    auto root = Formula::parseA1(u"=$B7"_s, 3, 3).root();
    ASSERT_EQ(root->kind, FormulaNode::Kind::Ref);
    EXPECT_EQ(root->ref, (store::FormulaRef{7, 2, false, true}));

    root = Formula::parseA1(u"=SUM(AA$10:$IV65536)"_s, 1, 1).root();
    const auto& area = root->args[0];
    ASSERT_EQ(area->kind, FormulaNode::Kind::Area);
    EXPECT_EQ(area->ref, (store::FormulaRef{10, 27, true, false}));
    EXPECT_EQ(area->ref2, (store::FormulaRef{65536, 256, false, true}));

    root = Formula::parseA1(u"=IF(A1,,)"_s, 1, 1).root();
    ASSERT_EQ(root->args.size(), 3u);
    EXPECT_EQ(root->args[1]->kind, FormulaNode::Kind::Missing);
    EXPECT_EQ(root->args[2]->kind, FormulaNode::Kind::Missing);
}

TEST(FormulaParse, ReadsR1C1RelativeToTheCell)
{
    // Written in T1, the count column's formula points at column B.
    EXPECT_EQ(Formula::parseR1C1(u"=COUNTIF(R[1]C[-18]:R[9999]C[-18],\"<>\")"_s, 1, 20).toA1(),
              u"=COUNTIF(B2:B10000,\"<>\")"_s);
    // Absolute parts keep their number and get a $; RC is the cell's own position.
    EXPECT_EQ(Formula::parseR1C1(u"=R2C3+RC+R[-1]C+R1C[2]+rc[-1]"_s, 5, 4).toA1(),
              u"=$C$2+D5+D4+F$1+C5"_s);
    EXPECT_EQ(Formula::parseR1C1(u"=ROUND(RC[-2]*RC[-1],2)"_s, 8, 15).toA1(), u"=ROUND(M8*N8,2)"_s);

    // Offsets that leave the sheet are refused.
    EXPECT_EQ(parseRefusal("=R[-1]C", true), FormulaError::ReferenceOutsideSheet);
    EXPECT_EQ(parseRefusal("=R65537C1", true), FormulaError::ReferenceOutsideSheet);
    EXPECT_EQ(errorKind<FormulaError>([] { Formula::parseR1C1(u"=RC[-5]"_s, 1, 5); }), FormulaError::ReferenceOutsideSheet);
    EXPECT_NO_THROW(Formula::parseR1C1(u"=R65536C256"_s, 1, 1));
    // A1 references mean nothing in R1C1 text.
    EXPECT_FALSE(parseFailure("=A1+1", true).isEmpty());
}

TEST(FormulaParse, RefusesWhatTheEngineDoesNotModel)
{
    // The shop keeper is told the formula and the reason.
    EXPECT_EQ(parseFailure("=X!1"), errorMessage(FormulaError::NotParsed,
                                                 {u"=X!1"_s, errorMessage(FormulaError::ReferenceAfterSheet, {u"X"_s})}));
    const struct {
        const char* text;
        FormulaError reason;
    } refused[] = {
        {"='Лист 1!A1", FormulaError::SheetNameNotClosed},
        {"=SUM((A1,2))", FormulaError::UnionOfValues},
        {"=Цена*2", FormulaError::UnknownWord},
        {"={1,2;3}", FormulaError::ArrayRowsUneven},
        {"=\"без край", FormulaError::TextNotClosed},
        {"=SUM(A1", FormulaError::MissingAtEnd},
        {"=", FormulaError::NothingAfterEquals},
        {"A1+1", FormulaError::MissingEquals},
        {"=IW1", FormulaError::ReferenceOutsideSheet},
        {"=A0", FormulaError::ReferenceOutsideSheet},
        {"=A65537", FormulaError::ReferenceOutsideSheet},
        {"=ROUND(1)", FormulaError::FixedArgumentCount},
        {"=IF(1)", FormulaError::ArgumentCountOutOfRange},
        {"=1+", FormulaError::UnexpectedEnd},
        {"=#FOO!", FormulaError::NotAnErrorValue},
        {"=SUM(A1 1)", FormulaError::UnexpectedCharacter},
        {"=A1:", FormulaError::CellAfterColon},
        {"=1..2", FormulaError::UnexpectedCharacter},
        {"=(1,2)", FormulaError::UnionOfValues},
        {"=1e999", FormulaError::NumberTooLarge},
    };
    const auto nested = [](int depth) {
        return "=" + std::string(size_t(depth), '(') + "1" + std::string(size_t(depth), ')');
    };
    EXPECT_TRUE(parseFailure(nested(60).c_str()).isEmpty());
    EXPECT_EQ(parseRefusal(nested(500).c_str()), FormulaError::TooDeeplyNested);
    for (const auto& [text, reason] : refused) EXPECT_EQ(parseRefusal(text), reason) << text;
}
