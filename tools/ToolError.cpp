#include "tools/ToolError.h"

namespace tools {

QString errorMessage(ToolError kind, const QStringList& a)
{
    switch (kind) {
    case ToolError::ProgramRunning:
        return QStringLiteral("Програмата работи с данните от „%1“: затворете я и опитайте пак.").arg(a.value(0));
    case ToolError::FolderNotWritable: return QStringLiteral("В папката „%1“ не може да се пише.").arg(a.value(0));
    case ToolError::FileExists:
        return QStringLiteral("Файлът „%1“ вече съществува и не е заменен. Ако наистина трябва да бъде заменен с "
                              "празна работна книга, използвайте „tervin-workbook new --force %2“.")
            .arg(a.value(0), a.value(1));
    case ToolError::NoSuchCopy:
        return QStringLiteral("В „%1“ няма копие „%2“; архивните копия се виждат с „tervin-workbook archive %3“.")
            .arg(a.value(0), a.value(1), a.value(2));
    case ToolError::ProgramNotStarted: return QStringLiteral("Програмата „%1“ не може да бъде стартирана.").arg(a.value(0));
    case ToolError::ShopAlreadyThere:
        return QStringLiteral("В папката „%1“ вече има магазин (%2). Демонстрационният магазин не се записва върху "
                              "данни на магазин.")
            .arg(a.value(0), a.value(1));
    case ToolError::PictureNotWritten: return QStringLiteral("Картината „%1“ не може да бъде записана.").arg(a.value(0));
    case ToolError::DeepFormulaNotRead: return QStringLiteral("дълбоката формула не се разчита");
    case ToolError::CorpusFileNotWritten: return QStringLiteral("„%1“ не може да бъде записан").arg(a.value(0));
    }
    return {};
}

} // namespace tools
