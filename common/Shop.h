#pragma once

#include "archive/Arhiv.h"
#include "common/DiskVersion.h"
#include "common/WindowPlaces.h"
#include "common/WindowRegistry.h"
#include "store/Application.h"
#include "store/DataWorkbook.h"
#include "store/RowKeeper.h"

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

namespace app {

// What lives for the whole run, whichever windows come and go: the program folder, the
// spreadsheet application holding Danni.xls (ObektEksel), the one holding Faktura.xls
// (FakturaEksel) and the bookkeeping of the secondary windows.
class Shop {
public:
    explicit Shop(const QString& folder);
    Shop(const Shop&) = delete;
    Shop& operator=(const Shop&) = delete;

    const QString& folder() const { return folder_; }
    // A file or folder of the program folder.
    QString file(const QString& name) const;

    // The data workbook held by ObektEksel; throws store::Error once it has been let go.
    store::Workbook& danni() const;
    // The data workbook; null once it has been let go.
    store::Workbook* danniIfOpen() const;
    store::DataWorkbook data() const { return store::DataWorkbook(danni()); }
    // The shop's currency; leva while no data workbook is open.
    store::Currency currency() const;
    // D1 of the index sheet is above 1: at least one article exists.
    bool hasArticles() const;

    // ObektEksel: a new application holding Danni.xls, whose saves keep the archive (a copy before
    // the day's first save). Throws store::Error when the file cannot be read; the application
    // that was there stays then.
    void openDanni();

    // How the data is read again when the shop keeper chooses another program's version of the
    // file over the one in memory: called from the event loop, after the save it interrupted,
    // while context lives. Without it another program's version is only kept in the archive.
    void onReloadWanted(QObject* context, std::function<void()> reload);

    // A new spreadsheet application whose questions go through the message service and whose
    // workbook shows in the workbook window while the application is visible; the window never
    // writes the files refusalToWrite names. The shop must outlive it.
    std::unique_ptr<store::Application> newApplication() const;

    // Why a workbook window must not write the file: it is the shop's data or invoice form, or
    // lies in the archive folder. Empty when it may be written.
    QString refusalToWrite(const QString& path) const;

    std::unique_ptr<store::Application> ObektEksel;
    std::unique_ptr<store::Application> FakturaEksel;
    WindowPlaces places;
    WindowRegistry windows{places};
    // Who holds rows of article sheets (the basket), asked before rows go and told when they
    // move; null while nobody does.
    store::RowKeeper* rowKeeper = nullptr;
    // The copies of Danni.xls in the folder Arhiv.
    archive::Arhiv arhiv;

private:
    // Before a save of Danni.xls: when another program has written the file since this program
    // read or wrote it, its version goes into the archive and the shop keeper chooses between it
    // and the data in memory. Throws store::Error to stop the save.
    void keepOtherProgramsVersion();
    void writeDanni(store::Workbook& workbook, const std::function<void()>& write);

    QString folder_;
    DiskVersion danniOnDisk_;   // Danni.xls as this program last read or wrote it
    QPointer<QObject> reloadContext_;
    std::function<void()> reload_;
};

// Alerts off, quit, let go; a failure of any step is ignored and the application is let go.
void quitWithoutAsking(std::unique_ptr<store::Application>& application);

// Shuts both spreadsheet applications down without saving; never fails.
void ZatvoriEksel(Shop& shop);

} // namespace app
