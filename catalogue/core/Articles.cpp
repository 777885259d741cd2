#include "catalogue/core/Articles.h"

#include "store/Application.h"
#include "store/PicturePaths.h"
#include "store/RowKeeper.h"
#include "store/StoreError.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace catalogue {

namespace layout = store::layout;
namespace idx = store::layout::index;

namespace {

bool onlyDots(const QString& name)
{
    for (const QChar c : name)
        if (c != QLatin1Char('.')) return false;
    return true;
}

// The whole name with case ignored, Cyrillic included; no wildcards.
bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QString articleNameProblem(const QString& name)
{
    if (name.isEmpty()) return QStringLiteral("Въведете името на артикула.");
    if (name.trimmed() != name)
        return QStringLiteral("Името на артикула не може да започва или да завършва с интервал.");
    if (name.size() > store::kLongestTypedSheetName)
        return QStringLiteral("Името на артикула може да бъде най-много %1 знака.").arg(store::kLongestTypedSheetName);
    for (const QChar c : name) {
        if (QStringLiteral(":\\/?*[]").contains(c))
            return QStringLiteral("Името на артикула не може да съдържа знаците : \\ / ? * [ ].");
        if (c.unicode() < 32) return QStringLiteral("Името на артикула не може да съдържа табулация или нов ред.");
    }
    if (name.startsWith(QLatin1Char('\'')) || name.endsWith(QLatin1Char('\'')))
        return QStringLiteral("Името на артикула не може да започва или да завършва с апостроф.");
    if (onlyDots(name)) return QStringLiteral("Името на артикула не може да се състои само от точки.");
    if (sameName(name, layout::kIndexSheet))
        return QStringLiteral("Името „%1“ е на служебния лист с данните и не може да бъде име на артикул.")
            .arg(layout::kIndexSheet);
    return {};
}

bool ProverkaArtikul(const store::DataWorkbook& data, const QString& name)
{
    if (data.workbook().findSheet(name)) return true;
    const store::Worksheet& index = data.indexSheet();
    // The names of the articles there are and of those deleted since, as far as the sheet goes.
    const int lastRow = std::min(data.counter(idx::kSheetCount) + idx::kFirstListRow, index.lastRow());
    for (int row = idx::kFirstListRow; row <= lastRow; ++row)
        if (sameName(index.value(row, idx::kArticleNameColumn).toText(), name)) return true;
    return false;
}

ArticleAdded DobaviArtikul(const store::DataWorkbook& data, const QString& picturesRoot, const QString& name)
{
    const int sheets = data.counter(idx::kSheetCount);
    if (QString problem = articleNameProblem(name); !problem.isEmpty()) return {problem, sheets};
    try {
        data.checkedSheetCount();
    } catch (const store::Error& e) {
        return {e.message(), sheets};
    }
    if (ProverkaArtikul(data, name)) return {kArticleTaken, sheets};
    const std::optional<QString> folder = store::articlePictureFolder(picturesRoot, name);
    if (!folder || (!QFileInfo(*folder).isDir() && !QDir().mkpath(*folder)))
        return {QStringLiteral("Папката за картините на артикула „%1“ не може да бъде създадена. "
                               "Артикулът не е добавен.").arg(QDir::toNativeSeparators(picturesRoot + QLatin1Char('/') + name)), sheets};

    store::Worksheet& sheet = data.workbook().sheetsAdd();
    sheet.setName(name);
    data.indexSheet().cells(sheets + idx::kFirstListRow, idx::kArticleNameColumn) = store::Value(name);
    sheet.cells(layout::article::kCountFormulaCell.row, layout::article::kCountFormulaCell.col)
        .setFormulaR1C1(layout::article::kCountFormulaR1C1);
    data.setCell(idx::kSheetCount, store::Value(sheets + 1));
    return {{}, sheets};
}

QString IztriiArtikul(const store::DataWorkbook& data, const QString& name, const store::RowKeeper* keeper)
{
    store::Worksheet* sheet = data.workbook().findSheet(name);
    if (!sheet || sameName(name, layout::kIndexSheet))
        return QStringLiteral("Няма артикул с името „%1“.").arg(name);
    if (keeper && keeper->holdsSheet(sheet->Name()))
        return QStringLiteral("В кошницата има стоки от артикула „%1“. Продайте ги или ги извадете от кошницата, "
                              "преди да изтриете артикула.").arg(sheet->Name());
    int sheets = 0;
    try {
        sheets = data.checkedSheetCount();
    } catch (const store::Error& e) {
        return e.message();
    }
    if (store::Application* application = data.workbook().application()) application->DisplayAlerts = false;
    sheet->Delete();
    data.setCell(idx::kSheetCount, store::Value(sheets - 1));
    return {};
}

} // namespace catalogue
