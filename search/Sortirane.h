#pragma once

#include "search/Sorting.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace app {
struct MainState;
class Shop;
} // namespace app

namespace showcase {
class ArticleList;
}

namespace search {

class Form2;

// The main window's part in sorting: the button and the menu entries that open the sort dialog and
// the four sort procedures, which put the current article's goods in order and show it again.
class Sortirane : public QObject {
    Q_OBJECT
public:
    // Criteria of the sort dialog, by their index in its list.
    enum Criterion { ByPrice = 0, ByName = 1 };

    Sortirane(app::Shop& shop, app::MainState& state, showcase::ArticleList& articles, QWidget* mainWindow,
              QObject* parent = nullptr);
    // The dialog goes with the main window.
    ~Sortirane() override;

    // The button "Сортиране": the dialog, or a warning when no article is chosen.
    void open();
    // A menu entry: the first article when none is chosen, then the dialog with the criterion set.
    void openWith(Criterion criterion);

    Form2* dialog() const;

    void SortiraiPoCena1();
    void SortiraiPoCena2();
    void SortiraiPoIme1();
    void SortiraiPoIme2();

    // The dialog has closed: the main window is shown.
    void dialogClosed();

signals:
    // The article's goods are in a new order: the showcase is to show it from its first page, as
    // after a click on the article list.
    void showcaseOutOfDate();

private:
    Form2& shown();
    void sort(SortBy key, store::SortOrder order);

    app::Shop& shop_;
    app::MainState& main_;
    showcase::ArticleList& articles_;
    QWidget* mainWindow_;
    QPointer<Form2> form2_;
};

} // namespace search
