#pragma once

#include <QWidget>

class QListView;
class QStackedLayout;

namespace app {
class TextBox;
}

namespace search {

class ListingModel;

// The search dialog's result box. One goods record or a message shows as text wrapped to the box;
// a listing of many goods shows one line per goods, unwrapped, in a view that draws only the lines
// in sight, so that thousands of lines show at once. Either way text() is the text as given, line
// breaks "\r\n" included.
class ResultBox : public QWidget {
    Q_OBJECT
public:
    explicit ResultBox(QWidget* parent = nullptr);

    // A goods record or a message.
    void setText(const QString& text);
    // Lines ending in "\r\n" (the last break may be left out). A line wider than the box scrolls
    // sideways; one that still does not fit is shortened in the middle, and its tooltip holds it whole.
    void setListing(const QString& text);
    const QString& text() const { return text_; }

    // The control on show: the record text or the listing.
    QWidget* shown() const;
    QListView* listing() const { return listing_; }

private:
    QString text_;
    QStackedLayout* pages_;
    app::TextBox* record_;
    QListView* listing_;
    ListingModel* lines_;
};

} // namespace search
