#include "sales/SalePanel.h"

#include "common/Controls.h"
#include "common/MainState.h"
#include "common/Messages.h"
#include "common/Shop.h"
#include "sales/Form6.h"
#include "sales/Form7.h"
#include "sales/KoshnicaView.h"
#include "sales/Sale.h"
#include "sales/SalesLedger.h"
#include "showcase/core/ArticleGoods.h"
#include "showcase/core/ArticleList.h"
#include "store/DataWorkbook.h"
#include "store/Workbook.h"
#include "store/window/KeyTip.h"

#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <algorithm>

namespace sales {

namespace {

const QString kNoGoods = QStringLiteral("Не сте избрали стока");
const QString kNoQuantity = QStringLiteral("Моля изберете брой на закупеното");
const QString kEmptyBasket = QStringLiteral("Няма нищо в кошницата");
const QString kFullBasket = QStringLiteral("Кошницата е пълна: в нея се побират най-много %1 реда. "
                                           "Продайте събраното или откажете последния ред, преди да добавите още.")
                                .arg(kBasketLines);
const QString kNoStock = QStringLiteral("Стоката „%1“ не е налична.");

// The quantity chosen in the quantity box: a whole number above 0, or 0 when none is chosen.
int chosenQuantity(const QComboBox* box)
{
    if (box->currentIndex() < 0) return 0;
    bool ok = false;
    const int count = box->currentText().toInt(&ok);
    return ok && count > 0 ? count : 0;
}

// Goods names wider than the goods list end in "…" instead of running out of sight; the whole
// name shows as the tool tip of a name that was cut.
class CutNames : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (const auto* view = qobject_cast<const QAbstractItemView*>(option.widget))
            size.setWidth(std::min(size.width(), view->viewport()->width()));
        return size;
    }

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (event->type() != QEvent::ToolTip) return QStyledItemDelegate::helpEvent(event, view, option, index);
        const bool cut = QStyledItemDelegate::sizeHint(option, index).width() > option.rect.width();
        QToolTip::showText(event->globalPos(), cut ? index.data().toString() : QString(), view);
        return true;
    }
};

} // namespace

SalePanel::SalePanel(app::Shop& shop, app::MainState& state, const SaleControls& controls, QObject* parent)
    : QObject(parent), shop_(shop), state_(state), c_(controls)
{
    shop_.rowKeeper = &basket_;
    connectControls();
    addShortcuts();
    c_.List2->setItemDelegate(new CutNames(c_.List2));
    c_.List2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    showBasket();
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
    connect(c_.koshnica, &KoshnicaView::lineReturned, this,
            [this](int line) { app::guarded([this, line] { returnLine(line); }); });
}

// The keys of the frequent sale steps. Each belongs to the control it stands for, so it acts
// only while the sale panel is shown; its tool tip names it.
void SalePanel::addShortcuts()
{
    const auto shortcut = [this](QWidget* owner, const QList<QKeySequence>& keys, const std::function<void()>& step) {
        auto* s = new QShortcut(owner);
        s->setKeys(keys);
        s->setAutoRepeat(false);
        connect(s, &QShortcut::activated, this, [step] { app::guarded(step); });
        owner->setToolTip(store::window::withKey(owner->toolTip(), keys.first()));
    };
    c_.Command1->setToolTip(c_.Command1->text());
    shortcut(c_.Image8, {QKeySequence(Qt::CTRL | Qt::Key_Enter), QKeySequence(Qt::CTRL | Qt::Key_Return)},
             [this] { addToBasket(); });
    shortcut(c_.Image9, {QKeySequence(Qt::CTRL | Qt::Key_Z)}, [this] { undoLast(); });
    shortcut(c_.Command1, {QKeySequence(Qt::Key_F9)}, [this] { c_.Command1->click(); });
}

void SalePanel::showBasket()
{
    c_.Text4->setText(QString::number(basket_.lines()));
    c_.koshnica->showBasket(basket_, shop_.currency());
}

