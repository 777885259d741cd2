#include "app/Form13.h"

#include "common/Controls.h"
#include "common/Shop.h"
#include "common/Twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace app {

namespace {

QString aboutText()
{
    return QStringLiteral(
        "Автори: екипът, който разработва „Тервин за детски стоки“.\n\n"
        "Тази информационна система е направена с учебна цел.\n\n"
        "Базата от данни се съхранява в екселски файл.\n\n"
        "Изпробвана е и работи с Excel 2003 и под Windows XP.");
}

QLineEdit* readOnlyLine(QWidget* parent, const QString& name, const QString& text, QRect rect)
{
    QLineEdit* line = placed(new QLineEdit(text, parent), name, rect);
    line->setReadOnly(true);
    line->setCursorPosition(0);
    return line;
}

} // namespace

Form13::Form13(Shop& shop, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form13"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("       За програмата"));
    setFixedSize(px(6600), px(4680));
    Label1 = placed(new QLabel(aboutText(), this), QStringLiteral("Label1"), twipsRect(240, 240, 6120, 2400));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    Text1 = readOnlyLine(this, QStringLiteral("Text1"),
                         QStringLiteral("Виж още: ръководството Help.doc в папката на програмата"),
                         twipsRect(240, 2760, 6120, 345));
    Text2 = readOnlyLine(this, QStringLiteral("Text2"),
                         QStringLiteral("Въпроси: отговорите са в Help.doc (меню „повече“)"),
                         twipsRect(240, 3240, 6120, 345));
    Command1 = placed(new QPushButton(QStringLiteral("Затвори"), this), QStringLiteral("Command1"),
                      twipsRect(4800, 3840, 1560, 495));
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);
    shop.windows.declare(13, this);
    shop.windows.closeFor(Closer::About);
}

} // namespace app
