#include "cli/stop_signal.h"

#include <cerrno>
#include <csignal>

namespace velkaro::cli {
namespace {

const EventFd* g_pStop = nullptr;

extern "C" void SignalStop(int) {
    const int saved = errno;
    if (g_pStop) g_pStop->Signal();  // one write(2) to an eventfd: safe in a handler
    errno = saved;
}

}  // namespace

const EventFd& StopOnSignals() {
    static const EventFd stop;
    if (!g_pStop) {
        g_pStop = &stop;
        struct sigaction action {};
        action.sa_handler = SignalStop;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, nullptr);
        ::sigaction(SIGTERM, &action, nullptr);
        std::signal(SIGPIPE, SIG_IGN);
    }
    return stop;
}

}  // namespace velkaro::cli
