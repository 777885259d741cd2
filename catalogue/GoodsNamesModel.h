#pragma once

#include <QAbstractListModel>
#include <QString>

namespace app {
class Shop;
}

namespace catalogue {

// The goods names of one article as the goods editor lists them: row i is column B of record
// i + 1, read from the sheet when shown, so an article of 9,999 goods costs no copies.
class GoodsNamesModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit GoodsNamesModel(app::Shop& shop, QObject* parent = nullptr);

    // The list starts again on an article with this many goods.
    void showArticle(const QString& article, int count);
    // DobaviVListForma4: the newest record joins the end of the list.
    void DobaviVListForma4();
    // RedaktiraiVListForma4: record k's name was rewritten.
    void RedaktiraiVListForma4(int record);
    // Record k is gone; the rows below move up.
    void removeRecord(int record);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    app::Shop& shop_;
    QString article_;
    int count_ = 0;
};

} // namespace catalogue