void SalePanel::addToBasket()
{
    const int position = c_.goods->chosenRow();
    if (position < 0) {
        app::warning(kNoGoods);
        return;
    }
    const int count = chosenQuantity(c_.Combo1);
    if (count == 0) {
        app::warning(kNoQuantity);
        return;
    }
    if (!sales::addToBasket(shop_, basket_, state_.ImeNaList, c_.articles->chosenRow(), position, count)) {
        basketFull();
        return;
    }
    basketTook(position);
}

void SalePanel::addScannedPiece(const QString& sheet, int row)
{
    switch (addOnePiece(shop_, basket_, sheet, c_.articles->rowOf(sheet), row)) {
    case PieceAdded::BasketFull: basketFull(); return;
    case PieceAdded::OutOfStock:
        app::warning(kNoStock.arg(shop_.danni().sheets(sheet).shownText(row, store::layout::article::kName)));
        return;
    case PieceAdded::NewLine:
    case PieceAdded::LineRaised: break;
    }
    basketTook(row - store::layout::article::recordRow(1));
}

void SalePanel::basketFull()
{
    if (c_.Option1->isChecked())
        openInvoiceDialog();
    else
        app::warning(kFullBasket);
}

void SalePanel::basketTook(int position)
{
    emit stockOutOfDate();
    c_.goods->choose(position);
    showBasket();
}

void SalePanel::undoLast()
{
    if (!basket_.undoLast(shop_.danni())) return;
    showBasket();
    reselectAfterUndo();
}

// The stock lists of the article shown follow the stock handed back; the goods picked stay.
void SalePanel::returnLine(int i)
{
    const QString article = basket_.line(i).sheet;
    if (!basket_.removeLine(shop_.danni(), i)) return;
    showBasket();
    if (article != state_.ImeNaList) return;
    const int picked = c_.goods->chosenRow();
    emit stockOutOfDate();
    c_.goods->choose(picked);
}

// The article of the line that is now last is chosen again, with that line's goods picked in the
// goods list; with the basket empty, the first article and no goods.
void SalePanel::reselectAfterUndo()
{
    emit showcaseOutOfDate();
    if (basket_.isEmpty()) {
        c_.articles->choose(0);
        return;
    }
    const BasketLine last = basket_.line(basket_.lines());
    const int article = c_.articles->rowOf(last.sheet);
    c_.articles->choose(article >= 0 ? article : last.articlePosition);
    if (state_.ImeNaList == last.sheet) c_.goods->choose(last.row - store::layout::article::recordRow(1));
}

void SalePanel::sell()
{
    if (basket_.isEmpty()) {
        if (!justSold()) app::warning(kEmptyBasket);
        return;
    }
    if (c_.Option1->isChecked()) {
        openInvoiceDialog();
        return;
    }
    const QString told = saleRecordedText(basket_, shop_.currency(), {});
    sellWithoutInvoice(shop_, basket_);
    showBasket();
    saleDone(told);
}

void SalePanel::saleDone(const QString& told)
{
    sinceSale_.start();
    emit status(told);
}

bool SalePanel::justSold() const
{
    return sinceSale_.isValid() && sinceSale_.elapsed() < QApplication::doubleClickInterval();
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
    QString told;
    state_.Flag7 = true;
    app::guarded([&] {
        told = saleRecordedText(basket_, shop_.currency(), NomerNaFaktura(shop_.data()));
        recorded = sellWithInvoice(shop_, basket_, data);
    });
    state_.Flag7 = false;
    showBasket();
    if (recorded) saleDone(told);
    return recorded;
}

bool SalePanel::declineInvoice()
{
    bool recorded = false;
    const QString told = basket_.isEmpty() ? QString() : saleRecordedText(basket_, shop_.currency(), {});
    state_.Flag7 = false;
    app::guarded([&] {
        sellDecliningInvoice(shop_, basket_);
        recorded = true;
    });
    showBasket();
    if (recorded && !told.isEmpty()) saleDone(told);
    return recorded;
}

void SalePanel::programEnds()
{
    app::guarded([this] { returnBasketAtEnd(shop_, basket_); });
    showBasket();
}

} // namespace sales
