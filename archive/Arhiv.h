#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace archive {

// Copies kept: those of the last saving days, and the first copy of each of the last months.
inline constexpr int kKeptDays = 30;
inline constexpr int kKeptMonths = 12;

using Clock = std::function<QDateTime()>;

// One copy of the data workbook in the archive. The day's copy is "Danni-2026-12-07.xls"; a copy
// made before another copy was put back carries the time as well: "Danni-2026-12-07-140312.xls".
struct Copy {
    QString stamp;      // "2026-12-07" or "2026-12-07-140312": what names the copy
    QDateTime taken;    // the day (at midnight) or the moment
    QString path;
    qint64 size = 0;

    QDate date() const { return taken.date(); }
    bool isDaily() const { return stamp.size() == 10; }   // "yyyy-MM-dd"
};

// What a copy holds, read from the copy itself.
struct Contents {
    int articles = 0;
    int goods = 0;       // goods records of every article
    int salesRows = 0;
};

// Reads the copy; nothing when it cannot be read as a data workbook.
std::optional<Contents> readContents(const QString& path);

// When the copy was taken, as the shop reads it: "7. 12. 2026", or "7. 12. 2026, 14:03:12".
QString whenTaken(const Copy& copy);
// Why the copy cannot be put back: it does not read as a data workbook.
QString damaged(const Copy& copy);
// How the archive window and the workbook tool show a copy: date, size, what it holds.
QString describe(const Copy& copy, const std::optional<Contents>& contents);

// Dated after today: made while the computer's clock ran ahead.
bool isAhead(const Copy& copy, const QDate& today);

// Of these copies, those the archive no longer keeps on that day: every copy of the newest
// kKeptDays days that have copies stays, and so does the first copy of each of the last
// kKeptMonths months (this month included). Copies dated after today always stay and never
// count among the newest days, so that a clock once set ahead cannot push today's copies out.
std::vector<Copy> expired(const std::vector<Copy>& copies, const QDate& today);

// The archive of one data workbook: a copy before the first save of each day, kept for a while,
// and any copy put back in place of the workbook's file.
class Arhiv {
public:
    explicit Arhiv(const QString& dataFile, Clock clock = &QDateTime::currentDateTime);

    void setClock(Clock clock) { clock_ = std::move(clock); }
    const QString& dataFile() const { return dataFile_; }
    QString folder() const;

    // Every copy in the archive, newest first.
    std::vector<Copy> copies() const;
    std::optional<Copy> find(const QString& stamp) const;
    // What the copy holds; read once per run while the file stays the same.
    std::optional<Contents> contentsOf(const Copy& copy);
    // The newest copy that reads as a data workbook; nothing when none does.
    std::optional<Copy> newestReadable();
    // The copy's line in the archive window and the workbook tool: describe(), with a mark on a
    // copy dated after today, which the archive keeps whatever its age.
    QString line(const Copy& copy, const std::optional<Contents>& contents) const;

    // Called before each save of the data workbook: on the day's first save the file as it stands
    // is copied into the archive and old copies are removed. Never throws; a copy that cannot be
    // made is told to report the first time only, and tried again at the next save.
    void beforeSave(const std::function<void(const QString& problem)>& report);

    // The day's copy when there is none yet; throws store::Error when it cannot be made.
    // Returns whether a copy was made.
    bool makeDailyCopy();

    // The file as it stands goes into the archive as a copy of this moment, before a change that
    // may want undoing (a copy put back, the change to the euro). Returns the copy, with an empty
    // stamp when there is no file; throws store::Error when the copy cannot be made.
    Copy keepMoment();

    // Puts the copy back as the data workbook: the file as it stands goes into the archive first,
    // then the copy replaces it in one step. Throws store::Error, with the workbook's file
    // untouched, when the copy cannot be read or either step fails. Returns the stamp of the copy
    // that keeps the file as it was (empty when there was no file).
    QString putBack(const Copy& copy);

    // Removes the copies no longer kept; a copy that cannot be removed stays for the next time.
    void rotate();

private:
    QString pathFor(const QString& stamp) const;
    QString copyInto(const QString& stamp);
    QDateTime now() const { return clock_(); }

    struct Known {
        qint64 size;
        QDateTime modified;
        std::optional<Contents> contents;
    };

    QString dataFile_;
    Clock clock_;
    bool problemReported_ = false;
    std::map<QString, Known> known_;   // by path
};

} // namespace archive
