#include "common/ShopError.h"

namespace app {

QString errorMessage(ShopError kind, const QStringList& a)
{
    switch (kind) {
    case ShopError::DataFileClosed: return QStringLiteral("Файлът с данните %1 вече е затворен.").arg(a.value(0));
    case ShopError::OtherVersionNotKept:
        return QStringLiteral("Файлът с данните „%1“ е променен от друга програма, а нейната версия не може да бъде "
                              "запазена в архива, затова данните не се записват върху нея.\n%2")
            .arg(a.value(0), a.value(1));
    case ShopError::ReloadingOtherVersion:
        return QStringLiteral("Промяната не е записана: данните се зареждат, както ги е оставила другата програма.");
    }
    return {};
}

} // namespace app
