#include "Lists.h"

#include <QAbstractItemView>
#include <QComboBox>

QStringList entries(const QAbstractItemView* view)
{
    QStringList result;
    const QAbstractItemModel* model = view->model();
    for (int i = 0; i < model->rowCount(); ++i) result << model->index(i, 0).data().toString();
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
