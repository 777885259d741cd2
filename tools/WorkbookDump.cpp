#include "WorkbookDump.h"

#include "store/Range.h"
#include "store/Workbook.h"

namespace {

QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar ch : text) {
        if (ch == QLatin1Char('\\')) out += QLatin1String("\\\\");
        else if (ch == QLatin1Char('\t')) out += QLatin1String("\\t");
        else if (ch == QLatin1Char('\n')) out += QLatin1String("\\n");
        else out += ch;
    }
    return out;
}

QString kindName(const store::Value& value)
{
    switch (value.kind()) {
    case store::Value::Kind::Empty: return QStringLiteral("empty");
    case store::Value::Kind::Number: return QStringLiteral("number");
    case store::Value::Kind::Text: return QStringLiteral("text");
    case store::Value::Kind::Bool: return QStringLiteral("bool");
    case store::Value::Kind::Error: return QStringLiteral("error");
    }
    return {};
}

QString kindAndValue(const store::Value& value)
{
    return kindName(value) + QLatin1Char('\t') + escaped(value.toText());
}

} // namespace

void dumpWorkbook(const store::Workbook& workbook, QTextStream& out)
{
    for (int s = 1; s <= workbook.sheetCount(); ++s) {
        const store::Worksheet& sheet = workbook.sheets(s);
        out << "sheet\t" << escaped(sheet.Name()) << '\n';
        for (int row = 1; row <= sheet.lastRow(); ++row) {
            for (const store::Cell& cell : sheet.rowCells(row)) {
                const QString address = store::columnName(cell.col) + QString::number(row);
                if (const store::FormulaCell* formula = cell.formula()) {
                    out << address << "\tformula\t" << escaped(formula->formula.toA1()) << '\t'
                        << kindAndValue(sheet.value(row, cell.col)) << '\n';
                } else if (cell.holds() != store::Cell::Holds::Nothing) {
                    out << address << '\t' << kindAndValue(sheet.valueOf(cell)) << '\n';
                }
            }
        }
    }
}

void summarizeWorkbook(const store::Workbook& workbook, QTextStream& out)
{
    int formulas = 0, computed = 0;
    for (int s = 1; s <= workbook.sheetCount(); ++s) {
        const store::Worksheet& sheet = workbook.sheets(s);
        out << "sheet\t" << escaped(sheet.Name()) << '\t' << sheet.lastRow() << '\t' << sheet.lastColumn() << '\n';
        for (int row = 1; row <= sheet.lastRow(); ++row)
            for (const store::Cell& cell : sheet.rowCells(row))
                if (const store::FormulaCell* formula = cell.formula()) {
                    ++formulas;
                    if (!formula->formula.isKept() || !formula->formula.root()->args.empty()) ++computed;
                }
    }
    if (formulas > 0) out << "formulas\t" << formulas << '\t' << computed << '\n';
    for (const QString& what : workbook.kept().dropped) out << "dropped: " << escaped(what) << '\n';
}
