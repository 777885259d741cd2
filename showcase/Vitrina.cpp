#include "showcase/Vitrina.h"

#include "common/Controls.h"
#include "common/MainState.h"
#include "common/Messages.h"
#include "common/Shop.h"
#include "common/Twips.h"
#include "showcase/core/ArticleGoods.h"
#include "showcase/core/ArticleList.h"
#include "showcase/core/ShowcaseData.h"
#include "showcase/SlotLabels.h"
#include "store/DataWorkbook.h"
#include "store/Workbook.h"

#include <QComboBox>
#include <QEvent>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>

namespace showcase {

namespace {

const QString kQuantityCaption = QStringLiteral("Брой");

void setVisibleAll(std::initializer_list<QWidget*> widgets, bool visible)
{
    for (QWidget* w : widgets) w->setVisible(visible);
}

// The view shows the model's column, with the choice every view of the model shares.
void showIn(QListView* view, QAbstractItemModel* model, QItemSelectionModel* choice, int column = 0)
{
    view->setModel(model);
    view->setModelColumn(column);
    QItemSelectionModel* own = view->selectionModel();
    view->setSelectionModel(choice);
    delete own;
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
}

} // namespace

Vitrina::Vitrina(app::Shop& shop, app::MainState& state, ArticleList& articles, ArticleGoods& goods,
                 const ShowcaseControls& controls, QObject* parent)
    : QObject(parent), shop_(shop), state_(state), articles_(articles), goods_(goods), c_(controls)
{
    showIn(c_.List1, &articles_, articles_.choice());
    showIn(c_.List2, &goods_, goods_.choice(), ArticleGoods::Name);
    showIn(c_.List3, &goods_, goods_.choice(), ArticleGoods::Stock);
    // Every entry of the goods and stock lists is one line: the lists need not measure each of
    // an article's thousands of entries to lay them out.
    c_.List2->setUniformItemSizes(true);
    c_.List3->setUniformItemSizes(true);
    for (size_t k = 0; k < priceLines_.size(); ++k) {
        const SlotControls& s = c_.slotControls[k];
        priceLines_[k] = std::make_unique<PriceLine>(s.priceCaption, s.price, s.currency);
    }
    connectControls();
}

Vitrina::~Vitrina() = default;

void Vitrina::connectControls()
{
    connect(&articles_, &ArticleList::chosen, this, [this] { app::guarded([this] { chooseArticle(); }); });
    // A click on the article already chosen shows it again (after "Начало" covered it).
    c_.List1->viewport()->installEventFilter(this);
    connect(c_.List1, &QListView::clicked, this, [this](const QModelIndex& index) {
        if (index.row() == rowBeforePress_) app::guarded([this] { chooseArticle(); });
    });
    connect(c_.Image3, &app::ClickLabel::clicked, this, [this] { app::guarded([this] { previousPage(); }); });
    connect(c_.Image6, &app::ClickLabel::clicked, this, [this] { app::guarded([this] { nextPage(); }); });
    connect(c_.Command6, &QPushButton::clicked, this, [this] { app::guarded([this] { Nalichni(); }); });
    connectDetailLinks();
    connectSaleLists();
}

void Vitrina::connectDetailLinks()
{
    for (int k = 0; k < 3; ++k)
        connect(c_.slotControls[size_t(k)].details, &app::ClickLabel::clicked, this,
                [this, k] { app::guarded([this, k] { openDetails(k); }); });
    connect(c_.Image2, &app::ClickLabel::clicked, this, [this] { closeDetails(); });
}

void Vitrina::connectSaleLists()
{
    connect(&goods_, &ArticleGoods::chosen, this, [this](int row) { app::guarded([this, row] { goodsListClicked(row); }); });
    connect(c_.List3->verticalScrollBar(), &QScrollBar::valueChanged, c_.List2->verticalScrollBar(), &QScrollBar::setValue);
}

bool Vitrina::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == c_.List1->viewport() && event->type() == QEvent::MouseButtonPress)
        rowBeforePress_ = articles_.chosenRow();
    return QObject::eventFilter(watched, event);
}

store::Worksheet& Vitrina::currentArticle() const
{
    return shop_.danni().sheets(state_.ImeNaList);
}

void Vitrina::ZarediArtikuli()
{
    articles_.load(shop_.danni(), shop_.data().counter(store::layout::index::kSheetCount));
    c_.Text1->setGeometry(app::twipsRect(4440, 1320, 6615, 615));
    c_.Text2->setGeometry(app::twipsRect(4440, 1920, 6615, 615));
    c_.Image4->setGeometry(app::twipsRect(4440, 2280, 6615, 4935));
    state_.NachalenRed = 2;
}

void Vitrina::chooseArticle()
{
    state_.NachalenRed = 2;
    PokajiVitrina();
    c_.Command3->setVisible(true);
    closeDetails();
    if (articles_.chosenRow() >= 0) emit articleListed(articles_.entry(articles_.chosenRow()));
    Nalichni();
}

