#pragma once
// Windows code pages: the 8-bit encoding of form text and of 8-bit strings in binary
// form streams. The single-byte pages map every byte to one UTF-16 code unit and back.
// The double-byte pages (932, 936, 949, 950) map a lead byte and the trail byte after
// it to one unit; a byte or pair they leave undefined maps to the private-use unit
// F700 + byte for each of its bytes (an ASCII trail byte stays itself), and those
// units encode back to the same bytes. Either way decoding and then encoding gives
// back any byte sequence; characters a code page lacks become "?" and are reported.

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

namespace detail {
// A double-byte code page as scripts/gen-codepages.py writes it.
struct DoubleByteTable {
    int Number;
    std::array<char16_t, 256> Single;    // the unit of each byte standing alone
    std::array<std::uint8_t, 256> Kind;  // bit 1: lead byte, bit 2: trail byte
    std::array<std::uint8_t, 256> Row;   // a lead byte's row in Rows, FF when it has none
    std::uint8_t TrailFirst, TrailLast;  // the trail bytes each row covers
    const char16_t* Rows;                // per row the units of its pairs, 0 where undefined
};
}  // namespace detail

class CodePage {
public:
    // Windows-1252, the default.
    static const CodePage& Default();
    // The code page with this number (874, 932, 936, 949, 950, 1250 to 1258), or nullptr.
    static const CodePage* Find(int number);
    // The numbers Find accepts, ascending.
    static std::vector<int> Supported();

    // The first of the units that stand for undefined bytes 80-FF in a double-byte
    // page: the unit of byte b is PrivateByteBase + b.
    static constexpr char16_t PrivateByteBase = 0xF700;

    int Number() const { return number_; }
    bool IsDoubleByte() const { return table_ != nullptr; }
    // Whether the byte starts a two-byte character when a trail byte follows it.
    bool IsLeadByte(std::uint8_t byte) const { return table_ != nullptr && (table_->Kind[byte] & 1) != 0; }
    bool IsTrailByte(std::uint8_t byte) const { return table_ != nullptr && (table_->Kind[byte] & 2) != 0; }
    // The bytes of the character at bytes[at]: 2 for a lead byte with a trail byte after
    // it, otherwise 1. A quote, "#", a digit, a blank or a line break is never a trail
    // byte, so it always stands on its own.
    std::size_t CharLength(std::string_view bytes, std::size_t at) const {
        return at + 1 < bytes.size() && IsLeadByte(static_cast<std::uint8_t>(bytes[at])) &&
                       IsTrailByte(static_cast<std::uint8_t>(bytes[at + 1]))
                   ? 2
                   : 1;
    }
    // The unit of a byte standing alone; in a double-byte page a lead byte gives its
    // private unit.
    char16_t ToUnit(std::uint8_t byte) const { return toUnit_[byte]; }
    // The single byte for a code unit, or -1 when the code page lacks it or needs two
    // bytes for it.
    int ToByte(char16_t unit) const;
    // The bytes for a code unit as one number, a byte or lead * 256 + trail; -1 when
    // the code page lacks it.
    int ToCode(char16_t unit) const;

    std::u16string Decode(std::string_view bytes) const;
    // Characters the code page lacks become "?"; firstMissing, when given, receives the
    // index of the first of them in text, or npos when there is none.
    std::string Encode(std::u16string_view text, std::size_t* firstMissing = nullptr) const;

    CodePage(int number, const std::array<char16_t, 128>& upperHalf);
    explicit CodePage(const detail::DoubleByteTable& table);

private:
    int number_;
    const detail::DoubleByteTable* table_ = nullptr;
    std::array<char16_t, 256> toUnit_{};
    // Sorted (unit, bytes) pairs of every character above ASCII, for encoding, the bytes
    // as ToCode gives them; built on first use, as most pages are never encoded to.
    mutable std::vector<std::pair<char16_t, std::uint16_t>> fromUnit_;
    mutable std::once_flag fromUnitBuilt_;

    void BuildFromUnit() const;
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
