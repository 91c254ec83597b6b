// velkaro-cli render FILE [--dpmm N] [--size WxH] -o OUT.png
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/report.h"

namespace velkaro::cli {

int RunRender(const Arguments&) {
    ReportError("render", "not available in this build");
    return kExitUsage;
}

}  // namespace velkaro::cli
