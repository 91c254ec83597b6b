// The UUCP lock file of a serial device, the convention Debian's serial tools (minicom, cu,
// picocom...) share: "LCK..ttyUSB0" in /var/lock holding the owner's PID as ten ASCII digits,
// right-aligned, and a newline. A lock whose process is gone is stale and removed. Where the
// folder is missing or not writable the convention cannot be kept and the port opens without.
#pragma once

#include <string>

namespace velkaro {

class UucpLock {
  public:
    enum class Result { Taken, HeldByOther, FolderUnusable };

    UucpLock() = default;
    ~UucpLock() { Release(); }
    UucpLock(const UucpLock&) = delete;
    UucpLock& operator=(const UucpLock&) = delete;

    // Takes the lock of `devicePath` (its last path component names it) in `folder`.
    Result Acquire(const std::string& folder, const std::string& devicePath);
    // Removes the lock file if this object made it.
    void Release();
    const std::string& Path() const { return path_; }
    int HolderPid() const { return holder_; }  // after HeldByOther

  private:
    std::string path_;
    int holder_ = 0;
};

// The PID a lock file's text names (ASCII, or the old four-byte binary form); 0 when none.
int LockFilePid(const std::string& content);

}  // namespace velkaro
