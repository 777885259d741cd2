#pragma once

// Driving the catalogue's windows as the shop keeper does: clicks, typed text, focus moving on.
#include "app/support/Keyboard.h"
#include "app/support/Mouse.h"
#include "app/support/RunningProgram.h"

#include "catalogue/Form4.h"
#include "catalogue/Form5.h"
#include "app/support/Lists.h"

#include <QLineEdit>
#include <QListView>
#include <QStringList>

class QAbstractItemView;


// Types the text into whatever holds the focus of the field's window.
void typeText(QWidget* field, const QString& text);
// A click into the field (the field left before it is validated), then the text typed over
// what it held.
void typeInto(QLineEdit* field, const QString& text);
void click(QWidget* control);

// The goods editor after "Добави стока" on article-list entry `row`.
catalogue::Form4* openEditor(RunningProgram& run, int row);
catalogue::Form4* goodsEditor(RunningProgram& run);
catalogue::Form5* articleWindow(RunningProgram& run);

// Fills the editor's fields by typing, each left for the next.
struct Typed {
    QString name, price, count, markup, maker = {}, description = {};
};
void typeRecord(catalogue::Form4* editor, const Typed& typed);
