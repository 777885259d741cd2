// The controls of the main window and where they stand, in twips (15 to a pixel).
#include "app/Form1.h"

#include "app/Pictures.h"
#include "common/Controls.h"
#include "common/Shop.h"
#include "common/Twips.h"
#include "sales/KoshnicaView.h"
#include "store/window/KeyTip.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QApplication>
#include <QProxyStyle>
#include <QRadioButton>
#include <QShortcut>
#include <QStyleFactory>

namespace app {

namespace {

constexpr std::array<int, 3> kSlotLeft{4560, 6720, 8880};
constexpr int kSlotSide = 1995;
constexpr int kProcedureLeft = -1215;   // left of the visible area: only code presses these

QPushButton* button(QWidget* area, const QString& name, const QString& caption, QRect rect)
{
    return placed(new QPushButton(caption, area), name, rect);
}

QLabel* label(QWidget* area, const QString& name, const QString& caption, QRect rect, Qt::Alignment align = Qt::AlignLeft)
{
    QLabel* l = placed(new QLabel(caption, area), name, rect);
    l->setAlignment(align | Qt::AlignVCenter);
    return l;
}

ClickLabel* pictureButton(QWidget* area, const QString& name, QRect rect, const QPixmap& picture)
{
    ClickLabel* l = placed(new ClickLabel({}, area), name, rect);
    l->setPixmap(picture);
    l->setScaledContents(true);
    l->setCursor(Qt::PointingHandCursor);
    return l;
}

void paintBackground(QWidget* w, const QColor& colour)
{
    QPalette palette = w->palette();
    palette.setColor(QPalette::Window, colour);
    w->setPalette(palette);
    w->setAutoFillBackground(true);
}

QLineEdit* bannerLine(QWidget* area, const QString& name, const QString& text)
{
    auto* line = new QLineEdit(text, area);
    line->setObjectName(name);
    line->setReadOnly(true);
    line->setFrame(false);
    line->setFocusPolicy(Qt::NoFocus);
    QFont font = line->font();
    font.setPixelSize(22);
    font.setBold(true);
    line->setFont(font);
    line->setStyleSheet(QStringLiteral("QLineEdit { background: rgb(200,232,255); color: rgb(170,40,90); }"));
    return line;
}

// Pressed only by the program itself: out of sight, out of the tab order.
QPushButton* procedureButton(QWidget* area, const QString& name, const QString& caption, int top)
{
    QPushButton* b = placed(new QPushButton(caption, area), name, twipsRect(kProcedureLeft, top, 1215, 480));
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

// Alt alone opens the menu bar, whatever the desktop's style does.
class AltOpensMenus : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* returned) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation || hint == SH_UnderlineShortcut) return 1;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

QAction* entry(QMenu* menu, const QString& name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

} // namespace

void Form1::buildCommandRow(QWidget* area)
{
    Command3 = button(area, QStringLiteral("Command3"), QStringLiteral("На&чало"), twipsRect(120, 120, 1200, 420));
    Command2 = button(area, QStringLiteral("Command2"), QStringLiteral("Со&ртиране"), twipsRect(1380, 120, 1320, 420));
    Command4 = button(area, QStringLiteral("Command4"), QStringLiteral("Търс&ене"), twipsRect(2760, 120, 1200, 420));
    Command5 = button(area, QStringLiteral("Command5"), QStringLiteral("Добави сто&ка"), twipsRect(4020, 120, 1560, 420));
    Command7 = button(area, QStringLiteral("Command7"), QStringLiteral("Добави &артикул"), twipsRect(5640, 120, 1680, 420));
    Command8 = button(area, QStringLiteral("Command8"), QStringLiteral("Изтрий артику&л"), twipsRect(7380, 120, 1680, 420));
    Command11 = button(area, QStringLiteral("Command11"), QStringLiteral("Калкулат&ор"), twipsRect(9120, 120, 1380, 420));
    Label22 = label(area, QStringLiteral("Label22"), {}, twipsRect(10560, 180, 1320, 300), Qt::AlignRight);
    // Under the command row, clear of the article list and the showcase.
    evroNotice = label(area, QStringLiteral("evroNotice"), {}, twipsRect(120, 660, 11760, 540));
    evroNotice->setWordWrap(true);
    evroNotice->setStyleSheet(QStringLiteral("QLabel { background: rgb(255,244,200); color: rgb(120,70,0); padding: 0 4px; }"));
    evroNotice->setVisible(false);
}

void Form1::buildShowcase(QWidget* area)
{
    List1 = placed(new QListView(area), QStringLiteral("List1"), twipsRect(120, 1320, 4080, 2760));
    const std::array<QString, 3> names{QStringLiteral("Музикален телефон"), QStringLiteral("Чесалка"), QStringLiteral("Дрънкалка")};
    const std::array<QString, 3> prices{QStringLiteral("5,50"), QStringLiteral("3,00"), QStringLiteral("4,00")};
    const std::array<std::array<int, 5>, 3> numbers{{{4, 3, 2, 18, 12}, {6, 7, 8, 19, 13}, {9, 10, 11, 20, 14}}};
    std::array<std::array<QLabel*, 4>, 3> labels{};
    std::array<ClickLabel*, 3> links{};
    for (size_t k = 0; k < 3; ++k) {
        const int left = kSlotLeft[k];
        const auto name = [&](int i) { return QStringLiteral("Label%1").arg(numbers[k][size_t(i)]); };
        links[k] = placed(new ClickLabel(QStringLiteral("  Детайли"), area), name(4), twipsRect(left, 1320, kSlotSide, 240));
        links[k]->setCursor(Qt::PointingHandCursor);
        links[k]->setStyleSheet(QStringLiteral("color: rgb(20,90,200); text-decoration: underline;"));
        Image1[k] = placed(new ImageBox(area), QStringLiteral("Image1(%1)").arg(k), twipsRect(left, 1560, kSlotSide, kSlotSide));
        labels[k][0] = label(area, name(0), names[k], twipsRect(left, 3720, kSlotSide, 555), Qt::AlignHCenter);
        labels[k][0]->setWordWrap(true);
        labels[k][1] = label(area, name(1), QStringLiteral("цена:"), twipsRect(left, 4320, 600, 285));
        labels[k][2] = label(area, name(2), prices[k], twipsRect(left + 600, 4320, 930, 285), Qt::AlignRight);
        labels[k][3] = label(area, name(3), store::currencySign(shop_.currency()), twipsRect(left + 1590, 4320, 405, 285));
    }
    Label4 = labels[0][0]; Label3 = labels[0][1]; Label2 = labels[0][2]; Label18 = labels[0][3]; Label12 = links[0];
    Label6 = labels[1][0]; Label7 = labels[1][1]; Label8 = labels[1][2]; Label19 = labels[1][3]; Label13 = links[1];
    Label9 = labels[2][0]; Label10 = labels[2][1]; Label11 = labels[2][2]; Label20 = labels[2][3]; Label14 = links[2];
    const QSize arrowSize = twipsRect(0, 0, 480, 480).size();
    Image3 = pictureButton(area, QStringLiteral("Image3"), twipsRect(4560, 4740, 480, 480), pictures::arrow(arrowSize, true));
    Image3->setToolTip(QStringLiteral("Предишните стоки"));
    Image6 = pictureButton(area, QStringLiteral("Image6"), twipsRect(10395, 4740, 480, 480), pictures::arrow(arrowSize, false));
    Image6->setToolTip(QStringLiteral("Следващите стоки"));
}

void Form1::buildBanner(QWidget* area)
{
    // The picture first: the lower text line lies over its top edge.
    Image4 = placed(new ImageBox(area), QStringLiteral("Image4"), twipsRect(4440, 2280, 6615, 4935));
    Image4->setPicture(pictures::welcome(Image4->size()));
    Text1 = bannerLine(area, QStringLiteral("Text1"), QStringLiteral("        Добре дошли в нашият"));
    Text2 = bannerLine(area, QStringLiteral("Text2"), QStringLiteral("       тервин за детски стоки"));
}

void Form1::buildDetailsPanel(QWidget* area)
{
    Label21 = placed(new QLabel(area), QStringLiteral("Label21"), twipsRect(4340, 1320, 6925, 3955));
    Label21->setFrameShape(QFrame::Box);
    paintBackground(Label21, QColor(255, 250, 235));
    Image5 = placed(new ImageBox(area), QStringLiteral("Image5"), twipsRect(4440, 1560, 3855, 3615));
    Text3 = placed(new TextBox(area), QStringLiteral("Text3"), twipsRect(8295, 1680, 2880, 3495));
    const QRect closeRect = twipsRect(10928, 1328, 330, 330);
    Image2 = pictureButton(area, QStringLiteral("Image2"), closeRect, pictures::closeCross(closeRect.size()));
    Image2->setToolTip(QStringLiteral("Затвори детайлите (Esc)"));
}

void Form1::buildSalePanel(QWidget* area)
{
    Label15 = placed(new QLabel(area), QStringLiteral("Label15"), twipsRect(120, 4200, 4080, 3780));
    Label15->setFrameShape(QFrame::Box);
    paintBackground(Label15, QColor(235, 245, 255));
    Label16 = label(area, QStringLiteral("Label16"), QStringLiteral("фактура"), twipsRect(240, 4320, 900, 285));
    Option1 = placed(new QRadioButton(QStringLiteral("да"), area), QStringLiteral("Option1"), twipsRect(1200, 4305, 720, 315));
    Option2 = placed(new QRadioButton(QStringLiteral("не"), area), QStringLiteral("Option2"), twipsRect(1980, 4305, 720, 315));
    const QRect closeRect = twipsRect(3780, 4260, 330, 330);
    Image7 = pictureButton(area, QStringLiteral("Image7"), closeRect, pictures::closeCross(closeRect.size()));
    Image7->setToolTip(QStringLiteral("Затвори продажбата (Esc)"));
    // The stock list is wide enough for its scroll bar and a four-digit count.
    List2 = placed(new QListView(area), QStringLiteral("List2"), twipsRect(240, 4740, 1740, 2400));
    List3 = placed(new QListView(area), QStringLiteral("List3"), twipsRect(2040, 4740, 960, 2400));
    Combo1 = placed(new QComboBox(area), QStringLiteral("Combo1"), twipsRect(3060, 4740, 1020, 345));
    Combo1->addItem(QStringLiteral("Брой"));
    const QRect basketRect = twipsRect(3300, 5220, 540, 540);
    Image8 = pictureButton(area, QStringLiteral("Image8"), basketRect, pictures::addToBasket(basketRect.size()));
    Image8->setToolTip(QStringLiteral("Добави стока"));
    const QRect undoRect = twipsRect(3300, 5880, 540, 540);
    Image9 = pictureButton(area, QStringLiteral("Image9"), undoRect, pictures::undoLast(undoRect.size()));
    // The caption is kept letter for letter as the shop has always seen it.
    Image9->setToolTip(QStringLiteral("Откажи последнoто добавено"));
    Text4 = placed(new QLineEdit(area), QStringLiteral("Text4"), twipsRect(3300, 6540, 540, 345));
    Text4->setReadOnly(true);
    Text4->setFocusPolicy(Qt::NoFocus);
    Text4->setAlignment(Qt::AlignCenter);
    Command1 = button(area, QStringLiteral("Command1"), QStringLiteral("Продажба"), twipsRect(240, 7320, 1800, 480));
    Command9 = procedureButton(area, QStringLiteral("Command9"), QStringLiteral("Документ"), 2520);
}

// Under the showcase arrows, clear of the sale panel; shown with it.
void Form1::buildBasketPanel(QWidget* area)
{
    koshnica = placed(new sales::KoshnicaView(area), QStringLiteral("koshnicaPanel"), twipsRect(4560, 5340, 7320, 2660));
}

void Form1::buildProcedureButtons(QWidget* area)
{
    Command6 = procedureButton(area, QStringLiteral("Command6"), QStringLiteral("Налични"), 1320);
    Command10 = procedureButton(area, QStringLiteral("Command10"), QStringLiteral("Справка продажби"), 1920);
}

void Form1::buildMenus()
{
    const auto menu = [this](const QString& name, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(name);
        return m;
    };
    Nalichnost = menu(QStringLiteral("Nalichnost"), QStringLiteral("&Наличност"));
    Nachalo = entry(Nalichnost, QStringLiteral("Nachalo"), QStringLiteral("&начало"));
    nastoka = entry(Nalichnost, QStringLiteral("nastoka"), QStringLiteral("&липсващи стоки"));
    Sortirane = menu(QStringLiteral("Sortirane"), QStringLiteral("&Сортиране"));
    poimesort = entry(Sortirane, QStringLiteral("poimesort"), QStringLiteral("по &име"));
    pocenasort = entry(Sortirane, QStringLiteral("pocenasort"), QStringLiteral("по &цена"));
    Tyrsene = menu(QStringLiteral("Tyrsene"), QStringLiteral("&Търсене"));
    poime = entry(Tyrsene, QStringLiteral("poime"), QStringLiteral("по &име"));
    pocena = entry(Tyrsene, QStringLiteral("pocena"), QStringLiteral("по &цена"));
    napromocia = entry(Tyrsene, QStringLiteral("napromocia"), QStringLiteral("на &промоция"));
    Dobavi = menu(QStringLiteral("Dobavi"), QStringLiteral("&Добави"));
    artikuldob = entry(Dobavi, QStringLiteral("artikuldob"), QStringLiteral("&артикул"));
    stokadob = entry(Dobavi, QStringLiteral("stokadob"), QStringLiteral("&стока"));
    Spravki = menu(QStringLiteral("Spravki"), QStringLiteral("С&правка"));
    prodadenistoki = entry(Spravki, QStringLiteral("prodadenistoki"), QStringLiteral("&продадени стоки"));
    zakupenistoki = entry(Spravki, QStringLiteral("zakupenistoki"), QStringLiteral("&закупени стоки"));
    Pechalba = entry(Spravki, QStringLiteral("Pechalba"), QStringLiteral("п&ечалба"));
    zaporachka = entry(Spravki, QStringLiteral("zaporachka"), QStringLiteral("За по&ръчка"));
    vrashtane = entry(Spravki, QStringLiteral("vrashtane"), QStringLiteral("&Връщане на стока"));
    fakturi = entry(Spravki, QStringLiteral("fakturi"), QStringLiteral("издадени &фактури"));
    Iztrii = menu(QStringLiteral("Iztrii"), QStringLiteral("&Изтрий"));
    artikul = entry(Iztrii, QStringLiteral("artikul"), QStringLiteral("&артикул"));
    stoka = entry(Iztrii, QStringLiteral("stoka"), QStringLiteral("&стока"));
    ZaProgramata = menu(QStringLiteral("ZaProgramata"), QStringLiteral("&За програмата"));
    obshto = entry(ZaProgramata, QStringLiteral("obshto"), QStringLiteral("&общо"));
    poveche = entry(ZaProgramata, QStringLiteral("poveche"), QStringLiteral("по&вече"));
    arhiv = entry(ZaProgramata, QStringLiteral("arhiv"), QStringLiteral("а&рхивни копия"));
    evro = entry(ZaProgramata, QStringLiteral("evro"), QStringLiteral("Преминаване към &евро"));
    izhod = entry(ZaProgramata, QStringLiteral("izhod"), QStringLiteral("и&зход"));
}

void Form1::buildMenuKeys()
{
    auto* style = new AltOpensMenus(QStyleFactory::create(QApplication::style()->name()));
    style->setParent(menuBar());
    menuBar()->setStyle(style);
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this, [this] {
        menuBar()->setFocus(Qt::MenuBarFocusReason);
        menuBar()->setActiveAction(menuBar()->actions().constFirst());
    });
    poime->setShortcut(QKeySequence::Find);
    // Escape closes what lies on top: the details, else the sale panel.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (Image2->isVisible())
            emit Image2->clicked();
        else if (Image7->isVisible())
            emit Image7->clicked();
    });
    Command4->setToolTip(store::window::withKey(QStringLiteral("Търсене по име"), poime->shortcut()));
}

void Form1::orderTabStops()
{
    const std::vector<QWidget*> stops{Command3, Command2, Command4, Command5, Command7, Command8, Command11,
                                      List1, Label12, Label13, Label14, Image2, Text3, Image3, Image6,
                                      Option1, Option2, Image7, List2, List3, Combo1, Image8, Image9, Command1, koshnica};
    for (size_t i = 1; i < stops.size(); ++i) QWidget::setTabOrder(stops[i - 1], stops[i]);
}

} // namespace app
