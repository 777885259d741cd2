#pragma once

#include <QString>
#include <stdexcept>

namespace store {

// Every failure of the spreadsheet engine: a file it cannot read or write, a name or size the
// file format forbids, a formula it cannot parse. The message is for the shop keeper.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

} // namespace store
