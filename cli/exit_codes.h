// Exit codes of the command-line tool, the same for every command.
#pragma once

namespace velkaro::cli {

inline constexpr int kExitOk = 0;       // done; for status: the printer is ready
inline constexpr int kExitFailed = 1;   // not done in full; for status: the printer reports a fault
inline constexpr int kExitNoReply = 2;  // no reply, or one that could not be read, in time
inline constexpr int kExitConnection = 3;  // the device could not be opened or the connection broke
inline constexpr int kExitUsage = 64;      // the command line is wrong

}  // namespace velkaro::cli
