// The commands of velkaro-cli. Each takes the arguments after its name and returns the exit code.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/device_link.h"

namespace velkaro::cli {

using Arguments = std::vector<std::string>;

int RunList(const Arguments& args);
int RunSend(const Arguments& args);
int RunListen(const Arguments& args);
int RunGetvar(const Arguments& args);
int RunSetvar(const Arguments& args);
int RunStatus(const Arguments& args);
int RunRender(const Arguments& args);

// Parses and opens DEVICE. On failure reports one error line naming the device, sets
// `exitCode` (usage or connection error) and returns null.
std::unique_ptr<DeviceLink> OpenDevice(const std::string& device, int* exitCode);
// The same for commands that read the printer's answers: a send-only device (a parallel port)
// is refused with "a parallel port only sends; " + `why` and the usage exit code.
std::unique_ptr<DeviceLink> OpenReceivingDevice(const std::string& device, const std::string& why,
                                                int* exitCode);

// Reports a command-line mistake and returns kExitUsage.
int UsageError(const std::string& command, const std::string& problem);

}  // namespace velkaro::cli
