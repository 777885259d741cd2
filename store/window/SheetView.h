#pragma once

#include <QAbstractScrollArea>
#include <QLineEdit>
#include <QPointer>


namespace store {
class Workbook;
class Worksheet;
}

namespace store::window {

class SheetGeometry;

// A sheet on screen as a spreadsheet program shows it: column letters and row numbers, gridlines,
// the cells as paintCells draws them and the current cell framed. Clicking or the arrow keys move
// the current cell; typing, F2 or a double click edit it in place; Enter and Tab hand what was
// typed to whoever listens to inputEntered, Escape drops it, Delete empties the cell.
class SheetView final : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit SheetView(QWidget* parent = nullptr);
    ~SheetView() override;

    // Shows sheet index (1-based) of workbook; null shows nothing. The view looks the sheet up
    // each time, so a sheet deleted meanwhile is never touched.
    void setSheet(Workbook* workbook, int index);
    Worksheet* sheet() const;

    int currentRow() const { return row_; }
    int currentColumn() const { return col_; }
    void setCurrentCell(int row, int col);
    // Where a cell lies in the viewport, in its pixels.
    QRect visualCellRect(int row, int col) const;
    // The editor of the current cell while one is open.
    QLineEdit* cellEditor() const { return editor_; }

    // The sheet changed outside the view: paint again.
    void refresh();

signals:
    void currentCellChanged(int row, int col);
    void inputEntered(int row, int col, const QString& text);
    // What is being typed into the current cell, as it changes.
    void editTextChanged(const QString& text);
    // The in-place editor closed, whether what was typed went into the cell or not.
    void editingEnded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool next) override;

private:
    QPointF toSheet(const QPoint& viewportPos) const;
    void paintHeaders(QPainter& painter, const SheetGeometry& g, int firstRow, int lastRow, int firstCol, int lastCol);
    void updateScrollBars();
    void moveBy(int rows, int cols);
    void ensureVisible(int row, int col);
    void startEditing(const QString& text);
    void finishEditing(bool keep, int rowStep, int colStep);

    Workbook* workbook_ = nullptr;
    int sheetIndex_ = 0;
    int row_ = 1;
    int col_ = 1;
    QPointer<QLineEdit> editor_;
};

} // namespace store::window
