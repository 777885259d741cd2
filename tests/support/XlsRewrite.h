#pragma once

// Workbooks as other programs leave them, made from one of ours by rewriting its records.

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace testsupport {

// A record as the rewriter hands it over: id and data, which a change may replace.
struct RawRecord {
    quint16 id;
    QByteArray data;
};
// Gives the record to write instead, or nothing to drop it.
using RecordChange = std::function<std::optional<RawRecord>(const RawRecord&)>;

// Writes to `to` the workbook `from` with every record of its stream passed through change; the
// sheet list points at where each sheet's BOF then lies.
void rewriteXls(const QString& from, const QString& to, const RecordChange& change);

// The data of a BOUNDSHEET record as given, naming its sheet `name` (in UTF-16, count in one byte).
QByteArray boundSheetNamed(const QByteArray& data, const QString& name);

} // namespace testsupport
