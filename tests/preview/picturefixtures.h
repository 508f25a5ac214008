#pragma once
// Picture data for form texts in tests: small BMP and placeable WMF files made in
// memory, and the hexadecimal block a form writes them as.

#include <cstdint>
#include <string>
#include <vector>

namespace fw::preview::test {

using ByteVector = std::vector<std::uint8_t>;

inline void PutLE(ByteVector& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A 24-bit BMP file of width x height in vertical stripes of red, green and blue.
inline ByteVector MakeBmp(int width, int height) {
    const auto rowBytes = static_cast<std::uint32_t>((width * 3 + 3) / 4 * 4);
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(height);
    ByteVector out{'B', 'M'};
    PutLE(out, 54 + imageBytes, 4);
    PutLE(out, 0, 4);
    PutLE(out, 54, 4);
    PutLE(out, 40, 4);
    PutLE(out, static_cast<std::uint32_t>(width), 4);
    PutLE(out, static_cast<std::uint32_t>(height), 4);
    PutLE(out, 1, 2);
    PutLE(out, 24, 2);
    PutLE(out, 0, 4);
    PutLE(out, imageBytes, 4);
    PutLE(out, 2835, 4);
    PutLE(out, 2835, 4);
    PutLE(out, 0, 4);
    PutLE(out, 0, 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int stripe = (x / 8) % 3;
            out.push_back(stripe == 2 ? 255 : 0);  // blue
            out.push_back(stripe == 1 ? 255 : 0);  // green
            out.push_back(stripe == 0 ? 255 : 0);  // red
        }
        for (auto pad = static_cast<std::uint32_t>(width * 3); pad < rowBytes; ++pad)
            out.push_back(0);
    }
    return out;
}

// A placeable metafile header of width x height at 96 units per inch, with an empty
// record list: enough for its size to be read, nothing to draw.
inline ByteVector MakeWmf(int width, int height) {
    ByteVector out;
    PutLE(out, 0x9AC6CDD7u, 4);
    PutLE(out, 0, 2);
    PutLE(out, 0, 2);
    PutLE(out, 0, 2);
    PutLE(out, static_cast<std::uint32_t>(width), 2);
    PutLE(out, static_cast<std::uint32_t>(height), 2);
    PutLE(out, 96, 2);
    PutLE(out, 0, 4);
    PutLE(out, 0, 2);
    return out;
}

// The data a graphic class writes: the file's size, then the file.
inline ByteVector WithSize(const ByteVector& file) {
    ByteVector out;
    PutLE(out, static_cast<std::uint32_t>(file.size()), 4);
    out.insert(out.end(), file.begin(), file.end());
    return out;
}

// The data a picture writes: its graphic's class name as a short string, then the
// graphic's data.
inline ByteVector PictureData(const std::string& className, const ByteVector& graphicData) {
    ByteVector out;
    out.reserve(1 + className.size() + graphicData.size());
    out.push_back(static_cast<std::uint8_t>(className.size()));
    for (const char c : className)
        out.push_back(static_cast<std::uint8_t>(c));
    out.insert(out.end(), graphicData.begin(), graphicData.end());
    return out;
}

// "Name.Data = {" with the bytes in hexadecimal lines, indented, and the closing brace.
inline std::string HexProperty(const std::string& indent, const std::string& name, const ByteVector& bytes) {
    static const char* const digits = "0123456789ABCDEF";
    std::string text = indent + name + " = {";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % 32 == 0) text += "\r\n" + indent + "  ";
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text + "}\r\n";
}

}  // namespace fw::preview::test
