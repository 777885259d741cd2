#include "MessageRecorder.h"

#include <gtest/gtest.h>

MessageRecorder::MessageRecorder() : previous_(app::installMessageService(this)) {}

MessageRecorder::~MessageRecorder()
{
    app::installMessageService(previous_);
}

app::Answer MessageRecorder::show(const app::Message& message)
{
    messages_.push_back(message);
    if (script_.empty()) return app::Answer::Ok;
    const app::Answer answer = script_.front();
    script_.pop_front();
    return answer;
}

QStringList MessageRecorder::texts() const
{
    QStringList result;
    for (const app::Message& m : messages_) result << m.text;
    return result;
}

std::vector<app::Message> MessageRecorder::ofKind(app::MessageKind kind) const
{
    std::vector<app::Message> result;
    for (const app::Message& m : messages_)
        if (m.kind == kind) result.push_back(m);
    return result;
}

app::Answer UnexpectedMessages::show(const app::Message& message)
{
    ADD_FAILURE() << "unexpected message: " << message.title.toStdString() << ": " << message.text.toStdString();
    return app::Answer::Cancel;
}
