#include "store/formula/CountCriterion.h"

#include "store/formula/FormulaOperators.h"

#include <array>

namespace store::formula {

namespace {

char16_t folded(char16_t c)
{
    if (c < 0x80) return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
    return char16_t(QChar::toCaseFolded(char32_t(c)));
}

} // namespace

WildcardPattern::WildcardPattern(QStringView pattern)
{
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i].unicode();
        if (c == u'~' && i + 1 < pattern.size())
            items_.push_back({Kind::Literal, folded(pattern[++i].unicode())});
        else if (c == u'*')
            items_.push_back({Kind::AnyRun, 0});
        else if (c == u'?')
            items_.push_back({Kind::AnyOne, 0});
        else
            items_.push_back({Kind::Literal, folded(c)});
    }
}

// Greedy matching that, on a mismatch, lets the last * swallow one more character.
bool WildcardPattern::matches(QStringView text) const
{
    const size_t patternSize = items_.size();
    size_t p = 0;
    qsizetype t = 0;
    std::optional<size_t> afterStar;
    qsizetype starText = 0;
    while (t < text.size()) {
        if (p < patternSize && items_[p].kind == Kind::AnyRun) {
            afterStar = ++p;
            starText = t;
            continue;
        }
        if (p < patternSize
            && (items_[p].kind == Kind::AnyOne || items_[p].folded == folded(text[t].unicode()))) {
            ++p;
            ++t;
            continue;
        }
        if (!afterStar) return false;
        p = *afterStar;
        t = ++starText;
    }
    while (p < patternSize && items_[p].kind == Kind::AnyRun) ++p;
    return p == patternSize;
}

CountCriterion::CountCriterion(const Value& criterion)
{
    if (criterion.isText())
        readText(criterion.text());
    else if (criterion.isEmpty())
        operand_ = Value(0.0);   // a criterion cell left empty counts zeros
    else
        operand_ = criterion;
    matchesEmpty_ = matches(Value());
}

void CountCriterion::readText(const QString& text)
{
    struct Prefix { const char* text; Op op; };
    static constexpr std::array<Prefix, 6> kPrefixes{{
        {"<=", Op::LessOrEqual}, {">=", Op::GreaterOrEqual}, {"<>", Op::NotEqual},
        {"<", Op::Less}, {">", Op::Greater}, {"=", Op::Equal},
    }};
    QString rest = text;
    bool explicitOp = false;
    for (const auto& prefix : kPrefixes) {
        if (text.startsWith(QLatin1String(prefix.text))) {
            op_ = prefix.op;
            rest = text.mid(qsizetype(qstrlen(prefix.text)));
            explicitOp = true;
            break;
        }
    }
    if (rest.isEmpty()) {
        // "" counts empty cells and empty text, "=" only empty cells, "<>" what is not empty.
        target_ = explicitOp ? Target::StrictlyBlank : Target::Blank;
        return;
    }
    // The criterion is taken as it is written: " 5" is text, not the number 5.
    const auto number = rest == rest.trimmed() ? numberInText(rest) : std::nullopt;
    if (number) {
        operand_ = Value(*number);
        written_ = rest;
    }
    else if (rest.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0)
        operand_ = Value::boolean(true);
    else if (rest.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0)
        operand_ = Value::boolean(false);
    else if (auto error = errorFromText(rest))
        operand_ = Value::error(*error);
    else
        operand_ = Value(rest);
    if (operand_.isText() && (rest.contains(u'*') || rest.contains(u'?') || rest.contains(u'~')))
        pattern_.emplace(rest);
}

bool CountCriterion::matches(const Value& cell) const
{
    switch (op_) {
    case Op::Equal: return equalsOperand(cell);
    case Op::NotEqual: return !equalsOperand(cell);
    default: return comparesTrue(cell);
    }
}

bool CountCriterion::equalsOperand(const Value& cell) const
{
    switch (target_) {
    case Target::Blank: return cell.isEmpty() || (cell.isText() && cell.text().isEmpty());
    case Target::StrictlyBlank: return cell.isEmpty();
    case Target::Value: break;
    }
    switch (operand_.kind()) {
    case Value::Kind::Number:
        // A number matches numbers; text only as the criterion was written: "5" counts the
        // text "5", the number 5 does not.
        if (cell.isText()) return !written_.isEmpty() && cell.text().compare(written_, Qt::CaseInsensitive) == 0;
        return cell.isNumber() && numbersEqual(cell.number(), operand_.number());
    case Value::Kind::Text: return cell.isText() && textEquals(cell.text());
    default: return cell == operand_;
    }
}

bool CountCriterion::textEquals(const QString& text) const
{
    if (pattern_) return pattern_->matches(text);
    return text.compare(operand_.text(), Qt::CaseInsensitive) == 0;
}

// <, <=, >, >= only look at cells of the operand's own kind: ">5" skips text and blanks.
bool CountCriterion::comparesTrue(const Value& cell) const
{
    if (target_ != Target::Value || cell.kind() != operand_.kind() || cell.isError()) return false;
    const int order = compareValues(cell, operand_);
    switch (op_) {
    case Op::Less: return order < 0;
    case Op::LessOrEqual: return order <= 0;
    case Op::Greater: return order > 0;
    default: return order >= 0;
    }
}

} // namespace store::formula
