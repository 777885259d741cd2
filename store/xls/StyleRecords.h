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

// Throws store::Error when the formatting does not fit the file format: 1 to 511 fonts with
// names of 1 to 255 characters, 16 to 4050 XF records (the fifteen style XFs and the default
// cell XF at least), XFs naming fonts that exist, number format codes of up to 255 characters.
// The reader checks what it has read with it too, so that a file it opens can also be saved.
void checkStylesFit(const WorkbookStyles& styles);

} // namespace store::xls
