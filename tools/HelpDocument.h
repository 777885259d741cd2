#pragma once

#include <QByteArray>

namespace demo {

// Help.doc: a short guide to the program in Bulgarian, as an RTF document. Every letter outside
// ASCII is written as an \uN? escape, so any word processor opens it whatever its code page.
QByteArray helpDocument();

} // namespace demo
