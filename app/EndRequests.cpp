#include "app/EndRequests.h"

#ifdef _WIN32

namespace app {

// Windows asks a program with windows to end by closing them, or through the end of the session
// (commitDataRequest): both already take the main window's own way out.
void endOnTerminationSignals(std::function<void()>) {}

} // namespace app

#else

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace app {

namespace {

int signalPipe[2] = {-1, -1};
std::function<void()> endRequested;

// Only what is safe in a signal handler: one byte into the pipe the event loop watches.
void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

} // namespace

void endOnTerminationSignals(std::function<void()> end)
{
    endRequested = std::move(end);
    if (signalPipe[0] >= 0) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(signalPipe[1], &byte, 1);
        if (endRequested) endRequested();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

} // namespace app

#endif
