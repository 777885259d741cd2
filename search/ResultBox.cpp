#include "search/ResultBox.h"

#include "common/Controls.h"

#include <QAbstractListModel>
#include <QListView>
#include <QStackedLayout>
#include <QStyle>

#include <algorithm>
#include <numeric>

namespace search {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Measuring every line of a long listing costs more than showing it: only the lines with the most
// characters are measured, and a rare narrower-lettered line that is wider still gets a tooltip.
constexpr qsizetype kMeasuredLines = 32;

int widestLine(const QStringList& lines, const QFontMetrics& metrics)
{
    std::vector<qsizetype> rows(size_t(lines.size()));
    std::iota(rows.begin(), rows.end(), 0);
    const auto measured = rows.begin() + std::min(kMeasuredLines, lines.size());
    std::nth_element(rows.begin(), measured, rows.end(),
                     [&](qsizetype a, qsizetype b) { return lines[a].size() > lines[b].size(); });
    int widest = 0;
    for (auto row = rows.begin(); row != measured; ++row) widest = std::max(widest, metrics.horizontalAdvance(lines[*row]));
    return widest;
}

} // namespace

// The lines of a listing, all of one size, each its own tooltip.
class ListingModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void setLines(QStringList lines, QSize lineSize)
    {
        beginResetModel();
        lines_ = std::move(lines);
        lineSize_ = lineSize;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(lines_.size()); }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= lines_.size()) return {};
        switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole: return lines_[index.row()];
        case Qt::SizeHintRole: return lineSize_;
        default: return {};
        }
    }

private:
    QStringList lines_;
    QSize lineSize_;
};

ResultBox::ResultBox(QWidget* parent)
    : QWidget(parent), pages_(new QStackedLayout(this)), record_(new app::TextBox), listing_(new QListView),
      lines_(new ListingModel(this))
{
    record_->setObjectName(QStringLiteral("resultText"));
    listing_->setObjectName(QStringLiteral("resultListing"));
    listing_->setModel(lines_);
    listing_->setUniformItemSizes(true);
    listing_->setWordWrap(false);
    listing_->setTextElideMode(Qt::ElideMiddle);
    listing_->setSelectionMode(QAbstractItemView::NoSelection);
    listing_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listing_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    for (QAbstractScrollArea* page : std::initializer_list<QAbstractScrollArea*>{record_, listing_}) {
        page->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        pages_->addWidget(page);
    }
}

QWidget* ResultBox::shown() const
{
    return pages_->currentWidget();
}

void ResultBox::setText(const QString& text)
{
    text_ = text;
    record_->setText(text);
    lines_->setLines({}, {});
    pages_->setCurrentWidget(record_);
}

void ResultBox::setListing(const QString& text)
{
    text_ = text;
    QStringList lines = text.split(kCrLf);
    if (lines.constLast().isEmpty()) lines.removeLast();
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, listing_) + 1);
    const QFontMetrics metrics = listing_->fontMetrics();
    const QSize lineSize(widestLine(lines, metrics) + margin, metrics.height());
    lines_->setLines(std::move(lines), lineSize);
    record_->setText({});
    pages_->setCurrentWidget(listing_);
}

} // namespace search
