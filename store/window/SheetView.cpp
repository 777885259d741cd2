#include "store/window/SheetView.h"

#include "store/Range.h"
#include "store/Workbook.h"
#include "store/Worksheet.h"
#include "store/window/CellText.h"
#include "store/window/SheetGeometry.h"
#include "store/window/SheetPainter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace store::window {

namespace {

constexpr int kRowHeaderWidth = 44;
constexpr int kColumnHeaderHeight = 20;
// How far past the used part of the sheet the scroll bars reach.
constexpr int kSpareColumns = 10;
constexpr int kSpareRows = 40;
const QColor kHeaderColor(0xF0, 0xF0, 0xF0);
const QColor kHeaderLineColor(0xC0, 0xC0, 0xC0);
const QColor kCurrentHeaderColor(0xD3, 0xE3, 0xD6);
const QColor kCurrentCellColor(0x21, 0x73, 0x46);

} // namespace

SheetView::SheetView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("sheetView"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
}

SheetView::~SheetView() = default;

void SheetView::setSheet(Workbook* workbook, int index)
{
    if (editor_) finishEditing(false, 0, 0);
    workbook_ = workbook;
    sheetIndex_ = index;
    row_ = col_ = 1;
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
    emit currentCellChanged(row_, col_);
}

Worksheet* SheetView::sheet() const
{
    if (!workbook_ || sheetIndex_ < 1 || sheetIndex_ > workbook_->sheetCount()) return nullptr;
    return &workbook_->sheets(sheetIndex_);
}

void SheetView::refresh()
{
    updateScrollBars();
    viewport()->update();
}

void SheetView::setCurrentCell(int row, int col)
{
    Worksheet* const shown = sheet();
    if (!shown) return;
    row = std::clamp(row, 1, kMaxRows);
    col = std::clamp(col, 1, kMaxColumns);
    const CellArea area = SheetGeometry(*shown).cellArea(row, col);
    row = area.firstRow;
    col = area.firstCol;
    const bool moved = row != row_ || col != col_;
    row_ = row;
    col_ = col;
    ensureVisible(row, col);
    viewport()->update();
    if (moved) emit currentCellChanged(row_, col_);
}

QPointF SheetView::toSheet(const QPoint& pos) const
{
    return QPointF(pos.x() - kRowHeaderWidth + horizontalScrollBar()->value(),
                   pos.y() - kColumnHeaderHeight + verticalScrollBar()->value());
}

QRect SheetView::visualCellRect(int row, int col) const
{
    Worksheet* const shown = sheet();
    if (!shown) return {};
    const SheetGeometry g(*shown);
    return g.areaRect(g.cellArea(row, col))
        .translated(kRowHeaderWidth - horizontalScrollBar()->value(), kColumnHeaderHeight - verticalScrollBar()->value())
        .toAlignedRect();
}

void SheetView::updateScrollBars()
{
    Worksheet* const shown = sheet();
    if (!shown) return;
    const SheetGeometry g(*shown);
    const CellArea used = g.usedArea();
    const int lastCol = std::min(kMaxColumns, std::max(used.lastCol, col_) + kSpareColumns);
    const int lastRow = std::min(kMaxRows, std::max(used.lastRow, row_) + kSpareRows);
    const QSize cells = viewport()->size() - QSize(kRowHeaderWidth, kColumnHeaderHeight);
    horizontalScrollBar()->setRange(0, std::max(0, int(g.columnLeft(lastCol + 1)) - cells.width()));
    verticalScrollBar()->setRange(0, std::max(0, int(g.rowTop(lastRow + 1)) - cells.height()));
    horizontalScrollBar()->setPageStep(std::max(1, cells.width()));
    verticalScrollBar()->setPageStep(std::max(1, cells.height()));
}

