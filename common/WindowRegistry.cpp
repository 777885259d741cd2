#include "common/WindowRegistry.h"

#include "common/WindowPlaces.h"

namespace app {

namespace {

std::vector<int> numbers(int first, int last, int skipped = 0)
{
    std::vector<int> result;
    for (int n = first; n <= last; ++n)
        if (n != skipped) result.push_back(n);
    return result;
}

} // namespace

void WindowRegistry::declare(int formNumber, QWidget* window)
{
    const bool known = windows_[formNumber] == window;
    windows_[formNumber] = window;
    if (!known) places_.follow(window, QStringLiteral("Form%1").arg(formNumber));
}

QWidget* WindowRegistry::window(int formNumber) const
{
    const auto found = windows_.find(formNumber);
    return found == windows_.end() ? nullptr : found->second.data();
}

std::vector<int> WindowRegistry::closedBy(Closer closer)
{
    switch (closer) {
    case Closer::Home: return numbers(2, 9);
    case Closer::About: return numbers(2, 12);
    case Closer::Exit: return numbers(2, 17);
    case Closer::SortDialog: return numbers(3, 13);
    case Closer::SearchDialog: return numbers(2, 13, 3);
    case Closer::InvoiceDialog: return numbers(2, 13, 6);
    case Closer::DocumentChoice: return numbers(2, 13, 7);
    case Closer::ReceiptDialog: return numbers(2, 13, 8);
    case Closer::GoodsEditor: return numbers(2, 13, 4);
    case Closer::ArticleDialog: return numbers(2, 13, 5);
    case Closer::SoldReport: return numbers(2, 13, 9);
    case Closer::PurchaseReport: return numbers(2, 13, 11);
    case Closer::ProfitReport: return numbers(2, 13, 12);
    case Closer::Archive: return numbers(2, 15, 14);
    case Closer::ReturnWindow:
    case Closer::OrderReport: return numbers(2, 13);
    }
    return {};
}

void WindowRegistry::closeFor(Closer closer)
{
    for (const int n : closedBy(closer))
        if (QWidget* w = window(n)) w->close();
}

} // namespace app
