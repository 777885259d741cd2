#pragma once

// poppler-utils reads back the PDF files we write: their text, where each word lies, how many
// pages they have and what a page looks like. A test that finds the tools missing fails with the
// message these helpers give.

#include <QImage>
#include <QRectF>
#include <QString>
#include <vector>

namespace testsupport {

// The text of every page, laid out as on the page (pdftotext -layout); pages end with a form feed.
// On failure: the text "pdftotext failed: ...".
QString pdfText(const QString& pdfPath);

struct PdfWord {
    QString text;
    QRectF box;     // in points, from the page's top left corner
    int page = 0;   // from 1
};
std::vector<PdfWord> pdfWords(const QString& pdfPath);

struct PdfPageSize {
    double width = 0, height = 0;   // in points
    int pages = 0;
};
PdfPageSize pdfPageSize(const QString& pdfPath);

// Page (from 1) drawn at dpi dots per inch; a null image when pdftoppm fails.
QImage pdfPageImage(const QString& pdfPath, int page, int dpi);

} // namespace testsupport
