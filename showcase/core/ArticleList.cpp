#include "showcase/core/ArticleList.h"

#include "showcase/core/ShowcaseData.h"

#include <algorithm>

namespace showcase {

ArticleList::ArticleList(QObject* parent) : QAbstractListModel(parent)
{
    connect(&choice_, &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (!quiet_ && current.isValid()) emit chosen(current.row());
    });
}

void ArticleList::load(const store::Workbook& workbook, int sheetCount)
{
    replace(articleEntries(workbook, sheetCount));
}

void ArticleList::replace(const QStringList& entries)
{
    beginResetModel();
    entries_ = entries;
    endResetModel();
}

void ArticleList::insertArticle(int articlesBefore, const QString& name)
{
    const QString entry = kArticleListIndent + name;
    quiet_ = true;
    if (articlesBefore <= 0 && count() > 0) {
        entries_.front() = entry;
        emit dataChanged(index(0), index(0));
    } else {
        const int row = std::min(articlesBefore, count());
        beginInsertRows({}, row, row);
        entries_.insert(row, entry);
        endInsertRows();
    }
    quiet_ = false;
}

void ArticleList::removeArticle(int row, bool lastArticle)
{
    quiet_ = true;
    beginRemoveRows({}, row, row);
    entries_.removeAt(row);
    endRemoveRows();
    choice_.clear();
    quiet_ = false;
    if (lastArticle) replace({kNoArticleLeft});
}

QString ArticleList::article(int row) const
{
    return articleName(entry(row));
}

int ArticleList::rowOf(const QString& sheet) const
{
    for (int i = 0; i < count(); ++i)
        if (article(i) == sheet) return i;
    return -1;
}

int ArticleList::chosenRow() const
{
    return choice_.currentIndex().row();
}

void ArticleList::choose(int row)
{
    choice_.setCurrentIndex(index(row), QItemSelectionModel::ClearAndSelect);
}

int ArticleList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant ArticleList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return entries_[index.row()];
}

} // namespace showcase
