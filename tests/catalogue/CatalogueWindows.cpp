#include "CatalogueWindows.h"
#include "app/support/Lists.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

void typeText(QWidget* field, const QString& text)
{
    // Key events carry the letters themselves: Cyrillic has no key code of its own here.
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void typeInto(QLineEdit* field, const QString& text)
{
    QTest::mouseClick(field, Qt::LeftButton);
    field->selectAll();
    typeText(field, text);
}

void click(QWidget* control)
{
    QTest::mouseClick(control, Qt::LeftButton);
    QCoreApplication::processEvents();
}

catalogue::Form4* goodsEditor(RunningProgram& run)
{
    return qobject_cast<catalogue::Form4*>(run.program.shop().windows.window(4));
}

catalogue::Form5* articleWindow(RunningProgram& run)
{
    return qobject_cast<catalogue::Form5*>(run.program.shop().windows.window(5));
}

catalogue::Form4* openEditor(RunningProgram& run, int row)
{
    app::Form1& w = *run.program.mainWindow();
    clickRow(w.List1, row);
    QTest::mouseClick(w.Command5, Qt::LeftButton);
    catalogue::Form4* editor = goodsEditor(run);
    if (editor) activate(editor);
    return editor;
}

void typeRecord(catalogue::Form4* e, const Typed& typed)
{
    typeInto(e->Text1, typed.name);
    typeInto(e->Text2, typed.price);
    typeInto(e->Text3, typed.count);
    typeInto(e->Text4, typed.markup);
    typeInto(e->Text6, typed.maker);
    typeInto(e->Text7, typed.description);
}
