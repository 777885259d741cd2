#pragma once

#include <QString>

namespace app {

// The lock files office programs keep beside a workbook they hold open: LibreOffice's
// ".~lock.Danni.xls#" ("name,user,host,date time,profile;") and Excel's "~$Danni.xls". The program
// writes LibreOffice's while it runs, so that LibreOffice opens the data read-only with a warning,
// and looks for both at start.
class OfficeLock {
public:
    explicit OfficeLock(const QString& dataFile);
    OfficeLock(const OfficeLock&) = delete;
    OfficeLock& operator=(const OfficeLock&) = delete;
    ~OfficeLock();

    // Another program's hold on the file, as the shop keeper is told of it; empty when there is
    // none. A LibreOffice lock this program left behind (it was killed) is no one's hold.
    QString heldElsewhere() const;
    // Writes the lock file as this program's; a failure only means LibreOffice will not know.
    void take();
    // Removes the lock file when it is this program's.
    void release();

    static const QString kOwner;   // the name in the lock file's first field

private:
    QString libreOfficeLock_;
    QString excelLock_;
    bool taken_ = false;
};

} // namespace app
