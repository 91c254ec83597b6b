// A manual-reset event on top of eventfd: once signalled it stays readable until Reset(),
// so any number of poll() callers see it.
#pragma once

#include "platform/unique_fd.h"

namespace velkaro {

class EventFd {
  public:
    EventFd();
    void Signal() const;
    void Reset() const;
    bool IsSignalled() const;
    int Fd() const { return fd_.Get(); }

  private:
    UniqueFd fd_;
};

}  // namespace velkaro
