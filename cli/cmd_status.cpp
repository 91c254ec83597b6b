// velkaro-cli status DEVICE [--lang zpl|epl|cpcl] [--json] [--timeout S]
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/report.h"

namespace velkaro::cli {

int RunStatus(const Arguments&) {
    ReportError("status", "not available in this build");
    return kExitUsage;
}

}  // namespace velkaro::cli
