#pragma once

#include <QString>
#include <QStringList>

namespace store {

// Why a formula's text is not read, or a formula not put into a file. The reasons are told to the
// shop keeper within the sentence of the formula they concern (NotParsed, NotWritten). Each takes
// the arguments named after it.
enum class FormulaError {
    // Reading the text.
    MissingEquals,
    NothingAfterEquals,
    TooDeeplyNested,
    TooManySigns,
    UnexpectedEnd,
    SheetNameNotClosed,
    ReferenceAfterSheet,        // sheet
    UnionOfValues,
    ArrayRowsUneven,
    NumberTooLarge,             // number
    TextNotClosed,
    NotAnErrorValue,            // word
    CellAfterColon,
    UnknownWord,                // word
    FunctionNameTooLong,        // longest
    TooManyArguments,           // function, most, given
    FixedArgumentCount,         // function, wanted, given
    ArgumentCountOutOfRange,    // function, least, most, given
    ReferenceOutsideSheet,      // reference
    MissingAtEnd,               // character
    TooManyOperations,          // most
    UnexpectedCharacter,        // character, position
    // Putting it into a file.
    EmptyFormula,
    TextTooLong,                // longest
    ArrayTooLarge,              // most columns, most rows
    WrongArgumentCount,         // function
    FunctionNotWritable,        // function
    TooManyArgumentsForFile,    // function, most
    ReferenceLeavesSheet,
    UnknownOperator,            // operator
    OtherSheetNotWritable,      // sheet
    NoSuchSheet,                // sheet
    // The sentences the reasons are told in.
    NotParsed,                  // text, why
    NotWritten,                 // formula, why
};

QString errorMessage(FormulaError kind, const QStringList& arguments);

} // namespace store
