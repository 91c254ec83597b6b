// Splitting a command's arguments into options and operands.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace velkaro::cli {

struct CommandLine {
    std::vector<std::string> operands;
    std::map<std::string, std::string> values;  // options that take a value, by name
    std::set<std::string> switches;             // options given without a value

    bool Has(const std::string& name) const { return switches.count(name) || values.count(name); }
    std::string Value(const std::string& name, const std::string& fallback = {}) const {
        const auto found = values.find(name);
        return found == values.end() ? fallback : found->second;
    }
};

// Reads `args`: "--name value", "--name=value" and "-o value" for the names in `valued`, bare
// names in `switches`; "-" is an operand and "--" ends the options. False with `error` set for
// an unknown option or a missing value.
bool ParseCommandLine(const std::vector<std::string>& args, const std::set<std::string>& valued,
                      const std::set<std::string>& switches, CommandLine* out, std::string* error);

// A time in seconds ("3", "0.5") as milliseconds; nothing when it is not a number from 0 to a day.
std::optional<int> SecondsToMs(const std::string& text);

}  // namespace velkaro::cli
