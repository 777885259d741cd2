#pragma once

#include "store/DataWorkbook.h"

#include <QString>
#include <array>
#include <optional>

namespace catalogue {

// The goods editor's fields by their number (Promenliva1).
enum class Field { Name = 1, Price = 2, Count = 3, Markup = 4, Promotion = 5, Maker = 6, Description = 7,
                   MinimumStock = 8, Barcode = 9 };

// The working copy of the goods editor's fields, as typed.
struct GoodsFields {
    QString Pr1Text1;   // name
    QString Pr2Text2;   // purchase price
    QString Pr3Text3;   // count
    QString Pr4Text4;   // percentage increase
    int Pr5Text5 = 0;   // promotion, 1 or 0
    QString Pr6Text6;   // maker
    QString Pr7Text7;   // description
    QString Pr8Text8 = {};   // minimum stock; empty for none
    QString Pr9Text9 = {};   // barcode; empty for none

    bool operator==(const GoodsFields&) const = default;
};

// What a field takes, how it is checked and how its cell is written and read.
enum class FieldKind {
    Text,          // any text up to what a cell lets one type
    Money,         // a number with decimals; a price in whole cents reads back with its two decimals
    Number,        // a number with decimals
    WholeNumber,   // digits only
    Flag,          // a check box: 1 or 0
    Barcode,       // a code written as text, checked as a barcode (Barcode.h)
};

struct FieldInfo {
    Field field;
    FieldKind kind;
    int column;                       // on the article sheet
    QString control;                  // the goods editor's control for it
    QString label;                    // the goods editor's caption beside it
    QString caption;                  // the caption's text: the field's name
    QString missing = {};             // the message while it is empty; empty when it may stay so
                                      // (an optional number or barcode left empty keeps its cell empty)
    QString GoodsFields::*text = nullptr;   // its text in the working copy; the flag has none
    int GoodsFields::*flag = nullptr;       // the flag's 1 or 0
};

// Every goods field in the editor's order, which is also the order of the checks on a save.
inline const std::array<FieldInfo, 9> kGoodsFields{{
    {.field = Field::Name, .kind = FieldKind::Text, .column = store::layout::article::kName,
     .control = QStringLiteral("Text1"), .label = QStringLiteral("Label1"), .caption = QStringLiteral("Име на стоката"),
     .missing = QStringLiteral("Въведете името на стоката"), .text = &GoodsFields::Pr1Text1},
    {.field = Field::Price, .kind = FieldKind::Money, .column = store::layout::article::kPurchasePrice,
     .control = QStringLiteral("Text2"), .label = QStringLiteral("Label2"), .caption = QStringLiteral("Цена на закупуване"),
     .missing = QStringLiteral("Въведете цената на стоката"), .text = &GoodsFields::Pr2Text2},
    {.field = Field::Count, .kind = FieldKind::WholeNumber, .column = store::layout::article::kStock,
     .control = QStringLiteral("Text3"), .label = QStringLiteral("Label3"), .caption = QStringLiteral("Брой стоки"),
     .missing = QStringLiteral("Въведете брой закупени стоки"), .text = &GoodsFields::Pr3Text3},
    {.field = Field::Markup, .kind = FieldKind::Number, .column = store::layout::article::kMarkup,
     .control = QStringLiteral("Text4"), .label = QStringLiteral("Label4"), .caption = QStringLiteral("Процентно увеличение"),
     .missing = QStringLiteral("Въведете увеличението на стоката"), .text = &GoodsFields::Pr4Text4},
    {.field = Field::Promotion, .kind = FieldKind::Flag, .column = store::layout::article::kPromotion,
     .control = QStringLiteral("Check1"), .label = QStringLiteral("Label5"), .caption = QStringLiteral("Промоция"),
     .flag = &GoodsFields::Pr5Text5},
    {.field = Field::Maker, .kind = FieldKind::Text, .column = store::layout::article::kMaker,
     .control = QStringLiteral("Text6"), .label = QStringLiteral("Label6"), .caption = QStringLiteral("Производител"),
     .text = &GoodsFields::Pr6Text6},
    {.field = Field::Description, .kind = FieldKind::Text, .column = store::layout::article::kDescription,
     .control = QStringLiteral("Text7"), .label = QStringLiteral("Label7"), .caption = QStringLiteral("Описание"),
     .text = &GoodsFields::Pr7Text7},
    {.field = Field::MinimumStock, .kind = FieldKind::WholeNumber, .column = store::layout::article::kMinimumStock,
     .control = QStringLiteral("Text9"), .label = QStringLiteral("Label12"), .caption = QStringLiteral("Минимално количество"),
     .text = &GoodsFields::Pr8Text8},
    {.field = Field::Barcode, .kind = FieldKind::Barcode, .column = store::layout::article::kBarcode,
     .control = QStringLiteral("Text10"), .label = QStringLiteral("Label13"), .caption = QStringLiteral("Баркод"),
     .text = &GoodsFields::Pr9Text9},
}};

const FieldInfo& fieldInfo(Field field);

inline const QString kNotANumber = QStringLiteral("Трябва да въведете число");
inline const QString kNotAWholeNumber = QStringLiteral("Трябва да въведете цяло число");

// A field typed as a number: money, a number or a whole number.
bool isNumeric(FieldKind kind);
// True when every character of the text may stand in a number of that kind (ProverkaChislo).
bool typedCharactersFit(FieldKind kind, const QString& text);
// The number a numeric field's text reads as; nothing when it is not one of its kind.
std::optional<double> typedValue(FieldKind kind, const QString& text);
// The message when a numeric field's text is not a number of its kind.
const QString& notANumber(FieldKind kind);

} // namespace catalogue
