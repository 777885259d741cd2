#pragma once

#include <QKeySequence>
#include <QString>

namespace store::window {

// "Печат (Ctrl+P)": a tool tip that tells the key as the system writes it.
QString withKey(const QString& text, const QKeySequence& key);

} // namespace store::window
