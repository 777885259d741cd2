#pragma once

#include <functional>

namespace app {

// The system asks the program to end (SIGTERM at shutdown, SIGHUP when its terminal goes): end
// is called from the event loop, as if the shop keeper had chosen "изход". Installed once per
// process; later calls replace end.
void endOnTerminationSignals(std::function<void()> end);

} // namespace app
