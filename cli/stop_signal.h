// Ctrl+C and termination requests as an event the commands wait on alongside their device.
#pragma once

#include "platform/event_fd.h"

namespace velkaro::cli {

// Installs handlers for SIGINT and SIGTERM (once) that signal the returned event, and ignores
// SIGPIPE so a closed output pipe shows up as a failed write.
const EventFd& StopOnSignals();

}  // namespace velkaro::cli
