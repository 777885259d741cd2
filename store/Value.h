#pragma once

#include <QString>
#include <optional>
#include <variant>

namespace store {

// Error values a cell can hold; the numbers are the codes the .xls format uses.
enum class ErrorCode : quint8 {
    Null = 0x00,
    Div0 = 0x07,
    Value = 0x0F,
    Ref = 0x17,
    Name = 0x1D,
    Num = 0x24,
    NA = 0x2A,
};

QString errorText(ErrorCode code);                         // "#DIV/0!"
std::optional<ErrorCode> errorFromText(const QString& text);
std::optional<ErrorCode> errorFromCode(quint8 code);

// What a cell holds, or what a formula computed.
class Value {
public:
    enum class Kind { Empty, Number, Text, Bool, Error };

    Value() = default;
    Value(double number) : data_(number) {}
    Value(int number) : data_(double(number)) {}
    Value(const QString& text) : data_(text) {}
    Value(const char* text) : data_(QString::fromUtf8(text)) {}
    static Value boolean(bool b) { Value v; v.data_ = b; return v; }
    static Value error(ErrorCode e) { Value v; v.data_ = e; return v; }

    Kind kind() const { return Kind(data_.index()); }
    bool isEmpty() const { return kind() == Kind::Empty; }
    bool isNumber() const { return kind() == Kind::Number; }
    bool isText() const { return kind() == Kind::Text; }
    bool isBool() const { return kind() == Kind::Bool; }
    bool isError() const { return kind() == Kind::Error; }

    double number() const { return std::get<double>(data_); }
    const QString& text() const { return std::get<QString>(data_); }
    bool boolValue() const { return std::get<bool>(data_); }
    ErrorCode errorValue() const { return std::get<ErrorCode>(data_); }

    // The value as plain text: numbers as numberToText writes them ("12", "12.5", "100000"),
    // booleans "TRUE"/"FALSE", errors as "#N/A", empty as "".
    QString toText() const;

    // The value as a number where it reads as one: numbers as they are, empty as 0, text that
    // holds a number written with "," or "." as decimal separator, booleans as 1/0.
    std::optional<double> toNumber() const;

    bool operator==(const Value& other) const { return data_ == other.data_; }

private:
    std::variant<std::monostate, double, QString, bool, ErrorCode> data_;
};

// The number as a spreadsheet's General format writes it, plainly: the shortest decimal digits
// that read back as the same double, "." as separator and never an exponent ("0.1", "12",
// "-3.25", "100000", "123456.5", "0.000001"). Every place where a cell's number becomes text
// goes through here; what a person sees goes through shownNumberText.
QString numberToText(double number);

// The number as a person sees it under a spreadsheet's General format: rounded to 15 significant
// digits as a spreadsheet shows a stored number (1.2100000000000002 shows as "1,21"), never an
// exponent, with the user's decimal mark.
QString shownNumberText(double number);

// Reads a number typed by a person: blanks around it are ignored, "," or "." is the decimal
// separator, no group separators. Empty or anything else gives nothing.
std::optional<double> parseNumber(const QString& text);

} // namespace store
