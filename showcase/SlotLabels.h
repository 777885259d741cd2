#pragma once

// Fitting a showcase slot's labels to what they show: a long name is cut with "…" where its
// label ends, and a price is never cut at all.

#include <QFont>
#include <QRect>
#include <QString>

class QLabel;

namespace showcase {

// The text as it fits into the label's lines (word-wrapped when the label wraps): the whole
// text when it fits, otherwise its longest beginning that fits with "…" after it.
QString elidedToFit(const QLabel& label, const QString& text);

// The price line of a slot: caption "цена:", price and currency, left to right. It starts from
// the places the window gave the labels; a price wider than its label first takes the room the
// captions leave, then a smaller font, and at last a longer line, so that every digit shows.
// Widths are measured at the window's drawn size, so a window shown larger fits alike.
class PriceLine {
public:
    PriceLine(QLabel* caption, QLabel* price, QLabel* currency);
    // Shows the price and the currency's sign ("лв.", "€").
    void show(const QString& price, const QString& currency);

private:
    QLabel* caption_;
    QLabel* price_;
    QLabel* currency_;
    // Places and fonts as the window was drawn: a window shown larger scales both alike.
    QRect captionHome_, priceHome_, currencyHome_;
    QFont captionFont_, priceFont_, currencyFont_;
};

} // namespace showcase
