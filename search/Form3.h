#pragma once

#include <QWidget>
#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace app {
class ImageBox;
class Shop;
} // namespace app

namespace search {

// The caption over the article chooser while no article is chosen.
inline const QString kChooserCaption = QStringLiteral("Търси в:");

class ResultBox;
class Tyrsene;

// "Търсене": the goods of one article by a word of their name, by price range, on promotion or
// out of stock; the goods of the whole shop by their barcode. The steps behind the buttons belong to the main window (Tyrsene); the dialog shows
// and hides its controls for each mode. By keyboard: Enter presses the mode's default button, F3
// "Следващ", Escape closes.
class Form3 : public QWidget {
    Q_OBJECT
public:
    // Loads the dialog hidden: the caption over the chooser reads `chooserCaption`; every other
    // secondary window closes.
    Form3(app::Shop& shop, Tyrsene& steps, const QString& chooserCaption, QWidget* parent = nullptr);

    // The chooser emptied and given these entries, none picked.
    void setArticles(const QStringList& entries);
    // Picks an entry of the chooser as the user would.
    void pickArticle(int index);
    // Shows or hides the price row as a whole.
    void PokajiPoletataZaCena(bool visible);
    // Shows a picture file; one that cannot be read shows as goods without a picture.
    void showPicture(const QString& path);
    // The button Enter presses: the mode's search or "Следващ" of the promotions, else "Затвори".
    QPushButton* defaultButton() const;

    QComboBox* Combo1;       // article chooser
    QLineEdit* Text4;        // caption over the chooser
    QGroupBox* Frame1;       // "Покажи"
    std::array<QRadioButton*, 5> Option1;   // by mode: 0 missing, 1 price, 2 by name, 3 promotions, 4 barcode
    QLineEdit* Text1;        // the word, or the barcode
    QPushButton* Command2;   // "Търсене" by name or barcode
    QPushButton* Command3;   // "Следващ" of the search by name
    QPushButton* Command6;   // "Следващ" of the promotions
    QPushButton* Command4;   // "Търсене" of the price row
    QLabel* Label1;          // "от"
    QComboBox* Combo2;       // from price
    QLabel* Label2;          // "лв." or "€"
    QLabel* Label3;          // "до"
    QComboBox* Combo3;       // to price
    QLabel* Label4;          // "лв." or "€"
    app::ImageBox* Image1;   // picture of the goods found
    ResultBox* Text2;        // result box
    QPushButton* Command1;   // "Затвори"

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build();
    void buildFrame();
    void buildPriceRow();
    void layPriceRow();
    void orderTabs();
    void connectControls();
    void Form_Load(const QString& chooserCaption);
    void chooserPicked();
    void clearModes();
    void modeChosen(int mode);
    void byName();
    void byPrice();
    void missingGoods();
    void promotions();
    void hideWordAndResult();
    void searchWord();
    void wordChanged();
    void markDefault();
    void nextHit();

    app::Shop& shop_;
    Tyrsene& steps_;
};

} // namespace search
