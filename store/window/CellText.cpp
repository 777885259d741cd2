#include "store/window/CellText.h"

#include "store/Workbook.h"
#include "store/Worksheet.h"
#include "store/formula/Formula.h"


namespace store::window {

QString shownCellText(const Worksheet& sheet, int row, int col)
{
    const Value value = sheet.value(row, col);
    if (!value.isNumber()) return value.toText();
    const WorkbookStyles& styles = sheet.parent().styles();
    const quint16 format = sheet.formatAt(row, col);
    const QString code = format < styles.formats.size() ? styles.numberFormatCode(styles.formats[format].numberFormat) : QString();
    return formatNumber(value.number(), code);
}

QString editableCellText(const Worksheet& sheet, int row, int col)
{
    if (const FormulaCell* formula = sheet.formulaAt(row, col)) return formula->formula.toA1();
    return sheet.shownText(row, col);
}

void enterCellInput(Worksheet& sheet, int row, int col, const QString& typed)
{
    // A formula kept from another program's file, entered again as it shows, stays as it was
    // read: the engine cannot make it from its text.
    if (const FormulaCell* formula = sheet.formulaAt(row, col);
        formula && formula->formula.isKept() && formula->formula.toA1() == typed)
        return;
    if (typed.startsWith(QLatin1Char('=')) && typed.size() > 1) {
        sheet.setFormula(row, col, Formula::parseA1(typed, row, col));
        return;
    }
    if (typed.startsWith(QLatin1Char('\''))) {
        sheet.setValue(row, col, Value(typed.mid(1)));
        return;
    }
    if (const auto number = parseNumber(typed)) {
        sheet.setValue(row, col, Value(*number));
        return;
    }
    sheet.setValue(row, col, Value(typed));
}

} // namespace store::window
