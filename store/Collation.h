#pragma once

#include <QCollator>

namespace store {

// The order of Bulgarian text, case ignored, as sorting and comparing cells use it.
QCollator& bulgarianCollator();

} // namespace store
