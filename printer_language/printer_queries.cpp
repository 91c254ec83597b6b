#include "printer_language/printer_queries.h"

namespace velkaro::printer_language {

namespace {
std::string Quoted(const std::string& text) { return '"' + text + '"'; }
}  // namespace

std::string SgdGetvar(const std::string& name) { return "! U1 getvar " + Quoted(name) + "\r\n"; }

std::string SgdSetvar(const std::string& name, const std::string& value) {
    return "! U1 setvar " + Quoted(name) + ' ' + Quoted(value) + "\r\n";
}

std::string SgdDo(const std::string& name, const std::string& value) {
    return "! U1 do " + Quoted(name) + ' ' + Quoted(value) + "\r\n";
}

}  // namespace velkaro::printer_language
