#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <memory>

class QComboBox;
class QLabel;
class QListView;
class QPushButton;
class QWidget;

namespace store {
class Worksheet;
}

namespace app {
class ClickLabel;
class ImageBox;
struct MainState;
class Shop;
class TextBox;
} // namespace app

namespace showcase {

class ArticleGoods;
class ArticleList;
struct SlotContent;
class PriceLine;

// The controls of one showcase slot.
struct SlotControls {
    app::ImageBox* picture;     // Image1(k)
    QLabel* name;               // Label4, Label6, Label9
    QLabel* priceCaption;       // "цена:": Label3, Label7, Label10
    QLabel* price;              // Label2, Label8, Label11
    QLabel* currency;           // "лв." or "€": Label18, Label19, Label20
    app::ClickLabel* details;   // "  Детайли": Label12, Label13, Label14
};

// The main window's controls the showcase draws into.
struct ShowcaseControls {
    QListView* List1;                         // shows the article list
    std::array<SlotControls, 3> slotControls;
    app::ClickLabel* Image3;                  // previous page
    app::ClickLabel* Image6;                  // next page
    QWidget* Text1;                           // welcome banner: two lines of text
    QWidget* Text2;
    app::ImageBox* Image4;                    // and its picture
    QLabel* Label21;                          // details panel background
    app::ImageBox* Image5;                    // details picture
    app::TextBox* Text3;                      // details text
    app::ClickLabel* Image2;                  // closes the details panel
    QListView* List2;                         // goods list: the goods' names
    QListView* List3;                         // stock list: their stock
    QComboBox* Combo1;                        // quantity box
    QPushButton* Command3;                    // "Начало"
    QPushButton* Command6;                    // "Налични"
};

// The shop front of the main window: the article list, three goods at a time with picture,
// name and price, the paging arrows, the goods and stock lists of the sale panel and the
// details panel. Every drawing reads the article sheet again.
class Vitrina : public QObject {
    Q_OBJECT
public:
    Vitrina(app::Shop& shop, app::MainState& state, ArticleList& articles, ArticleGoods& goods,
            const ShowcaseControls& controls, QObject* parent = nullptr);
    ~Vitrina() override;

    // Fills the article list and places the welcome banner.
    void ZarediArtikuli();
    // Draws the page of ImeNaList's sheet that starts at NachalenRed.
    void PokajiVitrina();
    // What choosing an article in the list does: its first page, details closed, sale lists.
    void chooseArticle();
    // Goods found by other means than the list (a scanned code): their article chosen, the page
    // that holds their row shown, the sale lists open.
    void showGoods(const QString& sheet, int row);
    void previousPage();
    void nextPage();
    // "Налични": the goods and stock lists of the current article; opens or closes the sale panel.
    void Nalichni();
    // Goods picked in the goods or the stock list: the quantity box offers their stock.
    void goodsListClicked(int row);
    void openDetails(int slot);
    void closeDetails();
    void setBannerVisible(bool visible);

signals:
    // The sale panel is to open or close (the main window's PokajiProdajba).
    void pokajiProdajba(bool show);
    // An article was chosen: its entry as listed, blanks included (the search dialog shows it).
    void articleListed(const QString& entry);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectControls();
    void connectDetailLinks();
    void connectSaleLists();
    store::Worksheet& currentArticle() const;
    void fillSlot(int slot, const SlotContent& content);
    void emptySlot(int slot);
    void drawNoArticle();
    void setSlotLabelsVisible(int slot, bool visible);

    app::Shop& shop_;
    app::MainState& state_;
    ArticleList& articles_;
    ArticleGoods& goods_;
    ShowcaseControls c_;
    std::array<std::unique_ptr<PriceLine>, 3> priceLines_;
    int rowBeforePress_ = -1;
};

} // namespace showcase
