#include "catalogue/Form5.h"

#include "catalogue/Katalog.h"
#include "common/Controls.h"
#include "common/Messages.h"
#include "common/Shop.h"
#include "common/Twips.h"
#include "common/WindowKeys.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace catalogue {

Form5::Form5(Katalog& katalog, QWidget* parent) : QWidget(parent), katalog_(katalog)
{
    setObjectName(QStringLiteral("Form5"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Добави артикул"));
    setFixedSize(app::px(4440), app::px(1800));
    Label1 = app::placed(new QLabel(QStringLiteral("Име на артикула"), this), QStringLiteral("Label1"),
                         app::twipsRect(240, 240, 3960, 285));
    Text1 = app::placed(new QLineEdit(this), QStringLiteral("Text1"), app::twipsRect(240, 600, 3960, 345));
    Command1 = app::placed(new QPushButton(QStringLiteral("&Добави"), this), QStringLiteral("Command1"),
                           app::twipsRect(2640, 1140, 1560, 420));
    connect(Command1, &QPushButton::clicked, this, [this] { app::guarded([this] { add(); }); });
    app::useDialogKeys(this, Command1);
    katalog_.shop().windows.declare(5, this);
    katalog_.shop().windows.closeFor(app::Closer::ArticleDialog);
}

void Form5::add()
{
    if (Text1->text().isEmpty()) return;
    katalog_.DobaviArtikul(Text1->text());
}

} // namespace catalogue
