#include "editorlogic.h"

#include "codec/stringconstant.h"

namespace fw {

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool IsIdentifierChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

std::string CaretStatusText(int column, int line, int chr, int lineCount, int selectionLength) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    unsigned v = static_cast<unsigned>(chr);
    do {
        hex.insert(hex.begin(), digits[v & 15]);
        v >>= 4;
    } while (v != 0);
    return "Col: " + std::to_string(column) + "  Ln: " + std::to_string(line) +
           "  Chr: " + std::to_string(chr) + "(" + hex + "h)  Cnt: " + std::to_string(lineCount) +
           "  Sel: " + std::to_string(selectionLength);
}

int CharacterAt(std::string_view line, int column) {
    if (column < 1 || static_cast<std::size_t>(column) > line.size()) return 0;
    return static_cast<unsigned char>(line[static_cast<std::size_t>(column - 1)]);
}

int FirstCodePoint(std::string_view text) {
    if (text.empty()) return 0;
    const auto lead = static_cast<unsigned char>(text[0]);
    int length = 0;
    int code = 0;
    if (lead < 0x80) return lead;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return lead;
    }
    if (text.size() < static_cast<std::size_t>(length)) return lead;
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80) return lead;
        code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms and surrogates are no characters either.
    if ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
        (length == 4 && (code < 0x10000 || code > 0x10FFFF)))
        return lead;
    return code;
}

std::string ObjectNameAtLine(const std::vector<std::string>& lines, int line, bool& found) {
    found = false;
    if (lines.empty()) return {};
    if (line >= static_cast<int>(lines.size())) line = static_cast<int>(lines.size()) - 1;
    return ObjectNameAtLine(
        line, [&lines](int i) { return std::string_view(lines[static_cast<std::size_t>(i)]); }, found);
}

std::string ObjectNameAtLine(int line, const std::function<std::string_view(int)>& lineAt, bool& found) {
    found = false;
    for (int i = line; i >= 0; --i) {
        const std::string_view t = Trim(lineAt(i));
        std::string_view keyword = "object";
        std::size_t p = t.find(keyword);
        if (p == std::string_view::npos) {
            keyword = "inherited";
            p = t.find(keyword);
        }
        if (p == std::string_view::npos) {
            keyword = "inline";
            p = t.find(keyword);
        }
        if (p != 0) continue;
        found = true;
        const std::size_t colon = t.find(':');
        if (colon == std::string_view::npos || colon < keyword.size()) return {};
        return std::string(Trim(t.substr(keyword.size(), colon - keyword.size())));
    }
    return {};
}

std::string IdentifierAt(std::string_view line, std::size_t position) {
    if (position >= line.size() || !IsIdentifierChar(line[position])) return {};
    std::size_t start = position, end = position;
    while (start > 0 && IsIdentifierChar(line[start - 1]))
        --start;
    while (end < line.size() && IsIdentifierChar(line[end]))
        ++end;
    return std::string(line.substr(start, end - start));
}

std::string HexDataLines(const std::vector<std::uint8_t>& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2 + bytes.size() / 16 + 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
        if (i % 32 == 31 || i + 1 == bytes.size()) out += "\r\n";
    }
    out += "\r\n";
    return out;
}

std::optional<std::string> DecodedStringAtLine(int line, int lineCount,
                                               const std::function<std::string_view(int)>& lineAt) {
    if (line < 0 || line >= lineCount) return std::nullopt;
    const auto trimmed = [&](int at) { return Trim(lineAt(at)); };
    // A value goes on to the next line after a '+' or after an "=" that ends its line.
    const auto goesOn = [&](int at) {
        const std::string_view text = trimmed(at);
        return !text.empty() && (text.back() == '+' || text.back() == '=');
    };
    // Bounded, so that a pathological text costs no more than a screenful of lines.
    constexpr int MaxLines = 2000;
    int first = line;
    while (first > 0 && line - first < MaxLines && goesOn(first - 1))
        --first;
    std::string value;
    for (int at = first; at < lineCount && at - first < MaxLines; ++at) {
        std::string_view text = trimmed(at);
        if (at == first) {
            // A property line's value is what follows its "=", unless the line starts a
            // string itself (a list's line, or a continuation).
            if (!text.starts_with('\'') && !text.starts_with('#')) {
                const std::size_t equals = text.find('=');
                if (equals == std::string_view::npos) {
                    if (!text.starts_with('(')) return std::nullopt;
                    text.remove_prefix(1);
                } else {
                    text.remove_prefix(equals + 1);
                }
            }
        }
        value += text;
        value += ' ';
        if (!goesOn(at)) break;
    }
    std::optional<std::u16string> decoded = StringConstantValue(value, CodePage::Default(), true);
    // The last line of a string list ends with its closing parenthesis.
    if (!decoded) {
        std::string_view inner = value;
        while (!inner.empty() && inner.back() == ' ')
            inner.remove_suffix(1);
        if (inner.ends_with(')'))
            decoded = StringConstantValue(inner.substr(0, inner.size() - 1), CodePage::Default(), true);
    }
    if (!decoded) return std::nullopt;
    return ShownStringConstant(*decoded);
}

}  // namespace fw
