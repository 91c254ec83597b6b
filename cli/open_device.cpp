#include <utility>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/report.h"

namespace velkaro::cli {

std::unique_ptr<DeviceLink> OpenDevice(const std::string& device, int* exitCode) {
    std::string error;
    const auto spec = ParseDeviceSpec(device, &error);
    if (!spec) {
        ReportError(device, error);
        *exitCode = kExitUsage;
        return nullptr;
    }
    auto link = std::make_unique<DeviceLink>(HostFolders::FromEnvironment());
    if (!link->Open(*spec, &error)) {
        ReportError(device, error);
        *exitCode = kExitConnection;
        return nullptr;
    }
    return link;
}

std::unique_ptr<DeviceLink> OpenReceivingDevice(const std::string& device, const std::string& why,
                                                int* exitCode) {
    auto link = OpenDevice(device, exitCode);
    if (link && !link->CanReceive()) {
        ReportError(device, "a parallel port only sends; " + why);
        *exitCode = kExitUsage;
        return nullptr;
    }
    return link;
}

int UsageError(const std::string& command, const std::string& problem) {
    ReportError(command, problem + " (see velkaro-cli --help)");
    return kExitUsage;
}

}  // namespace velkaro::cli
