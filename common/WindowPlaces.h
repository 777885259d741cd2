#pragma once

#include <QObject>
#include <QPointer>
#include <QSettings>
#include <QString>

class QWidget;

namespace app {

// Where the windows stand on the screen, kept between runs in an INI file of the program folder:
// a secondary window opens where the shop keeper last put it, or else centred over the main
// window; the main window opens at the size it was left at, maximised if it was.
class WindowPlaces : public QObject {
    Q_OBJECT
public:
    explicit WindowPlaces(const QString& iniFile);

    // The main window: given its last size now, and kept when it hides.
    void followMain(QWidget* mainWindow);
    // A secondary window, kept under `key`: placed each time it shows, kept when it hides.
    void follow(QWidget* window, const QString& key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place(QWidget* window);
    void keep(QWidget* window);
    void restoreMain();

    QSettings settings_;
    QPointer<QWidget> main_;
};

} // namespace app
