// Reading a typed IPv4 address. Only four decimal fields of 0 to 255 are an address: a leading
// zero is just a zero ("010" is ten), never an octal prefix, and no shortened or hexadecimal
// forms are read, so what the user sees in the address fields is the address connected to.
#pragma once

#include <cstdint>

namespace velkaro {

// The address in network byte order; false for anything but four decimal fields 0-255.
bool ParseDottedDecimal(const char* text, std::uint32_t* networkOrder);

}  // namespace velkaro
