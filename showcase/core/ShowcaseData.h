#pragma once

#include "store/Value.h"

#include <QString>
#include <QStringList>

namespace store {
class Workbook;
class Worksheet;
} // namespace store

// What the showcase reads from the data workbook, apart from any window.
namespace showcase {

inline const QString kNoArticles = QStringLiteral("Няма наличност");
// The article list's only entry, and the search's, once no article is left.
inline const QString kNoArticleLeft = QStringLiteral("Няма налична стока");
// Told when a command on the chosen article finds none chosen.
inline const QString kChooseArticle = QStringLiteral("Изберете артикул");

// What stands before an article's name in the article list.
inline const QString kArticleListIndent = QStringLiteral("  ");

// The article list: two blanks and the sheet name for every article sheet, in workbook order,
// with the index sheet left out; "Няма наличност" alone when there is no article. sheetCount is
// D1 of the index sheet.
QStringList articleEntries(const store::Workbook& workbook, int sheetCount);
// The sheet name an entry of the article list stands for: the entry without its leading blanks.
QString articleName(const QString& entry);

// Paths of the pictures under the program folder's Kartini.
QString noPicturePath(const QString& programFolder);
QString noGoodsPicturePath(const QString& programFolder);
// The picture a goods record names in column J, or the no-picture one when J is empty, is not a
// bare file name, or names no file there. (A file that is there but is no picture shows up only
// when it is read: see Vitrina.)
QString goodsPicturePath(const QString& programFolder, const QString& article, const QString& fileName);

// A price for the showcase: a number as "#0.00" (an empty cell as 0,00); anything else as stored.
QString showcasePrice(const store::Value& price);
// A price for the details panel: as in the showcase, but an empty cell gives nothing.
QString detailsPrice(const store::Value& price);

// What one showcase slot shows of a row of the article sheet.
struct SlotContent {
    bool hasGoods = false;   // column B holds a name
    QString name;
    QString price;
    QString currency;        // the shop's: "лв." or "€"
    QString picture;         // full path of the picture to show
};
SlotContent readSlot(const store::Worksheet& article, int row, const QString& programFolder);

// The details panel's text for a row: name, price, availability, maker and description, lines
// ending in CR LF.
QString detailsText(const store::Worksheet& article, int row);

// The stock of a row as a whole number of pieces (what the quantity box offers up to).
int stockOf(const store::Worksheet& article, int row);

} // namespace showcase
