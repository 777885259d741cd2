#pragma once

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace app {

// A barcode scanner is a keyboard that types its code faster than a person types and ends it with
// Enter. Watching the keys of one window, whatever control of it has the focus: letters and digits
// are held back while each follows the one before within the gap. When at least the shortest
// code's worth of them ends in Enter, they were a scan: scanned() tells the code, and no control
// sees a key of it. Anything else (a slower key, another key, a pause as long as the gap) shows
// they were typed: they go on, in order, to the controls they were typed into.
class ScannerKeys : public QObject {
    Q_OBJECT
public:
    static constexpr int kGapMs = 50;
    static constexpr int kShortestCode = 6;

    explicit ScannerKeys(QWidget* window);
    ~ScannerKeys() override;

    // The clock the keys are timed by, in milliseconds; the system's steady clock unless set.
    void setClock(std::function<qint64()> clock) { clock_ = std::move(clock); }

signals:
    void scanned(const QString& code);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct HeldKey {
        QPointer<QObject> target;
        std::unique_ptr<QKeyEvent> event;
    };

    // The keys held back go on to their controls.
    void release();
    QString heldCode() const;

    QWidget* window_;
    std::function<qint64()> clock_;
    QElapsedTimer steady_;
    QTimer pause_;
    std::vector<HeldKey> held_;
    qint64 lastKey_ = 0;
    bool releasing_ = false;
};

} // namespace app
