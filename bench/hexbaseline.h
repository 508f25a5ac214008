#pragma once
// The yardstick the codec benchmarks measure against: hex encoding and decoding with
// a plain 256-entry table loop. They touch every byte once, as the conversions do, but
// do nothing else, so "conversion speed / hex speed" says how much work the codec adds
// per byte, whatever the machine.

#include <cstddef>
#include <cstdint>

namespace fwbench {

// Writes 2 * n upper-case hex digits of in[0..n) to out, which must hold them.
void HexEncode(const std::uint8_t* in, std::size_t n, char* out);

// Reads n hex digits (n even; an odd last digit is ignored) and writes n / 2 bytes to
// out. Characters that are no hex digit count as 0; the input is made by the caller.
void HexDecode(const char* in, std::size_t n, std::uint8_t* out);

}  // namespace fwbench
