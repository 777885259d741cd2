#include "sales/KoshnicaView.h"

#include "sales/Koshnica.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace sales {

namespace {

enum Column { Name, Count, Price, Sum };

} // namespace

KoshnicaView::KoshnicaView(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(235, 245, 255));
    setPalette(palette);

    title = new QLabel(QStringLiteral("Кошница"), this);
    title->setObjectName(QStringLiteral("koshnicaTitle"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    koshnicaList = new QTreeWidget(this);
    koshnicaList->setObjectName(QStringLiteral("koshnicaList"));
    koshnicaList->setRootIsDecorated(false);
    koshnicaList->setUniformRowHeights(true);
    koshnicaList->setHeaderLabels({QStringLiteral("Стока"), QStringLiteral("Брой"), QStringLiteral("Цена"),
                                   QStringLiteral("Сума")});
    QHeaderView* header = koshnicaList->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(Name, QHeaderView::Stretch);
    for (int column : {Count, Price, Sum}) header->setSectionResizeMode(column, QHeaderView::ResizeToContents);

    koshnicaTotal = new QLabel(this);
    koshnicaTotal->setObjectName(QStringLiteral("koshnicaTotal"));
    koshnicaTotal->setFont(bold);
    vyrniReda = new QPushButton(QStringLiteral("&Върни реда"), this);
    vyrniReda->setObjectName(QStringLiteral("vyrniReda"));
    vyrniReda->setToolTip(QStringLiteral("Връща избрания ред в наличността (Delete)"));
    vyrniReda->setEnabled(false);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(koshnicaTotal, 1);
    bottom->addWidget(vyrniReda);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(title);
    layout->addWidget(koshnicaList, 1);
    layout->addLayout(bottom);

    connect(koshnicaList, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { vyrniReda->setEnabled(current != nullptr); });
    connect(vyrniReda, &QPushButton::clicked, this, &KoshnicaView::returnChosenLine);
    auto* deleteKey = new QShortcut(QKeySequence::Delete, koshnicaList, nullptr, nullptr, Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this, &KoshnicaView::returnChosenLine);
}

void KoshnicaView::showBasket(const Koshnica& basket, store::Currency currency)
{
    koshnicaList->clear();
    for (int i = 1; i <= basket.lines(); ++i) {
        const BasketLine line = basket.line(i);
        auto* item = new QTreeWidgetItem(koshnicaList, {line.name, QString::number(line.count),
                                                        store::formatMoney(line.price), store::formatMoney(line.sum())});
        item->setToolTip(Name, line.name);
        for (int column : {Count, Price, Sum}) item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    koshnicaList->setCurrentItem(nullptr);
    koshnicaTotal->setText(QStringLiteral("Общо: ") + store::moneyWithSign(basket.total(), currency));
}

void KoshnicaView::returnChosenLine()
{
    QTreeWidgetItem* chosen = koshnicaList->currentItem();
    if (chosen) emit lineReturned(koshnicaList->indexOfTopLevelItem(chosen) + 1);
}

} // namespace sales
