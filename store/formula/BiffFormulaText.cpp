// Showing a BIFF8 token array as the formula text the spreadsheet shows for it.
#include "store/formula/BiffFormulaText.h"

#include "store/Value.h"
#include "store/formula/BiffFunctionNames.h"
#include "store/formula/BiffTokens.h"
#include "store/formula/FormulaNodes.h"
#include "store/formula/FormulaPrinter.h"

#include <QRegularExpression>
#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace store {

using namespace formula;

namespace {

constexpr quint8 kIntersect = 0x0F;
constexpr quint8 kUnion = 0x10;
constexpr quint8 kRange = 0x11;

// A sheet span of the link table whose sheet was deleted.
constexpr int kDeletedSheet = 0xFFFF;

constexpr int kLastRowField = 0xFFFF;
constexpr int kLastColumnField = 0xFF;

QString quotedText(const QString& text)
{
    QString escaped = text;
    escaped.replace(u'"', QLatin1String("\"\""));
    return u'"' + escaped + u'"';
}

QString boolText(bool value)
{
    return value ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

// One row or column part of a reference, 0-based as stored, with its relative flag.
struct RefPart {
    int index = 0;
    bool relative = false;
};

// Replays the reverse Polish tokens on a stack of texts. Every read is bounds-checked; tokens
// that cannot be read, or that name what the workbook does not have, give nothing.
class TextDecoder : private TokenCursor {
public:
    TextDecoder(const QByteArray& tokens, const QByteArray& extra, const KeptFormulaPlace* place, int row, int col,
                const FormulaSyntax& syntax)
        : tokens_(tokens), extra_(extra), names_(place ? place->names.get() : nullptr),
          sheetTab_(place ? place->sheetTab : -1), row_(row), col_(col), syntax_(syntax)
    {
    }

    std::optional<QString> decode()
    {
        const bool whole = walkBiffTokens(tokens_, [this](const BiffToken& token) { return show(token); });
        if (!whole || stack_.size() != 1) return std::nullopt;
        return stack_.back();
    }

private:
    bool show(const BiffToken& token)
    {
        startToken(token);
        if (token.isOperand()) return operandToken(token.base());
        if (token.id == kUnion) return binary(QString(syntax_.argumentSeparator));
        if (const char* op = binaryOperator(token.id)) return binary(QLatin1String(op));
        switch (token.id) {
        case ptg::Uplus: return wrapTop(QStringLiteral("+"), {});
        case ptg::Uminus: return wrapTop(QStringLiteral("-"), {});
        case ptg::Percent: return wrapTop({}, QStringLiteral("%"));
        case ptg::Paren: return wrapTop(QStringLiteral("("), QStringLiteral(")"));
        case ptg::MissArg: return push({});
        case ptg::Str: return string();
        case ptg::Attr: return attribute();
        case ptg::Err: return error();
        case ptg::Bool: {
            const auto value = byte();
            return value && push(boolText(*value != 0));
        }
        case ptg::Int: {
            const auto value = word();
            return value && push(QString::number(*value));
        }
        case ptg::Num: return number();
        default: return false;
        }
    }

    static const char* binaryOperator(quint8 id)
    {
        switch (id) {
        case ptg::Add: return "+";
        case ptg::Sub: return "-";
        case ptg::Mul: return "*";
        case ptg::Div: return "/";
        case ptg::Power: return "^";
        case ptg::Concat: return "&";
        case ptg::LT: return "<";
        case ptg::LE: return "<=";
        case ptg::EQ: return "=";
        case ptg::GE: return ">=";
        case ptg::GT: return ">";
        case ptg::NE: return "<>";
        case kIntersect: return " ";
        case kRange: return ":";
        default: return nullptr;
        }
    }

    bool operandToken(quint8 base)
    {
        switch (base) {
        case ptg::Array: return array();
        case ptg::Func: return fixedFunction();
        case ptg::FuncVar: return variableFunction();
        case ptg::Name: return name();
        case ptg::Ref: return reference(false);
        case ptg::RefN: return reference(true);
        case ptg::Area: return area(false);
        case ptg::AreaN: return area(true);
        case ptg::RefErr:
        case ptg::AreaErr: return push(errorText(ErrorCode::Ref));
        // A memory token stands before the tokens that compute its operand: those show it.
        case ptg::MemArea: return skipMemAreaRanges();
        case ptg::MemErr:
        case ptg::MemNoMem:
        case ptg::MemFunc:
        case ptg::MemAreaN:
        case ptg::MemNoMemN: return true;
        case ptg::NameX: return externalName();
        case ptg::Ref3d: return reference3d();
        case ptg::Area3d: return area3d();
        case ptg::RefErr3d:
        case ptg::AreaErr3d: return error3d();
        default: return false;
        }
    }

    bool binary(const QString& op)
    {
        if (stack_.size() < 2) return false;
        QString right = pop();
        QString left = pop();
        return push(left + op + right);
    }

    bool wrapTop(const QString& before, const QString& after)
    {
        if (stack_.empty()) return false;
        stack_.back() = before + stack_.back() + after;
        return true;
    }

    bool string()
    {
        const auto length = byte();
        const auto flags = byte();
        if (!length || !flags) return false;
        const auto text = characters(bytes_, pos_, *length, *flags & ptg::StrUtf16);
        return text && push(quotedText(*text));
    }

    // tAttr marks the jumps of IF and CHOOSE, spaces and volatile formulas, none of which show,
    // and SUM of a single argument, which does.
    bool attribute()
    {
        const auto options = byte();
        if (!options) return false;
        if (*options & ptg::AttrSum) return wrapTop(QStringLiteral("SUM("), QStringLiteral(")"));
        return true;
    }

    bool error()
    {
        const auto code = byte();
        if (!code) return false;
        const auto error = errorFromCode(*code);
        return error && push(errorText(*error));
    }

    bool number()
    {
        const auto value = float64();
        return value && push(withDecimalMark(numberToText(*value), syntax_));
    }

    bool fixedFunction()
    {
        const auto index = word();
        if (!index) return false;
        const BiffFunctionName* function = biffFunctionName(*index);
        return function && function->fixedArgs >= 0 && call(QLatin1String(function->name), function->fixedArgs);
    }

    bool variableFunction()
    {
        const auto count = byte();
        const auto index = word();
        if (!count || !index) return false;
        const int args = *count & 0x7F;
        const int functionIndex = *index & 0x7FFF;
        if (functionIndex == ptg::NamedFunctionCall) return namedCall(args);
        const BiffFunctionName* function = biffFunctionName(functionIndex);
        return function && call(QLatin1String(function->name), args);
    }

    bool call(const QString& name, int argCount)
    {
        if (stack_.size() < size_t(argCount)) return false;
        QString text = name + u'(';
        for (size_t i = stack_.size() - size_t(argCount); i < stack_.size(); ++i) {
            if (i > stack_.size() - size_t(argCount)) text += syntax_.argumentSeparator;
            text += stack_[i];
        }
        stack_.resize(stack_.size() - size_t(argCount));
        return push(text + u')');
    }

    // The name comes first, as an argument: NAME(args...).
    bool namedCall(int argCount)
    {
        if (argCount < 1 || stack_.size() < size_t(argCount)) return false;
        const size_t nameAt = stack_.size() - size_t(argCount);
        const QString name = stack_[nameAt];
        stack_.erase(stack_.begin() + qsizetype(nameAt));
        return call(name, argCount - 1);
    }

    // ptgName: a defined name of this workbook, by its place among the NAME records from 1.
    bool name()
    {
        const auto index = word();
        if (!index) return false;
        const auto text = definedName(*index);
        return text && push(*text);
    }

    std::optional<QString> definedName(int index) const
    {
        if (!names_ || index < 1 || size_t(index) > names_->names.size()) return std::nullopt;
        const BiffWorkbookNames::DefinedName& name = names_->names[size_t(index - 1)];
        if (name.name.isEmpty()) return std::nullopt;
        // A sheet's own name, used on another sheet, shows that sheet.
        if (name.sheet > 0 && name.sheet - 1 != sheetTab_) {
            const auto sheet = sheetName(size_t(name.sheet - 1));
            if (!sheet) return std::nullopt;
            return quotedSheetName(*sheet) + u'!' + name.name;
        }
        return name.name;
    }

    std::optional<QString> sheetName(size_t tab) const
    {
        if (!names_ || tab >= names_->sheets.size()) return std::nullopt;
        return names_->sheets[tab];
    }

    // ptgNameX: a name through the link table: an add-in's function, another workbook's name or
    // one of this workbook's.
    bool externalName()
    {
        const auto ixti = word();
        const auto index = word();
        if (!ixti || !index) return false;
        const BiffWorkbookNames::SheetSpan* span = spanAt(*ixti);
        if (!span) return false;
        const BiffWorkbookNames::Book& book = names_->books[size_t(span->book)];
        if (book.kind == BiffWorkbookNames::Book::Kind::Own) {
            const auto text = definedName(*index);
            return text && push(*text);
        }
        if (*index < 1 || size_t(*index) > book.names.size()) return false;
        const QString& name = book.names[size_t(*index - 1)];
        switch (book.kind) {
        case BiffWorkbookNames::Book::Kind::AddIns: return push(name);
        case BiffWorkbookNames::Book::Kind::External:
            return push(quotedSheetName(book.directory + book.file) + u'!' + name);
        default: return push(quotedSheetName(book.file) + u'!' + name);
        }
    }

    const BiffWorkbookNames::SheetSpan* spanAt(int ixti) const
    {
        if (!names_ || ixti < 0 || size_t(ixti) >= names_->spans.size()) return nullptr;
        const BiffWorkbookNames::SheetSpan& span = names_->spans[size_t(ixti)];
        if (span.book < 0 || size_t(span.book) >= names_->books.size()) return nullptr;
        return &span;
    }

    // "Цени!", "'Лист 1:Лист 3'!", "[Цени.xls]Лист1!", or "#REF!" for a deleted sheet.
    std::optional<QString> sheetPrefix(int ixti) const
    {
        const BiffWorkbookNames::SheetSpan* span = spanAt(ixti);
        if (!span) return std::nullopt;
        if (span->first == kDeletedSheet || span->last == kDeletedSheet) return errorText(ErrorCode::Ref);
        const BiffWorkbookNames::Book& book = names_->books[size_t(span->book)];
        const std::vector<QString>* sheets = nullptr;
        QString bookText;
        switch (book.kind) {
        case BiffWorkbookNames::Book::Kind::Own: sheets = &names_->sheets; break;
        case BiffWorkbookNames::Book::Kind::External:
            sheets = &book.sheets;
            bookText = book.directory + u'[' + book.file + u']';
            break;
        default: return std::nullopt;
        }
        const auto sheetAt = [&](int tab) -> std::optional<QString> {
            if (tab < 0 || size_t(tab) >= sheets->size()) return std::nullopt;
            return (*sheets)[size_t(tab)];
        };
        const auto first = sheetAt(span->first);
        const auto last = sheetAt(span->last);
        if (!first || !last) return std::nullopt;
        QString text = bookText + *first;
        if (span->last != span->first) text += u':' + *last;
        return quotedSheetName(text) + u'!';
    }

    bool reference(bool relativeToCell)
    {
        const auto row = word();
        const auto col = word();
        if (!row || !col) return false;
        const auto text = cellText(*row, *col, relativeToCell);
        return text && push(*text);
    }

    bool area(bool relativeToCell)
    {
        const auto text = areaText(relativeToCell);
        return text && push(*text);
    }

    bool reference3d()
    {
        const auto ixti = word();
        const auto row = word();
        const auto col = word();
        if (!ixti || !row || !col) return false;
        const auto prefix = sheetPrefix(*ixti);
        const auto cell = cellText(*row, *col, false);
        return prefix && cell && push(*prefix + *cell);
    }

    bool area3d()
    {
        const auto ixti = word();
        if (!ixti) return false;
        const auto prefix = sheetPrefix(*ixti);
        const auto text = areaText(false);
        return prefix && text && push(*prefix + *text);
    }

    bool error3d()
    {
        const auto ixti = word();
        if (!ixti) return false;
        const auto prefix = sheetPrefix(*ixti);
        if (!prefix) return false;
        // A deleted sheet already shows as #REF!.
        return push(prefix->startsWith(u'#') ? *prefix : *prefix + errorText(ErrorCode::Ref));
    }

    // Rows and columns as stored, 0-based; relative parts of ptgRefN and ptgAreaN are signed
    // offsets from the formula's cell.
    std::optional<RefPart> rowPart(quint16 row, quint16 colField, bool relativeToCell) const
    {
        const bool relative = colField & ptg::RowRelative;
        if (!relativeToCell || !relative) return RefPart{row, relative};
        if (row_ < 1) return std::nullopt;
        return RefPart{(row_ - 1 + qint16(row) + kMaxRow) % kMaxRow, true};
    }

    std::optional<RefPart> columnPart(quint16 colField, bool relativeToCell) const
    {
        const bool relative = colField & ptg::ColumnRelative;
        const int col = colField & ptg::ColumnMask;
        if (!relativeToCell || !relative) return RefPart{col, relative};
        if (col_ < 1) return std::nullopt;
        return RefPart{(col_ - 1 + qint8(col) + kMaxColumn) % kMaxColumn, true};
    }

    static QString rowText(const RefPart& row)
    {
        return (row.relative ? QString() : QStringLiteral("$")) + QString::number(row.index + 1);
    }

    static QString columnText(const RefPart& col)
    {
        return (col.relative ? QString() : QStringLiteral("$")) + columnName(col.index + 1);
    }

    std::optional<QString> cellText(quint16 row, quint16 colField, bool relativeToCell) const
    {
        const auto r = rowPart(row, colField, relativeToCell);
        const auto c = columnPart(colField, relativeToCell);
        if (!r || !c) return std::nullopt;
        return columnText(*c) + rowText(*r);
    }

    // "A1:B5", and whole columns and rows as "A:B" and "1:5".
    std::optional<QString> areaText(bool relativeToCell)
    {
        const auto firstRow = word();
        const auto lastRow = word();
        const auto firstCol = word();
        const auto lastCol = word();
        if (!firstRow || !lastRow || !firstCol || !lastCol) return std::nullopt;
        const bool absoluteRows = !(*firstCol & ptg::RowRelative) && !(*lastCol & ptg::RowRelative);
        const bool absoluteCols = !(*firstCol & ptg::ColumnRelative) && !(*lastCol & ptg::ColumnRelative);
        const bool wholeColumns = absoluteRows && *firstRow == 0 && *lastRow == kLastRowField;
        const bool wholeRows = absoluteCols && (*firstCol & ptg::ColumnMask) == 0
                               && (*lastCol & ptg::ColumnMask) == kLastColumnField;
        const auto r1 = rowPart(*firstRow, *firstCol, relativeToCell);
        const auto r2 = rowPart(*lastRow, *lastCol, relativeToCell);
        const auto c1 = columnPart(*firstCol, relativeToCell);
        const auto c2 = columnPart(*lastCol, relativeToCell);
        if (!r1 || !r2 || !c1 || !c2) return std::nullopt;
        if (wholeColumns && !wholeRows) return columnText(*c1) + u':' + columnText(*c2);
        if (wholeRows && !wholeColumns) return rowText(*r1) + u':' + rowText(*r2);
        return columnText(*c1) + rowText(*r1) + u':' + columnText(*c2) + rowText(*r2);
    }

    // ptgArray: its constants follow the tokens, one array after another: columns - 1 (8 bits),
    // rows - 1 (16 bits), then each value row by row.
    bool array()
    {
        if (extraPos_ + 3 > extra_.size()) return false;
        const auto* d = reinterpret_cast<const uchar*>(extra_.constData()) + extraPos_;
        const int columns = d[0] + 1;
        const int rows = qFromLittleEndian<quint16>(d + 1) + 1;
        extraPos_ += 3;
        QString text = QStringLiteral("{");
        for (int r = 0; r < rows; ++r) {
            if (r > 0) text += syntax_.arrayRowSeparator();
            for (int c = 0; c < columns; ++c) {
                if (c > 0) text += syntax_.argumentSeparator;
                const auto value = arrayValue();
                if (!value) return false;
                text += *value;
            }
        }
        return push(text + u'}');
    }

    std::optional<QString> arrayValue()
    {
        if (extraPos_ >= extra_.size()) return std::nullopt;
        const quint8 type = quint8(extra_[extraPos_++]);
        const auto eight = [this]() -> std::optional<QByteArray> {
            if (extraPos_ + 8 > extra_.size()) return std::nullopt;
            extraPos_ += 8;
            return extra_.mid(extraPos_ - 8, 8);
        };
        switch (type) {
        case 0x00: return eight() ? std::optional<QString>(QString()) : std::nullopt;
        case 0x01: {
            const auto number = doubleAt(extra_, extraPos_);
            if (!number) return std::nullopt;
            return withDecimalMark(numberToText(*number), syntax_);
        }
        case 0x02: {
            if (extraPos_ + 3 > extra_.size()) return std::nullopt;
            const int length = qFromLittleEndian<quint16>(extra_.constData() + extraPos_);
            const bool utf16 = extra_[extraPos_ + 2] & ptg::StrUtf16;
            extraPos_ += 3;
            const auto text = characters(extra_, extraPos_, length, utf16);
            if (!text) return std::nullopt;
            return quotedText(*text);
        }
        case 0x04: {
            const auto bytes = eight();
            if (!bytes) return std::nullopt;
            return boolText(bytes->at(0) != 0);
        }
        case 0x10: {
            const auto bytes = eight();
            if (!bytes) return std::nullopt;
            const auto error = errorFromCode(quint8(bytes->at(0)));
            if (!error) return std::nullopt;
            return errorText(*error);
        }
        default: return std::nullopt;
        }
    }

    // ptgMemArea keeps the areas it last gave after the tokens: a count, then 8 bytes each.
    bool skipMemAreaRanges()
    {
        if (extraPos_ + 2 > extra_.size()) return false;
        const qsizetype count = qFromLittleEndian<quint16>(extra_.constData() + extraPos_);
        extraPos_ += 2 + 8 * count;
        return extraPos_ <= extra_.size();
    }

    static std::optional<QString> characters(QByteArrayView from, qsizetype& pos, int length, bool utf16)
    {
        const qsizetype size = qsizetype(length) * (utf16 ? 2 : 1);
        if (pos + size > from.size()) return std::nullopt;
        const char* data = from.constData() + pos;
        pos += size;
        if (!utf16) return QString::fromLatin1(data, size);
        QString text(length, Qt::Uninitialized);
        for (int i = 0; i < length; ++i) text[i] = QChar(qFromLittleEndian<quint16>(data + 2 * i));
        return text;
    }

    bool push(QString text)
    {
        stack_.push_back(std::move(text));
        return true;
    }

    QString pop()
    {
        QString text = std::move(stack_.back());
        stack_.pop_back();
        return text;
    }

    const QByteArray& tokens_;
    const QByteArray& extra_;
    const BiffWorkbookNames* names_;
    int sheetTab_;
    int row_;
    int col_;
    const FormulaSyntax& syntax_;
    qsizetype extraPos_ = 0;
    std::vector<QString> stack_;
};

bool looksLikeCellReference(const QString& name)
{
    static const QRegularExpression a1(QStringLiteral("^[A-Za-z]{1,3}[0-9]+$"));
    static const QRegularExpression r1c1(QStringLiteral("^([Rr][0-9]*)?([Cc][0-9]*)?$"));
    return a1.match(name).hasMatch() || r1c1.match(name).hasMatch();
}

// A sheet's name reads back as a name when it starts with a letter or "_", holds only letters,
// digits, "_" and ".", and is not a cell's address.
bool plainSheetName(const QString& name)
{
    if (name.isEmpty() || !(name[0].isLetter() || name[0] == u'_') || looksLikeCellReference(name)) return false;
    for (QChar ch : name)
        if (!ch.isLetterOrNumber() && ch != u'_' && ch != u'.') return false;
    return true;
}

} // namespace

std::optional<QString> biffFormulaText(const QByteArray& tokens, const QByteArray& extra,
                                       const KeptFormulaPlace* place, int row, int col, const FormulaSyntax& syntax)
{
    return TextDecoder(tokens, extra, place, row, col, syntax).decode();
}

QString quotedSheetName(const QString& name)
{
    // "[file]first:last": the file in brackets and each sheet of a span must read back.
    const qsizetype bookEnd = name.startsWith(u'[') ? name.indexOf(u']') : -1;
    const QString book = bookEnd > 0 ? name.mid(1, bookEnd - 1) : QString();
    const QStringList sheets = name.mid(bookEnd + 1).split(u':');
    bool plain = bookEnd < 0 || std::all_of(book.begin(), book.end(), [](QChar ch) {
        return ch.isLetterOrNumber() || ch == u'_' || ch == u'.';
    });
    for (const QString& sheet : sheets) plain = plain && plainSheetName(sheet);
    if (plain) return name;
    QString escaped = name;
    escaped.replace(u'\'', QLatin1String("''"));
    return u'\'' + escaped + u'\'';
}

} // namespace store
