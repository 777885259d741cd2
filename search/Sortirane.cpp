#include "search/Sortirane.h"

#include "common/MainState.h"
#include "common/Messages.h"
#include "common/Shop.h"
#include "search/Form2.h"
#include "showcase/core/ArticleList.h"
#include "showcase/core/ShowcaseData.h"

#include <QComboBox>

namespace search {

Sortirane::Sortirane(app::Shop& shop, app::MainState& state, showcase::ArticleList& articles, QWidget* mainWindow,
                     QObject* parent)
    : QObject(parent), shop_(shop), main_(state), articles_(articles), mainWindow_(mainWindow)
{
}

Sortirane::~Sortirane()
{
    delete form2_;
}

Form2* Sortirane::dialog() const
{
    return form2_;
}

Form2& Sortirane::shown()
{
    if (!form2_) form2_ = new Form2(shop_, *this);
    form2_->show();
    form2_->raise();
    form2_->activateWindow();
    return *form2_;
}

void Sortirane::open()
{
    if (articles_.chosenRow() < 0) {
        app::warning(showcase::kChooseArticle);
        return;
    }
    shown();
}

void Sortirane::openWith(Criterion criterion)
{
    if (articles_.chosenRow() < 0 && articles_.count() > 0) articles_.choose(0);
    if (!form2_) form2_ = new Form2(shop_, *this);
    form2_->Combo1->setCurrentIndex(criterion);
    shown();
}

void Sortirane::dialogClosed()
{
    mainWindow_->setVisible(true);
}

void Sortirane::sort(SortBy key, store::SortOrder order)
{
    if (sortArticle(shop_.data(), main_.ImeNaList, key, order, shop_.rowKeeper)) emit showcaseOutOfDate();
}

void Sortirane::SortiraiPoCena1() { sort(SortBy::Price, store::SortOrder::Ascending); }
void Sortirane::SortiraiPoCena2() { sort(SortBy::Price, store::SortOrder::Descending); }
void Sortirane::SortiraiPoIme1() { sort(SortBy::Name, store::SortOrder::Ascending); }
void Sortirane::SortiraiPoIme2() { sort(SortBy::Name, store::SortOrder::Descending); }

} // namespace search
