#pragma once

#include "app/OfficeLock.h"
#include "common/Shop.h"

#include <QLockFile>
#include <QObject>
#include <memory>
#include <optional>

namespace app {

class Form1;
class Form10;

// One run of the program on one program folder: start-up, the login window, the main window,
// the end.
class Program : public QObject {
    Q_OBJECT
public:
    explicit Program(const QString& folder, QObject* parent = nullptr);
    ~Program() override;

    // Checks what the windows need, takes the folder for this copy of the program, opens
    // Danni.xls and shows the login window. False, with the reason told to the user and no
    // window open, when any of it fails.
    bool start();

    Shop& shop() { return shop_; }
    Form10* loginWindow() const { return form10_.get(); }
    Form1* mainWindow() const { return form1_.get(); }

    // Ends the program as its exit does, whichever window is open: asked for by the system
    // (a termination signal, the desktop's logout or shutdown).
    void endNow();

    // The name of the file that marks a program folder as taken by a running copy.
    static QString lockFileName();

signals:
    // The program has ended: the login was given up or the main window closed.
    void finished();

private:
    QString lockFolder();
    // Tells the shop keeper when an office program seems to hold Danni.xls open; true then.
    bool warnOfOtherHolders();
    // Opens Danni.xls; when it is damaged, offers to put the newest readable archive copy back.
    QString openDataWorkbook();
    // Why Danni.xls could not be opened, or nothing when it was.
    std::optional<QString> readDataWorkbook();
    // Asks whether the newest readable archive copy should replace the damaged Danni.xls and puts
    // it back when so; false when there is none or the answer is no. Throws store::Error when it
    // cannot be put back.
    bool putBackNewestCopy(const QString& damage);
    void showMainWindow();
    void end();

    Shop shop_;
    QLockFile lock_;
    OfficeLock officeLock_;
    std::unique_ptr<Form10> form10_;
    std::unique_ptr<Form1> form1_;
    bool ended_ = false;
};

} // namespace app
