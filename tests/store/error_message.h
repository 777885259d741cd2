#pragma once

#include "store/StoreError.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
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

// A kind of a subsystem's problems with the arguments of its sentence, and the sentence as the shop
// keeper reads it.
template <store::ErrorKind Kind>
struct Sentence {
    Kind kind;
    QStringList arguments;
    QString message;
};

// Each kind reads as its sentence and is known again by its kind.
template <store::ErrorKind Kind>
void expectSentences(std::initializer_list<Sentence<Kind>> sentences)
{
    for (const auto& [kind, arguments, message] : sentences) {
        const store::Error error(kind, arguments);
        EXPECT_EQ(error.message(), message);
        EXPECT_EQ(error.kind<Kind>(), kind) << message.toStdString();
    }
}
