#include "catalogue/core/GoodsFields.h"

#include "catalogue/core/NumberCheck.h"

#include <algorithm>

namespace catalogue {

const FieldInfo& fieldInfo(Field field)
{
    return *std::find_if(kGoodsFields.begin(), kGoodsFields.end(), [field](const FieldInfo& f) { return f.field == field; });
}

bool isNumeric(FieldKind kind)
{
    return kind == FieldKind::Money || kind == FieldKind::Number || kind == FieldKind::WholeNumber;
}

bool typedCharactersFit(FieldKind kind, const QString& text)
{
    return ProverkaChislo(text, kind != FieldKind::WholeNumber, false, false);
}

std::optional<double> typedValue(FieldKind kind, const QString& text)
{
    return kind == FieldKind::WholeNumber ? typedWholeNumber(text) : typedNumber(text);
}

const QString& notANumber(FieldKind kind)
{
    return kind == FieldKind::WholeNumber ? kNotAWholeNumber : kNotANumber;
}

} // namespace catalogue
