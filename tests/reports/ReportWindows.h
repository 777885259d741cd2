#pragma once

#include "app/support/RunningProgram.h"
#include "app/support/ShopFolder.h"

#include "reports/DateField.h"

#include <QDate>

#include <functional>

namespace reports {
class Form9;
class Form11;
class Form12;
} // namespace reports

// The report windows as the shop keeper reaches them: a shop with its ledgers, the program started
// on it and logged in, each report opened from the main window's menu.
class ReportWindows {
public:
    // `ledgers` writes the shop's ledgers before the program starts; without it they are empty.
    explicit ReportWindows(const std::function<void(ShopFolder&)>& ledgers = {});

    // The open window with that number, or null.
    template <class Form>
    Form* window(int number)
    {
        return qobject_cast<Form*>(run.program.shop().windows.window(number));
    }

    reports::Form9& openSold();
    // Null when it did not open: the menu entry works only while "Изтрий артикул" is enabled.
    reports::Form11* openBought();
    reports::Form12* openProfit();

    ShopFolder shop;
    RunningProgram run;
    app::Form1& mainWindow;
};

// Puts the period into the window's two date pickers.
template <class Form>
void setPeriod(Form& window, const QDate& first, const QDate& last)
{
    window.DTPicker1->setDate(first);
    window.DTPicker2->setDate(last);
}

// Puts the period into the date pickers and presses the button that reports on them.
void reportPeriod(reports::Form9& window, const QDate& first, const QDate& last);
void reportPeriod(reports::Form11& window, const QDate& first, const QDate& last);
void reportPeriod(reports::Form12& window, const QDate& first, const QDate& last);
