#pragma once

#include <QString>
#include <QStringList>
#include <concepts>
#include <optional>
#include <stdexcept>
#include <type_traits>
#include <typeinfo>

namespace store {

// A subsystem's list of the problems it reports, an enum class with one function beside it that
// words each of them for the shop keeper: QString errorMessage(Kind, const QStringList& arguments).
template <class Kind>
concept ErrorKind = std::is_enum_v<Kind> && requires(Kind kind, const QStringList& arguments) {
    { errorMessage(kind, arguments) } -> std::same_as<QString>;
};

// Every failure of the spreadsheet engine and of what the shop does with it: a file it cannot read
// or write, a name or size the file format forbids, a formula it cannot parse. The kind tells the
// program which problem it is; the message is for the shop keeper.
class Error : public std::runtime_error {
public:
    // The problem with the arguments its sentence takes, in the sentence's order.
    template <ErrorKind Kind>
    explicit Error(Kind kind, const QStringList& arguments = {})
        : Error(typeid(Kind), int(kind), errorMessage(kind, arguments))
    {
    }
    // The problem reason is, told in the sentence of kind, whose arguments say where it happened and
    // word the reason: the kind stays the reason's, or becomes this sentence's when the reason has none.
    template <ErrorKind Kind>
    Error(const Error& reason, Kind kind, const QStringList& arguments)
        : Error(reason.hasKind() ? *reason.family_ : typeid(Kind), reason.hasKind() ? reason.code_ : int(kind),
                errorMessage(kind, arguments))
    {
    }
    // A problem that has no kind of its own.
    explicit Error(const QString& message) : Error(typeid(void), 0, message) {}

    const QString& message() const { return message_; }

    // The problem, when it is one of Kind's.
    template <ErrorKind Kind>
    std::optional<Kind> kind() const
    {
        if (*family_ != typeid(Kind)) return std::nullopt;
        return Kind(code_);
    }

private:
    bool hasKind() const { return *family_ != typeid(void); }

    Error(const std::type_info& family, int code, const QString& message)
        : std::runtime_error(message.toStdString()), family_(&family), code_(code), message_(message)
    {
    }

    const std::type_info* family_;
    int code_;
    QString message_;
};

} // namespace store
