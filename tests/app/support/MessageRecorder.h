#pragma once

#include "common/Messages.h"

#include <QStringList>
#include <deque>
#include <vector>

// Stands in for the message boxes while it lives: keeps every message and answers from a script
// (OK when the script has run out).
class MessageRecorder final : public app::MessageService {
public:
    MessageRecorder();
    ~MessageRecorder() override;
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void answerNext(app::Answer answer) { script_.push_back(answer); }
    app::Answer show(const app::Message& message) override;

    const std::vector<app::Message>& messages() const { return messages_; }
    QStringList texts() const;
    // The messages of one kind, in the order shown.
    std::vector<app::Message> ofKind(app::MessageKind kind) const;
    void clear() { messages_.clear(); }

private:
    app::MessageService* previous_;
    std::vector<app::Message> messages_;
    std::deque<app::Answer> script_;
};

// Fails the test that shows a message nobody expected.
class UnexpectedMessages final : public app::MessageService {
public:
    app::Answer show(const app::Message& message) override;
};
