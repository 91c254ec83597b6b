// velkaro-cli: the printer tools of the Velkaro window for scripts and terminals.
#include <unistd.h>

#include <algorithm>
#include <map>
#include <string>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/report.h"

namespace {

const char kUsage[] =
    "usage: velkaro-cli COMMAND [OPTIONS]\n"
    "\n"
    "  send DEVICE [FILE|-] [--quiet]        send a file or standard input\n"
    "  send DEVICE --text TEXT [--escapes]   send TEXT (with --escapes: \\r \\n \\t \\\\ \\xHH)\n"
    "  status DEVICE [--lang zpl|epl|cpcl] [--json] [--timeout S]\n"
    "                                        ask for and decode the printer's status\n"
    "  getvar DEVICE NAME... [--json] [--timeout S]\n"
    "  setvar DEVICE NAME VALUE              Set-Get-Do variables\n"
    "  listen DEVICE [--hex] [--timestamps]  print what the printer sends, until Ctrl+C\n"
    "  list [--json]                         serial, parallel and USB printer ports present\n"
    "  render FILE [--dpmm 6|8|12|24] [--size WxH[in|mm]] [--lang zpl|epl|cpcl] -o OUT.png\n"
    "                                        draw the labels of FILE (-o - for PNG on stdout)\n"
    "\n"
    "DEVICE: COMn[:baud,parity,data bits,stop bits] (e.g. COM33:115200,N,8,1; default\n"
    "        9600,N,8,1), LPTn, USB or USB:N (the N-th USB printer of `list`, from 0),\n"
    "        tcp:ADDR[:PORT] (port 9100 unless given).\n"
    "\n"
    "Exit codes: 0 done (status: ready), 1 not done in full (status: the printer reports a\n"
    "fault or warning; render: commands not understood), 2 no or unreadable reply,\n"
    "3 connection error, 64 wrong command line.\n"
    "Device nodes are looked up in /dev and /sys, or in $VELKARO_DEVICE_FOLDER and\n"
    "$VELKARO_SYSFS_ROOT when set.\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace velkaro::cli;
    const std::map<std::string, int (*)(const Arguments&)> commands = {
        {"send", RunSend},     {"status", RunStatus}, {"getvar", RunGetvar}, {"setvar", RunSetvar},
        {"listen", RunListen}, {"list", RunList},     {"render", RunRender},
    };
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "--help" || command == "-h" || command == "help") {
        WriteFully(STDOUT_FILENO, kUsage);
        return kExitOk;
    }
    const auto found = commands.find(command);
    if (found == commands.end()) {
        WriteFully(STDERR_FILENO, kUsage);
        if (!command.empty()) ReportError(command, "unknown command");
        return kExitUsage;
    }
    const Arguments args(argv + 2, argv + argc);
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        WriteFully(STDOUT_FILENO, kUsage);
        return kExitOk;
    }
    return found->second(args);
}
