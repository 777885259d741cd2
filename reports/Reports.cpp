#include "reports/Reports.h"

#include "common/Messages.h"
#include "common/Shop.h"
#include "reports/Form11.h"
#include "reports/Form12.h"
#include "reports/Form17.h"
#include "reports/Form9.h"

namespace reports {

namespace {

// The window with that number when it is loaded, otherwise a new one (which closes the others).
template <class Form>
Form& loaded(app::Shop& shop, int number)
{
    if (auto* window = qobject_cast<Form*>(shop.windows.window(number))) return *window;
    return *new Form(shop);
}

void bringUp(QWidget& window)
{
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace

void SpravkaProdajbi(app::Shop& shop)
{
    Form9& window = loaded<Form9>(shop, 9);
    app::guarded([&] { window.fillDates(); });
    bringUp(window);
}

void openPurchasedGoods(app::Shop& shop)
{
    bringUp(loaded<Form11>(shop, 11));
}

void openProfit(app::Shop& shop)
{
    bringUp(loaded<Form12>(shop, 12));
}

void openOrderList(app::Shop& shop)
{
    Form17& window = loaded<Form17>(shop, 17);
    app::guarded([&] { window.refresh(); });
    bringUp(window);
}

} // namespace reports
