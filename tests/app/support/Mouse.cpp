#include "Mouse.h"

#include "Lists.h"

#include <QAbstractItemView>
#include <QTest>

void clickRow(QAbstractItemView* view, int row)
{
    const QModelIndex index = shownIndex(view, row);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}