void Vitrina::showGoods(const QString& sheet, int row)
{
    const int listed = articles_.rowOf(sheet);
    // Choosing another article shows it; the one chosen already is shown again.
    if (articles_.chosenRow() != listed)
        articles_.choose(listed);
    else
        chooseArticle();
    const int firstRow = store::layout::article::recordRow(1);
    const int page = firstRow + (row - firstRow) / 3 * 3;
    if (page == state_.NachalenRed) return;
    state_.NachalenRed = qint16(page);
    PokajiVitrina();
}

void Vitrina::PokajiVitrina()
{
    setBannerVisible(false);
    state_.ImeNaList = articles_.article(articles_.chosenRow());
    if (!shop_.hasArticles()) {
        drawNoArticle();
        return;
    }
    const store::Worksheet& article = currentArticle();
    for (int k = 0; k < 3; ++k) {
        const SlotContent content = readSlot(article, state_.NachalenRed + k, shop_.folder());
        if (content.hasGoods)
            fillSlot(k, content);
        else
            emptySlot(k);
    }
}

void Vitrina::setSlotLabelsVisible(int slot, bool visible)
{
    const SlotControls& s = c_.slotControls[size_t(slot)];
    setVisibleAll({s.name, s.priceCaption, s.price, s.currency, s.details}, visible);
}

void Vitrina::fillSlot(int slot, const SlotContent& content)
{
    const SlotControls& s = c_.slotControls[size_t(slot)];
    setSlotLabelsVisible(slot, true);
    if (slot > 0) s.picture->setVisible(true);
    // A picture file that cannot be read shows as goods without a picture.
    if (!s.picture->setPicture(content.picture)) s.picture->setPicture(noPicturePath(shop_.folder()));
    s.name->setText(elidedToFit(*s.name, content.name));
    s.name->setToolTip(content.name);
    priceLines_[size_t(slot)]->show(content.price, content.currency);
}

void Vitrina::emptySlot(int slot)
{
    setSlotLabelsVisible(slot, false);
    const auto& places = c_.slotControls;
    switch (slot) {
    case 0:
        places[1].details->setVisible(false);
        places[2].details->setVisible(false);
        places[0].picture->setPicture(noGoodsPicturePath(shop_.folder()));
        break;
    case 1:
        places[2].details->setVisible(false);
        places[1].picture->setVisible(false);
        break;
    default:
        places[2].picture->setVisible(false);
        break;
    }
}

void Vitrina::drawNoArticle()
{
    for (const SlotControls& s : c_.slotControls) {
        s.picture->setPicture(noPicturePath(shop_.folder()));
        for (QLabel* label : {s.name, s.priceCaption, s.price, s.currency}) label->clear();
    }
}

void Vitrina::previousPage()
{
    if (!shop_.hasArticles() || state_.NachalenRed <= 2) return;
    state_.NachalenRed -= 3;
    PokajiVitrina();
}

void Vitrina::nextPage()
{
    if (!shop_.hasArticles() || state_.ImeNaList.isEmpty()) return;
    if (currentArticle().shownText(state_.NachalenRed + 3, store::layout::article::kName).isEmpty()) return;
    state_.NachalenRed += 3;
    PokajiVitrina();
}

void Vitrina::Nalichni()
{
    goods_.clear();
    c_.Combo1->clear();
    c_.Combo1->addItem(kQuantityCaption);
    const bool articles = shop_.hasArticles();
    state_.BroiStoki = articles ? qint16(shop_.data().goodsCount(currentArticle())) : qint16(0);
    if (state_.BroiStoki == 0) {
        emit pokajiProdajba(false);
        return;
    }
    goods_.show(state_.ImeNaList, state_.BroiStoki);
    emit pokajiProdajba(true);
    setBannerVisible(false);
}

void Vitrina::goodsListClicked(int row)
{
    if (row < 0) return;
    c_.Combo1->clear();
    const int stock = stockOf(currentArticle(), store::layout::article::recordRow(row + 1));
    for (int n = 1; n <= stock; ++n) c_.Combo1->addItem(QString::number(n));
}

void Vitrina::openDetails(int slot)
{
    if (!shop_.hasArticles()) return;
    c_.Label21->setGeometry(app::twipsRect(4340, 1320, 6925, 3955));
    c_.Image5->setGeometry(app::twipsRect(4440, 1560, 3855, 3615));
    c_.Text3->setGeometry(app::twipsRect(8295, 1680, 2880, 3495));
    c_.Image5->copyPictureFrom(*c_.slotControls[size_t(slot)].picture);
    c_.Text3->setText(detailsText(currentArticle(), state_.NachalenRed + slot));
    for (QWidget* w : std::initializer_list<QWidget*>{c_.Label21, c_.Image5, c_.Text3, c_.Image2}) {
        w->setVisible(true);
        w->raise();
    }
}

void Vitrina::closeDetails()
{
    setVisibleAll({c_.Image5, c_.Text3, c_.Label21, c_.Image2}, false);
}

void Vitrina::setBannerVisible(bool visible)
{
    // The picture lies under the lower text line.
    for (QWidget* w : std::initializer_list<QWidget*>{c_.Image4, c_.Text1, c_.Text2}) {
        w->setVisible(visible);
        if (visible) w->raise();
    }
}

} // namespace showcase
