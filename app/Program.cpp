#include "app/Program.h"

#include "app/Form1.h"
#include "app/Form10.h"
#include "app/Startup.h"
#include "common/Messages.h"
#include "common/ProgramFolder.h"
#include "store/ProgramFiles.h"
#include "store/StoreError.h"

#include <QDir>

namespace app {

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString unreadable(const QString& path, const QString& reason)
{
    return QStringLiteral("Файлът с данните на магазина „%1“ не може да бъде прочетен.\n%2").arg(native(path), reason);
}

} // namespace

Program::Program(const QString& folder, QObject* parent)
    : QObject(parent), shop_(folder), lock_(inFolder(folder, lockFileName())), officeLock_(shop_.file(store::kDataFile))
{
    // A copy that is still running keeps its folder however long it runs; one that crashed
    // is recognised by its process number.
    lock_.setStaleLockTime(0);
}

Program::~Program()
{
    // Windows first: they reach the shop while they go.
    form1_.reset();
    form10_.reset();
}

QString Program::lockFileName()
{
    return store::kLockFile;
}

bool Program::start()
{
    QString problem = RegistriraiKontroli();
    if (problem.isEmpty()) problem = lockFolder();
    if (problem.isEmpty()) problem = openDataWorkbook();
    if (!problem.isEmpty()) {
        quitWithoutAsking(shop_.ObektEksel);
        if (lock_.isLocked()) lock_.unlock();
        failure(QStringLiteral("Програмата не може да започне работа.\n\n") + problem);
        return false;
    }
    // Another program's lock is left as it is: that program removes it when it closes the file.
    if (!warnOfOtherHolders()) officeLock_.take();
    form10_ = std::make_unique<Form10>(shop_);
    shop_.windows.declare(10, form10_.get());
    connect(form10_.get(), &Form10::loggedIn, this, &Program::showMainWindow);
    connect(form10_.get(), &Form10::cancelled, this, &Program::end);
    form10_->load();
    form10_->show();
    return true;
}

QString Program::lockFolder()
{
    if (lock_.tryLock(0)) return {};
    if (lock_.error() != QLockFile::LockFailedError && diskFull(shop_.folder()))
        return QStringLiteral("Дискът е пълен: в папката на програмата „%1“ не може да се запише нищо, а там се пазят "
                              "данните на магазина. Освободете място на диска и стартирайте програмата отново.")
            .arg(native(shop_.folder()));
    switch (lock_.error()) {
    case QLockFile::LockFailedError:
        return QStringLiteral("Програмата вече работи с данните от папката „%1“. Второ копие не може да се отвори "
                              "върху същите данни, защото би записало върху промените на първото.")
            .arg(native(shop_.folder()));
    case QLockFile::PermissionError:
        return QStringLiteral("В папката на програмата „%1“ не може да се пише, а там се пазят данните на магазина.")
            .arg(native(shop_.folder()));
    default:
        return QStringLiteral("Файлът „%1“ не може да бъде създаден в папката на програмата.")
            .arg(native(inFolder(shop_.folder(), lockFileName())));
    }
}

QString Program::openDataWorkbook()
{
    const QString path = shop_.file(store::kDataFile);
    if (!ImaFail(path)) return QStringLiteral("Липсва файлът с данните на магазина „%1“.").arg(native(path));
    std::optional<QString> damage = readDataWorkbook();
    try {
        if (damage && putBackNewestCopy(*damage)) damage = readDataWorkbook();
    } catch (const store::Error& e) {
        return unreadable(path, *damage) + QStringLiteral("\n\n") + e.message();
    }
    return damage ? unreadable(path, *damage) : QString();
}

bool Program::putBackNewestCopy(const QString& damage)
{
    const std::optional<archive::Copy> copy = shop_.arhiv.newestReadable();
    if (!copy) return false;
    const QString question = QStringLiteral("Файлът с данните на магазина „%1“ е повреден:\n%2\n\n"
                                            "Най-новото здраво архивно копие е от %3. Да бъде ли възстановено?\n"
                                            "Повреденият файл се запазва в архива.")
                                 .arg(native(shop_.file(store::kDataFile)), damage, archive::whenTaken(*copy));
    if (!askYesNo(question)) return false;
    shop_.arhiv.putBack(*copy);
    return true;
}

std::optional<QString> Program::readDataWorkbook()
{
    try {
        shop_.openDanni();
    } catch (const store::Error& e) {
        return e.message();
    }
    return std::nullopt;
}

void Program::showMainWindow()
{
    form1_ = std::make_unique<Form1>(shop_);
    connect(form1_.get(), &Form1::unloaded, this, &Program::end);
    form1_->load();
}

void Program::endNow()
{
    if (form1_ && form1_->isVisible())
        form1_->close();
    else
        end();
}

bool Program::warnOfOtherHolders()
{
    const QString holder = officeLock_.heldElsewhere();
    if (holder.isEmpty()) return false;
    warning(QStringLiteral("Файлът с данните „%1“ изглежда отворен и в друга програма: %2.\n\n"
                           "Затворете я, преди да работите с Тервин. Ако тя запише файла, Тервин ще го забележи "
                           "при следващото записване и ще попита коя версия да остане.")
                .arg(store::kDataFile, holder));
    return true;
}

void Program::end()
{
    if (ended_) return;
    ended_ = true;
    officeLock_.release();
    if (lock_.isLocked()) lock_.unlock();
    emit finished();
}

} // namespace app
