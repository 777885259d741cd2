#include "app/Form14.h"

#include "common/Controls.h"
#include "common/Messages.h"
#include "common/Shop.h"
#include "common/Twips.h"
#include "common/WindowKeys.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>

namespace app {

namespace {

constexpr int kFormNumber = 14;

} // namespace

Form14::Form14(Shop& shop, PutBack putBack, QWidget* parent)
    : QWidget(parent), shop_(shop), putBack_(std::move(putBack))
{
    setObjectName(QStringLiteral("Form14"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Архивни копия"));
    setFixedSize(px(9000), px(5280));
    List1 = placed(new QListWidget(this), QStringLiteral("List1"), twipsRect(240, 240, 8520, 4080));
    Command1 = placed(new QPushButton(QStringLiteral("&Възстанови"), this), QStringLiteral("Command1"),
                           twipsRect(240, 4500, 1800, 495));
    Command2 = placed(new QPushButton(QStringLiteral("&Затвори"), this), QStringLiteral("Command2"),
                           twipsRect(6960, 4500, 1800, 495));
    connect(Command1, &QPushButton::clicked, this, [this] { guarded([this] { Vazstanovi(); }); });
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
    (new WindowKeys(this))->enterPresses(Command1);
    shop.windows.declare(kFormNumber, this);
    shop.windows.closeFor(Closer::Archive);
    ZarediKopia();
}

void Form14::ZarediKopia()
{
    // Each copy is read whole the first time; a big shop's archive takes a moment.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    List1->clear();
    for (const archive::Copy& copy : shop_.arhiv.copies()) {
        const std::optional<archive::Contents> contents = shop_.arhiv.contentsOf(copy);
        auto* item = new QListWidgetItem(shop_.arhiv.line(copy, contents), List1);
        item->setData(kStampRole, copy.stamp);
        item->setData(kDamagedRole, !contents.has_value());
        if (!contents) item->setForeground(Qt::darkRed);
    }
    QApplication::restoreOverrideCursor();
    if (List1->count() == 0) {
        auto* item = new QListWidgetItem(QStringLiteral("Още няма архивни копия: първото се прави преди първото записване за деня."), List1);
        item->setFlags(Qt::NoItemFlags);
    }
}

void Form14::Vazstanovi()
{
    const QListWidgetItem* item = List1->currentItem();
    if (!item || !(item->flags() & Qt::ItemIsSelectable)) {
        warning(QStringLiteral("Изберете от списъка копието, което да бъде възстановено."));
        return;
    }
    const std::optional<archive::Copy> copy = shop_.arhiv.find(item->data(kStampRole).toString());
    if (!copy) {
        warning(QStringLiteral("Това копие вече не е в архива."));
        ZarediKopia();
        return;
    }
    if (item->data(kDamagedRole).toBool()) {
        warning(damaged(*copy));
        return;
    }
    const QString question = QStringLiteral("Данните на магазина ще бъдат заменени с архивното копие от %1.\n"
                                            "Сегашните данни се запазват в архива и могат да бъдат върнати оттам.\n\n"
                                            "Да бъде ли възстановено копието?")
                                 .arg(whenTaken(*copy));
    if (!confirm(question)) return;
    putBack_(*copy);
    ZarediKopia();
}

} // namespace app
