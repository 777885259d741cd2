#include "sales/SalePanel.h"

#include "app/common/Controls.h"
#include "app/common/MainState.h"
#include "app/common/Messages.h"
#include "app/common/Shop.h"
#include "sales/Form6.h"
#include "sales/Form7.h"
#include "sales/Sale.h"
#include "showcase/ShowcaseData.h"
#include "store/DataWorkbook.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace sales {

namespace {

const QString kNoGoods = QStringLiteral("Не сте избрали стока");
const QString kNoQuantity = QStringLiteral("Моля изберете брой на закупеното");
const QString kEmptyBasket = QStringLiteral("Няма нищо в кошницата");
const QString kFullBasket = QStringLiteral("Кошницата е пълна: в нея се побират най-много %1 реда. "
                                           "Продайте събраното или откажете последния ред, преди да добавите още.")
                                .arg(kBasketLines);

// The quantity chosen in the quantity box: a whole number above 0, or 0 when none is chosen.
int chosenQuantity(const QComboBox* box)
{
    if (box->currentIndex() < 0) return 0;
    bool ok = false;
    const int count = box->currentText().toInt(&ok);
    return ok && count > 0 ? count : 0;
}

int rowOfArticle(const QListWidget* list, const QString& sheet)
{
    for (int i = 0; i < list->count(); ++i)
        if (showcase::articleName(list->item(i)->text()) == sheet) return i;
    return -1;
}

} // namespace

SalePanel::SalePanel(app::Shop& shop, app::MainState& state, const SaleControls& controls, QObject* parent)
    : QObject(parent), shop_(shop), state_(state), c_(controls)
{
    shop_.rowKeeper = &basket_;
    connectControls();
}

SalePanel::~SalePanel()
{
    if (shop_.rowKeeper == &basket_) shop_.rowKeeper = nullptr;
}

void SalePanel::connectControls()
{
    connect(c_.Image8, &app::ClickLabel::clicked, this, [this] { app::guarded([this] { addToBasket(); }); });
    connect(c_.Image9, &app::ClickLabel::clicked, this, [this] { app::guarded([this] { undoLast(); }); });
    connect(c_.Command1, &QPushButton::clicked, this, [this] { app::guarded([this] { sell(); }); });
    connect(c_.Command9, &QPushButton::clicked, this, [this] { chooseDocument(); });
}

void SalePanel::showLineCount()
{
    c_.Text4->setText(QString::number(basket_.lines()));
}

void SalePanel::addToBasket()
{
    const int position = c_.List2->currentRow();
    if (position < 0) {
        app::warning(kNoGoods);
        return;
    }
    const int count = chosenQuantity(c_.Combo1);
    if (count == 0) {
        app::warning(kNoQuantity);
        return;
    }
    if (!sales::addToBasket(shop_, basket_, state_.ImeNaList, c_.List1->currentRow(), position, count)) {
        if (c_.Option1->isChecked())
            openInvoiceDialog();
        else
            app::warning(kFullBasket);
        return;
    }
    c_.Command6->click();
    c_.List2->setCurrentRow(position);
    showLineCount();
}

void SalePanel::undoLast()
{
    if (!basket_.undoLast(shop_.danni())) return;
    showLineCount();
    reselectAfterUndo();
}

// The article of the line that is now last is chosen again, with that line's goods picked in the
// goods list; with the basket empty, the first article and no goods.
void SalePanel::reselectAfterUndo()
{
    c_.chooseArticle();
    if (basket_.isEmpty()) {
        c_.List1->setCurrentRow(0);
        return;
    }
    const BasketLine last = basket_.line(basket_.lines());
    const int article = rowOfArticle(c_.List1, last.sheet);
    c_.List1->setCurrentRow(article >= 0 ? article : last.articlePosition);
    if (state_.ImeNaList == last.sheet) c_.List2->setCurrentRow(last.row - store::layout::article::recordRow(1));
}

void SalePanel::sell()
{
    if (basket_.isEmpty()) {
        app::warning(kEmptyBasket);
        return;
    }
    if (c_.Option1->isChecked()) {
        openInvoiceDialog();
        return;
    }
    sellWithoutInvoice(shop_, basket_);
    showLineCount();
}

void SalePanel::chooseDocument()
{
    auto* existing = qobject_cast<Form7*>(shop_.windows.window(7));
    Form7* dialog = existing ? existing : new Form7(shop_, *this);
    dialog->load();
}

Form6& SalePanel::openInvoiceDialog()
{
    auto* dialog = qobject_cast<Form6*>(shop_.windows.window(6));
    if (!dialog) dialog = new Form6(shop_, *this);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return *dialog;
}

bool SalePanel::showInvoice(const InvoiceData& data)
{
    if (basket_.isEmpty()) {
        app::warning(kEmptyBasket);
        return false;
    }
    bool recorded = false;
    state_.Flag7 = true;
    app::guarded([&] { recorded = sellWithInvoice(shop_, basket_, data); });
    state_.Flag7 = false;
    showLineCount();
    return recorded;
}

bool SalePanel::declineInvoice()
{
    bool recorded = false;
    state_.Flag7 = false;
    app::guarded([&] {
        sellDecliningInvoice(shop_, basket_);
        recorded = true;
    });
    showLineCount();
    return recorded;
}

void SalePanel::programEnds()
{
    app::guarded([this] { returnBasketAtEnd(shop_, basket_); });
}

} // namespace sales
