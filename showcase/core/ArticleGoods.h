#pragma once

#include <QAbstractTableModel>
#include <QItemSelectionModel>
#include <QString>
#include <functional>

namespace store {
class Workbook;
class Worksheet;
} // namespace store

namespace showcase {

// The goods of the article on show, as the sale panel lists them: a row per goods record, its
// name in one column and its stock in the other, read from the article sheet when shown, so an
// article of 9,999 goods costs no copies. The goods list and the stock list of the main window
// are views of its two columns sharing one choice: a pick in either is a pick in both. A stock at
// or below the goods' minimum shows in red, its tooltip saying it is to be ordered.
class ArticleGoods : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Name, Stock, Columns };

    // workbook gives the data workbook, or null once it is let go.
    explicit ArticleGoods(std::function<const store::Workbook*()> workbook, QObject* parent = nullptr);

    // The first count goods records of the article sheet (Nalichni); nothing is picked then.
    void show(const QString& article, int count);
    // No goods listed.
    void clear();

    // The pick, shared by both views.
    QItemSelectionModel* choice() { return &choice_; }
    // The picked row (record row + 1); -1 when none is picked.
    int chosenRow() const;
    // Picks the row as a click would; chosen() follows when it is another row than before.
    void choose(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

signals:
    // The goods of row were picked in either list.
    void chosen(int row);

private:
    const store::Worksheet* sheet() const;

    std::function<const store::Workbook*()> workbook_;
    QString article_;
    int count_ = 0;
    QItemSelectionModel choice_{this};
};

} // namespace showcase
