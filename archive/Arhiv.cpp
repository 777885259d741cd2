#include "archive/Arhiv.h"

#include "archive/ArchiveError.h"
#include "store/DataWorkbook.h"
#include "store/ProgramFiles.h"
#include "store/StoreError.h"
#include "store/Workbook.h"
#include "store/xls/XlsError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>
#include <filesystem>
#include <iterator>
#include <set>

namespace archive {

namespace {

const QString kDayFormat = QStringLiteral("yyyy-MM-dd");
const QString kMomentFormat = QStringLiteral("yyyy-MM-dd-HHmmss");

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The moment a stamp names, or an invalid one when the name is not one of ours.
QDateTime parseStamp(const QString& stamp)
{
    if (stamp.size() == kDayFormat.size()) return QDateTime(QDate::fromString(stamp, kDayFormat), QTime(0, 0));
    return QDateTime::fromString(stamp, kMomentFormat);
}

QString sizeText(qint64 bytes)
{
    const QLocale locale;
    if (bytes < 1024 * 1024) return QStringLiteral("%1 КБ").arg(locale.toString((bytes + 1023) / 1024));
    return QStringLiteral("%1 МБ").arg(locale.toString(double(bytes) / (1024 * 1024), 'f', 1));
}

// Copies source to target through a file written beside target and renamed over it at the end,
// so that target is either the old file or the whole copy.
void replaceWith(const QString& source, const QString& target)
{
    QFile in(source);
    QSaveFile out(target);
    if (!in.open(QIODevice::ReadOnly))
        throw store::Error(ArchiveError::CopyNotRead, {native(source), in.errorString()});
    if (!out.open(QIODevice::WriteOnly))
        throw store::Error(store::xls::XlsError::FileNotWritten, {native(target), out.errorString()});
    QByteArray chunk;
    while (!(chunk = in.read(1 << 20)).isEmpty())
        if (out.write(chunk) != chunk.size()) break;
    if (in.error() != QFileDevice::NoError || out.error() != QFileDevice::NoError || !out.commit())
        throw store::Error(store::xls::XlsError::FileNotWritten, {native(target), out.errorString()});
}

} // namespace

std::optional<Contents> readContents(const QString& path)
{
    try {
        const auto workbook = store::Workbook::open(path);
        const store::DataWorkbook data(*workbook);
        const store::Worksheet& index = data.indexSheet();
        Contents contents;
        for (int i = 1; i <= workbook->sheetCount(); ++i) {
            const store::Worksheet& sheet = workbook->sheets(i);
            if (&sheet == &index) continue;
            ++contents.articles;
            contents.goods += data.goodsCount(sheet);
        }
        contents.salesRows = data.counter(store::layout::index::kSalesRows);
        return contents;
    } catch (const store::Error&) {
        return std::nullopt;
    }
}

QString whenTaken(const Copy& copy)
{
    const QString day = store::formatShopDate(copy.date());
    return copy.isDaily() ? day : day + QStringLiteral(", ") + copy.taken.time().toString(QStringLiteral("HH:mm:ss"));
}

QString describe(const Copy& copy, const std::optional<Contents>& contents)
{
    const QString head = whenTaken(copy) + QStringLiteral(" – ") + sizeText(copy.size) + QStringLiteral(" – ");
    if (!contents) return head + QStringLiteral("повредено копие, не може да бъде възстановено");
    return head + QStringLiteral("артикули: %1, стоки: %2, продажби: %3")
                      .arg(contents->articles)
                      .arg(contents->goods)
                      .arg(contents->salesRows);
}

namespace {

// The oldest of the newest kKeptDays days that have copies; invalid while there are no more days.
QDate oldestKeptDay(const std::vector<Copy>& copies)
{
    std::set<QDate, std::greater<>> days;
    for (const Copy& copy : copies) days.insert(copy.date());
    return days.size() > size_t(kKeptDays) ? *std::next(days.begin(), kKeptDays - 1) : QDate();
}

// The stamps of the first copy of each of the last kKeptMonths months, this month included.
std::set<QString> firstOfEachMonth(const std::vector<Copy>& copies, const QDate& today)
{
    const QDate firstKeptMonth = QDate(today.year(), today.month(), 1).addMonths(-(kKeptMonths - 1));
    std::vector<Copy> oldestFirst = copies;
    std::sort(oldestFirst.begin(), oldestFirst.end(), [](const Copy& a, const Copy& b) { return a.taken < b.taken; });
    std::set<QDate> monthsSeen;
    std::set<QString> result;
    for (const Copy& copy : oldestFirst) {
        const QDate month(copy.date().year(), copy.date().month(), 1);
        if (month >= firstKeptMonth && monthsSeen.insert(month).second) result.insert(copy.stamp);
    }
    return result;
}

} // namespace

bool isAhead(const Copy& copy, const QDate& today)
{
    return copy.date() > today;
}

std::vector<Copy> expired(const std::vector<Copy>& copies, const QDate& today)
{
    std::vector<Copy> past;
    std::copy_if(copies.begin(), copies.end(), std::back_inserter(past), [&](const Copy& copy) { return !isAhead(copy, today); });
    const QDate oldestDay = oldestKeptDay(past);
    const std::set<QString> monthly = firstOfEachMonth(past, today);
    std::vector<Copy> result;
    for (const Copy& copy : past) {
        const bool recentDay = !oldestDay.isValid() || copy.date() >= oldestDay;
        if (!recentDay && !monthly.count(copy.stamp)) result.push_back(copy);
    }
    return result;
}

Arhiv::Arhiv(const QString& dataFile, Clock clock) : dataFile_(dataFile), clock_(std::move(clock)) {}

QString Arhiv::folder() const
{
    return QFileInfo(dataFile_).dir().filePath(store::kArchiveFolder);
}

QString Arhiv::pathFor(const QString& stamp) const
{
    const QFileInfo data(dataFile_);
    return QDir(folder()).filePath(data.completeBaseName() + QLatin1Char('-') + stamp + QLatin1Char('.') + data.suffix());
}

std::vector<Copy> Arhiv::copies() const
{
    const QFileInfo data(dataFile_);
    const QRegularExpression name(QStringLiteral("^%1-(\\d{4}-\\d{2}-\\d{2}(?:-\\d{6})?)\\.%2$")
                                      .arg(QRegularExpression::escape(data.completeBaseName()),
                                           QRegularExpression::escape(data.suffix())));
    std::vector<Copy> result;
    for (const QFileInfo& file : QDir(folder()).entryInfoList(QDir::Files)) {
        const QRegularExpressionMatch match = name.match(file.fileName());
        if (!match.hasMatch()) continue;
        const QString stamp = match.captured(1);
        const QDateTime taken = parseStamp(stamp);
        if (!taken.isValid()) continue;
        result.push_back(Copy{stamp, taken, file.filePath(), file.size()});
    }
    std::sort(result.begin(), result.end(), [](const Copy& a, const Copy& b) { return a.taken > b.taken; });
    return result;
}

std::optional<Copy> Arhiv::find(const QString& stamp) const
{
    for (const Copy& copy : copies())
        if (copy.stamp == stamp) return copy;
    return std::nullopt;
}

std::optional<Contents> Arhiv::contentsOf(const Copy& copy)
{
    const QFileInfo file(copy.path);
    const auto found = known_.find(copy.path);
    if (found != known_.end() && found->second.size == file.size() && found->second.modified == file.lastModified())
        return found->second.contents;
    const std::optional<Contents> contents = readContents(copy.path);
    known_[copy.path] = Known{file.size(), file.lastModified(), contents};
    return contents;
}

QString Arhiv::copyInto(const QString& stamp)
{
    if (!QDir().mkpath(folder()))
        throw store::Error(ArchiveError::FolderNotCreated, {native(folder())});
    const QString target = pathFor(stamp);
    // Copied in the kernel under another name, then named: a copy cut short never looks whole.
    const std::filesystem::path partial((target + QStringLiteral(".part")).toStdU16String());
    std::error_code error;
    std::filesystem::copy_file(std::filesystem::path(dataFile_.toStdU16String()), partial,
                               std::filesystem::copy_options::overwrite_existing, error);
    if (!error) std::filesystem::rename(partial, std::filesystem::path(target.toStdU16String()), error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        throw store::Error(ArchiveError::CopyNotWritten, {native(target), QString::fromLocal8Bit(error.message())});
    }
    return target;
}

bool Arhiv::makeDailyCopy()
{
    const QString stamp = now().date().toString(kDayFormat);
    if (!QFileInfo::exists(dataFile_) || QFileInfo::exists(pathFor(stamp))) return false;
    copyInto(stamp);
    rotate();
    return true;
}

void Arhiv::beforeSave(const std::function<void(const QString& problem)>& report)
{
    try {
        makeDailyCopy();
    } catch (const store::Error& e) {
        if (problemReported_) return;
        problemReported_ = true;
        report(e.message());
    }
}

Copy Arhiv::keepMoment()
{
    if (!QFileInfo::exists(dataFile_)) return {};
    // Two copies kept within one second are each kept.
    QDateTime moment = now();
    while (QFileInfo::exists(pathFor(moment.toString(kMomentFormat)))) moment = moment.addSecs(1);
    const QString stamp = moment.toString(kMomentFormat);
    const QString path = copyInto(stamp);
    return Copy{stamp, moment, path, QFileInfo(path).size()};
}

QString damaged(const Copy& copy)
{
    return errorMessage(ArchiveError::CopyDamaged, {whenTaken(copy)});
}

QString Arhiv::putBack(const Copy& copy)
{
    if (!readContents(copy.path))
        throw store::Error(ArchiveError::CopyDamaged, {whenTaken(copy)});
    const QString before = keepMoment().stamp;
    replaceWith(copy.path, dataFile_);
    rotate();
    return before;
}

std::optional<Copy> Arhiv::newestReadable()
{
    for (const Copy& copy : copies())
        if (contentsOf(copy)) return copy;
    return std::nullopt;
}

QString Arhiv::line(const Copy& copy, const std::optional<Contents>& contents) const
{
    const QString text = describe(copy, contents);
    return isAhead(copy, now().date()) ? text + QStringLiteral(" – с бъдеща дата") : text;
}

void Arhiv::rotate()
{
    for (const Copy& copy : expired(copies(), now().date())) QFile::remove(copy.path);
}

} // namespace archive
