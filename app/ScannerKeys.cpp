#include "app/ScannerKeys.h"

#include <QApplication>
#include <QWidget>

namespace app {

namespace {

constexpr Qt::KeyboardModifiers kTypingModifiers = Qt::ShiftModifier | Qt::KeypadModifier;
constexpr Qt::KeyboardModifiers kKeypad = Qt::KeypadModifier;

// A key a scanner types within a code: one letter or digit, at most shifted.
bool isCodeKey(const QKeyEvent& key)
{
    return !key.isAutoRepeat() && !(key.modifiers() & ~kTypingModifiers) && key.text().size() == 1
           && key.text().front().isLetterOrNumber();
}

bool isEnter(const QKeyEvent& key)
{
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) && !(key.modifiers() & ~kKeypad);
}

} // namespace

ScannerKeys::ScannerKeys(QWidget* window) : QObject(window), window_(window)
{
    steady_.start();
    clock_ = [this] { return steady_.elapsed(); };
    pause_.setSingleShot(true);
    pause_.setInterval(kGapMs);
    connect(&pause_, &QTimer::timeout, this, &ScannerKeys::release);
    qApp->installEventFilter(this);
}

ScannerKeys::~ScannerKeys()
{
    qApp->removeEventFilter(this);
}

bool ScannerKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (releasing_ || event->type() != QEvent::KeyPress || !watched->isWidgetType()
        || static_cast<QWidget*>(watched)->window() != window_)
        return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const qint64 now = clock_();
    const bool inTime = !held_.empty() && now - lastKey_ <= kGapMs;
    lastKey_ = now;
    if (isCodeKey(key)) {
        if (!inTime) release();
        held_.push_back({watched, std::unique_ptr<QKeyEvent>(key.clone())});
        pause_.start();
        return true;
    }
    if (isEnter(key) && inTime && int(held_.size()) >= kShortestCode) {
        const QString code = heldCode();
        held_.clear();
        pause_.stop();
        emit scanned(code);
        return true;
    }
    release();
    return false;
}

void ScannerKeys::release()
{
    pause_.stop();
    std::vector<HeldKey> keys = std::move(held_);
    held_.clear();
    releasing_ = true;
    for (HeldKey& key : keys)
        if (key.target) QCoreApplication::sendEvent(key.target, key.event.get());
    releasing_ = false;
}

QString ScannerKeys::heldCode() const
{
    QString code;
    for (const HeldKey& key : held_) code += key.event->text();
    return code;
}

} // namespace app
