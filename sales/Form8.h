#pragma once

#include "store/Application.h"

#include <QWidget>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;

namespace app {
class Shop;
}

namespace sales {

// "Данни за Складова/Стокова Разписка": shows the document workbook in a spreadsheet
// application of its own, RazpiskaEksel, for the receipt to be completed there by hand. The
// fields are for the shop keeper's eyes; nothing reads them. The application lives exactly as
// long as the dialog and goes without asking when it closes.
class Form8 : public QWidget {
    Q_OBJECT
public:
    explicit Form8(app::Shop& shop, QWidget* parent = nullptr);
    ~Form8() override;

    std::unique_ptr<store::Application> RazpiskaEksel;

    QLabel* Label1;  QLineEdit* Text1;    // "Разписка   №"
    QLabel* Label2;  QLineEdit* Text2;    // "ДАТА"
    QGroupBox* Frame1;                    // "Получател": Text3 to Text6
    QGroupBox* Frame2;                    // "Предал": Text7 to Text9
    QGroupBox* Frame3;                    // "Приел": Text10 to Text12
    QGroupBox* Frame4;                    // "Стока": Text13 to Text15

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildFields();
    QGroupBox* buildFrame(int frame, const QString& caption, int top, const QStringList& captions, int firstNumber);
    void openReceipt(app::Shop& shop);
};

} // namespace sales
