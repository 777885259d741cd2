#pragma once

#include "store/formula/Formula.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace store {

// What the token arrays of one workbook file name through its link tables, as far as showing
// them as text needs: the sheets, the other workbooks and add-ins (SUPBOOK with its EXTERNNAME
// records), the sheet spans tokens point at (EXTERNSHEET) and the defined names (NAME).
struct BiffWorkbookNames {
    struct Book {
        enum class Kind { Own, External, AddIns, Other };
        Kind kind = Kind::Other;
        QString directory;             // External: "C:\Цени\" as far as the link tells, else empty
        QString file;                  // External: "Цени.xls"; Other: the link's text
        std::vector<QString> sheets;   // External: that workbook's sheets
        std::vector<QString> names;    // the names of its EXTERNNAME records, in order
    };
    // An EXTERNSHEET entry: sheets first..last (from 0) of books[book].
    struct SheetSpan {
        int book = -1;
        int first = 0;
        int last = 0;
    };
    struct DefinedName {
        QString name;
        int sheet = 0;   // a sheet's own name: the sheet's tab from 1; 0 for a name of the workbook
        bool function = false;   // the name of a function or command, which computes nothing itself
        QByteArray tokens;       // its definition, with the constants of its arrays after it
        QByteArray constants;
        // Where the definition's tokens lie: the NAME record among the links read, and the
        // tokens' offset in its data (which a CONTINUE record may carry on).
        int record = -1;
        int tokensAt = -1;
    };
    std::vector<QString> sheets;   // every sheet of the workbook, in tab order
    std::vector<Book> books;
    std::vector<SheetSpan> spans;
    std::vector<DefinedName> names;
};

// Where a formula kept from a file was read: its workbook's names and its sheet's tab (from 0).
struct KeptFormulaPlace {
    std::shared_ptr<const BiffWorkbookNames> names;
    int sheetTab = 0;
};

// The text in A1 style, without the leading "=", of the BIFF8 token array `tokens` as the
// spreadsheet shows it, for a formula in the cell (row, col) (1-based; 0 when not known, which
// tokens relative to their cell then cannot be shown). `extra` holds what follows the tokens in
// the record (the constants of array tokens). `place` may be null: names and other sheets then
// cannot be shown. Arguments, unions, arrays and numbers are written with the syntax's
// separators and decimal mark. Nothing for tokens that cannot be read or name what is not there.
std::optional<QString> biffFormulaText(const QByteArray& tokens, const QByteArray& extra,
                                       const KeptFormulaPlace* place, int row, int col,
                                       const FormulaSyntax& syntax = {});

// "Лист 1" -> "'Лист 1'", "Цени" -> "Цени": a sheet name (or "[file]sheet") as it goes before
// the "!" of a reference, quoted where it would not read back as a name.
QString quotedSheetName(const QString& name);

} // namespace store
