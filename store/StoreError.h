#pragma once

#include <QDir>
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

// "Файлът „…“ не може да бъде записан.", with the path as the system writes it, and the reason
// after a colon where one is known.
inline QString fileNotWritten(const QString& path)
{
    return QStringLiteral("Файлът „%1“ не може да бъде записан.").arg(QDir::toNativeSeparators(path));
}
inline QString fileNotWritten(const QString& path, const QString& reason)
{
    return QStringLiteral("Файлът „%1“ не може да бъде записан: %2").arg(QDir::toNativeSeparators(path), reason);
}

} // namespace store
