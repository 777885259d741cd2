#include "common/Messages.h"

#include "store/StoreError.h"

#include <QMessageBox>
#include <QPushButton>

namespace app {

namespace {

MessageService* installed = nullptr;

QMessageBox::Icon iconFor(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Confirmation: return QMessageBox::Critical;
    case MessageKind::LoginInfo: return QMessageBox::Information;
    case MessageKind::Question: return QMessageBox::Question;
    case MessageKind::Failure: return QMessageBox::Critical;
    case MessageKind::YesNo: return QMessageBox::Question;
    case MessageKind::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsFor(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Confirmation: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageKind::Question: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageKind::YesNo: return QMessageBox::Yes | QMessageBox::No;
    default: return QMessageBox::Ok;
    }
}

Answer answerFor(int button)
{
    switch (button) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

Answer show(MessageKind kind, const QString& title, const QString& text)
{
    return messageService().show(Message{kind, title, text});
}

} // namespace

Answer BoxMessageService::show(const Message& message)
{
    QMessageBox box(iconFor(message.kind), message.title, message.text, buttonsFor(message.kind));
    box.setWindowModality(Qt::ApplicationModal);
    if (message.kind == MessageKind::YesNo) {
        box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
        box.button(QMessageBox::No)->setText(QStringLiteral("Не"));
        box.setDefaultButton(QMessageBox::No);
    }
    return answerFor(box.exec());
}

MessageService* installMessageService(MessageService* service)
{
    MessageService* previous = installed;
    installed = service;
    return previous;
}

MessageService& messageService()
{
    static BoxMessageService boxes;
    return installed ? *installed : boxes;
}

void warning(const QString& text)
{
    show(MessageKind::Warning, kWarningTitle, text);
}

bool askYesNo(const QString& text)
{
    return show(MessageKind::YesNo, kWarningTitle, text) == Answer::Yes;
}

void inform(const QString& text)
{
    show(MessageKind::Information, kWarningTitle, text);
}

bool confirm(const QString& text)
{
    return show(MessageKind::Confirmation, kWarningTitle, text) == Answer::Ok;
}

void loginInfo(const QString& text)
{
    show(MessageKind::LoginInfo, kWarningTitle, text);
}

Answer askYesNoCancel(const QString& text)
{
    return show(MessageKind::Question, kWarningTitle, text);
}

void failure(const QString& text)
{
    show(MessageKind::Failure, kFailureTitle, text);
}

void guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const store::Error& e) {
        failure(e.message());
    } catch (const std::exception& e) {
        failure(QStringLiteral("Неочаквана грешка: %1").arg(QString::fromLocal8Bit(e.what())));
    }
}

store::AlertHook alertsThroughMessages()
{
    return [](store::Alert alert, const QString& text) {
        if (alert == store::Alert::DeleteSheet)
            return confirm(text) ? store::AlertAnswer::Yes : store::AlertAnswer::No;
        switch (askYesNoCancel(text)) {
        case Answer::Yes: return store::AlertAnswer::Yes;
        case Answer::No: return store::AlertAnswer::No;
        default: return store::AlertAnswer::Cancel;
        }
    };
}

} // namespace app
