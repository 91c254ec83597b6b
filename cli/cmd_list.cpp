// velkaro-cli list [--json]: the serial, parallel and USB printer ports present.
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/port_inventory.h"
#include "cli/report.h"

namespace velkaro::cli {
namespace {

QString Text(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

std::string AsJson(const std::vector<PortEntry>& ports) {
    QJsonArray array;
    for (const PortEntry& port : ports)
        array.append(QJsonObject{{"device", Text(port.device)},
                                 {"kind", Text(port.kind)},
                                 {"node", Text(port.node)},
                                 {"description", Text(port.description)}});
    return QJsonDocument(array).toJson().toStdString();
}

std::string AsTable(const std::vector<PortEntry>& ports) {
    std::size_t deviceWidth = 6, nodeWidth = 4;
    for (const PortEntry& port : ports) {
        deviceWidth = std::max(deviceWidth, port.device.size());
        nodeWidth = std::max(nodeWidth, port.node.size());
    }
    const auto row = [&](const std::string& device, const std::string& node,
                         const std::string& description) {
        std::string line = device + std::string(deviceWidth + 2 - device.size(), ' ') + node;
        if (!description.empty())
            line += std::string(nodeWidth + 2 - node.size(), ' ') + description;
        return line + '\n';
    };
    std::string table = row("DEVICE", "NODE", "DESCRIPTION");
    for (const PortEntry& port : ports) table += row(port.device, port.node, port.description);
    return table;
}

}  // namespace

int RunList(const Arguments& args) {
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(args, {}, {"--json"}, &line, &error)) return UsageError("list", error);
    if (!line.operands.empty()) return UsageError("list", "takes no operands");
    const std::vector<PortEntry> ports = ListPorts(HostFolders::FromEnvironment());
    const std::string out = line.Has("--json") ? AsJson(ports) : AsTable(ports);
    return WriteFully(STDOUT_FILENO, out) ? kExitOk : kExitFailed;
}

}  // namespace velkaro::cli
