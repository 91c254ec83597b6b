// Typed IPv4 addresses: decimal fields only, a leading zero never turns a field octal.
#include <arpa/inet.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/ipv4_text.h"

namespace velkaro {
namespace {

TEST(Ipv4Text, ReadsOnlyFourDecimalFieldsOf0To255) {
    const struct {
        const char* text;
        const char* address;  // null: refused
    } cases[] = {
        {"192.168.1.5", "192.168.1.5"},
        {"192.168.010.5", "192.168.10.5"},
        {"010.08.009.0", "10.8.9.0"},
        {"000.000.000.000", "0.0.0.0"},
        {"255.255.255.255", "255.255.255.255"},
        {"256.1.1.1", nullptr},
        {"1.2.3", nullptr},
        {"1.2.3.4.5", nullptr},
        {"1.2..4", nullptr},
        {"0x7f.0.0.1", nullptr},
        {"127.1", nullptr},
        {"1.2.3.0004", nullptr},
        {" 1.2.3.4", nullptr},
        {"1.2.3.4 ", nullptr},
        {"-1.2.3.4", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        std::uint32_t address = 0;
        const bool read = ParseDottedDecimal(c.text, &address);
        EXPECT_EQ(read, c.address != nullptr) << c.text;
        if (!read || !c.address) continue;
        in_addr in{address};
        EXPECT_EQ(std::string(::inet_ntoa(in)), c.address) << c.text;
    }
    std::uint32_t unused;
    EXPECT_FALSE(ParseDottedDecimal(nullptr, &unused));
}

}  // namespace
}  // namespace velkaro
