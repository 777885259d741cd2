#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace app {

class Shop;

// "За програмата": who made the program, what it is for, where to read more.
class Form13 : public QWidget {
    Q_OBJECT
public:
    explicit Form13(Shop& shop, QWidget* parent = nullptr);

    QLabel* Label1;      // the text about the program
    QLineEdit* Text1;    // where to read more
    QLineEdit* Text2;    // where to ask
    QPushButton* Command1;
};

} // namespace app
