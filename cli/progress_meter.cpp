#include "cli/progress_meter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "cli/report.h"

namespace velkaro::cli {

void ProgressMeter::Update(std::uint64_t sent, std::uint64_t total) {
    m_nSent = sent;
    m_nTotal = total;
    const auto now = Clock::now();
    if (m_bDrawn && now - m_LastDraw < std::chrono::milliseconds(200)) return;
    m_LastDraw = now;
    Draw();
}

void ProgressMeter::Finish() {
    if (!m_bDrawn) return;
    Draw();
    WriteFully(m_nFd, "\n");
}

void ProgressMeter::Draw() {
    const double seconds = std::chrono::duration<double>(Clock::now() - m_Start).count();
    const double rate = seconds > 0 ? static_cast<double>(m_nSent) / seconds : 0;
    char line[160];
    if (m_nTotal > 0) {
        const double left = static_cast<double>(m_nTotal - std::min(m_nSent, m_nTotal));
        const long secondsLeft = rate > 0 ? std::lround(left / rate) : -1;
        char eta[32] = "";
        if (secondsLeft >= 0)
            std::snprintf(eta, sizeof eta, "  %ld:%02ld left", secondsLeft / 60, secondsLeft % 60);
        std::snprintf(
            line, sizeof line, "\rsent %llu / %llu bytes (%3.0f%%)  %.1f KiB/s%s   ",
            static_cast<unsigned long long>(m_nSent), static_cast<unsigned long long>(m_nTotal),
            100.0 * static_cast<double>(m_nSent) / static_cast<double>(m_nTotal), rate / 1024, eta);
    } else {
        std::snprintf(line, sizeof line, "\rsent %llu bytes  %.1f KiB/s   ",
                      static_cast<unsigned long long>(m_nSent), rate / 1024);
    }
    WriteFully(m_nFd, line);
    m_bDrawn = true;
}

}  // namespace velkaro::cli
