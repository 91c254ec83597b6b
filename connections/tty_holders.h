// Other processes that have a device open, found through /proc/<pid>/fd. Linux shows only the
// descriptors of processes this user may trace (its own, or every process for root), so a
// program of another user holding the device goes unseen here; TIOCEXCL keeps such programs
// from opening it after us (unless they are root), but nothing reveals one that opened it first.
#pragma once

#include <string>
#include <vector>

namespace velkaro {

// PIDs other than our own with a descriptor on the same device (or FIFO) as `devicePath`.
std::vector<int> OtherProcessesHolding(const std::string& devicePath,
                                       const std::string& procRoot = "/proc");

}  // namespace velkaro
