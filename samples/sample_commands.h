// The nine canned commands behind the ZPL, EPL and CPCL buttons, byte for byte.
#pragma once

#include <array>
#include <string>

namespace velkaro {

enum class PrinterLanguage { ZPL, EPL, CPCL };

struct SampleCommand {
    int commandId;  // 32771 ... 32779
    PrinterLanguage language;
    const char* label;  // menu item text (UTF-8)
    std::string bytes;  // exactly what goes into the send box
};

const std::array<SampleCommand, 9>& SampleCommands();

}  // namespace velkaro
