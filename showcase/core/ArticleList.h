#pragma once

#include <QAbstractListModel>
#include <QItemSelectionModel>
#include <QString>
#include <QStringList>

namespace store {
class Workbook;
}

namespace showcase {

// The article list of the main window, as every part of the program sees it: one entry per
// article sheet (two blanks and its name), and the article the shop keeper has chosen. The
// showcase shows it; the search, the sort, the basket and the catalogue read and change it here,
// never through the list's window.
class ArticleList : public QAbstractListModel {
    Q_OBJECT
public:
    explicit ArticleList(QObject* parent = nullptr);

    // Every article sheet in workbook order (ZarediArtikuli); "Няма наличност" alone when there is
    // none. Nothing is chosen then.
    void load(const store::Workbook& workbook, int sheetCount);
    // A new article listed after the articles there were before it; the first one takes the
    // place of the entry that stood for none. The choice stays on the article it was on.
    void insertArticle(int articlesBefore, const QString& name);
    // The article of row no longer listed, and nothing chosen; "Няма налична стока" alone once
    // no article is left.
    void removeArticle(int row, bool lastArticle);

    int count() const { return int(entries_.size()); }
    QString entry(int row) const { return entries_.value(row); }
    // The sheet name of row's article.
    QString article(int row) const;
    // The row that lists the sheet; -1 when none does.
    int rowOf(const QString& sheet) const;

    // The choice, shared by every view of the list.
    QItemSelectionModel* choice() { return &choice_; }
    // The chosen row; -1 when none is chosen.
    int chosenRow() const;
    // Chooses the row as a click would; chosen() follows when it is another row than before.
    void choose(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

signals:
    // An article was chosen, by the shop keeper or by a step acting for them.
    void chosen(int row);

private:
    // The whole list replaced by these entries.
    void replace(const QStringList& entries);

    QStringList entries_;
    QItemSelectionModel choice_{this};
    bool quiet_ = false;   // the list changes under the choice: no article is chosen by that
};

} // namespace showcase
