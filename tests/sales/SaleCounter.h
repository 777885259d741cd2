#pragma once

// The shop keeper at the sale panel of a logged-in program: choosing articles and goods, adding
// to the basket, taking back, selling, and what the sale leaves on the article sheets and on the
// document form.
#include "SaleShop.h"

#include "app/support/Mouse.h"
#include "app/support/RunningProgram.h"

#include "app/Form1.h"
#include "common/Controls.h"
#include "sales/Form6.h"
#include "store/DataWorkbook.h"
#include "store/InvoiceLayout.h"
#include "store/Workbook.h"
#include "app/support/Lists.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

// Clicks an option on its caption, where a click takes (the blank right of it does not).
inline void choose(QRadioButton* option)
{
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
}

inline void flushClosedWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The shop keeper at the sale panel.
class Counter {
public:
    explicit Counter(const SaleShop& shop) : run(shop.folder.path()), w(run.logIn()) {}

    app::Shop& shop() { return run.program.shop(); }
    store::Worksheet& sheet(const QString& name) { return shop().danni().sheets(name); }
    store::DataWorkbook data() { return shop().data(); }

    void chooseArticle(const QString& name)
    {
        const int row = rowOf(w.List1, name);
        ASSERT_GE(row, 0) << qPrintable(name) << " among " << qPrintable(entries(w.List1).join(QLatin1Char('|')));
        clickRow(w.List1, row);
    }
    // Picks goods in the goods list and a quantity in the quantity box.
    void pick(const QString& goods, int count)
    {
        const int row = rowOf(w.List2, goods);
        ASSERT_GE(row, 0) << qPrintable(goods);
        clickRow(w.List2, row);
        const int entry = w.Combo1->findText(QString::number(count));
        ASSERT_GE(entry, 0) << "no quantity " << count << " for " << qPrintable(goods);
        w.Combo1->setCurrentIndex(entry);
    }
    void add(const QString& article, const QString& goods, int count)
    {
        chooseArticle(article);
        pick(goods, count);
        QTest::mouseClick(w.Image8, Qt::LeftButton);
    }
    void undo() { QTest::mouseClick(w.Image9, Qt::LeftButton); }
    void sell() { QTest::mouseClick(w.Command1, Qt::LeftButton); }
    void invoiceChoice(bool yes) { choose(yes ? w.Option1 : w.Option2); }

    sales::Form6* invoiceDialog() { return qobject_cast<sales::Form6*>(shop().windows.window(6)); }

    double stock(const QString& article, int row) { return number(article, row, store::layout::article::kStock); }
    double sold(const QString& article, int row) { return number(article, row, store::layout::article::kSold); }
    double number(const QString& article, int row, int column)
    {
        return sheet(article).value(row, column).toNumber().value_or(-1);
    }

    store::Worksheet& document()
    {
        return shop().FakturaEksel->ActiveWorkbook()->sheets(store::layout::invoice::kSheet);
    }
    QString documentText(store::layout::CellPos pos) { return document().value(pos.row, pos.col).toText(); }
    store::Value documentLine(int line, int column) { return document().value(store::layout::invoice::lineRow(line), column); }

    RunningProgram run;
    app::Form1& w;
};

// Types into a field as the keyboard would (QTest's key clicks know only Latin letters).
inline void type(QLineEdit* field, const QString& text)
{
    field->selectAll();
    field->insert(text);
}
