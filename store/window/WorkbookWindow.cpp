#include "store/window/WorkbookWindow.h"

#include "store/Range.h"
#include "store/window/KeyTip.h"
#include "store/StoreError.h"
#include "store/Workbook.h"
#include "store/Worksheet.h"
#include "store/window/CellText.h"
#include "store/window/SheetGeometry.h"
#include "store/window/PrintPreview.h"
#include "store/window/SheetPrint.h"
#include "store/window/SheetView.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHash>
#include <QLineEdit>
#include <QMenuBar>
#include <QKeyEvent>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QTabBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

namespace store::window {

namespace {

// How often the window looks whether the engine changed the workbook under it.

QHash<const Application*, QPointer<WorkbookWindow>>& shownWindows()
{
    static QHash<const Application*, QPointer<WorkbookWindow>> windows;
    return windows;
}

QStringList sheetNames(const Workbook* workbook)
{
    QStringList names;
    if (workbook)
        for (int i = 1; i <= workbook->sheetCount(); ++i) names << workbook->sheets(i).Name();
    return names;
}

QString cellAddress(int row, int col)
{
    return columnName(col) + QString::number(row);
}

// The file a Save as or an export proposes: the workbook's name with the suffix, in the user's
// documents folder (or home folder), so that a filled form does not go over the blank one in the
// program folder by a mere Enter.
QString proposedFile(const Workbook& workbook, const QString& suffix)
{
    const QFileInfo file(workbook.FullName().isEmpty() ? workbook.Name() : workbook.FullName());
    QDir folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (folder.path().isEmpty() || !folder.exists()) folder = QDir::home();
    return folder.filePath(file.completeBaseName() + QLatin1Char('.') + suffix);
}

} // namespace

WorkbookWindow::WorkbookWindow(Application& application, WindowMessages messages, WriteGuard guard)
    : application_(&application), messages_(std::move(messages)), guard_(std::move(guard)), view_(new SheetView), tabs_(new QTabBar)
{
    setObjectName(QStringLiteral("WorkbookWindow"));
    buildMenus();
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildCellBar();
    auto* bar = new QWidget;
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(4, 4, 4, 4);
    barLayout->addWidget(cellName_);
    barLayout->addWidget(cellBar_, 1);
    layout->addWidget(bar);
    layout->addWidget(view_, 1);
    tabs_->setObjectName(QStringLiteral("sheetTabs"));
    tabs_->setShape(QTabBar::RoundedSouth);
    tabs_->setExpanding(false);
    tabs_->setDrawBase(false);
    layout->addWidget(tabs_);
    setCentralWidget(central);

    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) { showSheet(index + 1); });
    connect(view_, &SheetView::currentCellChanged, this, &WorkbookWindow::showCurrentCell);
    connect(view_, &SheetView::inputEntered, this, &WorkbookWindow::enterInput);
    connect(view_, &SheetView::editTextChanged, cellBar_, &QLineEdit::setText);
    connect(view_, &SheetView::editingEnded, this, &WorkbookWindow::showCurrentCell);
    application.setChangeHook([window = QPointer<WorkbookWindow>(this)] {
        if (window) window->followLater();
    });
    showWorkbook(application.ActiveWorkbook());
}

// The preview goes first: it prints on the printer this window keeps.
WorkbookWindow::~WorkbookWindow()
{
    delete preview_;
}

