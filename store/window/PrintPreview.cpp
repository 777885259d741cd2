#include "store/window/PrintPreview.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

namespace store::window {

QPrintPreviewDialog* openPrintPreview(QWidget* parent, QPrinter& printer, const QString& title,
                                      std::function<void(QPrinter& printer)> paint)
{
    auto* preview = new QPrintPreviewDialog(&printer, parent);
    preview->setObjectName(QStringLiteral("printPreview"));
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setWindowTitle(QStringLiteral("Преглед преди печат: %1").arg(title));
    QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview,
                     [paint = std::move(paint)](QPrinter* target) { paint(*target); });
    preview->open();
    return preview;
}

} // namespace store::window
