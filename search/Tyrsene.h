#pragma once

#include "search/SearchSteps.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class QWidget;

namespace app {
struct MainState;
class Shop;
} // namespace app

namespace showcase {
class ArticleList;
}

namespace search {

class Form3;

// The main window's part in searching: opening the search dialog from the button and the menus,
// the search state that outlives the dialog, and the search steps, which write into the dialog.
class Tyrsene : public QObject {
    Q_OBJECT
public:
    // Mode options of the search dialog, by their index.
    enum Mode { Missing = 0, Price = 1, ByName = 2, Promotions = 3, ByBarcode = 4 };

    Tyrsene(app::Shop& shop, app::MainState& state, showcase::ArticleList& articles, QWidget* mainWindow, QObject* parent = nullptr);
    // The dialog goes with the main window.
    ~Tyrsene() override;

    // The button "Търсене": the dialog (loaded when it is not) with the articles in its chooser.
    void open();
    // A menu entry: the dialog, the article of the main window (or the first one), then the mode.
    void openInMode(Mode mode);
    // An article was chosen in the main window: the caption over the chooser shows it.
    void articleListed(const QString& entry);

    // The dialog while it is loaded, else null.
    Form3* dialog() const;
    const SearchState& state() const { return state_; }

    // The steps the dialog's buttons and modes start.
    void TyrseneNaDuma();
    void nextWord();
    void TyrseneNaBarkod();
    void TyrseneNaPromocia();
    void TyrseneNaSledvashtaPromocia();
    void ZarediStokiNaCenaCombo();
    void ZarediStokiNaCenaTextBox();
    void ZarediStokitePriTyrsene();

    // The dialog has closed: the main window is shown.
    void dialogClosed();

private:
    Form3& loaded();
    QStringList chooserEntries() const;
    ArticlePick pick() const;
    // Resolves the article for a listing; warns when none is chosen.
    ArticleTarget listingTarget();
    void show(const Outcome& outcome);

    app::Shop& shop_;
    app::MainState& main_;
    showcase::ArticleList& articles_;
    QWidget* mainWindow_;
    QPointer<Form3> form3_;
    SearchState state_;
};

} // namespace search