void WorkbookWindow::buildMenus()
{
    auto action = [this](const QString& name, const QString& text, QKeySequence::StandardKey key, void (WorkbookWindow::*slot)()) {
        auto* a = new QAction(text, this);
        a->setObjectName(name);
        a->setShortcut(key);
        // The tool bar's buttons tell their key.
        if (!a->shortcut().isEmpty())
            a->setToolTip(withKey(a->iconText(), a->shortcut()));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    saveAsAction_ = action(QStringLiteral("saveAsAction"), QStringLiteral("Запиши &като..."), QKeySequence::SaveAs,
                           &WorkbookWindow::askSaveAs);
    exportPdfAction_ = action(QStringLiteral("exportPdfAction"), QStringLiteral("&Експорт в PDF..."),
                              QKeySequence::UnknownKey, &WorkbookWindow::askExportPdf);
    printAction_ = action(QStringLiteral("printAction"), QStringLiteral("&Печат..."), QKeySequence::Print,
                          &WorkbookWindow::askPrint);
    closeAction_ = new QAction(QStringLiteral("&Затвори"), this);
    closeAction_->setObjectName(QStringLiteral("closeAction"));
    closeAction_->setShortcut(QKeySequence::Close);
    connect(closeAction_, &QAction::triggered, this, &QWidget::close);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&Файл"));
    file->setObjectName(QStringLiteral("fileMenu"));
    file->addAction(saveAsAction_);
    file->addAction(exportPdfAction_);
    file->addAction(printAction_);
    file->addSeparator();
    file->addAction(closeAction_);

    QToolBar* tools = addToolBar(QStringLiteral("Файл"));
    tools->setObjectName(QStringLiteral("fileToolBar"));
    tools->setMovable(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools->addAction(saveAsAction_);
    tools->addAction(exportPdfAction_);
    tools->addAction(printAction_);
}

void WorkbookWindow::buildCellBar()
{
    cellName_ = new QLineEdit;
    cellName_->setObjectName(QStringLiteral("cellName"));
    cellName_->setReadOnly(true);
    cellName_->setFixedWidth(70);
    cellName_->setAlignment(Qt::AlignCenter);
    cellBar_ = new QLineEdit;
    cellBar_->setObjectName(QStringLiteral("formulaBar"));
    connect(cellBar_, &QLineEdit::returnPressed, this, [this] {
        enterInput(view_->currentRow(), view_->currentColumn(), cellBar_->text());
        view_->setFocus();
    });
}

QPrinter& WorkbookWindow::printer()
{
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        setUpA4(*printer_);
        if (workbook_) printer_->setDocName(workbook_->Name());
    }
    return *printer_;
}

void WorkbookWindow::detach()
{
    if (application_) application_->setChangeHook({});
    view_->setSheet(nullptr, 0);
    application_ = nullptr;
    workbook_ = nullptr;
}

void WorkbookWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel))
        close();
    else
        QMainWindow::keyPressEvent(event);
}

void WorkbookWindow::closeEvent(QCloseEvent* event)
{
    // As a spreadsheet program's window: closing hides the application, the workbook stays open.
    if (application_) application_->setVisible(false);
    event->accept();
}

Worksheet* WorkbookWindow::currentSheet() const
{
    return view_->sheet();
}

void WorkbookWindow::showWorkbook(Workbook* workbook)
{
    workbook_ = workbook;
    shownName_ = workbook ? workbook->Name() : QString();
    setWindowTitle(shownName_);
    if (printer_ && workbook) printer_->setDocName(shownName_);
    fillTabs();
    for (QAction* a : {saveAsAction_, exportPdfAction_, printAction_}) a->setEnabled(workbook != nullptr);
    if (!workbook || isVisible()) return;
    // Room for the used part of the sheet, within a screen.
    const SheetGeometry g(workbook->ActiveSheet());
    const CellArea used = g.usedArea();
    resize(std::clamp(int(g.columnLeft(used.lastCol + 1)) + 100, 640, 1200),
           std::clamp(int(g.rowTop(used.lastRow + 1)) + 160, 480, 850));
}

void WorkbookWindow::fillTabs()
{
    shownSheetNames_ = sheetNames(workbook_);
    const QSignalBlocker block(tabs_);
    while (tabs_->count() > 0) tabs_->removeTab(0);
    for (const QString& name : shownSheetNames_) tabs_->addTab(name);
    const int active = workbook_ ? workbook_->indexOf(workbook_->ActiveSheet()) : 0;
    tabs_->setCurrentIndex(active - 1);
    showSheet(active);
}

void WorkbookWindow::showSheet(int index)
{
    if (!workbook_ || index < 1 || index > workbook_->sheetCount()) {
        view_->setSheet(nullptr, 0);
        return;
    }
    Worksheet& sheet = workbook_->sheets(index);
    workbook_->activate(sheet);
    shownRevision_ = sheet.revision();
    view_->setSheet(workbook_, index);
    showCurrentCell();
}

// Many changes in a row (a sale writes dozens of cells) are followed once, when the program is
// done with them.
void WorkbookWindow::followLater()
{
    if (followPending_) return;
    followPending_ = true;
    QMetaObject::invokeMethod(this, [this] {
        followPending_ = false;
        followWorkbook();
    }, Qt::QueuedConnection);
}

void WorkbookWindow::followWorkbook()
{
    if (!application_) return;
    if (application_->ActiveWorkbook() != workbook_) {
        showWorkbook(application_->ActiveWorkbook());
        return;
    }
    if (!workbook_) return;
    if (workbook_->Name() != shownName_) {
        shownName_ = workbook_->Name();
        setWindowTitle(shownName_);
    }
    if (sheetNames(workbook_) != shownSheetNames_) {
        fillTabs();
        return;
    }
    const Worksheet* sheet = currentSheet();
    if (sheet && sheet->revision() != shownRevision_) {
        shownRevision_ = sheet->revision();
        view_->refresh();
        showCurrentCell();
    }
}

