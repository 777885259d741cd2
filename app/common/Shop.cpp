#include "app/common/Shop.h"

#include "app/common/Messages.h"
#include "app/common/ProgramFolder.h"
#include "store/StoreError.h"
#include "store/window/WorkbookWindow.h"

namespace app {

Shop::Shop(const QString& folder) : arhiv(inFolder(folder, kDataFile)), folder_(folder) {}

QString Shop::file(const QString& name) const
{
    return inFolder(folder_, name);
}

store::Workbook& Shop::danni() const
{
    store::Workbook* workbook = ObektEksel ? ObektEksel->ActiveWorkbook() : nullptr;
    if (!workbook) throw store::Error(QStringLiteral("Файлът с данните %1 вече е затворен.").arg(kDataFile));
    return *workbook;
}

store::Currency Shop::currency() const
{
    return ObektEksel && ObektEksel->ActiveWorkbook() ? data().currency() : store::Currency::Leva;
}

bool Shop::hasArticles() const
{
    return data().counter(store::layout::index::kSheetCount) > 1;
}

void Shop::openDanni()
{
    auto application = newApplication();
    application->setSaveHook([this](const store::Workbook& workbook) {
        if (workbook.FullName() != arhiv.dataFile()) return;
        arhiv.beforeSave([](const QString& problem) {
            warning(QStringLiteral("Архивното копие на данните за днес не може да бъде направено.\n%1\n\n"
                                   "Данните се записват и без него; копието ще бъде опитано пак при следващото записване.")
                        .arg(problem));
        });
    });
    // The goods in the basket are not sold yet: no save counts them as gone from stock.
    application->setSaveWrapper([this](store::Workbook& workbook, const std::function<void()>& write) {
        if (rowKeeper && workbook.FullName() == arhiv.dataFile())
            rowKeeper->writeWithoutHeldChanges(workbook, write);
        else
            write();
    });
    application->Workbooks().Open(file(kDataFile));
    // The counts the shop works from are formulas: they must be up to date even when the
    // workbook was last saved with its calculation set to manual.
    application->ActiveWorkbook()->calculate();
    store::DataWorkbook(*application->ActiveWorkbook()).indexSheet();
    quitWithoutAsking(ObektEksel);
    ObektEksel = std::move(application);
}

std::unique_ptr<store::Application> Shop::newApplication()
{
    auto application = std::make_unique<store::Application>();
    application->setAlertHook(alertsThroughMessages());
    application->setWindowHook(store::window::workbookWindowHook({&warning, &confirm}));
    return application;
}

void quitWithoutAsking(std::unique_ptr<store::Application>& application)
{
    if (!application) return;
    try {
        application->DisplayAlerts = false;
        application->Quit();
    } catch (...) {
        // Closing goes on whatever the application says.
    }
    application.reset();
}

void ZatvoriEksel(Shop& shop)
{
    quitWithoutAsking(shop.ObektEksel);
    quitWithoutAsking(shop.FakturaEksel);
}

} // namespace app
