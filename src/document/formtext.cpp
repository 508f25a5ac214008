#include "document/formtext.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "base/errors.h"

namespace fw {

namespace {

constexpr qsizetype MaxBackupExtension = 255;

// Decodes the UTF-8 sequence at `pos`; returns its length, or 0 for bytes that start no
// valid sequence (overlong forms, surrogates, cut-off or out-of-range sequences).
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t& codePoint) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[pos + i]); };
    const std::uint8_t lead = byte(0);
    std::size_t length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2, codePoint = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, codePoint = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, codePoint = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - pos < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    if (codePoint < min || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
    return length;
}

std::string CharacterName(std::string_view utf8, char32_t codePoint) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(codePoint));
    // Control characters would be invisible or break the message; their code says it all.
    if (codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0)) return code;
    return "'" + std::string(utf8) + "' (" + code + ")";
}

}  // namespace

LineBreak LineBreakOf(std::string_view text) {
    const bool cr = text.find('\r') != std::string_view::npos;
    const bool lf = text.find('\n') != std::string_view::npos;
    if (cr && !lf) return LineBreak::Cr;
    if (lf && !cr) return LineBreak::Lf;
    return LineBreak::CrLf;
}

bool IsAscii(std::string_view bytes) {
    // Eight bytes at a time: the text of large forms is mostly ASCII hex data.
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        if (word & 0x8080808080808080ULL) return false;
    }
    for (; i < bytes.size(); ++i)
        if (static_cast<std::uint8_t>(bytes[i]) >= 0x80) return false;
    return true;
}

std::string EditorTextFromBytes(std::string_view bytes, const CodePage& codePage) {
    if (IsAscii(bytes)) return std::string(bytes);
    // Decoding the whole text keeps the lead and trail bytes of a double-byte page
    // together; code pages map to the basic multilingual plane, so every unit is one
    // character of UTF-8.
    return Utf8TextFromUtf16(codePage.Decode(bytes));
}

std::string BytesFromEditorText(std::string_view utf8, const CodePage& codePage) {
    std::string out;
    out.reserve(utf8.size());
    int line = 1;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char c = utf8[pos];
        if (static_cast<std::uint8_t>(c) < 0x80) {
            // CR LF, LF and a CR on its own each end one line.
            if (c == '\n' || (c == '\r' && (pos + 1 == utf8.size() || utf8[pos + 1] != '\n'))) ++line;
            out += c;
            ++pos;
            continue;
        }
        char32_t codePoint = 0;
        const std::size_t length = DecodeUtf8(utf8, pos, codePoint);
        if (length == 0) {
            char byte[8];
            std::snprintf(byte, sizeof byte, "%02X", static_cast<unsigned>(static_cast<std::uint8_t>(c)));
            throw Exception("Line " + std::to_string(line) + ": the byte " + byte +
                            "h is not a valid character and cannot be saved in code page " +
                            std::to_string(codePage.Number()) + ".");
        }
        // One byte, or a lead and a trail byte in a double-byte page.
        const int mapped = codePoint <= 0xFFFF ? codePage.ToCode(static_cast<char16_t>(codePoint)) : -1;
        if (mapped < 0) {
            throw Exception("Line " + std::to_string(line) + ": the character " +
                            CharacterName(utf8.substr(pos, length), codePoint) +
                            " cannot be saved in code page " + std::to_string(codePage.Number()) + ".");
        }
        if (mapped > 0xFF) out += static_cast<char>(mapped >> 8);
        out += static_cast<char>(mapped & 0xFF);
        pos += length;
    }
    return out;
}

QString BackupPath(const QString& path) {
    const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < nameStart) return path + QStringLiteral(".~");
    return path.left(dot) + QStringLiteral(".~") + path.mid(dot + 1, MaxBackupExtension);
}

}  // namespace fw
