// Test data: `size` bytes of every value in an order that does not repeat in short runs, the
// same for the same seed, so a lost, doubled or reordered block shows when compared.
#pragma once

#include <cstddef>
#include <string>

namespace velkaro::test {

inline std::string Pattern(std::size_t size, unsigned seed = 1) {
    std::string bytes(size, '\0');
    unsigned x = seed;
    for (char& c : bytes) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 16);
    return bytes;
}

}  // namespace velkaro::test
