#pragma once

class QAbstractItemView;

// Row `row` of a list or a view clicked as the shop keeper clicks it, scrolled into sight first.
void clickRow(QAbstractItemView* view, int row);
