#include "store/window/PrintPreview.h"

#include "store/window/KeyTip.h"

#include <QAction>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>

namespace store::window {

namespace {

// Room for the whole tool bar, print button included, and a page to read.
constexpr QSize kPreviewSize(960, 740);

// Ctrl+P in the preview prints, as it does in the window it came from: the print button is the
// last one of the preview's tool bar.
void printOnCtrlP(QPrintPreviewDialog& preview)
{
    const QToolBar* bar = preview.findChild<QToolBar*>();
    if (!bar || bar->actions().isEmpty()) return;
    QAction* print = bar->actions().last();
    print->setShortcut(QKeySequence::Print);
    print->setToolTip(withKey(print->iconText(), print->shortcut()));
}

} // namespace

QPrintPreviewDialog* openPrintPreview(QWidget* parent, QPrinter& printer, const QString& title,
                                      std::function<void(QPrinter& printer)> paint)
{
    auto* preview = new QPrintPreviewDialog(&printer, parent);
    preview->setObjectName(QStringLiteral("printPreview"));
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setWindowTitle(QStringLiteral("Преглед преди печат: %1").arg(title));
    preview->resize(parent && parent->screen() ? kPreviewSize.boundedTo(parent->screen()->availableSize()) : kPreviewSize);
    printOnCtrlP(*preview);
    QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview,
                     [paint = std::move(paint)](QPrinter* target) { paint(*target); });
    preview->open();
    return preview;
}

} // namespace store::window
