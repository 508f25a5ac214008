#include "formformat.h"

#include <array>
#include <cstring>

#include "base/asciitext.h"
#include "base/errors.h"

namespace fw {

namespace {

// Reads up to n bytes at the stream's position into a zeroed area and puts the
// position back.
template <std::size_t N>
std::array<std::uint8_t, N> PeekBytes(Stream& stream, std::size_t n) {
    std::array<std::uint8_t, N> area{};
    const std::int64_t start = stream.Position();
    stream.Read(area.data(), n);
    stream.Seek(start);
    return area;
}

bool StartsText(std::uint8_t b) {
    return b == 0x09 || b == 0x0B || b == 0x0D || b == 0x20 || b == 'I' || b == 'O' || b == 'i' || b == 'o';
}

}  // namespace

void SkipResourceHeader(Stream& stream) {
    const std::int64_t start = stream.Position();
    std::array<std::uint8_t, 80> area{};
    stream.Read(area.data(), 79);
    if (area[0] != 0xFF || area[1] != 0x0A || area[2] != 0x00) throw EInvalidImage("Invalid stream format");
    std::int64_t nameLength = 0;
    while (nameLength < 76 && area[static_cast<std::size_t>(3 + nameLength)] != 0)
        ++nameLength;
    const std::int64_t behind = start + nameLength + 10;
    if (behind > stream.Size()) throw EReadError("Stream read error");
    stream.Seek(behind);
}

StreamFormat DetectStreamFormat(Stream& stream) {
    const auto head = PeekBytes<8>(stream, 7);
    if (head[0] == 0xFF || std::memcmp(head.data(), FormSignature.data(), 4) == 0)
        return StreamFormat::Binary;
    if (StartsText(head[0])) return StreamFormat::Text;
    if (std::memcmp(head.data(), Utf8ByteOrderMark.data(), 3) == 0 && StartsText(head[3]))
        return StreamFormat::Text;
    return StreamFormat::Unknown;
}

FormEncoding DetectEncoding(ByteSpan firstBytes) {
    if (firstBytes.size() >= 3 && firstBytes[0] == 0xFF && firstBytes[1] == 0x0A && firstBytes[2] == 0x00)
        return FormEncoding::Resource;
    if (firstBytes.size() >= 3 && AsciiUpper(firstBytes[0]) == 'T' && AsciiUpper(firstBytes[1]) == 'P' &&
        AsciiUpper(firstBytes[2]) == 'F')
        return FormEncoding::Binary;
    return FormEncoding::Text;
}

const char* FormEncodingName(FormEncoding encoding) {
    switch (encoding) {
        case FormEncoding::Text:
            return "text";
        case FormEncoding::Binary:
            return "binary";
        case FormEncoding::Resource:
            return "resource";
    }
    return "text";
}

}  // namespace fw