void WorkbookWindow::showCurrentCell()
{
    const Worksheet* sheet = currentSheet();
    const int row = view_->currentRow(), col = view_->currentColumn();
    cellName_->setText(sheet ? cellAddress(row, col) : QString());
    // What the person is typing in the bar stays until they enter it.
    if (cellBar_->hasFocus() && cellBar_->isModified()) return;
    cellBar_->setText(sheet ? editableCellText(*sheet, row, col) : QString());
    cellBar_->setModified(false);
}

void WorkbookWindow::enterInput(int row, int col, const QString& text)
{
    Worksheet* sheet = currentSheet();
    if (!sheet) return;
    try {
        enterCellInput(*sheet, row, col, text);
    } catch (const Error& e) {
        if (messages_.warning) messages_.warning(e.message());
    }
    shownRevision_ = sheet->revision();
    view_->refresh();
    cellBar_->setModified(false);
    showCurrentCell();
}

QFileDialog* WorkbookWindow::fileDialog(const QString& name, const QString& caption, const QString& filter,
                                        const QString& suffix, const QString& proposed)
{
    auto* dialog = new QFileDialog(this, caption);
    dialog->setObjectName(name);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // The window asks itself before a file is replaced, through the program's own messages.
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setNameFilter(filter);
    dialog->setDefaultSuffix(suffix);
    dialog->selectFile(proposed);
    return dialog;
}

void WorkbookWindow::askSaveAs()
{
    if (!workbook_) return;
    QFileDialog* dialog = fileDialog(QStringLiteral("saveAsDialog"), QStringLiteral("Запиши като"),
                                     QStringLiteral("Excel 97-2003 (*.xls)"), QStringLiteral("xls"),
                                     proposedFile(*workbook_, QStringLiteral("xls")));
    connect(dialog, &QFileDialog::fileSelected, this, &WorkbookWindow::saveAs);
    dialog->open();
}

void WorkbookWindow::saveAs(const QString& path)
{
    if (!workbook_ || !mayReplace(path)) return;
    try {
        workbook_->SaveAs(path);
    } catch (const Error& e) {
        if (messages_.warning) messages_.warning(e.message());
    }
    shownName_ = workbook_->Name();
    setWindowTitle(shownName_);
}

void WorkbookWindow::askExportPdf()
{
    if (!workbook_) return;
    QFileDialog* dialog = fileDialog(QStringLiteral("exportPdfDialog"), QStringLiteral("Експорт в PDF"),
                                     QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"),
                                     proposedFile(*workbook_, QStringLiteral("pdf")));
    connect(dialog, &QFileDialog::fileSelected, this, &WorkbookWindow::exportTo);
    dialog->open();
}

void WorkbookWindow::exportTo(const QString& path)
{
    const Worksheet* sheet = currentSheet();
    if (!workbook_ || !sheet || !mayReplace(path)) return;
    try {
        exportPdf(*workbook_, workbook_->indexOf(*sheet), path);
    } catch (const Error& e) {
        if (messages_.warning) messages_.warning(e.message());
    }
}

void WorkbookWindow::askPrint()
{
    const Worksheet* sheet = currentSheet();
    if (!sheet) return;
    preview_ = openPrintPreview(this, printer(), sheet->Name(), [this](QPrinter& target) { print(target); });
}

void WorkbookWindow::print(QPrinter& target)
{
    const Worksheet* sheet = currentSheet();
    if (!sheet) return;
    if (!printSheet(*sheet, target) && messages_.warning)
        messages_.warning(QStringLiteral("Листът „%1“ не може да бъде отпечатан.").arg(sheet->Name()));
}

bool WorkbookWindow::mayReplace(const QString& path)
{
    const QString refusal = guard_ ? guard_(path) : QString();
    if (!refusal.isEmpty()) {
        if (messages_.warning) messages_.warning(refusal);
        return false;
    }
    if (!QFileInfo::exists(path)) return true;
    // Without anyone to ask, nothing is written over.
    return messages_.confirm
        && messages_.confirm(QStringLiteral("Файлът „%1“ вече съществува. Да бъде ли заменен?").arg(QDir::toNativeSeparators(path)));
}

Application::WindowHook workbookWindowHook(WindowMessages messages, WriteGuard guard)
{
    return [messages, guard](Application& application, bool visible) {
        auto& windows = shownWindows();
        if (!visible) {
            const QPointer<WorkbookWindow> window = windows.take(&application);
            if (!window) return;
            window->detach();
            window->hide();
            window->deleteLater();
            return;
        }
        QPointer<WorkbookWindow>& window = windows[&application];
        if (!window) window = new WorkbookWindow(application, messages, guard);
        window->show();
        window->raise();
        window->activateWindow();
    };
}

WorkbookWindow* windowOf(const Application& application)
{
    return shownWindows().value(&application);
}

} // namespace store::window
