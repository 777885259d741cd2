#include "store/xls/OleStream.h"

#include "store/StoreError.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <fcntl.h>
#include <unistd.h>

namespace store::xls {

namespace {

void initGsf()
{
    static std::once_flag once;
    std::call_once(once, [] { gsf_init(); });
}

struct Unref {
    void operator()(gpointer object) const { if (object) g_object_unref(object); }
};
template <typename T> using GsfPtr = std::unique_ptr<T, Unref>;

// Takes a GError's message and frees it.
QString takeMessage(GError* error)
{
    if (!error) return QString();
    const QString message = QString::fromUtf8(error->message);
    g_error_free(error);
    return message;
}

QString withDetail(const QString& reason, const QString& detail)
{
    return detail.isEmpty() ? reason : reason + QStringLiteral(" (") + detail + QLatin1Char(')');
}

// The child stream whose name matches, case ignored as the compound file format does.
GsfPtr<GsfInput> childByName(GsfInfile* infile, const char* name)
{
    const int count = gsf_infile_num_children(infile);
    for (int i = 0; i < count; ++i) {
        const char* childName = gsf_infile_name_by_index(infile, i);
        if (childName && g_ascii_strcasecmp(childName, name) == 0)
            return GsfPtr<GsfInput>(gsf_infile_child_by_index(infile, i));
    }
    return nullptr;
}

QString temporaryPathBeside(const QString& path)
{
    const QFileInfo info(path);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName()
           + QStringLiteral(".%1-%2.tmp")
                 .arg(::getpid())
                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

// Writes the stream into a new compound file at path; throws store::Error with the reason.
void writeCompoundFile(const QString& path, const char* streamName, std::initializer_list<const QByteArray*> parts,
                       qsizetype minimumSize)
{
    GError* error = nullptr;
    GsfPtr<GsfOutput> sink(gsf_output_stdio_new(QFile::encodeName(path).constData(), &error));
    if (!sink)
        throw Error(withDetail(QStringLiteral("не може да се създаде файл в папката"), takeMessage(error)));
    GsfPtr<GsfOutfile> ole(gsf_outfile_msole_new(sink.get()));
    if (!ole) throw Error(QStringLiteral("не може да се създаде съставен файл"));
    GsfPtr<GsfOutput> stream(gsf_outfile_new_child(ole.get(), streamName, FALSE));
    if (!stream) throw Error(QStringLiteral("не може да се създаде потокът %1").arg(QLatin1String(streamName)));

    bool written = true;
    qsizetype total = 0;
    for (const QByteArray* part : parts) {
        written = written && gsf_output_write(stream.get(), size_t(part->size()),
                                              reinterpret_cast<const guint8*>(part->constData()));
        total += part->size();
    }
    if (total < minimumSize) {
        const QByteArray padding(minimumSize - total, '\0');
        written = written && gsf_output_write(stream.get(), size_t(padding.size()),
                                              reinterpret_cast<const guint8*>(padding.constData()));
    }
    written = gsf_output_close(stream.get()) && written;
    written = gsf_output_close(GSF_OUTPUT(ole.get())) && written;
    if (!gsf_output_is_closed(sink.get())) written = gsf_output_close(sink.get()) && written;
    if (!written) {
        const GError* sinkError = gsf_output_error(sink.get());
        throw Error(withDetail(QStringLiteral("грешка при запис на диска"),
                               sinkError ? QString::fromUtf8(sinkError->message) : QString()));
    }
}

} // namespace

QByteArray readWorkbookStream(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) throw Error(QStringLiteral("файлът не съществува"));
    if (!info.isFile()) throw Error(QStringLiteral("това не е файл"));
    initGsf();

    GError* error = nullptr;
    GsfPtr<GsfInput> file(gsf_input_stdio_new(QFile::encodeName(path).constData(), &error));
    if (!file) throw Error(withDetail(QStringLiteral("файлът не може да бъде отворен"), takeMessage(error)));
    GsfPtr<GsfInfile> ole(gsf_infile_msole_new(file.get(), &error));
    if (!ole) {
        takeMessage(error);
        throw Error(QStringLiteral("не е работна книга на Excel 97-2003"));
    }
    GsfPtr<GsfInput> stream = childByName(ole.get(), "Workbook");
    if (!stream) {
        if (childByName(ole.get(), "Book"))
            throw Error(QStringLiteral("работната книга е в по-стария формат на Excel 5.0/95, а се чете само Excel 97-2003"));
        throw Error(QStringLiteral("не е работна книга на Excel 97-2003"));
    }
    const gsf_off_t size = gsf_input_size(stream.get());
    if (size < 0 || size > gsf_off_t(1) << 30) throw Error(QStringLiteral("потокът на работната книга е повреден"));
    QByteArray data(qsizetype(size), Qt::Uninitialized);
    if (size > 0 && !gsf_input_read(stream.get(), size_t(size), reinterpret_cast<guint8*>(data.data())))
        throw Error(QStringLiteral("файлът е непълен или повреден"));
    return data;
}

// Pushes what was written to a file (or a folder's entries) onto the disk, so that a power cut
// after the rename cannot leave an empty file behind.
static bool syncToDisk(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

void writeStreamFile(const QString& path, const char* streamName, std::initializer_list<const QByteArray*> parts,
                     qsizetype minimumSize)
{
    initGsf();
    // A link is kept: the file it points at is the one replaced.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.symLinkTarget() : path;
    const QString temporary = temporaryPathBeside(target);
    try {
        writeCompoundFile(temporary, streamName, parts, minimumSize);
        if (QFileInfo::exists(target)) QFile::setPermissions(temporary, QFile::permissions(target));
        if (!syncToDisk(temporary))
            throw Error(withDetail(QStringLiteral("записаното не може да бъде потвърдено на диска"),
                                   QString::fromLocal8Bit(std::strerror(errno))));
        if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0)
            throw Error(withDetail(QStringLiteral("файлът не може да бъде заменен"), QString::fromLocal8Bit(std::strerror(errno))));
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    syncToDisk(QFileInfo(target).absolutePath());
}

} // namespace store::xls