void SheetView::ensureVisible(int row, int col)
{
    updateScrollBars();
    Worksheet* const shown = sheet();
    if (!shown) return;
    const SheetGeometry g(*shown);
    const QRectF cell = g.areaRect(g.cellArea(row, col));
    const QSize cells = viewport()->size() - QSize(kRowHeaderWidth, kColumnHeaderHeight);
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    if (cell.left() < h->value()) h->setValue(int(cell.left()));
    else if (cell.right() > h->value() + cells.width()) h->setValue(int(cell.right()) - cells.width());
    if (cell.top() < v->value()) v->setValue(int(cell.top()));
    else if (cell.bottom() > v->value() + cells.height()) v->setValue(int(cell.bottom()) - cells.height());
}

void SheetView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Window));
    Worksheet* const shown = sheet();
    if (!shown) return;
    const SheetGeometry g(*shown);
    const QRect cells(kRowHeaderWidth, kColumnHeaderHeight, viewport()->width() - kRowHeaderWidth,
                      viewport()->height() - kColumnHeaderHeight);
    const double x = horizontalScrollBar()->value(), y = verticalScrollBar()->value();
    const int firstCol = g.columnAt(x), lastCol = g.columnAt(x + cells.width());
    const int firstRow = g.rowAt(y), lastRow = g.rowAt(y + cells.height());

    painter.save();
    painter.setClipRect(cells);
    painter.translate(kRowHeaderWidth - x, kColumnHeaderHeight - y);
    paintCells(painter, *shown, g, CellArea{firstRow, firstCol, lastRow, lastCol}, PaintOptions{true});
    painter.setPen(QPen(kCurrentCellColor, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(g.areaRect(g.cellArea(row_, col_)));
    painter.restore();
    paintHeaders(painter, g, firstRow, lastRow, firstCol, lastCol);
}

void SheetView::paintHeaders(QPainter& painter, const SheetGeometry& g, int firstRow, int lastRow, int firstCol,
                             int lastCol)
{
    const double x = horizontalScrollBar()->value(), y = verticalScrollBar()->value();
    const CellArea current = g.cellArea(row_, col_);
    painter.fillRect(QRect(0, 0, viewport()->width(), kColumnHeaderHeight), kHeaderColor);
    painter.fillRect(QRect(0, 0, kRowHeaderWidth, viewport()->height()), kHeaderColor);
    painter.setFont(font());

    painter.save();
    painter.setClipRect(QRect(kRowHeaderWidth, 0, viewport()->width(), kColumnHeaderHeight));
    for (int col = firstCol; col <= lastCol; ++col) {
        const QRectF r(kRowHeaderWidth + g.columnLeft(col) - x, 0, g.columnWidth(col), kColumnHeaderHeight);
        if (col >= current.firstCol && col <= current.lastCol) painter.fillRect(r, kCurrentHeaderColor);
        painter.setPen(kHeaderLineColor);
        painter.drawLine(r.topRight(), r.bottomRight());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(r, Qt::AlignCenter, columnName(col));
    }
    painter.restore();

    painter.save();
    painter.setClipRect(QRect(0, kColumnHeaderHeight, kRowHeaderWidth, viewport()->height()));
    for (int row = firstRow; row <= lastRow; ++row) {
        const QRectF r(0, kColumnHeaderHeight + g.rowTop(row) - y, kRowHeaderWidth, g.rowHeight(row));
        if (row >= current.firstRow && row <= current.lastRow) painter.fillRect(r, kCurrentHeaderColor);
        painter.setPen(kHeaderLineColor);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(r, Qt::AlignCenter, QString::number(row));
    }
    painter.restore();

    painter.setPen(kHeaderLineColor);
    painter.drawLine(QPointF(0, kColumnHeaderHeight - 0.5), QPointF(viewport()->width(), kColumnHeaderHeight - 0.5));
    painter.drawLine(QPointF(kRowHeaderWidth - 0.5, 0), QPointF(kRowHeaderWidth - 0.5, viewport()->height()));
}

void SheetView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void SheetView::scrollContentsBy(int, int)
{
    if (editor_) editor_->setGeometry(visualCellRect(row_, col_));
    viewport()->update();
}

void SheetView::mousePressEvent(QMouseEvent* event)
{
    Worksheet* const shown = sheet();
    if (!shown || event->button() != Qt::LeftButton) return;
    const QPoint pos = event->position().toPoint();
    if (pos.x() < kRowHeaderWidth || pos.y() < kColumnHeaderHeight) return;
    finishEditing(true, 0, 0);
    const SheetGeometry g(*shown);
    const QPointF at = toSheet(pos);
    setCurrentCell(g.rowAt(at.y()), g.columnAt(at.x()));
    setFocus();
}

void SheetView::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
    if (Worksheet* const shown = sheet(); shown && event->button() == Qt::LeftButton) startEditing(editableCellText(*shown, row_, col_));
}

