#include "Workbook.h"

#include "Application.h"
#include "EngineError.h"
#include "StoreError.h"
#include "formula/BiffFormula.h"
#include "formula/BiffFormulaText.h"
#include "xls/LinkNames.h"
#include "xls/XlsFile.h"

#include <QDir>
#include <QFileInfo>

namespace store {

Workbook::Workbook(Application* application, bool withFirstSheet)
    : application_(application), styles_(WorkbookStyles::defaults())
{
    if (withFirstSheet) appendSheet(QStringLiteral("Лист1"));
}

Workbook::~Workbook() = default;

std::unique_ptr<Workbook> Workbook::open(const QString& path, Application* application)
{
    auto workbook = std::make_unique<Workbook>(application, false);
    xls::readWorkbook(path, *workbook);
    if (workbook->sheets_.empty())
        throw Error(EngineError::WorkbookWithoutSheets, {QDir::toNativeSeparators(path)});
    workbook->path_ = path;
    workbook->saved_ = true;
    return workbook;
}

std::unique_ptr<Workbook> Workbook::fromBytes(const QByteArray& bytes, Application* application)
{
    auto workbook = std::make_unique<Workbook>(application, false);
    xls::readWorkbookBytes(bytes, *workbook);
    workbook->saved_ = true;
    return workbook;
}

QByteArray Workbook::toBytes() const
{
    return xls::workbookBytes(*this);
}

Worksheet* Workbook::findSheet(const QString& name) const
{
    for (const auto& sheet : sheets_)
        if (sheet->Name().compare(name, Qt::CaseInsensitive) == 0) return sheet.get();
    return nullptr;
}

Worksheet& Workbook::sheets(const QString& name) const
{
    if (Worksheet* sheet = findSheet(name)) return *sheet;
    throw Error(EngineError::NoSheetNamed, {Name(), name});
}

Worksheet& Workbook::sheets(int index) const
{
    if (index < 1 || index > sheetCount())
        throw Error(EngineError::NoSheetNumber, {Name(), QString::number(index)});
    return *sheets_[size_t(index - 1)];
}

int Workbook::indexOf(const Worksheet& sheet) const
{
    for (size_t i = 0; i < sheets_.size(); ++i)
        if (sheets_[i].get() == &sheet) return int(i) + 1;
    return 0;
}

std::vector<const Worksheet*> Workbook::sheetSpan(const QString& first, const QString& last) const
{
    const Worksheet* from = findSheet(first);
    const Worksheet* to = last.isEmpty() ? from : findSheet(last);
    if (!from || !to) return {};
    int a = indexOf(*from);
    int b = indexOf(*to);
    if (a > b) std::swap(a, b);
    std::vector<const Worksheet*> span;
    for (int i = a; i <= b; ++i) span.push_back(sheets_[size_t(i - 1)].get());
    return span;
}

void Workbook::sheetChanged(const Worksheet& changed)
{
    for (const auto& sheet : sheets_)
        if (sheet.get() != &changed) sheet->otherSheetChanged();
}

void Workbook::sheetRenamed(const QString& from, const QString& to)
{
    for (const auto& sheet : sheets_)
        sheet->changeFormulasReadingOtherSheets([&](Formula& formula) { formula.adjustForSheet(from, to); });
    if (!kept_.names || to.isEmpty()) return;
    auto names = std::make_shared<BiffWorkbookNames>(*kept_.names);
    for (QString& sheet : names->sheets)
        if (sheet.compare(from, Qt::CaseInsensitive) == 0) sheet = to;
    kept_.names = std::move(names);
}

FormulaNodePtr Workbook::definedName(const QString& name, const Worksheet& on) const
{
    if (!kept_.linksFitSheets || !kept_.names) return nullptr;
    const BiffWorkbookNames& names = *kept_.names;
    const auto tab = std::find_if(names.sheets.begin(), names.sheets.end(), [&](const QString& sheet) {
        return sheet.compare(on.Name(), Qt::CaseInsensitive) == 0;
    });
    const int sheetOwn = tab == names.sheets.end() ? -1 : int(tab - names.sheets.begin()) + 1;
    int index = 0;
    for (size_t i = 0; i < names.names.size(); ++i) {
        const BiffWorkbookNames::DefinedName& defined = names.names[i];
        if (defined.name.compare(name, Qt::CaseInsensitive) != 0) continue;
        if (defined.sheet == sheetOwn) {
            index = int(i) + 1;
            break;
        }
        if (defined.sheet == 0 && index == 0) index = int(i) + 1;
    }
    return index > 0 ? definedNameNode(names, index) : nullptr;
}

void Workbook::rowsDeleted(const Worksheet& deletedFrom, int first, int count)
{
    for (const auto& sheet : sheets_) {
        if (sheet.get() == &deletedFrom) continue;
        sheet->changeFormulasReadingOtherSheets(
            [&](Formula& formula) { formula.adjustForDeletedRows(first, count, deletedFrom.Name(), false); });
    }
    // The file's names follow as the formulas using them did.
    if (!kept_.linksFitSheets || !kept_.names) return;
    auto names = std::make_shared<BiffWorkbookNames>(*kept_.names);
    xls::namesAfterDeletedRows(kept_.links, *names, deletedFrom.Name(), first, count);
    kept_.names = std::move(names);
}

Worksheet& Workbook::sheetsAdd()
{
    QString name;
    for (int n = sheetCount() + 1;; ++n) {
        name = QStringLiteral("Лист%1").arg(n);
        if (!findSheet(name)) break;
    }
    const int at = sheets_.empty() ? 0 : active_;
    sheets_.insert(sheets_.begin() + at, std::make_unique<Worksheet>(this, name));
    active_ = at;
    sheetPlacesChanged();
    sheetChanged(*sheets_[size_t(at)]);   // spans of sheets may now hold it
    markChanged();
    return *sheets_[size_t(at)];
}

void Workbook::refuseTakenName(const QString& name, const Worksheet* renamed) const
{
    const Worksheet* other = findSheet(name);
    if (other && other != renamed) throw Error(EngineError::SheetNameTaken, {name});
}

Worksheet& Workbook::appendSheet(const QString& name)
{
    checkSheetNameCharacters(name);
    refuseTakenName(name, nullptr);
    sheets_.push_back(std::make_unique<Worksheet>(this, name));
    markChanged();
    return *sheets_.back();
}

bool Workbook::deleteSheet(Worksheet& sheet)
{
    const int index = indexOf(sheet) - 1;
    if (index < 0) return false;
    if (sheetCount() == 1)
        throw Error(EngineError::LastSheet, {sheet.Name()});
    if (application_) {
        const QString question =
            QStringLiteral("Листът „%1“ може да съдържа данни. Да бъде ли изтрит завинаги?").arg(sheet.Name());
        if (application_->ask(Alert::DeleteSheet, question) != AlertAnswer::Yes) return false;
    }
    const QString name = sheet.Name();
    const QString next = size_t(index + 1) < sheets_.size() ? sheets_[size_t(index + 1)]->Name() : QString();
    const QString previous = index > 0 ? sheets_[size_t(index - 1)]->Name() : QString();
    sheets_.erase(sheets_.begin() + index);
    // References to it become #REF!; spans of sheets it began or ended lose it.
    for (const auto& other : sheets_)
        other->changeFormulasReadingOtherSheets(
            [&](Formula& formula) { formula.adjustForSheet(name, {}, next, previous); });
    sheetPlacesChanged();
    // The spreadsheet then shows the sheet that followed, or the new last one.
    if (index < active_ || active_ >= sheetCount()) --active_;
    markChanged();
    return true;
}

// The file's names and links point at sheets by their places: once those change they are not
// written back, and the log says so, once.
void Workbook::sheetPlacesChanged()
{
    if (kept_.linksFitSheets && !kept_.links.empty())
        kept_.dropped.push_back(QStringLiteral("книгата: дефинираните имена и връзките към други книги (добавен или "
                                               "изтрит лист; формулите с тях остават със стойностите си)"));
    kept_.linksFitSheets = false;
}

void Workbook::calculate()
{
    for (const auto& sheet : sheets_) sheet->calculate();
}

void Workbook::activate(Worksheet& sheet)
{
    const int index = indexOf(sheet);
    if (index > 0) active_ = index - 1;
}

QString Workbook::Name() const
{
    return path_.isEmpty() ? QStringLiteral("Книга") : QFileInfo(path_).fileName();
}

void Workbook::writeTo(const QString& path)
{
    const auto write = [&] { xls::writeWorkbook(*this, path); };
    if (application_)
        application_->writeWrapped(*this, write);
    else
        write();
}

void Workbook::Save()
{
    if (path_.isEmpty())
        throw Error(EngineError::WorkbookWithoutFile);
    if (application_) application_->beforeSave(*this);
    writeTo(path_);
    saved_ = true;
    ++saveCount_;
}

void Workbook::SaveAs(const QString& path)
{
    writeTo(path);
    path_ = path;
    saved_ = true;
    ++saveCount_;
    shownChanged();
}

void Workbook::markChanged()
{
    saved_ = false;
    shownChanged();
}

void Workbook::shownChanged() const
{
    if (application_) application_->changed();
}

} // namespace store
