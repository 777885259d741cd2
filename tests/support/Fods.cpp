#include "tests/support/Fods.h"

#include <QFile>

namespace testsupport::fods {

namespace {

QString escaped(const QString& s) { return s.toHtmlEscaped(); }

QString styleAttribute(const QString& style)
{
    return style.isEmpty() ? QString() : QStringLiteral(" table:style-name=\"%1\"").arg(style);
}

} // namespace

QString text(const QString& value, const QString& style)
{
    return QStringLiteral("<table:table-cell%1 office:value-type=\"string\"><text:p>%2</text:p></table:table-cell>")
        .arg(styleAttribute(style), escaped(value));
}

QString number(double value, const QString& style)
{
    return QStringLiteral("<table:table-cell%1 office:value-type=\"float\" office:value=\"%2\"/>")
        .arg(styleAttribute(style), QString::number(value, 'g', 17));
}

QString boolean(bool value)
{
    // With a boolean number format LibreOffice keeps the cell a boolean (BOOLERR in .xls);
    // without one it becomes the number 1 or 0.
    return QStringLiteral("<table:table-cell table:style-name=\"boolean\" office:value-type=\"boolean\" office:boolean-value=\"%1\"/>")
        .arg(value ? QStringLiteral("true") : QStringLiteral("false"));
}

QString formula(const QString& openFormula)
{
    return QStringLiteral("<table:table-cell table:formula=\"%1\"/>").arg(escaped(openFormula));
}

QString spanning(const QString& value, int cols, int rows, const QString& style)
{
    QString xml = QStringLiteral("<table:table-cell%1 table:number-columns-spanned=\"%2\" table:number-rows-spanned=\"%3\" "
                                 "office:value-type=\"string\"><text:p>%4</text:p></table:table-cell>")
                      .arg(styleAttribute(style))
                      .arg(cols)
                      .arg(rows)
                      .arg(escaped(value));
    for (int i = 1; i < cols; ++i) xml += covered();
    return xml;
}

QString covered() { return QStringLiteral("<table:covered-table-cell/>"); }
QString empty() { return QStringLiteral("<table:table-cell/>"); }

bool write(const QString& path, const std::vector<Sheet>& sheets, const QString& styles)
{
    QString xml = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" "
        "xmlns:number=\"urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0\" "
        "xmlns:of=\"urn:oasis:names:tc:opendocument:xmlns:of:1.2\" office:version=\"1.2\" "
        "office:mimetype=\"application/vnd.oasis.opendocument.spreadsheet\">\n");
    xml += QStringLiteral("<office:automatic-styles>"
                          "<number:boolean-style style:name=\"boolean-format\"><number:boolean/></number:boolean-style>"
                          "<style:style style:name=\"boolean\" style:family=\"table-cell\" style:data-style-name=\"boolean-format\"/>"
                          "%1</office:automatic-styles>\n")
               .arg(styles);
    xml += QStringLiteral("<office:body><office:spreadsheet>\n");
    for (const Sheet& sheet : sheets) {
        xml += QStringLiteral("<table:table table:name=\"%1\">\n").arg(escaped(sheet.name));
        for (const QString& style : sheet.columnStyles)
            xml += QStringLiteral("<table:table-column%1/>").arg(styleAttribute(style));
        for (const QStringList& row : sheet.rows)
            xml += QStringLiteral("<table:table-row>%1</table:table-row>\n").arg(row.join(QString()));
        xml += QStringLiteral("</table:table>\n");
    }
    xml += QStringLiteral("</office:spreadsheet></office:body></office:document>\n");
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(xml.toUtf8()) > 0;
}

} // namespace testsupport::fods
