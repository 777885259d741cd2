#pragma once

#include "archive/Arhiv.h"

#include <QWidget>
#include <functional>

class QListWidget;
class QPushButton;

namespace app {

class Shop;


// "Архивни копия": the copies of the data workbook, newest first, each with what it holds; the
// selected one can be put back in place of the shop's data.
class Form14 : public QWidget {
    Q_OBJECT
public:
    // putBack puts a readable copy back and brings the main window to its state after the login.
    using PutBack = std::function<void(const archive::Copy& copy)>;
    Form14(Shop& shop, PutBack putBack, QWidget* parent = nullptr);

    // Lists the copies as they are in the archive now.
    void ZarediKopia();

    QListWidget* List1;
    QPushButton* Command1;   // "Възстанови"
    QPushButton* Command2;   // "Затвори"

    static constexpr int kStampRole = Qt::UserRole;
    static constexpr int kDamagedRole = Qt::UserRole + 1;

private:
    void Vazstanovi();

    Shop& shop_;
    PutBack putBack_;
};

} // namespace app
