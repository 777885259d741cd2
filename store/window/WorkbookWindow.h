#pragma once

#include "store/Application.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

class QAction;
class QFileDialog;
class QLineEdit;
class QPrintPreviewDialog;
class QPrinter;
class QTabBar;

namespace store::window {

class SheetView;

// How the window speaks to the person at the screen: a warning, and a question answered with
// OK (true) or Cancel.
struct WindowMessages {
    std::function<void(const QString& text)> warning;
    std::function<bool(const QString& text)> confirm;
};

// Why the window must not write a file chosen in Save as or Export to PDF (a file the program
// keeps, which a save from here would replace whatever the person at the screen answers), or
// empty when it may.
using WriteGuard = std::function<QString(const QString& path)>;

// The window of a spreadsheet application: the active workbook, one tab per sheet, a cell bar
// with the current cell's name and content, and Save as, Export to PDF, Print and Close in its
// File menu. It shows the workbook as it is at any moment: changes made through the engine
// appear without being announced. Closing it hides the application (Visible becomes false).
class WorkbookWindow final : public QMainWindow {
    Q_OBJECT
public:
    WorkbookWindow(Application& application, WindowMessages messages, WriteGuard guard);
    ~WorkbookWindow() override;

    Application* application() const { return application_; }
    Workbook* workbook() const { return workbook_; }
    SheetView* view() const { return view_; }
    // The printer Print sets up and prints on; kept between prints as a program keeps its printer.
    QPrinter& printer();

    // The application is going away or hiding: the window lets go of it and of its workbook.
    void detach();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape, when the control with the focus leaves it, closes the window.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildMenus();
    void buildCellBar();
    void showWorkbook(Workbook* workbook);
    void fillTabs();
    void showSheet(int index);
    void followLater();
    void followWorkbook();
    void showCurrentCell();
    void enterInput(int row, int col, const QString& text);
    Worksheet* currentSheet() const;

    void askSaveAs();
    void saveAs(const QString& path);
    void askExportPdf();
    void exportTo(const QString& path);
    // The print preview, from which the shop keeper prints.
    void askPrint();
    void print(QPrinter& printer);
    // Refuses a file the guard keeps, and asks before any other is written over; true when it
    // may be written.
    bool mayReplace(const QString& path);
    QFileDialog* fileDialog(const QString& name, const QString& caption, const QString& filter,
                            const QString& suffix, const QString& proposed);

    Application* application_;
    Workbook* workbook_ = nullptr;
    WindowMessages messages_;
    WriteGuard guard_;
    SheetView* view_;
    QTabBar* tabs_;
    QLineEdit* cellName_ = nullptr;
    QLineEdit* cellBar_ = nullptr;
    QAction* saveAsAction_ = nullptr;
    QAction* exportPdfAction_ = nullptr;
    QAction* printAction_ = nullptr;
    QAction* closeAction_ = nullptr;
    std::unique_ptr<QPrinter> printer_;
    QPointer<QPrintPreviewDialog> preview_;
    bool followPending_ = false;
    // What the window last showed, to see when the workbook changed under it.
    QStringList shownSheetNames_;
    quint64 shownRevision_ = 0;
    QString shownName_;
};

// The hook that puts an application's active workbook in a window while the application is
// visible and takes the window away when it hides or quits. Install it with
// Application::setWindowHook.
Application::WindowHook workbookWindowHook(WindowMessages messages, WriteGuard guard);

// The window that shows the application, or null while it is not visible.
WorkbookWindow* windowOf(const Application& application);

} // namespace store::window
