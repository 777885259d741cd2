#pragma once

#include "store/StoreError.h"

#include <QString>
#include <functional>
#include <optional>

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

// The kind of the store::Error that action throws, when it throws one of Kind's.
template <store::ErrorKind Kind>
std::optional<Kind> errorKind(const std::function<void()>& action)
{
    try {
        action();
    } catch (const store::Error& error) {
        return error.kind<Kind>();
    }
    return std::nullopt;
}
