#pragma once

#include <QLocale>

namespace testsupport {

// The default locale for as long as it lives, as another program had it when it computed a file's
// values; the one before comes back after.
class DefaultLocale {
public:
    explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(before_); }
    DefaultLocale(const DefaultLocale&) = delete;
    DefaultLocale& operator=(const DefaultLocale&) = delete;

private:
    QLocale before_;
};

} // namespace testsupport
