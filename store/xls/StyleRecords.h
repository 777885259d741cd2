#pragma once

// FONT, FORMAT and XF records: a workbook's formatting as BIFF8 holds it.

#include "store/Style.h"
#include "store/xls/BiffRecords.h"

namespace store::xls {

Font readFont(FieldReader& reader);
void writeFont(RecordWriter& out, const Font& font);

// One FORMAT record: the index it defines and its code.
std::pair<quint16, QString> readNumberFormat(FieldReader& reader);
void writeNumberFormat(RecordWriter& out, quint16 index, const QString& code);

CellFormat readXf(FieldReader& reader);
void writeXf(RecordWriter& out, const CellFormat& format);

} // namespace store::xls
