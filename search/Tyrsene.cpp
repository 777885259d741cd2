#include "search/Tyrsene.h"

#include "common/Controls.h"
#include "common/MainState.h"
#include "common/Messages.h"
#include "common/Shop.h"
#include "search/Form3.h"
#include "search/Listings.h"
#include "search/ResultBox.h"
#include "showcase/core/ArticleList.h"
#include "showcase/core/ShowcaseData.h"
#include "store/Workbook.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace search {

Tyrsene::Tyrsene(app::Shop& shop, app::MainState& state, showcase::ArticleList& articles, QWidget* mainWindow, QObject* parent)
    : QObject(parent), shop_(shop), main_(state), articles_(articles), mainWindow_(mainWindow)
{
}

Tyrsene::~Tyrsene()
{
    delete form3_;
}

Form3* Tyrsene::dialog() const
{
    return form3_;
}

Form3& Tyrsene::loaded()
{
    if (!form3_) {
        form3_ = new Form3(shop_, *this, articles_.entry(articles_.chosenRow()));
    }
    return *form3_;
}

QStringList Tyrsene::chooserEntries() const
{
    const int articles = shop_.data().counter(store::layout::index::kSheetCount) - 1;
    if (articles < 1) return {showcase::kNoArticleLeft};
    QStringList entries;
    for (int i = 0; i < articles && i < articles_.count(); ++i) entries << articles_.entry(i);
    return entries;
}

void Tyrsene::open()
{
    Form3& dialog = loaded();
    dialog.setArticles(chooserEntries());
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

void Tyrsene::openInMode(Mode mode)
{
    open();
    const int chosen = articles_.chosenRow();
    form3_->pickArticle(chosen >= 0 && chosen < form3_->Combo1->count() ? chosen : 0);
    form3_->Option1[size_t(mode)]->setChecked(true);
}

void Tyrsene::articleListed(const QString& entry)
{
    if (form3_) form3_->Text4->setText(entry);
}

void Tyrsene::dialogClosed()
{
    mainWindow_->setVisible(true);
}

ArticlePick Tyrsene::pick() const
{
    ArticlePick pick;
    if (form3_ && form3_->Combo1->currentIndex() >= 0) pick.chooserEntry = form3_->Combo1->currentText();
    pick.mainListSelected = articles_.chosenRow() >= 0;
    pick.ImeNaList = main_.ImeNaList;
    return pick;
}

void Tyrsene::show(const Outcome& outcome)
{
    Form3& dialog = *form3_;
    switch (outcome.kind) {
    case Outcome::Kind::Nothing: return;
    case Outcome::Kind::NotChosen:
        dialog.Command3->setVisible(false);
        app::warning(kNotChosen);
        return;
    case Outcome::Kind::Blank:
        dialog.Text2->setText({});
        dialog.Image1->setVisible(false);
        break;
    case Outcome::Kind::NotFound:
        dialog.Text2->setText(outcome.text);
        dialog.Image1->setVisible(false);
        break;
    case Outcome::Kind::Record:
        dialog.showPicture(outcome.picture);
        dialog.Text2->setText(outcome.text);
        break;
    }
    if (outcome.hideNext) dialog.Command3->setVisible(false);
}

void Tyrsene::TyrseneNaDuma()
{
    show(search::TyrseneNaDuma(state_, shop_.data(), pick(), form3_->Text1->text(), shop_.folder()));
}

void Tyrsene::nextWord()
{
    show(search::nextWord(state_, shop_.data(), pick(), form3_->Text1->text(), shop_.folder()));
}

void Tyrsene::TyrseneNaBarkod()
{
    show(search::TyrseneNaBarkod(shop_.data(), form3_->Text1->text(), shop_.folder()));
}

void Tyrsene::TyrseneNaPromocia()
{
    show(search::TyrseneNaPromocia(state_, shop_.data(), pick(), shop_.folder()));
}

void Tyrsene::TyrseneNaSledvashtaPromocia()
{
    show(search::TyrseneNaSledvashtaPromocia(state_, shop_.data(), pick(), shop_.folder()));
}

ArticleTarget Tyrsene::listingTarget()
{
    const ArticleTarget target = resolveArticle(shop_.data(), pick());
    if (target.state == ArticleTarget::State::NotChosen) app::warning(kNotChosen);
    return target;
}

void Tyrsene::ZarediStokiNaCenaCombo()
{
    const ArticleTarget target = listingTarget();
    if (target.state != ArticleTarget::State::Ready) return;
    const QStringList entries = priceEntries(shop_.danni().sheets(target.sheet), target.last);
    for (QComboBox* box : {form3_->Combo2, form3_->Combo3}) {
        box->insertItems(0, entries);
        box->setCurrentIndex(-1);
    }
}

void Tyrsene::ZarediStokiNaCenaTextBox()
{
    const ArticleTarget target = listingTarget();
    if (target.state != ArticleTarget::State::Ready) return;
    Form3& dialog = *form3_;
    dialog.Text2->setText({});
    if (target.last < 2) {
        app::warning(kNoGoods);
        return;
    }
    const auto from = dialog.Combo2->currentIndex() >= 0 ? entryPrice(dialog.Combo2->currentText()) : std::nullopt;
    const auto to = dialog.Combo3->currentIndex() >= 0 ? entryPrice(dialog.Combo3->currentText()) : std::nullopt;
    if (!from || !to) {
        app::warning(kPickPrices);
        return;
    }
    dialog.Text2->setListing(priceListing(shop_.danni().sheets(target.sheet), target.last, *from, *to));
}

void Tyrsene::ZarediStokitePriTyrsene()
{
    const ArticlePick chosen = pick();
    const ArticleTarget target = resolveArticle(shop_.data(), chosen);
    Form3& dialog = *form3_;
    switch (target.state) {
    case ArticleTarget::State::NoArticles: return;
    case ArticleTarget::State::NotChosen:
        dialog.Text4->setText(kChooserCaption);
        dialog.Command3->setVisible(false);
        app::warning(kNotChosen);
        return;
    case ArticleTarget::State::Ready: break;
    }
    if (chosen.chooserEntry) state_.ListZaTyrsene = target.sheet;
    dialog.Text2->setListing(missingGoodsListing(shop_.danni().sheets(target.sheet), target.last));
}

} // namespace search
