#include "app/common/Money.h"

#include <QLocale>

namespace app {

QString formatMoney(double value)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', 2);
}

} // namespace app
