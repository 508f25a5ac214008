#pragma once
// Single-byte Windows code pages: the 8-bit encoding of form text and of 8-bit
// strings in binary form streams. Every byte maps to one UTF-16 code unit and back,
// so 8-bit text survives any round trip; characters a code page lacks become "?".

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class CodePage {
public:
    // Windows-1252, the default.
    static const CodePage& Default();
    // The code page with this number (874, 1250 to 1258), or nullptr.
    static const CodePage* Find(int number);
    // The numbers Find accepts, ascending.
    static std::vector<int> Supported();

    int Number() const { return number_; }
    char16_t ToUnit(std::uint8_t byte) const { return toUnit_[byte]; }
    // The byte for a code unit, or -1 when the code page lacks it.
    int ToByte(char16_t unit) const;

    std::u16string Decode(std::string_view bytes) const;
    std::string Encode(std::u16string_view text) const;

    CodePage(int number, const std::array<char16_t, 128>& upperHalf);

private:
    int number_;
    std::array<char16_t, 256> toUnit_{};
    // Sorted (unit, byte) pairs of the upper half, for encoding.
    std::vector<std::pair<char16_t, std::uint8_t>> fromUnit_;
};

// UTF-8 as binary form streams use it: each UTF-16 code unit is encoded on its own
// (a surrogate pair becomes two three-byte sequences).
std::string Utf8FromUtf16(std::u16string_view text);
// The stream's UTF-8 decoding: two- and three-byte sequences only, each code unit
// kept to 16 bits; a bad continuation byte or a cut-off sequence yields the empty text.
std::u16string Utf16FromUtf8(std::string_view bytes);
// Decoding of UTF-8 form text: standard UTF-8 including four-byte sequences (which
// become surrogate pairs); a byte that starts no valid sequence is taken through the
// code page so that nothing is lost.
std::u16string Utf16FromUtf8Text(std::string_view bytes, const CodePage& fallback);
// Standard UTF-8 of UTF-16 text, for output read by other programs: a surrogate pair
// becomes one four-byte sequence; a lone surrogate, which UTF-8 cannot hold, U+FFFD.
std::string Utf8TextFromUtf16(std::u16string_view text);

}  // namespace fw
