// Workbooks written by other programs, from other projects' test data (tests/data/xls-corpus,
// see SOURCES there): each is read with the values xlrd reads, and a copy saved by us keeps
// those values, the date system, every formula, sheet and defined name.

#include "store/Workbook.h"
#include "store/formula/FormulaFunctions.h"
#include "store/xls/BiffRecords.h"
#include "store/xls/OleStream.h"
#include "tests/support/DefaultLocale.h"
#include "tests/support/Oracles.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

using namespace store;
using namespace testsupport;

namespace {

QString corpusDir() { return QStringLiteral(TERVIN_TEST_DATA "/xls-corpus"); }

std::vector<std::string> corpusFiles()
{
    std::vector<std::string> files;
    QDirIterator it(corpusDir(), {QStringLiteral("*.xls")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) files.push_back(QDir(corpusDir()).relativeFilePath(it.next()).toStdString());
    std::sort(files.begin(), files.end());
    return files;
}

enum XlrdType { XlText = 1, XlNumber = 2, XlDate = 3, XlBool = 4, XlError = 5 };

// The value xlrd gives a cell as ours, or nothing for cells xlrd shows as empty.
std::optional<Value> xlrdValue(const QJsonArray& cell)
{
    const QJsonValue v = cell[3];
    switch (cell[2].toInt()) {
    case XlText:
        if (v.toString().isEmpty()) return std::nullopt;
        return Value(v.toString());
    case XlNumber:
    case XlDate: return Value(v.toDouble());
    case XlBool: return Value::boolean(v.toInt() != 0);
    case XlError: return Value::error(*errorFromCode(quint8(v.toInt())));
    default: return std::nullopt;
    }
}

bool sameValue(const Value& ours, const Value& theirs)
{
    if (ours.isNumber() && theirs.isNumber())
        return ours.number() == theirs.number()
            || std::abs(ours.number() - theirs.number()) <= 1e-9 * std::abs(theirs.number());
    return ours == theirs;
}

// A formula calling TODAY, NOW or RAND gives another value than the one it was saved with.
bool changesEachTime(const FormulaNode& node)
{
    const auto* function = node.kind == FormulaNode::Kind::Function ? formula::findFunction(node.text) : nullptr;
    if (function && function->isVolatile) return true;
    return std::any_of(node.args.begin(), node.args.end(), [](const auto& arg) { return changesEachTime(*arg); });
}

// Cells whose value differs from what xlrd read from the same file, named for the message.
QStringList differences(const Workbook& book, const QJsonObject& xlrd)
{
    QStringList out;
    for (const auto& s : xlrd[QStringLiteral("sheets")].toArray()) {
        const QJsonObject sheet = s.toObject();
        const Worksheet* ours = book.findSheet(sheet[QStringLiteral("name")].toString());
        if (!ours) {
            out << QStringLiteral("sheet %1 missing").arg(sheet[QStringLiteral("name")].toString());
            continue;
        }
        for (const auto& c : sheet[QStringLiteral("cells")].toArray()) {
            const QJsonArray cell = c.toArray();
            const auto expected = xlrdValue(cell);
            if (!expected) continue;
            const FormulaCell* formula = ours->formulaAt(cell[0].toInt() + 1, cell[1].toInt() + 1);
            if (formula && !formula->formula.isKept() && changesEachTime(*formula->formula.root())) continue;
            const Value got = ours->value(cell[0].toInt() + 1, cell[1].toInt() + 1);
            if (!sameValue(got, *expected))
                out << QStringLiteral("%1!R%2C%3: %4 instead of %5")
                           .arg(ours->Name())
                           .arg(cell[0].toInt() + 1)
                           .arg(cell[1].toInt() + 1)
                           .arg(got.toText(), expected->toText());
        }
    }
    return out;
}

// Records of one kind in the Workbook stream; the padding some writers leave after the last
// record is passed over.
int countRecords(const QString& path, quint16 id)
{
    const QByteArray stream = xls::readWorkbookStream(path);
    const auto* bytes = reinterpret_cast<const uchar*>(stream.constData());
    int count = 0;
    for (qsizetype pos = 0; pos + 4 <= stream.size(); pos += 4 + xls::get16(bytes + pos + 2))
        count += xls::get16(bytes + pos) == id;
    return count;
}

class XlsCorpus : public testing::TestWithParam<std::string> {};

TEST_P(XlsCorpus, ReadsAndCopiesAsXlrdReads)
{
    const QString path = corpusDir() + u'/' + QString::fromStdString(GetParam());
    const DefaultLocale english(QLocale::c());   // the files' formulas joined numbers with "."
    const QJsonObject original = readWithXlrd(path);
    ASSERT_TRUE(original[QStringLiteral("error")].isNull()) << original[QStringLiteral("error")].toString().toStdString();

    std::unique_ptr<Workbook> book;
    ASSERT_NO_THROW(book = Workbook::open(path)) << "refused";
    EXPECT_EQ(differences(*book, original), QStringList());

    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("copy.xls"));
    ASSERT_NO_THROW(book->SaveAs(copy));
    const QJsonObject copied = readWithXlrd(copy);
    ASSERT_TRUE(copied[QStringLiteral("error")].isNull()) << copied[QStringLiteral("error")].toString().toStdString();
    EXPECT_EQ(copied[QStringLiteral("datemode")], original[QStringLiteral("datemode")]);
    const auto reread = Workbook::open(copy);
    EXPECT_EQ(differences(*reread, original), QStringList());

    for (const quint16 id : {xls::rec::Formula, xls::rec::Name, xls::rec::BoundSheet})
        EXPECT_EQ(countRecords(copy, id), countRecords(path, id)) << "records 0x" << std::hex << id;
}

INSTANTIATE_TEST_SUITE_P(OtherProjects, XlsCorpus, testing::ValuesIn(corpusFiles()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

} // namespace
