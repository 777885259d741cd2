#include "store/Collation.h"

namespace store {

QCollator& bulgarianCollator()
{
    static QCollator collator = [] {
        QCollator c{QLocale(QLocale::Bulgarian, QLocale::Bulgaria)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setNumericMode(false);
        return c;
    }();
    return collator;
}

} // namespace store
