#include "label_render/line_commands.h"

namespace velkaro::label {

std::vector<CommandLine> SplitLines(const std::string& job) {
    std::vector<CommandLine> lines;
    std::size_t start = 0;
    while (start < job.size()) {
        std::size_t end = job.find('\n', start);
        if (end == std::string::npos) end = job.size();
        std::size_t stop = end;
        while (stop > start && (job[stop - 1] == '\r' || job[stop - 1] == '\0')) --stop;
        lines.push_back({QByteArray(job.data() + start, static_cast<int>(stop - start)), start});
        start = end + 1;
    }
    return lines;
}

QStringList SplitEplParams(const QByteArray& params, QByteArray* quoted) {
    QStringList list;
    QByteArray current;
    bool inQuote = false;
    bool hadQuote = false;
    for (int i = 0; i < params.size(); ++i) {
        const char c = params[i];
        if (inQuote) {
            if (c == '\\' && i + 1 < params.size()) {
                current.append(params[++i]);
            } else if (c == '"') {
                inQuote = false;
            } else {
                current.append(c);
            }
        } else if (c == '"') {
            inQuote = true;
            hadQuote = true;
            if (quoted) quoted->clear();
            current.clear();
        } else if (c == ',') {
            list << QString::fromLatin1(current).trimmed();
            current.clear();
        } else {
            current.append(c);
        }
    }
    if (hadQuote && quoted) *quoted = current;
    list << QString::fromLatin1(current).trimmed();
    return list;
}

}  // namespace velkaro::label
