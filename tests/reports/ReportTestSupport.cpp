#include "ReportTestSupport.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QListView>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

QStringList comboEntries(const QComboBox* box)
{
    QStringList result;
    for (int i = 0; i < box->count(); ++i) result << box->itemText(i);
    return result;
}

QStringList listEntries(const QListView* list)
{
    QStringList result;
    const QAbstractItemModel* model = list->model();
    for (int r = 0; r < model->rowCount(); ++r) result << model->index(r, list->modelColumn()).data().toString();
    return result;
}

QString caption(const QAbstractButton* button)
{
    QString text = button->text();
    static const QRegularExpression mark(QStringLiteral("&(?!&)"));
    return text.remove(mark).replace(QStringLiteral("&&"), QStringLiteral("&"));
}

void pickEntry(QComboBox* box, int index)
{
    box->showPopup();
    QAbstractItemView* view = box->view();
    const QModelIndex entry = view->model()->index(index, box->modelColumn());
    view->scrollTo(entry);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(entry).center());
}

namespace {

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

QString pdfText(const QString& path, int first, int last)
{
    QStringList arguments{QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (first > 0) arguments << QStringLiteral("-f") << QString::number(first);
    if (last > 0) arguments << QStringLiteral("-l") << QString::number(last);
    return run(QStringLiteral("pdftotext"), arguments << path << QStringLiteral("-"));
}

int pdfPages(const QString& path)
{
    static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption);
    const auto match = pages.match(run(QStringLiteral("pdfinfo"), {path}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}
