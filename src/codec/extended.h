#pragma once
// The 80-bit x87 extended float that binary form streams carry as 10 bytes, and the
// number forms in which form text writes floats.

#include <array>
#include <cstdint>
#include <string>

namespace fw {

// The 10 bytes exactly as they stand in a stream: 64-bit significand with explicit
// integer bit, then 15-bit biased exponent and sign, little-endian.
struct Extended80 {
    std::array<std::uint8_t, 10> Bytes{};

    static Extended80 FromLongDouble(long double value);
    long double ToLongDouble() const;
    bool operator==(const Extended80&) const = default;
};

// The fixed form of extended and double values: 16 significant digits, always 18
// fraction digits ("1.500000000000000000"), scientific above 1E17.
std::string FormatFloatFixed(long double value);
// The general form of singles, currency and dates: 15 significant digits, no
// trailing zeros ("0.5", "100"), scientific above 1E15 and below 1E-4.
std::string FormatFloatGeneral(long double value);

}  // namespace fw
