// What the virtual printer knows about itself: its conditions and counters.
#pragma once

#include <cstdint>

namespace velkaro::virtual_printer {

struct PrinterState {
    bool paperOut = false;
    bool headOpen = false;
    bool paused = false;
    bool ribbonOut = false;

    std::int64_t labelsPrinted = 0;
    std::int64_t printedDots = 0;  // paper run through the printer, in dots
    int formatsWaiting = 0;        // jobs received but held back while the printer cannot print
    std::int64_t labelsWaiting = 0;

    int dotsPerMm = 8;
    int labelLengthDots = 1218;

    // A printer prints only with paper and ribbon in, the head closed and not paused.
    bool CanPrint() const { return !paperOut && !headOpen && !paused && !ribbonOut; }
};

// The printer's fixed identity, as its identification replies show it.
inline constexpr char kModel[] = "VELKARO-VP";
inline constexpr char kFirmware[] = "V1.0.0";
inline constexpr int kMemoryKb = 8192;

}  // namespace velkaro::virtual_printer
