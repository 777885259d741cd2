#pragma once

#include "catalogue/core/GoodsStore.h"

#include <QObject>
#include <QString>

namespace app {
struct MainState;
class Shop;
} // namespace app

namespace showcase {
class ArticleList;
}

namespace catalogue {

// The catalogue commands of the main window: the add-article window, deleting the chosen article,
// the goods editor; and what those windows share: the goods of an article, the showcase redraw
// and the save.
class Katalog : public QObject {
    Q_OBJECT
public:
    Katalog(app::Shop& shop, app::MainState& state, showcase::ArticleList& articles, QObject* parent = nullptr);

    // "Добави артикул": shows the add-article window.
    void showArticleWindow();
    // The add-article window's "Добави": the article added, listed and saved. False when refused.
    bool DobaviArtikul(const QString& name);
    // "Изтрий артикул": the chosen article deleted after a confirmation.
    void deleteArticle();
    // "Добави стока": the goods editor on the chosen article.
    void openGoodsEditor();

    app::Shop& shop() const { return shop_; }
    app::MainState& state() const { return state_; }
    GoodsStore goodsStore(const QString& article) const;
    // The showcase of the current article to be drawn again, as after a click on the article list:
    // says so by showcaseOutOfDate.
    void redrawShowcase();
    // Sahrani: saves Danni.xls; a failure is told and the program goes on (the next save carries
    // the change). True when saved.
    bool Sahrani();

signals:
    void showcaseOutOfDate();

private:
    void unlistArticle(int row);

    app::Shop& shop_;
    app::MainState& state_;
    showcase::ArticleList& articles_;
};

} // namespace catalogue
