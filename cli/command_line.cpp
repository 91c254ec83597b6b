#include "cli/command_line.h"

#include <cmath>
#include <cstdlib>

namespace velkaro::cli {

std::optional<int> SecondsToMs(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double seconds = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(seconds) || seconds < 0 || seconds > 86400)
        return std::nullopt;
    return static_cast<int>(std::lround(seconds * 1000));
}

bool ParseCommandLine(const std::vector<std::string>& args, const std::set<std::string>& valued,
                      const std::set<std::string>& switches, CommandLine* out, std::string* error) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
            out->operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::string value;
        const std::size_t equals = arg.find('=');
        const bool inlineValue = arg.compare(0, 2, "--") == 0 && equals != std::string::npos;
        if (inlineValue) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        if (valued.count(name)) {
            if (!inlineValue) {
                if (i + 1 >= args.size()) {
                    *error = "option " + name + " needs a value";
                    return false;
                }
                value = args[++i];
            }
            out->values[name] = value;
        } else if (switches.count(name) && !inlineValue) {
            out->switches.insert(name);
        } else {
            *error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}

}  // namespace velkaro::cli
