#include "catalogue/Katalog.h"

#include "catalogue/Form4.h"
#include "catalogue/Form5.h"
#include "catalogue/core/Articles.h"
#include "common/MainState.h"
#include "common/Messages.h"
#include "common/Shop.h"
#include "showcase/core/ArticleList.h"
#include "showcase/core/ShowcaseData.h"
#include "store/ProgramFiles.h"
#include "store/StoreError.h"


namespace catalogue {

namespace {

template <class W>
W* shown(W* window)
{
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace

Katalog::Katalog(app::Shop& shop, app::MainState& state, showcase::ArticleList& articles, QObject* parent)
    : QObject(parent), shop_(shop), state_(state), articles_(articles)
{
}

GoodsStore Katalog::goodsStore(const QString& article) const
{
    return GoodsStore(shop_.data(), article, shop_.file(store::kPictureFolder), shop_.rowKeeper);
}

void Katalog::redrawShowcase()
{
    emit showcaseOutOfDate();
}

bool Katalog::Sahrani()
{
    try {
        shop_.danni().Save();
        return true;
    } catch (const store::Error& e) {
        app::failure(QStringLiteral("Промените не могат да бъдат записани във файла %1: %2\n\n"
                                    "Те остават в програмата и ще бъдат записани при следващото успешно записване.")
                         .arg(store::kDataFile, e.message()));
        return false;
    }
}

void Katalog::showArticleWindow()
{
    auto* window = qobject_cast<Form5*>(shop_.windows.window(5));
    shown(window ? window : new Form5(*this));
}

bool Katalog::DobaviArtikul(const QString& name)
{
    const ArticleAdded added = catalogue::DobaviArtikul(shop_.data(), shop_.file(store::kPictureFolder), name);
    if (!added.refusal.isEmpty()) {
        app::warning(added.refusal);
        return false;
    }
    articles_.insertArticle(added.sheetsBefore - 1, name);
    Sahrani();
    return true;
}

void Katalog::deleteArticle()
{
    if (!shop_.hasArticles()) return;
    const int row = articles_.chosenRow();
    if (row < 0) {
        app::warning(QStringLiteral("Моля изберете артикул"));
        return;
    }
    if (!app::confirm(QStringLiteral("Наистина ли желаете да изтриете артикула?"))) return;
    const QString name = articles_.article(row);
    const QString refusal = IztriiArtikul(shop_.data(), name, shop_.rowKeeper);
    if (!refusal.isEmpty()) {
        app::warning(refusal);
        return;
    }
    if (auto* editor = qobject_cast<Form4*>(shop_.windows.window(4)); editor && editor->article() == name)
        editor->close();
    unlistArticle(row);
    Sahrani();
}

void Katalog::unlistArticle(int row)
{
    articles_.removeArticle(row, !shop_.hasArticles());
    // The first article is shown; with none left, the showcase draws itself empty.
    if (shop_.hasArticles())
        articles_.choose(0);
    else
        redrawShowcase();
}

void Katalog::openGoodsEditor()
{
    if (!shop_.hasArticles()) return;
    const int row = articles_.chosenRow();
    if (row < 0) {
        app::warning(showcase::kChooseArticle);
        return;
    }
    auto* editor = qobject_cast<Form4*>(shop_.windows.window(4));
    if (!editor) editor = new Form4(*this);
    editor->openFor(articles_.entry(row));
    shown(editor);
}

} // namespace catalogue
