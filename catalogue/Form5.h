#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace catalogue {

class Katalog;

// "Добави артикул": the name of a new article.
class Form5 : public QWidget {
    Q_OBJECT
public:
    explicit Form5(Katalog& katalog, QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* Text1;
    QPushButton* Command1;   // "Добави"

private:
    void add();

    Katalog& katalog_;
};

} // namespace catalogue
