#pragma once

#include "catalogue/core/GoodsStore.h"

#include <QWidget>
#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

namespace app {
class ClickLabel;
class ImageBox;
} // namespace app

namespace catalogue {

class GoodsNamesModel;
class Katalog;

// The goods editor: one goods record of an article at a time, addressed by its record number,
// with the list of the article's goods, a picture, "Добави" (append or rewrite) and "Изтриване".
class Form4 : public QWidget {
    Q_OBJECT
public:
    explicit Form4(Katalog& katalog, QWidget* parent = nullptr);
    ~Form4() override;

    // Opens on the article of this article-list entry (two blanks, then the name): its count, the
    // new-record number, its goods list.
    void openFor(const QString& listEntry);
    const QString& article() const { return article_; }

    // Who chooses a picture file; Qt's open dialog unless replaced (null puts it back). Gives the
    // chosen path, or an empty text when the choice was cancelled.
    using PictureChooser = std::function<QString(QWidget* parent)>;
    static void setPictureChooser(PictureChooser chooser);

    // The goods fields' controls, made from kGoodsFields, each beside its caption.
    QLineEdit* Text1;                                        // name
    QLineEdit* Text2;  QLabel* Label8;                       // purchase price, "лв." or "€"
    QLineEdit* Text3;                                        // count
    QLineEdit* Text4;  QLabel* Label9;                       // percentage increase, "%"
    QCheckBox* Check1;                                       // promotion
    QLineEdit* Text6;                                        // maker
    QLineEdit* Text7;                                        // description
    QLineEdit* Text9;                                        // minimum stock
    QLineEdit* Text10;                                       // barcode
    QLineEdit* Text8;                                        // record number
    QLabel* Label11; QLabel* Label10;                        // record count, "запис(а)"
    app::ClickLabel* Image1;                                 // previous record
    app::ClickLabel* Image2;                                 // next record
    app::ImageBox* Image3;                                   // the record's picture
    QListView* List1;                                        // goods names
    QPushButton* Command3;                                   // "Добави"
    QPushButton* Command2;                                   // "Изтриване" of the record shown
    QPushButton* Command4;                                   // "Зареди картина"

    // The picture chosen in this window and not yet saved or withdrawn.
    QString ImeNaFaila;      // its file name
    QString PatDoKartina;    // its full path
    bool FlagZaKartina = false;
    // The working copy of the fields, handed over as each field is left.
    GoodsFields working;
    // The last save stopped on a check.
    bool Flag2 = false;
    qint16 RedPromeniStoka = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFields();
    void buildRecordControls();
    void connectControls();
    void watchFocus();

    void showCount();
    void showListed(const QModelIndex& index);
    void markInList(int record);
    void recordNumberChanged(const QString& text);
    void setRecordNumber(int number);
    void clearRecord();
    void ProchetiOtEksel(int record);
    void previousRecord();
    void nextRecord();
    std::optional<int> shownRecordNumber() const;
    // The existing record the fields show; none for the new record or a number being corrected.
    std::optional<int> shownRecord() const;

    QWidget* control(Field which) const;
    QLineEdit* textControl(Field which) const;
    void DobaviStoka(Field Promenliva1);
    void handOverAll();
    void fieldLeft(QObject* field);
    void numberFieldLeft(QLineEdit* field, const FieldInfo& info);

    void chooseZarediKartina();
    void showChosenPicture(const QString& path);
    void withdrawPicture();
    void showPicture(const QString& path);
    void showNoPicture();

    void Dobavi();
    void appendRecord();
    void rewriteRecord(int record);
    void refuse(const Refusal& refusal);
    void Iztrivane();
    void storeChanged();

    Katalog& katalog_;
    std::array<QWidget*, kGoodsFields.size()> controls_{};   // in the order of kGoodsFields
    GoodsNamesModel* names_;
    QString article_;
    int count_ = 0;                  // the article's record count (BroiStoki)
    bool recordNumberOk_ = true;     // the last check of the record number
    bool validating_ = false;
};

} // namespace catalogue