void SheetView::moveBy(int rows, int cols)
{
    Worksheet* const shown = sheet();
    if (!shown || (rows == 0 && cols == 0)) return;
    const CellArea area = SheetGeometry(*shown).cellArea(row_, col_);
    const int row = rows > 0 ? area.lastRow + rows : row_ + rows;
    const int col = cols > 0 ? area.lastCol + cols : col_ + cols;
    setCurrentCell(row, col);
}

void SheetView::keyPressEvent(QKeyEvent* event)
{
    Worksheet* const shown = sheet();
    if (!shown) return;
    const int pageRows = std::max(1, viewport()->height() / 17 - 1);
    switch (event->key()) {
    case Qt::Key_Up: moveBy(-1, 0); return;
    case Qt::Key_Down: moveBy(1, 0); return;
    case Qt::Key_Left: moveBy(0, -1); return;
    case Qt::Key_Right: moveBy(0, 1); return;
    case Qt::Key_PageUp: moveBy(-pageRows, 0); return;
    case Qt::Key_PageDown: moveBy(pageRows, 0); return;
    case Qt::Key_Return: case Qt::Key_Enter: moveBy(1, 0); return;
    case Qt::Key_Tab: moveBy(0, 1); return;
    case Qt::Key_Backtab: moveBy(0, -1); return;
    case Qt::Key_F2: startEditing(editableCellText(*shown, row_, col_)); return;
    case Qt::Key_Delete: emit inputEntered(row_, col_, QString()); return;
    default: break;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text[0].isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        startEditing(text);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

bool SheetView::focusNextPrevChild(bool)
{
    return false;   // Tab moves between cells
}

void SheetView::startEditing(const QString& text)
{
    if (editor_) return;
    auto* editor = new QLineEdit(viewport());
    editor->setObjectName(QStringLiteral("cellEditor"));
    editor->setFrame(false);
    QRect rect = visualCellRect(row_, col_);
    rect.setWidth(std::max(rect.width(), 80));
    editor->setGeometry(rect);
    editor->setText(text);
    editor->installEventFilter(this);
    connect(editor, &QLineEdit::textChanged, this, &SheetView::editTextChanged);
    editor_ = editor;
    emit editTextChanged(text);
    editor->show();
    editor->setFocus();
}

bool SheetView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != editor_) return QAbstractScrollArea::eventFilter(watched, event);
    if (event->type() == QEvent::FocusOut) {
        finishEditing(true, 0, 0);
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Down: finishEditing(true, 1, 0); return true;
    case Qt::Key_Up: finishEditing(true, -1, 0); return true;
    case Qt::Key_Tab: finishEditing(true, 0, 1); return true;
    case Qt::Key_Backtab: finishEditing(true, 0, -1); return true;
    case Qt::Key_Escape: finishEditing(false, 0, 0); return true;
    default: return false;
    }
}

void SheetView::finishEditing(bool keep, int rowStep, int colStep)
{
    QLineEdit* editor = editor_;
    if (!editor) return;
    editor_ = nullptr;
    const QString text = editor->text();
    editor->removeEventFilter(this);
    editor->disconnect(this);
    editor->hide();
    editor->deleteLater();
    setFocus();
    if (keep) emit inputEntered(row_, col_, text);
    moveBy(rowStep, colStep);
    refresh();
    emit editingEnded();
}

} // namespace store::window
