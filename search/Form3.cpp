// The search dialog: its controls where they stand (twips), its modes and its buttons.
#include "search/Form3.h"

#include "common/Controls.h"
#include "common/Messages.h"
#include "common/Shop.h"
#include "common/Twips.h"
#include "common/WindowKeys.h"
#include "search/Listings.h"
#include "search/NextPicture.h"
#include "search/ResultBox.h"
#include "search/SearchSteps.h"
#include "search/Tyrsene.h"
#include "showcase/core/ShowcaseData.h"
#include "store/window/KeyTip.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QAbstractItemView>
#include <QPushButton>
#include <QRadioButton>

namespace search {

namespace {

const QString kNext = QStringLiteral("&Следващ");
const QString kSearch = QStringLiteral("&Търсене");
constexpr int kRowHeight = 345;

QLabel* label(QWidget* parent, const QString& name, const QString& caption)
{
    QLabel* l = app::placed(new QLabel(caption, parent), name, {});
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

QComboBox* dropDownList(QWidget* parent, const QString& name, QRect rect)
{
    QComboBox* box = app::placed(new QComboBox(parent), name, rect);
    box->setEditable(false);
    return box;
}

QPushButton* nextButton(QWidget* parent, const QString& name)
{
    const QRect rect = app::twipsRect(3840, 240, 1455, 735);
    QPushButton* button = app::placed(new QPushButton(kNext, parent), name, rect);
    button->setIcon(nextPicture(QSize(rect.height() / 2, rect.height() / 2)));
    button->setIconSize(QSize(rect.height() / 2, rect.height() / 2));
    button->setToolTip(store::window::withKey(QStringLiteral("Следващ"), QKeySequence(Qt::Key_F3)));
    return button;
}

} // namespace

Form3::Form3(app::Shop& shop, Tyrsene& steps, const QString& chooserCaption, QWidget* parent)
    : QWidget(parent), shop_(shop), steps_(steps)
{
    setObjectName(QStringLiteral("Form3"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Търсене"));
    build();
    connectControls();
    (new app::WindowKeys(this))->enterPresses([this] { return defaultButton(); });
    Form_Load(chooserCaption);
}

void Form3::build()
{
    // The client area is a little larger than the controls need, so that "Затвори" fits below them
    // and the last currency caption beside its list.
    setFixedSize(app::px(10500), app::px(4560));
    Combo1 = dropDownList(this, QStringLiteral("Combo1"), app::twipsRect(240, 240, 3375, kRowHeight));
    Combo1->setPlaceholderText(kChooserCaption);
    // Laid over the chooser's text part, leaving its arrow free.
    Text4 = app::placed(new QLineEdit(this), QStringLiteral("Text4"), app::twipsRect(240, 240, 3098, kRowHeight));
    Text4->setReadOnly(true);
    Text4->setFocusPolicy(Qt::NoFocus);
    Text4->raise();
    buildFrame();
    Command3 = nextButton(this, QStringLiteral("Command3"));
    Command6 = nextButton(this, QStringLiteral("Command6"));
    buildPriceRow();
    Image1 = app::placed(new app::ImageBox(this), QStringLiteral("Image1"), app::twipsRect(3840, 1080, 2775, 2775));
    Text2 = app::placed(new ResultBox(this), QStringLiteral("Text2"), app::twipsRect(6600, 1080, 3375, 2775));
    Command1 = app::placed(new QPushButton(QStringLiteral("&Затвори"), this), QStringLiteral("Command1"),
                           app::twipsRect(8760, 4020, 1215, 420));
    layPriceRow();
    orderTabs();
}

void Form3::buildFrame()
{
    Frame1 = app::placed(new QGroupBox(QStringLiteral("Покажи"), this), QStringLiteral("Frame1"),
                         app::twipsRect(240, 960, 3375, 2895));
    const std::array<QString, 5> captions{QStringLiteral("&Липсващи стоки"), QStringLiteral("Стоки на &цена"),
                                          QStringLiteral("Стока по &име"), QStringLiteral("&Промоции"),
                                          QStringLiteral("Стока по &баркод")};
    const std::array<int, 5> tops{300, 1100, 1500, 700, 1900};
    for (size_t i = 0; i < Option1.size(); ++i)
        Option1[i] = app::placed(new QRadioButton(captions[i], Frame1), QStringLiteral("Option1(%1)").arg(i),
                                 app::twipsRect(600, tops[i], 2535, 375));
    Text1 = app::placed(new QLineEdit(Frame1), QStringLiteral("Text1"), app::twipsRect(120, 2400, 1815, kRowHeight));
    Command2 = app::placed(new QPushButton(kSearch, Frame1), QStringLiteral("Command2"),
                           app::twipsRect(2040, 2400, 1215, 375));
}

void Form3::buildPriceRow()
{
    Command4 = app::placed(new QPushButton(kSearch, this), QStringLiteral("Command4"), app::twipsRect(4320, 240, 1215, 375));
    Label1 = label(this, QStringLiteral("Label1"), QStringLiteral("&от"));
    Label2 = label(this, QStringLiteral("Label2"), store::currencySign(shop_.currency()));
    Label3 = label(this, QStringLiteral("Label3"), QStringLiteral("&до"));
    Label4 = label(this, QStringLiteral("Label4"), store::currencySign(shop_.currency()));
    Combo2 = dropDownList(this, QStringLiteral("Combo2"), {});
    Combo3 = dropDownList(this, QStringLiteral("Combo3"), {});
    Label1->setBuddy(Combo2);
    Label3->setBuddy(Combo3);
    // Their lists open wider than the boxes, so that long prices read whole.
    for (QComboBox* box : {Combo2, Combo3}) box->view()->setMinimumWidth(app::px(1800));
}

// The price row stands from the right edge leftwards: each price list wide enough for a price of
// four figures and its currency, each caption as wide as its text.
void Form3::layPriceRow()
{
    const QRect row = app::twipsRect(0, 240, 0, kRowHeight);
    const int gap = app::px(60);
    QStyleOptionComboBox option;
    option.initFrom(Combo2);
    const QString widestPrice = store::moneyWithSign(9999.99, shop_.currency());
    const QSize text(Combo2->fontMetrics().horizontalAdvance(widestPrice), row.height());
    const int listWidth = Combo2->style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, Combo2).width();
    int right = width() - app::px(120);
    for (QWidget* w : std::initializer_list<QWidget*>{Label4, Combo3, Label3, Label2, Combo2, Label1}) {
        const int wide = w == Combo2 || w == Combo3 ? listWidth : w->sizeHint().width();
        w->setGeometry(right - wide, row.top(), wide, row.height());
        right -= wide + gap;
    }
}

// Tab follows the dialog from left to right and top to bottom; hidden controls are passed over.
void Form3::orderTabs()
{
    const std::initializer_list<QWidget*> order{Combo1,   Option1[Tyrsene::Missing], Option1[Tyrsene::Promotions],
                                                Option1[Tyrsene::Price], Option1[Tyrsene::ByName],
                                                Option1[Tyrsene::ByBarcode], Text1, Command2,
                                                Command3, Command6, Command4, Combo2, Combo3, Text2->listing()};
    for (auto w = order.begin(); std::next(w) != order.end(); ++w) setTabOrder(*w, *std::next(w));
}

void Form3::connectControls()
{
    connect(Combo1, &QComboBox::activated, this, [this] { app::guarded([this] { chooserPicked(); }); });
    for (size_t i = 0; i < Option1.size(); ++i)
        connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) app::guarded([this, i] { modeChosen(int(i)); });
        });
    connect(Text1, &QLineEdit::textChanged, this, [this] { wordChanged(); });
    connect(Command2, &QPushButton::clicked, this, [this] { app::guarded([this] { searchWord(); }); });
    connect(Command3, &QPushButton::clicked, this, [this] { app::guarded([this] { steps_.nextWord(); }); });
    connect(Command6, &QPushButton::clicked, this, [this] { app::guarded([this] { steps_.TyrseneNaSledvashtaPromocia(); }); });
    connect(Command4, &QPushButton::clicked, this, [this] { app::guarded([this] { steps_.ZarediStokiNaCenaTextBox(); }); });
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);
}

