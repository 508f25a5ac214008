#pragma once
// The layout constants of binary form streams and the checks on a stream's first
// bytes: the resource header and the encoding a stream is in.

#include <cstdint>
#include <string_view>

#include "base/stream.h"

namespace fw {

enum ValueTag : std::uint8_t {
    TagNull = 0,
    TagList = 1,
    TagInt8 = 2,
    TagInt16 = 3,
    TagInt32 = 4,
    TagExtended = 5,
    TagShortString = 6,
    TagIdent = 7,
    TagFalse = 8,
    TagTrue = 9,
    TagBinary = 10,
    TagSet = 11,
    TagLongString = 12,
    TagNil = 13,
    TagCollection = 14,
    TagSingle = 15,
    TagCurrency = 16,
    TagDate = 17,
    TagWideString = 18,
    TagInt64 = 19,
    TagUtf8String = 20,
    TagDouble = 21,
};
inline constexpr std::uint8_t LastValueTag = TagDouble;

// The low four bits of an object record's prefix byte.
enum ObjectFlags : std::uint8_t {
    FlagInherited = 1,
    FlagChildPosition = 2,
    FlagInline = 4,
};

inline constexpr std::string_view FormSignature = "TPF0";
inline constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

// Checks and skips the 16-bit resource header at the stream's position. Throws
// EInvalidImage "Invalid stream format" when it does not begin FF 0A 00.
void SkipResourceHeader(Stream& stream);

enum class StreamFormat { Unknown, Text, Binary };

// Classifies the stream at its position without consuming it: Binary for FF or
// "TPF0", Text for text that starts a form (also after a UTF-8 byte-order mark),
// Unknown otherwise.
StreamFormat DetectStreamFormat(Stream& stream);

// A form file's encoding on disk.
enum class FormEncoding { Text, Binary, Resource };

// The encoding of a whole file from its first bytes: FF 0A 00 is resource-wrapped,
// "TPF" in any letter case is binary, anything else is text.
FormEncoding DetectEncoding(ByteSpan firstBytes);

const char* FormEncodingName(FormEncoding encoding);

}  // namespace fw
