#pragma once

#include "sales/Faktura.h"
#include "sales/InvoiceRegister.h"

#include <QWidget>
#include <array>

class QCompleter;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace app {
class Shop;
}

namespace sales {

class SalePanel;

// "Данни за Фактура": the recipient, payment and delivery of an invoice. "Покажи фактурата"
// records the basket as an invoiced sale and shows the invoice; "Отказ" records it without one;
// the close box records nothing. A wrong ЕИК or ИН по ЗДДС is named before anything is recorded;
// the ЕИК and ФИРМА fields offer the recipients remembered from earlier invoices, and choosing one
// fills in all four of its fields.
class Form6 : public QWidget {
    Q_OBJECT
public:
    Form6(app::Shop& shop, SalePanel& panel, QWidget* parent = nullptr);

    // What the fields hold, as the invoice takes it.
    InvoiceData invoiceData() const;

    QLabel* Label1;  QLineEdit* Text1;    // "Фактура   №"
    QLabel* Label2;  QLineEdit* Text2;    // "Дата"
    QGroupBox* Frame1;                    // "Получател"
    QLabel* Label3;  QLineEdit* Text3;    // "ЕИК"
    QLabel* Label4;  QLineEdit* Text4;    // "ИН по ЗДДС"
    QLabel* Label5;  QLineEdit* Text5;    // "ФИРМА"
    QLabel* Label6;  QLineEdit* Text6;    // "АДРЕС"
    QGroupBox* Frame2;                    // "Плащане"
    QRadioButton* Option1;                // "в брой"
    QRadioButton* Option2;                // "с платежно нареждане"
    QRadioButton* Option3;                // "с насрещно прихващане"
    QLabel* Label7;  QLineEdit* Text7;    // "срок"
    QGroupBox* Frame3;                    // "Доставка"
    QLabel* Label8;  QLineEdit* Text8;    // "дата"
    QLabel* Label9;  QLineEdit* Text9;    // "място"
    QLabel* Label10; QLineEdit* Text10;   // "основание за 0% ДДС:"
    QGroupBox* Frame4;                    // "Стока": kept for the shop keeper's notes, not used
    QLabel* Label11; QLabel* Label12; QLabel* Label13;
    QLineEdit* Text11; QLineEdit* Text12; QLineEdit* Text13; QLineEdit* Text14;
    QPushButton* Command1;                // "Покажи фактурата"
    QPushButton* Command2;                // "Отказ"

private:
    void buildHeader();
    void buildRecipient();
    void buildPayment();
    void buildDelivery();
    void buildGoods();
    void load();
    void offerRecipients();
    QCompleter* recipientCompleter(QLineEdit* field, const QStringList& offered, Qt::MatchFlags match);
    void fillRecipient(const QString& chosen, QString Recipient::*field);
    void pokajiFakturata();
    void otkaz();

    app::Shop& shop_;
    SalePanel& panel_;
    std::vector<Recipient> recipients_;
};

} // namespace sales
