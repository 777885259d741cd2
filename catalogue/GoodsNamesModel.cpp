#include "catalogue/GoodsNamesModel.h"

#include "common/Shop.h"
#include "store/DataWorkbook.h"
#include "store/StoreError.h"

namespace catalogue {

GoodsNamesModel::GoodsNamesModel(app::Shop& shop, QObject* parent) : QAbstractListModel(parent), shop_(shop) {}

void GoodsNamesModel::showArticle(const QString& article, int count)
{
    beginResetModel();
    article_ = article;
    count_ = count;
    endResetModel();
}

void GoodsNamesModel::DobaviVListForma4()
{
    beginInsertRows({}, count_, count_);
    ++count_;
    endInsertRows();
}

void GoodsNamesModel::RedaktiraiVListForma4(int record)
{
    const QModelIndex changed = index(record - 1);
    emit dataChanged(changed, changed, {Qt::DisplayRole});
}

void GoodsNamesModel::removeRecord(int record)
{
    beginRemoveRows({}, record - 1, record - 1);
    --count_;
    endRemoveRows();
}

int GoodsNamesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count_;
}

QVariant GoodsNamesModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= count_) return {};
    try {
        const store::Worksheet* sheet = shop_.danni().findSheet(article_);
        if (!sheet) return {};
        return sheet->shownText(store::layout::article::recordRow(index.row() + 1), store::layout::article::kName);
    } catch (const store::Error&) {
        return {};   // the data workbook is already let go: the window is about to close
    }
}

} // namespace catalogue
