#include "Previews.h"

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

namespace {

QPrintPreviewDialog* previewDialog(const QWidget& window)
{
    auto* dialog = window.findChild<QPrintPreviewDialog*>(QStringLiteral("printPreview"));
    return dialog && dialog->isVisible() ? dialog : nullptr;
}

} // namespace

QPrintPreviewWidget* shownPreview(const QWidget& window)
{
    QPrintPreviewDialog* dialog = previewDialog(window);
    return dialog ? dialog->findChild<QPrintPreviewWidget*>() : nullptr;
}

bool printFromPreview(const QWidget& window, const QString& pdf)
{
    QPrintPreviewDialog* dialog = previewDialog(window);
    QPrintPreviewWidget* pages = shownPreview(window);
    if (!dialog || !pages) return false;
    dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
    dialog->printer()->setOutputFileName(pdf);
    pages->print();
    dialog->close();
    return true;
}
