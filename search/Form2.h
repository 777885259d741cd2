#pragma once

#include <QWidget>
#include <array>

class QComboBox;
class QPushButton;
class QRadioButton;

namespace app {
class Shop;
}

namespace search {

class Sortirane;

// "Сортиране": the criterion (price or name) and the direction of the sort of the current article.
// Enter confirms (a focused button is pressed itself), Escape cancels.
class Form2 : public QWidget {
    Q_OBJECT
public:
    // Loads the dialog hidden: upwards chosen, the other secondary windows closed.
    Form2(app::Shop& shop, Sortirane& procedures, QWidget* parent = nullptr);

    QComboBox* Combo1;                      // "Цена" (0), "Име" (1)
    std::array<QRadioButton*, 2> Option1;   // "възходящо", "низходящо"
    QPushButton* Command1;                  // "Потвърди"
    QPushButton* Command2;                  // "Откажи"

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void confirm();

    Sortirane& procedures_;
};

} // namespace search
