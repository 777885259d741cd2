#pragma once

#include <QString>
#include <functional>

class QPrintPreviewDialog;
class QPrinter;
class QWidget;

namespace store::window {

// The preview the shop keeper prints from: the pages `paint` lays out on printer, shown in a
// window modal to parent and named "printPreview", which closes itself. Its print button (or
// Ctrl+P) asks for the printer in the system's print dialog and prints there; paint is called for
// the preview and again for the printout.
QPrintPreviewDialog* openPrintPreview(QWidget* parent, QPrinter& printer, const QString& title,
                                      std::function<void(QPrinter& printer)> paint);

} // namespace store::window
