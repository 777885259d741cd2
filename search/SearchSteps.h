#pragma once

#include <QString>
#include <optional>

namespace store {
class DataWorkbook;
class Worksheet;
} // namespace store

// The searches of the search dialog, apart from any window: which article is searched, the search
// by a word of the name and the promotion search, each walking its hits with Find and FindNext.
namespace search {

inline const QString kNotChosen = QStringLiteral("Не сте избрали артикул");
inline const QString kWordNotFound = QStringLiteral("Не е намерена стока по търсената дума");
inline const QString kPromotionNotFound = QStringLiteral("Не е намерена промоция");

// A cell an article search found; the next search starts after it.
struct Hit {
    QString sheet;
    int row = 0;
    int column = 0;
    friend bool operator==(const Hit&, const Hit&) = default;
};

// What the main window remembers of the searches; it outlives the search dialog.
struct SearchState {
    QString ListZaTyrsene;                    // the article sheet searched last
    QString what;                             // what the search by name looks for
    std::optional<Hit> TekushtoNamirane;      // current hit of the search by name
    std::optional<Hit> PyrvoNamirane;         // its first hit: where a pass ends
    std::optional<Hit> TekushtaPromocia;      // current promotion
};

// Which article the user means: the chooser's pick, else the main window's current article.
struct ArticlePick {
    std::optional<QString> chooserEntry;   // the chooser's entry as listed, when one is picked
    bool mainListSelected = false;         // the main window's article list has a selection
    QString ImeNaList;                     // the main window's current article
};

// The article a step works on.
struct ArticleTarget {
    enum class State { NoArticles, NotChosen, Ready } state = State::NoArticles;
    QString sheet;
    int last = 1;   // last goods row: T1 + 1; 1 when the article has no goods
};
ArticleTarget resolveArticle(const store::DataWorkbook& data, const ArticlePick& pick);

// A word that counts as no word: empty or a single blank.
bool isBlankWord(const QString& word);

// What a search step puts into the dialog.
struct Outcome {
    enum class Kind {
        Nothing,     // no articles, or an article without goods: the dialog stays as it is
        NotChosen,   // no article chosen anywhere: the warning, "Следващ" hidden
        Blank,       // a blank word: the result box emptied, the picture hidden
        NotFound,    // the not-found text, the picture hidden
        Record,      // one goods record: its text and its picture
    } kind = Kind::Nothing;
    QString text;             // the result box
    QString picture;          // Record: the picture file to show
    int row = 0;              // Record: the row shown
    bool hideNext = false;    // "Следващ" of the search by name is to be hidden
};

// "Търсене" of the mode "Стока по име": the first goods whose name holds the word.
Outcome TyrseneNaDuma(SearchState& state, const store::DataWorkbook& data, const ArticlePick& pick,
                      const QString& word, const QString& programFolder);
// "Следващ" of that mode: the next such goods, wrapping round; hides itself when the pass is done.
Outcome nextWord(SearchState& state, const store::DataWorkbook& data, const ArticlePick& pick,
                 const QString& word, const QString& programFolder);
// The mode "Промоции": the first goods on promotion.
Outcome TyrseneNaPromocia(SearchState& state, const store::DataWorkbook& data, const ArticlePick& pick,
                          const QString& programFolder);
// "Следващ" of the promotions: the next one, round and round.
Outcome TyrseneNaSledvashtaPromocia(SearchState& state, const store::DataWorkbook& data, const ArticlePick& pick,
                                    const QString& programFolder);

// The mode "Стока по баркод": the goods of every article whose barcode is the code typed or
// scanned, shown with their article.
Outcome TyrseneNaBarkod(const store::DataWorkbook& data, const QString& code, const QString& programFolder);

// A goods record as the result box shows it: nine lines, each ending in CR LF.
QString recordText(const store::Worksheet& article, int row);

} // namespace search
