#include "common/Shop.h"

#include "common/Messages.h"
#include "common/ProgramFolder.h"
#include "common/ShopError.h"
#include "store/ProgramFiles.h"
#include "store/StoreError.h"
#include "store/window/WorkbookWindow.h"

#include <QDir>
#include <QFileInfo>
#include <utility>

namespace app {

Shop::Shop(const QString& folder)
    : places(inFolder(folder, store::kSettingsFile)), arhiv(inFolder(folder, store::kDataFile)), folder_(folder)
{
}

QString Shop::file(const QString& name) const
{
    return inFolder(folder_, name);
}

store::Workbook& Shop::danni() const
{
    store::Workbook* workbook = danniIfOpen();
    if (!workbook) throw store::Error(ShopError::DataFileClosed, {store::kDataFile});
    return *workbook;
}

store::Workbook* Shop::danniIfOpen() const
{
    return ObektEksel ? ObektEksel->ActiveWorkbook() : nullptr;
}

store::Currency Shop::currency() const
{
    return danniIfOpen() ? data().currency() : store::Currency::Leva;
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
    application->setSaveWrapper([this](store::Workbook& workbook, const std::function<void()>& write) {
        if (workbook.FullName() == arhiv.dataFile())
            writeDanni(workbook, write);
        else
            write();
    });
    const DiskVersion read = diskVersionOf(file(store::kDataFile));
    application->Workbooks().Open(file(store::kDataFile));
    // The counts the shop works from are formulas: they must be up to date even when the
    // workbook was last saved with its calculation set to manual.
    application->ActiveWorkbook()->calculate();
    store::DataWorkbook(*application->ActiveWorkbook()).indexSheet();
    quitWithoutAsking(ObektEksel);
    ObektEksel = std::move(application);
    danniOnDisk_ = read;
}

void Shop::onReloadWanted(QObject* context, std::function<void()> reload)
{
    reloadContext_ = context;
    reload_ = std::move(reload);
}

void Shop::writeDanni(store::Workbook& workbook, const std::function<void()>& write)
{
    keepOtherProgramsVersion();
    // The goods in the basket are not sold yet: no save counts them as gone from stock.
    if (rowKeeper)
        rowKeeper->writeWithoutHeldChanges(workbook, write);
    else
        write();
    danniOnDisk_ = diskVersionOf(arhiv.dataFile());
}

void Shop::keepOtherProgramsVersion()
{
    if (diskVersionOf(arhiv.dataFile()) == danniOnDisk_) return;
    archive::Copy kept;
    try {
        kept = arhiv.keepMoment();
    } catch (const store::Error& e) {
        throw store::Error(ShopError::OtherVersionNotKept, {store::kDataFile, e.message()});
    }
    const QString changed = QStringLiteral("Файлът с данните „%1“ е променен от друга програма, след като Тервин го "
                                           "прочете. Версията на другата програма е запазена като архивно копие от %2.")
                                .arg(store::kDataFile, archive::whenTaken(kept));
    if (!reloadContext_) {
        warning(changed + QStringLiteral("\n\nТервин записва своите данни; версията на другата програма остава в архива."));
        return;
    }
    if (!askYesNo(changed + QStringLiteral("\n\nДа се заредят ли данните, както ги е оставила другата програма?\n"
                                           "„Да“: Тервин ги зарежда, а промяната, която записваше сега, не се записва.\n"
                                           "„Не“: Тервин записва своите данни върху тях; версията на другата програма "
                                           "остава в архива.")))
        return;
    QMetaObject::invokeMethod(reloadContext_, reload_, Qt::QueuedConnection);
    throw store::Error(ShopError::ReloadingOtherVersion);
}

std::unique_ptr<store::Application> Shop::newApplication() const
{
    auto application = std::make_unique<store::Application>();
    application->setAlertHook(alertsThroughMessages());
    application->setWindowHook(store::window::workbookWindowHook(
        {&warning, &confirm}, [this](const QString& path) { return refusalToWrite(path); }));
    return application;
}

namespace {

// The path with the links of its folders resolved, whether the file exists yet or not.
QString resolved(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists()) return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + QLatin1Char('/') + info.fileName();
}

} // namespace

QString Shop::refusalToWrite(const QString& path) const
{
    const QString target = resolved(path);
    const std::pair<QString, QString> kept[] = {{store::kDataFile, QStringLiteral("данните на магазина")},
                                               {store::kInvoiceFile, QStringLiteral("формата на фактурата")}};
    for (const auto& [name, what] : kept) {
        if (target == resolved(file(name)))
            return QStringLiteral("Във файла „%1“ се пазят %2: той не може да бъде заменен оттук.\n"
                                  "Изберете друго име или друга папка.")
                .arg(QDir::toNativeSeparators(path), what);
    }
    const std::pair<QString, QString> keptFolders[] = {{arhiv.folder(), QStringLiteral("архивните копия на данните")},
                                                      {file(store::kInvoiceFolder), QStringLiteral("издадените фактури")},
                                                      {file(store::kLedgerFolder), QStringLiteral("старите години на дневниците")}};
    for (const auto& [folder, what] : keptFolders) {
        if (target.startsWith(resolved(folder) + QLatin1Char('/')))
            return QStringLiteral("В папката „%1“ програмата пази %2: там не се записва оттук.\n"
                                  "Изберете друга папка.")
                .arg(QDir::toNativeSeparators(folder), what);
    }
    return {};
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
