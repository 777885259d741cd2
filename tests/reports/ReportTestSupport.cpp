#include "ReportTestSupport.h"

#include "tests/support/PdfReader.h"
#include "tests/support/Programs.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QListView>
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

QString pdfText(const QString& path, int first, int last)
{
    QStringList arguments{QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (first > 0) arguments << QStringLiteral("-f") << QString::number(first);
    if (last > 0) arguments << QStringLiteral("-l") << QString::number(last);
    const testsupport::RunResult run =
        testsupport::runMachineProgram(QStringLiteral("/usr/bin/pdftotext"), arguments << path << QStringLiteral("-"), 60000);
    return run.finished && run.exitCode == 0 ? QString::fromUtf8(run.out) : QString();
}

int pdfPages(const QString& path)
{
    const int pages = testsupport::pdfPageSize(path).pages;
    return pages > 0 ? pages : -1;
}
