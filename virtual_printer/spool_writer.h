// Writes each finished label job to a folder as NNNN.zpl, NNNN.epl or NNNN.cpcl, byte for byte.
#pragma once

#include <filesystem>
#include <string_view>

#include "printer_language/printer_queries.h"

namespace velkaro::virtual_printer {

class SpoolWriter {
  public:
    // Creates `folder` if needed; numbering goes on after the highest number already there.
    explicit SpoolWriter(std::filesystem::path folder);

    // Writes one job and returns its file; throws std::runtime_error when the file cannot be
    // written.
    std::filesystem::path Write(printer_language::Language language, std::string_view bytes);

    const std::filesystem::path& Folder() const { return folder_; }
    int LastNumber() const { return lastNumber_; }

  private:
    std::filesystem::path folder_;
    int lastNumber_ = 0;
};

// A new folder only this user can read, under the system's temporary folder.
std::filesystem::path MakePrivateSpoolFolder();

const char* SpoolExtension(printer_language::Language language);

}  // namespace velkaro::virtual_printer
