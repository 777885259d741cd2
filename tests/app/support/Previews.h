#pragma once

#include <QString>

class QPrintPreviewWidget;
class QWidget;

// The pages of the print preview that window opened, or null when none is open.
QPrintPreviewWidget* shownPreview(const QWidget& window);

// Prints from that preview onto a PDF file, as its print button does once the print dialog is
// accepted, and closes it. False when no preview is open.
bool printFromPreview(const QWidget& window, const QString& pdf);
