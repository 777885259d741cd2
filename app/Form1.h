#pragma once

#include "common/MainState.h"
#include "store/Money.h"

#include <QMainWindow>
#include <array>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;
class QRadioButton;

namespace showcase {
class ArticleGoods;
class ArticleList;
class Vitrina;
} // namespace showcase

namespace archive {
struct Copy;
}

namespace search {
class Sortirane;
class Tyrsene;
} // namespace search
namespace sales {
class KoshnicaView;
class SalePanel;
}
namespace catalogue {
class Katalog;
}

namespace app {

class ClickLabel;
class ImageBox;
class ScannerKeys;
class Shop;
class TextBox;

// The main window: a frame for the showcase, the details panel and the sale panel, with the
// command row and the menus. The procedures of each part of the program live in that part's
// classes; the shared variables (ImeNaList, NachalenRed, BroiStoki, Flag7) live here.
class Form1 : public QMainWindow, public MainState {
    Q_OBJECT
public:
    explicit Form1(Shop& shop, QWidget* parent = nullptr);
    ~Form1() override;

    // Form_Load: date, article list, panels closed, shown, Faktura.xls opened.
    void load();
    // Shows or hides the thirteen controls of the sale panel.
    void PokajiProdajba(bool show);
    // "Начало": panels closed, the welcome banner back, Form2 to Form9 closed.
    void home();
    // A passing word to the shop keeper in the status bar, gone after a minute.
    void showStatus(const QString& text);

    showcase::ArticleList& articles() const { return *articles_; }
    showcase::Vitrina& vitrina() const { return *vitrina_; }
    search::Tyrsene& tyrsene() const { return *tyrsene_; }
    search::Sortirane& sortirane() const { return *sortirane_; }
    sales::SalePanel& salePanel() const { return *sales_; }
    ScannerKeys& scanner() const { return *scanner_; }

    // Command row and date.
    QPushButton* Command3;   // "Начало"
    QPushButton* Command2;   // "Сортиране"
    QPushButton* Command4;   // "Търсене"
    QPushButton* Command5;   // "Добави стока"
    QPushButton* Command7;   // "Добави артикул"
    QPushButton* Command8;   // "Изтрий артикул"
    QPushButton* Command11;  // "Калкулатор"
    QLabel* Label22;

    // Article list and showcase.
    QListView* List1;
    std::array<ImageBox*, 3> Image1;
    QLabel* Label4;  QLabel* Label3;  QLabel* Label2;  QLabel* Label18; ClickLabel* Label12;
    QLabel* Label6;  QLabel* Label7;  QLabel* Label8;  QLabel* Label19; ClickLabel* Label13;
    QLabel* Label9;  QLabel* Label10; QLabel* Label11; QLabel* Label20; ClickLabel* Label14;
    ClickLabel* Image3;  // previous page
    ClickLabel* Image6;  // next page

    // Welcome banner.
    QLineEdit* Text1;
    QLineEdit* Text2;
    ImageBox* Image4;

    // Details panel.
    QLabel* Label21;
    ImageBox* Image5;
    TextBox* Text3;
    ClickLabel* Image2;

    // Sale panel.
    QLabel* Label15;
    QListView* List2;
    QListView* List3;
    QComboBox* Combo1;
    ClickLabel* Image8;
    ClickLabel* Image9;
    QLineEdit* Text4;
    QPushButton* Command1;   // "Продажба"
    QPushButton* Command9;   // "Документ"
    QLabel* Label16;
    QRadioButton* Option1;   // "да"
    QRadioButton* Option2;   // "не"
    ClickLabel* Image7;      // closes the sale panel
    sales::KoshnicaView* koshnica;   // the basket's lines, beside the sale panel

    // Buttons only code and menus press, outside the visible area.
    QPushButton* Command6;   // "Налични"
    QPushButton* Command10;  // "Справка продажби"

    // Menus and their entries.
    QMenu* Nalichnost;   QAction* Nachalo;   QAction* nastoka;
    QMenu* Sortirane;    QAction* poimesort; QAction* pocenasort;
    QMenu* Tyrsene;      QAction* poime;     QAction* pocena;     QAction* napromocia;
    QMenu* Dobavi;       QAction* artikuldob; QAction* stokadob;
    QMenu* Spravki;      QAction* prodadenistoki; QAction* zakupenistoki; QAction* Pechalba; QAction* zaporachka;
                         QAction* vrashtane;
                         QAction* fakturi;
    QMenu* Iztrii;       QAction* artikul;   QAction* stoka;
    QMenu* ZaProgramata; QAction* obshto;    QAction* poveche;    QAction* arhiv;      QAction* evro;
                         QAction* izhod;

    // Told to a shop still in leva once the euro is the country's money; hidden otherwise.
    QLabel* evroNotice;

signals:
    // The window has closed and the program is to end.
    void unloaded();
    // An archive copy is about to replace Danni.xls. Whoever holds goods taken from stock (an
    // open basket) hands them back now and saves; the window then returns to its state after
    // the login.
    void dataReplacing();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildCommandRow(QWidget* area);
    void buildShowcase(QWidget* area);
    void buildBanner(QWidget* area);
    void buildDetailsPanel(QWidget* area);
    void buildSalePanel(QWidget* area);
    void buildBasketPanel(QWidget* area);
    void buildProcedureButtons(QWidget* area);
    void buildMenus();
    void buildMenuKeys();
    // Tab goes through the controls as they stand, row by row; banners and the procedure
    // buttons out of sight are no stops.
    void orderTabStops();
    void connectControls();
    void connectMenus();
    void makeVitrina();
    void makeSearch();
    void makeSalePanel();
    void makeKatalog();
    void makeScanner();
    // A code the scanner typed: its goods shown and one piece of them in the basket.
    void sellScanned(const QString& code);
    void openFaktura();
    void showAbout();
    void showReturns();
    void showArchive();
    void putBackCopy(const archive::Copy& copy);
    void afterDataReplaced();
    // Danni.xls read again from its file, as another program left it.
    void reloadDanni();
    // "Преминаване към евро": the whole shop goes over to the euro in one step.
    void goOverToEuro();
    // The entry and the notice as the shop's currency and the date want them.
    void showCurrency();
    void stokaForDeletion();
    void Form_Unload();

    Shop& shop_;
    showcase::ArticleList* articles_ = nullptr;
    showcase::ArticleGoods* goods_ = nullptr;
    showcase::Vitrina* vitrina_ = nullptr;
    search::Tyrsene* tyrsene_ = nullptr;
    search::Sortirane* sortirane_ = nullptr;
    sales::SalePanel* sales_ = nullptr;
    catalogue::Katalog* katalog_ = nullptr;
    ScannerKeys* scanner_ = nullptr;
    store::Currency formCurrency_ = store::Currency::Leva;   // the invoice form's, as opened
};

} // namespace app
