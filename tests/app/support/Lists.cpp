#include "Lists.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QListView>

QModelIndex shownIndex(const QAbstractItemView* view, int row)
{
    const auto* list = qobject_cast<const QListView*>(view);
    return view->model()->index(row, list ? list->modelColumn() : 0);
}

QStringList entries(const QAbstractItemView* view)
{
    QStringList result;
    for (int i = 0; i < view->model()->rowCount(); ++i) result << shownIndex(view, i).data().toString();
    return result;
}

QStringList entries(const QComboBox* box)
{
    QStringList result;
    for (int i = 0; i < box->count(); ++i) result << box->itemText(i);
    return result;
}

int rowOf(const QAbstractItemView* view, const QString& text)
{
    const QStringList shown = entries(view);
    for (qsizetype i = 0; i < shown.size(); ++i)
        if (shown[i].trimmed() == text) return int(i);
    return -1;
}

int currentRow(const QAbstractItemView* view)
{
    return view->currentIndex().row();
}
