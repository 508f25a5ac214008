#pragma once
// Helpers shared by the codec tests: a compact notation for byte strings, runners for
// the two conversions on memory, and a way to capture an exception's message.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <locale>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "base/stream.h"
#include "codec/conversion.h"

namespace fwtest {

// Builds bytes from a compact notation, so that a stream reads much like its layout:
//   hex digit pairs    "54 50 46 30" or "2C01"  -> those bytes (blanks are ignored)
//   'text'             -> the bytes of text, without a length
//   s'text'            -> a short string: one length byte, then the bytes of text
// Quotes cannot appear inside text; use hex for them.
inline fw::Bytes Bin(std::string_view notation) {
    fw::Bytes out;
    auto hexValue = [&](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        throw std::invalid_argument("bad hex digit in test notation: " + std::string(notation));
    };
    std::size_t i = 0;
    while (i < notation.size()) {
        char c = notation[i];
        if (c == ' ' || c == '\n' || c == ',') {
            ++i;
        } else if (c == '\'' || (c == 's' && i + 1 < notation.size() && notation[i + 1] == '\'')) {
            bool shortString = c == 's';
            std::size_t open = shortString ? i + 1 : i;
            std::size_t close = notation.find('\'', open + 1);
            if (close == std::string_view::npos)
                throw std::invalid_argument("unclosed quote in test notation");
            std::string_view text = notation.substr(open + 1, close - open - 1);
            if (shortString) out.push_back(static_cast<std::uint8_t>(text.size()));
            out.insert(out.end(), text.begin(), text.end());
            i = close + 1;
        } else {
            if (i + 1 >= notation.size()) throw std::invalid_argument("odd hex digit in test notation");
            out.push_back(static_cast<std::uint8_t>(hexValue(c) * 16 + hexValue(notation[i + 1])));
            i += 2;
        }
    }
    return out;
}

inline fw::Bytes operator+(fw::Bytes a, const fw::Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline void Append(fw::Bytes& to, const fw::Bytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

inline fw::Bytes Repeat(std::uint8_t byte, std::size_t n) {
    return fw::Bytes(n, byte);
}

inline fw::Bytes Raw(std::string_view s) {
    return fw::Bytes(s.begin(), s.end());
}

inline fw::Bytes Le32(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

// Bytes as upper-case hex pairs separated by blanks; used so that a failed comparison
// shows the two byte strings readably.
inline std::string Hex(const fw::Bytes& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i) out += ' ';
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

// Text with control and non-ASCII bytes escaped, for readable failure output.
inline std::string Escaped(std::string_view text) {
    std::string out;
    for (unsigned char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n\n";
        } else if (c < 32 || c >= 127) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// UTF-16 text shown as ASCII with \uXXXX for everything else.
inline std::string Escaped(std::u16string_view text) {
    std::string out;
    for (char16_t u : text) {
        if (u >= 32 && u < 127) {
            out += static_cast<char>(u);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(u));
            out += buf;
        }
    }
    return out;
}

// A seekable stream over bytes that does not offer its memory directly, so that
// readers must take their block-by-block path instead of scanning memory in place.
class BlockOnlyStream final : public fw::Stream {
public:
    explicit BlockOnlyStream(fw::Bytes data) : inner_(std::move(data)) {}
    std::size_t Read(void* buffer, std::size_t n) override { return inner_.Read(buffer, n); }
    void Write(const void* buffer, std::size_t n) override { inner_.Write(buffer, n); }
    std::int64_t Position() const override { return inner_.Position(); }
    void Seek(std::int64_t position) override { inner_.Seek(position); }
    std::int64_t Size() const override { return inner_.Size(); }
    const fw::Bytes& Data() const { return inner_.Data(); }

private:
    fw::MemoryStream inner_;
};

// Runs BinaryFormToText on the bytes and returns the text.
inline std::string ToText(const fw::Bytes& binary, const fw::CodePage& codePage = fw::CodePage::Default()) {
    fw::MemoryStream in(binary);
    fw::MemoryStream out;
    fw::BinaryFormToText(in, out, codePage);
    return std::string(out.Data().begin(), out.Data().end());
}

// Runs TextToBinaryForm on the text and returns the bytes.
inline fw::Bytes ToBinary(std::string_view text, const fw::CodePage& codePage = fw::CodePage::Default()) {
    fw::MemoryStream in(Raw(text));
    fw::MemoryStream out;
    fw::TextToBinaryForm(in, out, codePage);
    return out.Data();
}

// Calls f and returns the message of the exception of type E it throws. Another
// exception type, or none at all, is reported in the returned text so that the
// comparison with the expected message fails with a useful diff.
template <typename E, typename F>
std::string MessageOf(F&& f) {
    try {
        f();
    } catch (const E& e) {
        return e.what();
    } catch (const std::exception& e) {
        return std::string("<unexpected exception type> ") + e.what();
    } catch (...) {
        return "<non-standard exception>";
    }
    return "<no exception>";
}

// Switches the process's C++ locale to one whose decimal separator is a comma, and
// back when it goes out of scope; number formatting in form text must not follow it.
class CommaDecimalLocale {
public:
    CommaDecimalLocale() : saved_(std::locale::global(std::locale(std::locale::classic(), new CommaPunct))) {}
    ~CommaDecimalLocale() { std::locale::global(saved_); }
    CommaDecimalLocale(const CommaDecimalLocale&) = delete;
    CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;

private:
    struct CommaPunct : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
        char do_thousands_sep() const override { return '.'; }
        std::string do_grouping() const override { return "\3"; }
    };
    std::locale saved_;
};

}  // namespace fwtest
