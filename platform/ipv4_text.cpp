#include "platform/ipv4_text.h"

#include <arpa/inet.h>

namespace velkaro {

bool ParseDottedDecimal(const char* text, std::uint32_t* networkOrder) {
    if (!text || !networkOrder) return false;
    std::uint32_t address = 0;
    const char* p = text;
    for (int field = 0; field < 4; ++field) {
        if (field > 0 && *p++ != '.') return false;
        int value = 0;
        int digits = 0;
        for (; *p >= '0' && *p <= '9'; ++p) {
            if (++digits > 3) return false;
            value = value * 10 + (*p - '0');
        }
        if (digits == 0 || value > 255) return false;
        address = address << 8 | static_cast<std::uint32_t>(value);
    }
    if (*p != '\0') return false;
    *networkOrder = htonl(address);
    return true;
}

}  // namespace velkaro
