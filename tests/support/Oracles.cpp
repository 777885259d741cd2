#include "tests/support/Oracles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTemporaryDir>

namespace testsupport {

namespace {

const char* const kXlrdScript = R"PY(
import sys, json
try:
    import xlrd
except Exception as e:
    print(json.dumps({"error": "xlrd cannot be imported (%s); install python3-xlrd" % e}))
    sys.exit(0)
try:
    book = xlrd.open_workbook(sys.argv[1], formatting_info=True, logfile=sys.stderr)
except Exception as e:
    print(json.dumps({"error": "%s: %s" % (type(e).__name__, e)}, ensure_ascii=False))
    sys.exit(0)
out = {"error": None, "datemode": book.datemode, "sheets": [], "fonts": [], "xfs": [], "formats": {}}
for f in book.font_list:
    out["fonts"].append({"name": f.name, "height": f.height, "bold": bool(f.bold),
                         "italic": bool(f.italic), "weight": f.weight})
for x in book.xf_list:
    a, b = x.alignment, x.border
    out["xfs"].append({"font": x.font_index, "format": x.format_key, "h": a.hor_align,
                       "v": a.vert_align, "wrap": a.text_wrapped, "rotation": a.rotation,
                       "indent": a.indent_level, "top": b.top_line_style,
                       "bottom": b.bottom_line_style, "left": b.left_line_style,
                       "right": b.right_line_style, "pattern": x.background.fill_pattern,
                       "patternColour": x.background.pattern_colour_index,
                       "locked": x.protection.cell_locked, "fontFlag": x._font_flag,
                       "formatFlag": x._format_flag, "borderFlag": x._border_flag})
for k, v in book.format_map.items():
    out["formats"][str(k)] = v.format_str
for s in book.sheets():
    cells = []
    for r in range(s.nrows):
        for c in range(s.ncols):
            cell = s.cell(r, c)
            if cell.ctype != xlrd.XL_CELL_EMPTY:
                cells.append([r, c, cell.ctype, cell.value, cell.xf_index])
    out["sheets"].append({"name": s.name, "cells": cells,
                          "merged": [list(m) for m in s.merged_cells],
                          "widths": {str(k): v.width for k, v in s.colinfo_map.items()},
                          "heights": {str(k): v.height for k, v in s.rowinfo_map.items()}})
print(json.dumps(out, ensure_ascii=False))
)PY";

const char* const kOlefileScript = R"PY(
import sys, json, hashlib
try:
    import olefile
except Exception as e:
    print(json.dumps({"error": "olefile cannot be imported (%s); install python3-olefile" % e}))
    sys.exit(0)
try:
    ole = olefile.OleFileIO(sys.argv[1], raise_defects=olefile.DEFECT_INCORRECT)
    data = ole.openstream(sys.argv[2]).read()
    print(json.dumps({"error": None, "streams": ["/".join(p) for p in ole.listdir()],
                      "rootClass": ole.root.clsid, "size": ole.get_size(sys.argv[2]),
                      "sha256": hashlib.sha256(data).hexdigest()}))
except Exception as e:
    print(json.dumps({"error": "%s: %s" % (type(e).__name__, e)}))
)PY";

QJsonObject runPythonScript(const char* script, const QStringList& arguments, const QString& what)
{
    const QString python = QStringLiteral("/usr/bin/python3");
    if (!machineHas(python))
        return QJsonObject{{QStringLiteral("error"), QStringLiteral("/usr/bin/python3 is missing; install python3-%1").arg(what)}};
    const RunResult run = runMachineProgram(python, QStringList{QStringLiteral("-c"), QString::fromUtf8(script)} + arguments, 120000);
    const QJsonDocument doc = QJsonDocument::fromJson(run.out);
    if (run.exitCode != 0 || !doc.isObject()) return QJsonObject{{QStringLiteral("error"), run.describe(what)}};
    return doc.object();
}

// One LibreOffice profile for the whole test process: its first start is the slow one.
QString libreOfficeProfile()
{
    static QTemporaryDir profile(QDir::tempPath() + QStringLiteral("/tervin-lo-XXXXXX"));
    return QUrl::fromLocalFile(machinePath(profile.path())).toString();
}

} // namespace

QJsonObject readWithXlrd(const QString& xlsPath)
{
    return runPythonScript(kXlrdScript, {xlsPath}, QStringLiteral("xlrd"));
}

QJsonObject readWithOlefile(const QString& path, const QString& streamName)
{
    return runPythonScript(kOlefileScript, {path, streamName}, QStringLiteral("olefile"));
}

QString convertWithGnumeric(const QString& xlsPath, const QString& csvPath)
{
    const QString ssconvert = QStringLiteral("/usr/bin/ssconvert");
    if (!machineHas(ssconvert)) return QStringLiteral("Gnumeric (/usr/bin/ssconvert) is missing; install gnumeric");
    const RunResult run = runMachineProgram(ssconvert, {QStringLiteral("--export-type=Gnumeric_stf:stf_csv"), xlsPath, csvPath}, 180000);
    if (!run.finished || run.exitCode != 0) return run.describe(QStringLiteral("ssconvert"));
    return {};
}

QString convertWithLibreOffice(const QStringList& files, const QString& convertTo, const QString& outDir)
{
    const QString soffice = QStringLiteral("/usr/bin/soffice");
    if (!machineHas(soffice))
        return QStringLiteral("LibreOffice (/usr/bin/soffice) is missing; install libreoffice-calc-nogui");
    QStringList arguments{QStringLiteral("-env:UserInstallation=") + libreOfficeProfile(), QStringLiteral("--headless"),
                          QStringLiteral("--convert-to"), convertTo, QStringLiteral("--outdir"), outDir};
    arguments += files;
    const RunResult run = runMachineProgram(soffice, arguments, 180000);
    if (!run.finished || run.exitCode != 0) return run.describe(QStringLiteral("soffice"));
    return {};
}

QString csvPerSheetFilter()
{
    return QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1");
}

std::vector<QStringList> readCsv(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QString text = QString::fromUtf8(file.readAll());
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            row << field;
            field.clear();
        } else if (c == QLatin1Char('\n')) {
            row << field;
            rows.push_back(row);
            row.clear();
            field.clear();
        } else if (c != QLatin1Char('\r')) {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.isEmpty()) {
        row << field;
        rows.push_back(row);
    }
    return rows;
}

} // namespace testsupport
