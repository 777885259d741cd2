#include "showcase/core/ArticleGoods.h"

#include "store/DataWorkbook.h"
#include "store/Workbook.h"
#include "store/Worksheet.h"

#include <QColor>

namespace showcase {

namespace col = store::layout::article;

ArticleGoods::ArticleGoods(std::function<const store::Workbook*()> workbook, QObject* parent)
    : QAbstractTableModel(parent), workbook_(std::move(workbook))
{
    connect(&choice_, &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (current.isValid()) emit chosen(current.row());
    });
}

void ArticleGoods::show(const QString& article, int count)
{
    beginResetModel();
    article_ = article;
    count_ = count;
    endResetModel();
}

void ArticleGoods::clear()
{
    show({}, 0);
}

int ArticleGoods::chosenRow() const
{
    return choice_.currentIndex().row();
}

void ArticleGoods::choose(int row)
{
    choice_.setCurrentIndex(index(row, Name), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

const store::Worksheet* ArticleGoods::sheet() const
{
    const store::Workbook* workbook = workbook_();
    return workbook ? workbook->findSheet(article_) : nullptr;
}

int ArticleGoods::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count_;
}

int ArticleGoods::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant ArticleGoods::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count_) return {};
    const store::Worksheet* article = sheet();
    if (!article) return {};
    const int row = col::recordRow(index.row() + 1);
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return article->shownText(row, index.column() == Name ? col::kName : col::kStock);
    if (index.column() != Stock || !store::atMinimumStock(*article, row)) return {};
    // A stock at or below the goods' minimum stands out: time to order.
    if (role == Qt::ForegroundRole) return QColor(Qt::red);
    if (role == Qt::ToolTipRole)
        return QStringLiteral("За поръчка: минимално количество %1").arg(article->shownText(row, col::kMinimumStock));
    return {};
}

} // namespace showcase
