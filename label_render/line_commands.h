// EPL and CPCL are written one command per line; both readers walk the job this way.
#pragma once

#include <QByteArray>
#include <QStringList>
#include <cstddef>
#include <string>
#include <vector>

namespace velkaro::label {

struct CommandLine {
    QByteArray text;  // without the line end
    std::size_t offset = 0;
};

std::vector<CommandLine> SplitLines(const std::string& job);

// EPL parameters: comma-separated, the last may be a quoted string with \" and \\ escapes.
QStringList SplitEplParams(const QByteArray& params, QByteArray* quoted);

}  // namespace velkaro::label
