#pragma once

#include "store/StoreError.h"

#include <QString>
#include <functional>

// The message of the store::Error that action throws, or a note that it threw none.
inline QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const store::Error& error) {
        return error.message();
    }
    return QStringLiteral("(no error)");
}
