#pragma once

#include "store/Application.h"

#include <QString>
#include <functional>

namespace app {

// Every message the program shows goes through one service, so that a test can answer them.
enum class MessageKind {
    Warning,       // "Внимание", OK only
    Confirmation,  // "Внимание", OK and Cancel, stop icon
    LoginInfo,     // "Внимание", OK only, information icon
    Question,      // Yes, No and Cancel (the spreadsheet's own questions)
    Failure,       // something went wrong that the shop keeper could not prevent
    YesNo,         // "Да" and "Не", question icon: a step that changes much, asked first
    Information,   // OK only, information icon: what a long step has done
};

enum class Answer { Ok, Cancel, Yes, No };

struct Message {
    MessageKind kind;
    QString title;
    QString text;
};

inline const QString kWarningTitle = QStringLiteral("Внимание");
inline const QString kFailureTitle = QStringLiteral("Грешка");

class MessageService {
public:
    virtual ~MessageService() = default;
    virtual Answer show(const Message& message) = 0;
};

// Message boxes on screen, modal to the whole application.
class BoxMessageService final : public MessageService {
public:
    Answer show(const Message& message) override;
};

// Puts a service in place of the message boxes; null puts the boxes back. The caller keeps
// ownership. Returns the service that was in place (null for the boxes).
MessageService* installMessageService(MessageService* service);
MessageService& messageService();

void warning(const QString& text);
// True when the user answered OK.
bool confirm(const QString& text);
void loginInfo(const QString& text);
Answer askYesNoCancel(const QString& text);
// True when the user answered "Да".
bool askYesNo(const QString& text);
void inform(const QString& text);
void failure(const QString& text);

// Runs an event handler. When the spreadsheet fails under it, the handler ends with a message
// and the program goes on.
void guarded(const std::function<void()>& handler);

// The questions of a spreadsheet application, asked through the message service.
store::AlertHook alertsThroughMessages();

} // namespace app
