#include "sales/Form8.h"

#include "common/Messages.h"
#include "common/Shop.h"
#include "common/WindowKeys.h"
#include "sales/DialogFields.h"
#include "store/ProgramFiles.h"
#include "store/StoreError.h"

#include <QCloseEvent>
#include <QDir>

namespace sales {

using namespace fields;
using app::twipsRect;

namespace {

constexpr int kFieldWidth = 2040;
constexpr int kCaptionWidth = 1200;

} // namespace

Form8::Form8(app::Shop& shop, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form8"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Данни за Складова/Стокова Разписка"));
    setFixedSize(app::px(7080), app::px(5940));
    buildFields();
    app::useDialogKeys(this);
    shop.windows.declare(8, this);
    shop.windows.closeFor(app::Closer::ReceiptDialog);
    openReceipt(shop);
}

Form8::~Form8()
{
    app::quitWithoutAsking(RazpiskaEksel);
}

void Form8::buildFields()
{
    Label1 = caption(this, 1, QStringLiteral("Разписка   №"), twipsRect(240, 240, 1320, 315));
    Text1 = textBox(this, 1, twipsRect(1560, 240, 1800, 315));
    Label2 = caption(this, 2, QStringLiteral("ДАТА"), twipsRect(3720, 240, 720, 315));
    Text2 = textBox(this, 2, twipsRect(4440, 240, 1800, 315));
    Frame1 = buildFrame(1, QStringLiteral("Получател"), 720,
                        {QStringLiteral("ЕИК"), QStringLiteral("ИН по ЗДДС"), QStringLiteral("ФИРМА"), QStringLiteral("АДРЕС")}, 3);
    const QStringList person{QStringLiteral("Име"), QStringLiteral("Длъжност"), QStringLiteral("Дата")};
    Frame2 = buildFrame(2, QStringLiteral("Предал"), 2010, person, 7);
    Frame3 = buildFrame(3, QStringLiteral("Приел"), 3300, person, 10);
    Frame4 = buildFrame(4, QStringLiteral("Стока"), 4590,
                        {QStringLiteral("мярка"), QStringLiteral("количество"), QStringLiteral("ед. цена")}, 13);
}

// A frame of captioned fields, two to a row, numbered from firstNumber.
QGroupBox* Form8::buildFrame(int frameNumber, const QString& title, int top, const QStringList& captions, int firstNumber)
{
    const int rows = int(captions.size() + 1) / 2;
    QGroupBox* box = frame(this, frameNumber, title, twipsRect(120, top, 6840, 300 + rows * 390 + 90));
    for (int i = 0; i < int(captions.size()); ++i) {
        const int left = 120 + (i % 2) * (kCaptionWidth + kFieldWidth + 120);
        const int y = 300 + (i / 2) * 390;
        caption(box, firstNumber + i, captions[i], twipsRect(left, y, kCaptionWidth, 315));
        textBox(box, firstNumber + i, twipsRect(left + kCaptionWidth, y, kFieldWidth, 315));
    }
    return box;
}

void Form8::openReceipt(app::Shop& shop)
{
    RazpiskaEksel = shop.newApplication();
    const QString path = shop.file(store::kInvoiceFile);
    try {
        RazpiskaEksel->Workbooks().Open(path);
        RazpiskaEksel->setVisible(true);
    } catch (const store::Error& e) {
        app::failure(QStringLiteral("Формата „%1“ не може да бъде отворена: %2")
                         .arg(QDir::toNativeSeparators(path), e.message()));
    }
}

void Form8::closeEvent(QCloseEvent* event)
{
    app::quitWithoutAsking(RazpiskaEksel);
    event->accept();
}

} // namespace sales
