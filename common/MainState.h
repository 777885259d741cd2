#pragma once

#include <QString>
#include <QtGlobal>

namespace app {

// The main window's public variables that several parts of the program share.
struct MainState {
    QString ImeNaList;          // the article sheet shown
    qint16 NachalenRed = 2;     // the row in the first showcase slot: 2, 5, 8, ...
    qint16 BroiStoki = 0;       // goods records of the article, as "Налични" last read them
    bool Flag7 = false;         // sale state of the basket
};

} // namespace app
