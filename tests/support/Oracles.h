#pragma once

// The outside programs that check our .xls files: xlrd reads what we write, LibreOffice opens
// what we write and writes files for us to read, olefile reads the compound file around the
// workbook and Gnumeric's ssconvert opens what we write. All are installed by the test script; a
// test that finds one missing fails with the message these helpers give.

#include "tests/support/Programs.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <vector>

namespace testsupport {

// What xlrd (run by the system's Python) reads from an .xls file, formatting included:
// {"error": null or text, "datemode": 0 or 1, "sheets": [{"name", "cells": [[row, col, ctype, value, xf]], "merged",
// "widths", "heights"}], "fonts": [...], "xfs": [...], "formats": {...}}. Rows and columns count
// from 0 as xlrd counts them. "error" says why xlrd is missing or refused the file.
QJsonObject readWithXlrd(const QString& xlsPath);

// Converts files with LibreOffice in one run into outDir ("xls:MS Excel 97", "csv:..."), with
// a profile of its own. Returns what went wrong, or an empty string.
QString convertWithLibreOffice(const QStringList& files, const QString& convertTo, const QString& outDir);

// The filter that writes one UTF-8 CSV file per sheet, named "<file>-<sheet>.csv".
QString csvPerSheetFilter();

// What olefile, held to the format strictly, reads of a compound file: {"error": null or text,
// "streams": ["Workbook", ...] (paths joined by "/"), "rootClass": "00020820-...", and for the
// stream streamName its "size" and "sha256" (hex)}.
QJsonObject readWithOlefile(const QString& path, const QString& streamName);

// Converts the first sheet of an .xls file to a CSV file with Gnumeric's ssconvert. Returns
// what went wrong, or an empty string.
QString convertWithGnumeric(const QString& xlsPath, const QString& csvPath);

// The rows of a CSV file as LibreOffice writes it (comma, double quotes).
std::vector<QStringList> readCsv(const QString& path);

} // namespace testsupport
