#pragma once

#include "store/CellMemory.h"
#include "store/KeptRecords.h"
#include "store/StringTable.h"
#include "store/Style.h"
#include "store/Worksheet.h"

#include <QString>
#include <memory>
#include <vector>

namespace store {

class Application;

// An open workbook: its sheets in workbook order, the active one, its formats and its file.
class Workbook {
public:
    // A new workbook with one empty sheet "Лист1", or with no sheet at all for a file reader to
    // fill.
    explicit Workbook(Application* application = nullptr, bool withFirstSheet = true);
    // Reads the .xls file at path; throws store::Error naming the file and the reason.
    static std::unique_ptr<Workbook> open(const QString& path, Application* application = nullptr);
    // Reads a workbook from the bytes of a whole .xls file; it has no file of its own until
    // SaveAs. Throws store::Error as open does.
    static std::unique_ptr<Workbook> fromBytes(const QByteArray& bytes, Application* application = nullptr);
    // The bytes of the .xls file Save would write.
    QByteArray toBytes() const;
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;
    ~Workbook();

    // sheets("List"), sheets(1): throws store::Error when there is no such sheet.
    Worksheet& sheets(const QString& name) const;
    Worksheet& sheets(int index) const;
    Worksheet* findSheet(const QString& name) const;
    // Throws Error when a sheet other than `renamed` (null for a new sheet) has the name.
    void refuseTakenName(const QString& name, const Worksheet* renamed) const;
    int sheetCount() const { return int(sheets_.size()); }
    int indexOf(const Worksheet& sheet) const;   // 1-based
    // The sheets first..last in tab order (case ignored; last empty for first alone), as a
    // formula's Лист1:Лист3!A1 reads them; none when either is missing.
    std::vector<const Worksheet*> sheetSpan(const QString& first, const QString& last) const;

    // What formulas reading other sheets follow: a sheet's cells changed, a sheet was renamed,
    // rows of a sheet were deleted.
    void sheetChanged(const Worksheet& changed);
    void sheetRenamed(const QString& from, const QString& to);
    void rowsDeleted(const Worksheet& sheet, int first, int count);

    // The name `name` (case ignored) as a formula typed on the sheet reads it: the sheet's own
    // name of that text, else the workbook's. Null where the workbook defines no such name the
    // engine computes, or its file's names are no longer written back.
    FormulaNodePtr definedName(const QString& name, const Worksheet& on) const;

    // sheets.Add: a new empty sheet before the active one, which then becomes active. Its name is
    // the next free "ЛистN".
    Worksheet& sheetsAdd();
    // Appends a sheet at the end without changing the active one (file reader, new workbooks).
    // The name is not held to the length of a typed one: other programs write longer names.
    Worksheet& appendSheet(const QString& name);
    // sheets(name).Delete: asks through the application when its alerts are on; the last sheet
    // of a workbook cannot go. Returns whether the sheet was deleted.
    bool deleteSheet(Worksheet& sheet);

    Worksheet& ActiveSheet() const { return *sheets_[size_t(active_)]; }
    void activate(Worksheet& sheet);

    WorkbookStyles& styles() { return styles_; }
    const WorkbookStyles& styles() const { return styles_; }
    // The texts of every sheet's cells.
    StringTable& strings() { return strings_; }
    const StringTable& strings() const { return strings_; }

    // The file this workbook came from or was saved to; empty for a new one.
    const QString& FullName() const { return path_; }
    QString Name() const;   // file name only

    // Writes the workbook over its file, atomically: on failure the old file stays whole and a
    // store::Error says why.
    void Save();
    void SaveAs(const QString& path);
    bool Saved() const { return saved_; }
    // A change that the file does not hold yet; the application is told.
    void markChanged();
    // A change of what the workbook shows that the file holds already (values computed again):
    // the application is told.
    void shownChanged() const;
    // How many times the workbook has been written to its file: tells whether a change made
    // earlier has reached the disk since.
    quint64 saveCount() const { return saveCount_; }

    Application* application() const { return application_; }

    // The date system and the names and links of the file the workbook was read from.
    KeptGlobals& kept() { return kept_; }
    const KeptGlobals& kept() const { return kept_; }

    // Every formula computes again on its next read, also in a workbook whose calculation is
    // manual, as F9 does.
    void calculate();

    // What the last Find looked for, kept for FindNext as the spreadsheet keeps it.
    QString lastFind;

    // Where the sheets keep their cells.
    std::pmr::memory_resource* cellMemory() { return cellMemory_.pool(); }
    std::size_t cellMemoryMapped() const { return cellMemory_.mappedBytes(); }

private:
    void sheetPlacesChanged();
    // Writes the file through the application's save wrapper, when there is one.
    void writeTo(const QString& path);

    Application* application_;
    CellMemory cellMemory_;   // outlives the sheets
    std::vector<std::unique_ptr<Worksheet>> sheets_;
    int active_ = 0;
    WorkbookStyles styles_;
    KeptGlobals kept_;
    StringTable strings_;
    QString path_;
    bool saved_ = true;
    quint64 saveCount_ = 0;
};

} // namespace store
