#include "tests/support/PdfReader.h"

#include "tests/support/Oracles.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace testsupport {

namespace {

constexpr int kTimeoutMs = 60000;

} // namespace

QString pdfText(const QString& pdfPath)
{
    const RunResult run = runMachineProgram(QStringLiteral("/usr/bin/pdftotext"), {QStringLiteral("-layout"), pdfPath, QStringLiteral("-")}, kTimeoutMs);
    if (!run.finished || run.exitCode != 0) return QStringLiteral("pdftotext failed: ") + run.describe(QStringLiteral("pdftotext"));
    return QString::fromUtf8(run.out);
}

std::vector<PdfWord> pdfWords(const QString& pdfPath)
{
    const RunResult run = runMachineProgram(QStringLiteral("/usr/bin/pdftotext"), {QStringLiteral("-bbox"), pdfPath, QStringLiteral("-")}, kTimeoutMs);
    std::vector<PdfWord> words;
    QXmlStreamReader xml(run.out);
    int page = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("page")) ++page;
        if (xml.name() != QLatin1String("word")) continue;
        const auto a = xml.attributes();
        const QPointF topLeft(a.value(QLatin1String("xMin")).toDouble(), a.value(QLatin1String("yMin")).toDouble());
        const QPointF bottomRight(a.value(QLatin1String("xMax")).toDouble(), a.value(QLatin1String("yMax")).toDouble());
        words.push_back(PdfWord{xml.readElementText(), QRectF(topLeft, bottomRight), page});
    }
    return words;
}

PdfPageSize pdfPageSize(const QString& pdfPath)
{
    const RunResult run = runMachineProgram(QStringLiteral("/usr/bin/pdfinfo"), {pdfPath}, kTimeoutMs);
    const QString info = QString::fromUtf8(run.out);
    PdfPageSize size;
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    if (pages.hasMatch()) size.pages = pages.captured(1).toInt();
    const auto box = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
    if (box.hasMatch()) {
        size.width = box.captured(1).toDouble();
        size.height = box.captured(2).toDouble();
    }
    return size;
}

QImage pdfPageImage(const QString& pdfPath, int page, int dpi)
{
    QTemporaryDir dir;
    const QString stem = dir.filePath(QStringLiteral("page"));
    const QString number = QString::number(page);
    const RunResult run = runMachineProgram(QStringLiteral("/usr/bin/pdftoppm"),
                                     {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), number,
                                      QStringLiteral("-l"), number, QStringLiteral("-singlefile"), pdfPath, stem},
                                     kTimeoutMs);
    if (!run.finished || run.exitCode != 0) return {};
    return QImage(stem + QStringLiteral(".png"));
}

} // namespace testsupport
