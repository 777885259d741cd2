#include "showcase/SlotLabels.h"

#include <QFontMetrics>
#include <QLabel>

#include <algorithm>

namespace showcase {

namespace {

const QString kEllipsis = QStringLiteral("…");
constexpr int kSmallestPricePoints = 6;
constexpr int kSmallestPricePixels = 8;
constexpr int kGap = 3;   // pixels between the parts of a closed-up price line

// One step smaller, or false at the smallest size still read without effort.
bool shrink(QFont& font)
{
    if (font.pointSize() > 0) {
        if (font.pointSize() <= kSmallestPricePoints) return false;
        font.setPointSize(font.pointSize() - 1);
        return true;
    }
    if (font.pixelSize() <= kSmallestPricePixels) return false;
    font.setPixelSize(font.pixelSize() - 1);
    return true;
}

bool textFits(const QLabel& label, const QString& text)
{
    const QRect room = label.contentsRect().marginsRemoved(QMargins(label.margin(), label.margin(), label.margin(), label.margin()));
    const int flags = label.wordWrap() ? int(Qt::TextWordWrap) : int(Qt::TextSingleLine);
    const QRect needed = label.fontMetrics().boundingRect(QRect(0, 0, room.width(), 1 << 20), flags, text);
    return needed.width() <= room.width() && needed.height() <= room.height();
}

int textWidth(const QLabel& label, const QFont& font)
{
    return QFontMetrics(font).horizontalAdvance(label.text()) + 2 * label.margin() + 2;
}

} // namespace

QString elidedToFit(const QLabel& label, const QString& text)
{
    if (textFits(label, text)) return text;
    // The longest beginning that fits with the ellipsis: fitting only shrinks as it grows.
    qsizetype low = 0, high = text.size() - 1;
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (textFits(label, text.left(middle).trimmed() + kEllipsis))
            low = middle;
        else
            high = middle - 1;
    }
    return text.left(low).trimmed() + kEllipsis;
}

PriceLine::PriceLine(QLabel* caption, QLabel* price, QLabel* currency)
    : caption_(caption), price_(price), currency_(currency), captionHome_(caption->geometry()),
      priceHome_(price->geometry()), currencyHome_(currency->geometry()), captionFont_(caption->font()),
      priceFont_(price->font()), currencyFont_(currency->font())
{
}

void PriceLine::show(const QString& price, const QString& currency)
{
    currency_->setText(currency);
    caption_->setGeometry(captionHome_);
    currency_->setGeometry(currencyHome_);
    price_->setGeometry(priceHome_);
    price_->setFont(priceFont_);
    price_->setText(price);
    if (textWidth(*price_, priceFont_) <= priceHome_.width()) return;

    // The captions close up to their own text and the price takes the room between them.
    const int captionWidth = textWidth(*caption_, captionFont_);
    const int currencyWidth = textWidth(*currency_, currencyFont_);
    const int left = captionHome_.left() + captionWidth + kGap;
    int width = currencyHome_.right() + 1 - currencyWidth - kGap - left;
    QFont font = priceFont_;
    while (textWidth(*price_, font) > width && shrink(font)) {}
    price_->setFont(font);
    width = std::max(width, textWidth(*price_, font));
    caption_->setGeometry(captionHome_.left(), captionHome_.top(), captionWidth, captionHome_.height());
    price_->setGeometry(left, priceHome_.top(), width, priceHome_.height());
    currency_->setGeometry(left + width + kGap, currencyHome_.top(), currencyWidth, currencyHome_.height());
}

} // namespace showcase