void Form3::Form_Load(const QString& chooserCaption)
{
    for (QRadioButton* option : Option1) option->setVisible(true);
    Text1->setVisible(false);
    Command2->setVisible(false);
    Frame1->setVisible(true);
    Text4->setText(chooserCaption.isEmpty() ? kChooserCaption : chooserCaption);
    Command3->setVisible(false);
    PokajiPoletataZaCena(false);
    Command6->setVisible(false);
    markDefault();
    shop_.windows.declare(3, this);
    shop_.windows.closeFor(app::Closer::SearchDialog);
}

void Form3::setArticles(const QStringList& entries)
{
    Combo1->clear();
    Combo1->addItems(entries);
    Combo1->setCurrentIndex(-1);
}

void Form3::pickArticle(int index)
{
    Combo1->setCurrentIndex(index);
    chooserPicked();
}

void Form3::PokajiPoletataZaCena(bool visible)
{
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, Combo2, Label2, Label3, Combo3, Label4, Command4})
        w->setVisible(visible);
}

void Form3::showPicture(const QString& path)
{
    if (!Image1->setPicture(path)) Image1->setPicture(showcase::noPicturePath(shop_.folder()));
    Image1->setVisible(true);
}

void Form3::chooserPicked()
{
    Image1->setVisible(false);
    Text2->setText({});
    Frame1->setVisible(true);
    Text4->setVisible(false);
    clearModes();
    Text1->setVisible(false);
    Command2->setVisible(false);
    PokajiPoletataZaCena(false);
    Command6->setVisible(false);
    // A search by name walks one article: picking an article ends it.
    Command3->setVisible(false);
    markDefault();
}

