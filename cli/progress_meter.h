// The progress line of `send` on a terminal: bytes sent, share of the total, rate. Redrawn in
// place at most a few times a second.
#pragma once

#include <chrono>
#include <cstdint>

namespace velkaro::cli {

class ProgressMeter {
  public:
    explicit ProgressMeter(int fd) : m_nFd(fd), m_Start(Clock::now()) {}
    void Update(std::uint64_t sent, std::uint64_t total);
    // Draws the last state and ends the line, when anything was drawn.
    void Finish();

  private:
    using Clock = std::chrono::steady_clock;
    void Draw();

    int m_nFd;
    Clock::time_point m_Start;
    Clock::time_point m_LastDraw{};
    std::uint64_t m_nSent = 0;
    std::uint64_t m_nTotal = 0;
    bool m_bDrawn = false;
};

}  // namespace velkaro::cli
