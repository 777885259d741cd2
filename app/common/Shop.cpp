#include "app/common/Shop.h"

#include "app/common/Messages.h"
#include "app/common/ProgramFolder.h"
#include "store/StoreError.h"
#include "store/window/WorkbookWindow.h"

namespace app {

Shop::Shop(const QString& folder) : folder_(folder) {}

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

bool Shop::hasArticles() const
{
    return data().counter(store::layout::index::kSheetCount) > 1;
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