void Form3::clearModes()
{
    for (QRadioButton* option : Option1) {
        const QSignalBlocker quiet(option);
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
}

void Form3::modeChosen(int mode)
{
    switch (mode) {
    // The barcode is typed, or scanned, into the word box as well.
    case Tyrsene::ByName:
    case Tyrsene::ByBarcode: byName(); break;
    case Tyrsene::Price: byPrice(); break;
    case Tyrsene::Missing: missingGoods(); break;
    case Tyrsene::Promotions: promotions(); break;
    default: break;
    }
    markDefault();
}

QPushButton* Form3::defaultButton() const
{
    if (Option1[Tyrsene::ByName]->isChecked() || Option1[Tyrsene::ByBarcode]->isChecked()) return Command2;
    if (Option1[Tyrsene::Price]->isChecked()) return Command4;
    if (Option1[Tyrsene::Promotions]->isChecked()) return Command6;
    return Command1;
}

void Form3::markDefault()
{
    QPushButton* chosen = defaultButton();
    for (QPushButton* button : {Command1, Command2, Command3, Command4, Command6}) button->setDefault(button == chosen);
}

void Form3::nextHit()
{
    if (Command3->isVisible())
        Command3->click();
    else if (Command6->isVisible())
        Command6->click();
}

void Form3::byName()
{
    Text1->setVisible(true);
    Text1->clear();
    Text2->setText({});
    Text1->setFocus();
    Command2->setVisible(true);
    PokajiPoletataZaCena(false);
    Command3->setVisible(false);
    Command6->setVisible(false);
}

void Form3::hideWordAndResult()
{
    Text1->setVisible(false);
    Command2->setVisible(false);
    Text2->setText({});
    Image1->setVisible(false);
}

void Form3::byPrice()
{
    hideWordAndResult();
    PokajiPoletataZaCena(true);
    Command3->setVisible(false);
    Command6->setVisible(false);
    for (QComboBox* box : {Combo2, Combo3}) {
        box->clear();
        box->addItem(zeroPriceEntry(shop_.currency()));
        box->setCurrentIndex(-1);
    }
    steps_.ZarediStokiNaCenaCombo();
}

void Form3::missingGoods()
{
    hideWordAndResult();
    steps_.ZarediStokitePriTyrsene();
    PokajiPoletataZaCena(false);
    Command3->setVisible(false);
    Command6->setVisible(false);
}

void Form3::promotions()
{
    hideWordAndResult();
    steps_.TyrseneNaPromocia();
    PokajiPoletataZaCena(false);
    Command3->setVisible(false);
    Command6->setVisible(true);
}

void Form3::searchWord()
{
    if (Option1[Tyrsene::ByBarcode]->isChecked()) {
        steps_.TyrseneNaBarkod();
        return;
    }
    if (!isBlankWord(Text1->text())) Command3->setVisible(true);
    steps_.TyrseneNaDuma();
}

void Form3::wordChanged()
{
    Image1->setVisible(false);
    Text2->setText({});
    Command3->setVisible(false);
}

void Form3::closeEvent(QCloseEvent* event)
{
    event->accept();
    steps_.dialogClosed();
}

void Form3::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F3)
        nextHit();
    else
        QWidget::keyPressEvent(event);
}

} // namespace search
