#include "ReportWindows.h"

#include "reports/Form11.h"
#include "reports/Form12.h"
#include "reports/Form9.h"

#include <QAction>
#include <QPushButton>
#include <QTest>

namespace {

const QString& writtenShop(ShopFolder& shop, const std::function<void(ShopFolder&)>& ledgers)
{
    if (ledgers) ledgers(shop);
    shop.save();
    return shop.path();
}

} // namespace

ReportWindows::ReportWindows(const std::function<void(ShopFolder&)>& ledgers)
    : run(writtenShop(shop, ledgers)), mainWindow(run.logIn())
{
}

reports::Form9& ReportWindows::openSold()
{
    mainWindow.prodadenistoki->trigger();
    auto* form = window<reports::Form9>(9);
    if (!form) qFatal("the sold goods report did not open");
    return *form;
}

reports::Form11* ReportWindows::openBought()
{
    mainWindow.zakupenistoki->trigger();
    return window<reports::Form11>(11);
}

reports::Form12* ReportWindows::openProfit()
{
    mainWindow.Pechalba->trigger();
    return window<reports::Form12>(12);
}

void reportPeriod(reports::Form9& window, const QDate& first, const QDate& last)
{
    setPeriod(window, first, last);
    QTest::mouseClick(window.Command2, Qt::LeftButton);
}

void reportPeriod(reports::Form11& window, const QDate& first, const QDate& last)
{
    setPeriod(window, first, last);
    QTest::mouseClick(window.Command1, Qt::LeftButton);
}

void reportPeriod(reports::Form12& window, const QDate& first, const QDate& last)
{
    setPeriod(window, first, last);
    QTest::mouseClick(window.Command1, Qt::LeftButton);
}
