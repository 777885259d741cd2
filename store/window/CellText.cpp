#include "store/window/CellText.h"

#include "store/Workbook.h"
#include "store/Worksheet.h"
#include "store/StoreError.h"
#include "store/formula/Formula.h"
#include "store/formula/FormulaError.h"


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

namespace {
FormulaSyntax syntaxOf(const QLocale& locale)
{
    const QString mark = locale.decimalPoint();
    return FormulaSyntax::ofLocale(mark.isEmpty() ? QChar(u'.') : mark.front());
}
// A sheet typed in a formula must be in the workbook: the file could not point at it.
void refuseMissingSheets(const Formula& formula, const Workbook& book, const QString& typed)
{
    for (const QString& name : formula.sheetsNamed()) {
        if (book.findSheet(name)) continue;
        const Error why(FormulaError::NoSuchSheet, {name});
        throw Error(why, FormulaError::NotParsed, {typed, why.message()});
    }
}
} // namespace

QString editableCellText(const Worksheet& sheet, int row, int col, const QLocale& locale)
{
    if (const FormulaCell* formula = sheet.formulaAt(row, col)) return formula->formula.toA1(syntaxOf(locale));
    return sheet.shownText(row, col);
}

void enterCellInput(Worksheet& sheet, int row, int col, const QString& typed, const QLocale& locale)
{
    const FormulaSyntax syntax = syntaxOf(locale);
    // A formula kept from another program's file, entered again as it shows, stays as it was
    // read: the engine cannot make it from its text.
    if (const FormulaCell* formula = sheet.formulaAt(row, col);
        formula && formula->formula.isKept() && formula->formula.toA1(syntax) == typed)
        return;
    if (typed.startsWith(QLatin1Char('=')) && typed.size() > 1) {
        const Workbook& book = sheet.parent();
        const Formula formula =
            Formula::parseA1(typed, row, col, syntax, [&](const QString& name) { return book.definedName(name, sheet); });
        refuseMissingSheets(formula, book, typed);
        sheet.setFormula(row, col, formula);
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
