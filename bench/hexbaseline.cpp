#include "hexbaseline.h"

#include <array>

namespace fwbench {
namespace {

struct HexTables {
    std::array<std::array<char, 2>, 256> Pairs{};
    std::array<std::uint8_t, 256> Nibbles{};
};

constexpr HexTables MakeHexTables() {
    constexpr char digits[] = "0123456789ABCDEF";
    HexTables tables;
    for (std::size_t byte = 0; byte < 256; ++byte) {
        tables.Pairs[byte] = {digits[byte >> 4], digits[byte & 15]};
    }
    for (std::uint8_t value = 0; value < 16; ++value) {
        tables.Nibbles[static_cast<std::uint8_t>(digits[value])] = value;
        if (value >= 10) {
            tables.Nibbles[static_cast<std::uint8_t>(digits[value] - 'A' + 'a')] = value;
        }
    }
    return tables;
}

constexpr HexTables Tables = MakeHexTables();

}  // namespace

// Kept in their own translation unit so that the compiler cannot specialise them for
// the benchmark's buffer sizes or fold them away.
void HexEncode(const std::uint8_t* in, std::size_t n, char* out) {
    for (std::size_t i = 0; i < n; ++i) {
        const auto& pair = Tables.Pairs[in[i]];
        out[2 * i] = pair[0];
        out[2 * i + 1] = pair[1];
    }
}

void HexDecode(const char* in, std::size_t n, std::uint8_t* out) {
    for (std::size_t i = 0; i + 1 < n; i += 2) {
        const auto high = Tables.Nibbles[static_cast<std::uint8_t>(in[i])];
        const auto low = Tables.Nibbles[static_cast<std::uint8_t>(in[i + 1])];
        out[i / 2] = static_cast<std::uint8_t>(high << 4 | low);
    }
}

}  // namespace fwbench
