#include "formtokenizer.h"

#include <locale.h>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/asciitext.h"
#include "base/errors.h"

namespace fw {

namespace {

// Character classes of form text, one table lookup per byte.
enum : std::uint8_t { ClsLetter = 1, ClsDigit = 2, ClsHex = 4, ClsFloatRun = 8, ClsBlank = 16 };

constexpr std::array<std::uint8_t, 256> MakeClasses() {
    std::array<std::uint8_t, 256> t{};
    for (int c = 1; c <= 32; ++c)
        t[static_cast<std::size_t>(c)] |= ClsBlank;
    for (int c = 'A'; c <= 'Z'; ++c)
        t[static_cast<std::size_t>(c)] |= ClsLetter;
    for (int c = 'a'; c <= 'z'; ++c)
        t[static_cast<std::size_t>(c)] |= ClsLetter;
    t['_'] |= ClsLetter;
    for (int c = '0'; c <= '9'; ++c)
        t[static_cast<std::size_t>(c)] |= ClsDigit | ClsHex | ClsFloatRun;
    for (int c = 'A'; c <= 'F'; ++c)
        t[static_cast<std::size_t>(c)] |= ClsHex;
    for (int c = 'a'; c <= 'f'; ++c)
        t[static_cast<std::size_t>(c)] |= ClsHex;
    t['+'] |= ClsFloatRun;
    t['-'] |= ClsFloatRun;
    t['.'] |= ClsFloatRun;
    t['E'] |= ClsFloatRun;
    t['e'] |= ClsFloatRun;
    return t;
}
constexpr auto Classes = MakeClasses();

constexpr std::array<std::int8_t, 256> MakeHexValues() {
    std::array<std::int8_t, 256> t{};
    for (auto& v : t)
        v = -1;
    for (int c = '0'; c <= '9'; ++c)
        t[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c - '0');
    for (int c = 'A'; c <= 'F'; ++c)
        t[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c - 'A' + 10);
    for (int c = 'a'; c <= 'f'; ++c)
        t[static_cast<std::size_t>(c)] = static_cast<std::int8_t>(c - 'a' + 10);
    return t;
}
constexpr auto HexValues = MakeHexValues();

// The byte for every pair of hexadecimal digits, indexed by the two characters as one
// little-endian 16-bit word; -1 where either is no digit. Decoding picture data, the
// bulk of large forms, then costs one lookup per byte.
std::array<std::int16_t, 65536> MakeHexPairs() {
    std::array<std::int16_t, 65536> t{};
    for (std::size_t w = 0; w < t.size(); ++w) {
        const int hi = HexValues[w & 0xFF], lo = HexValues[w >> 8];
        t[w] = static_cast<std::int16_t>(hi < 0 || lo < 0 ? -1 : (hi << 4) | lo);
    }
    return t;
}
const std::array<std::int16_t, 65536> HexPairs = MakeHexPairs();

// Whether the 8 bytes at p are all hexadecimal digits, tested together in one word:
// each test below leaves the high bit of a byte set where it holds. For bytes below
// 0x80, adding 0x80 - n to each sets its high bit exactly where it is at least n, and
// no sum carries into the next byte.
bool AllHexDigits(const std::uint8_t* p) {
    constexpr std::uint64_t Ones = 0x0101010101010101, Highs = Ones * 0x80;
    std::uint64_t x;
    std::memcpy(&x, p, sizeof x);
    if (x & Highs) return false;
    const auto atLeast = [](std::uint64_t v, std::uint64_t n) { return v + Ones * (0x80 - n); };
    const std::uint64_t digit = atLeast(x, '0') & ~atLeast(x, '9' + 1);
    const std::uint64_t lower = x | (Ones * 0x20);  // 'A'..'F' as 'a'..'f'
    const std::uint64_t letter = atLeast(lower, 'a') & ~atLeast(lower, 'f' + 1);
    return ((digit | letter) & Highs) == Highs;
}

}  // namespace

FormTokenizer::FormTokenizer(Stream& input, const CodePage& codePage) : input_(input), codePage_(codePage) {
    origin_ = input.Position();
    text_ = input.ReadToEnd(1);
    size_ = text_.size();
    text_.push_back(0);  // the scan stops at this byte without bounds checks
    if (size_ >= 3 && text_[0] == 0xEF && text_[1] == 0xBB && text_[2] == 0xBF) {
        utf8_ = true;
        scan_ = 3;
    }
    pairs_ = !utf8_ && codePage.IsDoubleByte();
    Advance();
}

FormTokenizer::~FormTokenizer() {
    try {
        input_.Seek(origin_ + static_cast<std::int64_t>(tokenStart_));
    } catch (...) {
        // The position lies inside the text read; a failing seek leaves the stream as it is.
    }
}

void FormTokenizer::Error(const std::string& message) const {
    throw EParserError(message + " on line " + std::to_string(tokenLine_), tokenLine_);
}

std::size_t FormTokenizer::SkipBlanks(std::size_t p) {
    for (;;) {
        const std::uint8_t c = text_[p];
        if (!(Classes[c] & ClsBlank)) return p;
        if (c == '\n') ++line_;
        ++p;
    }
}

bool FormTokenizer::PairAt(std::size_t p) const {
    // text_ ends with a 0 byte, which is no lead byte, so p + 1 is inside it.
    return pairs_ && codePage_.IsLeadByte(text_[p]) && codePage_.IsTrailByte(text_[p + 1]);
}

std::size_t FormTokenizer::SkipIdentChars(std::size_t p) const {
    for (;;) {
        while ((Classes[text_[p]] & (ClsLetter | ClsDigit)) || (utf8_ && text_[p] >= 0x80))
            ++p;
        if (!PairAt(p)) return p;
        p += 2;
    }
}

int FormTokenizer::Advance() {
    std::size_t p = SkipBlanks(scan_);
    tokenStart_ = p;
    tokenLine_ = line_;
    suffix_ = 0;
    const std::uint8_t c = text_[p];
    const auto identChar = [this](std::uint8_t b) {
        return (Classes[b] & (ClsLetter | ClsDigit)) || (utf8_ && b >= 0x80);
    };
    if ((Classes[c] & ClsLetter) || (utf8_ && c >= 0x80) || (pairs_ && PairAt(p))) {
        if (pairs_) {
            p = SkipIdentChars(p);
        } else {
            ++p;
            while (identChar(text_[p]))
                ++p;
        }
        kind_ = TokIdent;
    } else if (c == '#' || c == '\'') {
        ScanString(p);
        return kind_;
    } else if (c == '$') {
        ++p;
        while (Classes[text_[p]] & ClsHex)
            ++p;
        kind_ = TokInteger;
    } else if (c == '-' || (Classes[c] & ClsDigit)) {
        ++p;
        while (Classes[text_[p]] & ClsDigit)
            ++p;
        kind_ = TokInteger;
        if (Classes[text_[p]] & ClsFloatRun) {
            while (Classes[text_[p]] & ClsFloatRun)
                ++p;
            kind_ = TokFloat;
        }
        const char s = static_cast<char>(text_[p]);
        if (s == 'C' || s == 'D' || s == 'S' || s == 'c' || s == 'd' || s == 's') {
            suffix_ = s;
            ++p;
            kind_ = TokFloat;
        }
    } else if (c == 0) {
        // The end of the text, or a 0 byte in it, which ends the input the same way.
        kind_ = TokEnd;
    } else {
        ++p;
        kind_ = c;
    }
    tokenEnd_ = p;
    scan_ = p;
    return kind_;
}

void FormTokenizer::ScanString(std::size_t p) {
    // First pass: the 8-bit value, and whether some "#" code makes the constant wide.
    string8_.clear();
    bool wide = false;
    for (;;) {
        const std::uint8_t c = text_[p];
        if (c == '#') {
            ++p;
            std::uint32_t code = 0;
            while (Classes[text_[p]] & ClsDigit)
                code = code * 10 + (text_[p++] - '0');
            if (code > 127) wide = true;
            string8_.push_back(static_cast<char>(code));
        } else if (c == '\'') {
            // Byte by byte: no trail byte of a double-byte code page is a quote, a line
            // break or 0, so none can end the string early.
            ++p;
            for (;;) {
                const std::uint8_t q = text_[p];
                if (q == 0 || q == '\r' || q == '\n') Error("Invalid string constant");
                if (q == '\'') {
                    if (text_[p + 1] != '\'') break;
                    ++p;
                }
                string8_.push_back(static_cast<char>(q));
                ++p;
            }
            ++p;
        } else {
            break;
        }
    }
    tokenEnd_ = p;
    scan_ = p;
    kind_ = TokString;
    if (!wide) return;

    // Second pass for wide constants: "#" codes are code units, quoted bytes are units of
    // the same value (or UTF-8 in UTF-8 text).
    kind_ = TokWideString;
    wide_.clear();
    std::string part;
    for (std::size_t i = tokenStart_; i < tokenEnd_;) {
        if (text_[i] == '#') {
            ++i;
            std::uint32_t code = 0;
            while (Classes[text_[i]] & ClsDigit)
                code = code * 10 + (text_[i++] - '0');
            wide_.push_back(static_cast<char16_t>(code & 0xFFFF));
        } else {
            ++i;
            part.clear();
            for (;;) {
                if (text_[i] == '\'') {
                    if (text_[i + 1] != '\'') break;
                    ++i;
                }
                part.push_back(static_cast<char>(text_[i++]));
            }
            ++i;
            if (utf8_) {
                wide_ += Utf16FromUtf8Text(part, codePage_);
            } else {
                for (char b : part)
                    wide_.push_back(static_cast<char16_t>(static_cast<std::uint8_t>(b)));
            }
        }
    }
}

std::string_view FormTokenizer::TokenView() const {
    if (kind_ == TokString) return string8_;
    return {reinterpret_cast<const char*>(text_.data()) + tokenStart_, tokenEnd_ - tokenStart_};
}

std::string FormTokenizer::TokenText() const {
    return std::string(TokenView());
}

std::u16string FormTokenizer::TokenWide() const {
    if (kind_ == TokWideString) return wide_;
    if (utf8_) return Utf16FromUtf8Text(string8_, codePage_);
    return codePage_.Decode(string8_);
}

std::int64_t FormTokenizer::TokenAsInt64() const {
    const std::string_view text = TokenView();
    auto fail = [&]() -> std::int64_t {
        throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    };
    if (text.empty()) return fail();
    if (text[0] == '$') {
        if (text.size() == 1) return fail();
        std::uint64_t value = 0;
        for (std::size_t i = 1; i < text.size(); ++i) {
            const int v = HexValues[static_cast<std::uint8_t>(text[i])];
            if (v < 0 || (value >> 60) != 0) return fail();
            value = (value << 4) | static_cast<std::uint64_t>(v);
        }
        return static_cast<std::int64_t>(value);
    }
    const bool negative = text[0] == '-';
    const std::size_t first = negative ? 1 : 0;
    if (first == text.size()) return fail();
    std::uint64_t value = 0;
    const std::uint64_t limit = negative ? 9223372036854775808ull : 9223372036854775807ull;
    for (std::size_t i = first; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return fail();
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (limit - digit) / 10) return fail();
        value = value * 10 + digit;
    }
    return negative ? static_cast<std::int64_t>(0 - value) : static_cast<std::int64_t>(value);
}

long double FormTokenizer::TokenAsExtended() const {
    std::string_view text = TokenView();
    const std::string shown(text);
    if (suffix_ != 0 && !text.empty()) text.remove_suffix(1);
    auto fail = [&]() -> long double {
        throw EConvertError("'" + shown + "' is not a valid floating point value");
    };
    // Validate the shape: [sign] digits [. digits] [(E|e) [sign] digits].
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t mantissaDigits = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9')
        ++i, ++mantissaDigits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && text[i] >= '0' && text[i] <= '9')
            ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return fail();
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < n && text[i] >= '0' && text[i] <= '9')
            ++i, ++expDigits;
        if (expDigits == 0) return fail();
    }
    if (i != n) return fail();

    std::string_view number = text;
    if (!number.empty() && number[0] == '+') number.remove_prefix(1);
    long double value = 0;
    const auto res = std::from_chars(number.data(), number.data() + number.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        // Tiny values underflow to a denormal or zero, which is a value all the same;
        // only an overflow is an error. The C locale keeps "." the decimal point.
        static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        const std::string copy(number);
        value = strtold_l(copy.c_str(), nullptr, cLocale);
        if (std::isinf(value)) return fail();
    } else if (res.ec != std::errc() || res.ptr != number.data() + number.size()) {
        return fail();
    }
    return value;
}

std::string FormTokenizer::TokenDottedIdent() {
    std::size_t p = tokenEnd_;
    while (text_[p] == '.') {
        const std::uint8_t c = text_[p + 1];
        if (!((Classes[c] & ClsLetter) || (utf8_ && c >= 0x80) || PairAt(p + 1)))
            Error("Identifier expected");
        p = SkipIdentChars(p + 1);
    }
    tokenEnd_ = p;
    scan_ = p;
    return std::string(TokenView());
}

bool FormTokenizer::IsKeyword(std::string_view word) const {
    if (kind_ != TokIdent) return false;
    const std::string_view text = TokenView();
    return EqualsIgnoringCase(text, word);
}

void FormTokenizer::ExpectKind(int kind) const {
    if (kind_ == kind) return;
    switch (kind) {
        case TokIdent:
            Error("Identifier expected");
        case TokString:
        case TokWideString:
            Error("String expected");
        case TokInteger:
        case TokFloat:
            Error("Number expected");
        default:
            Error("''" + std::string(1, static_cast<char>(kind)) + "'' expected");
    }
}

void FormTokenizer::ExpectKeyword(std::string_view word) const {
    if (!IsKeyword(word)) Error(std::string(word) + " expected");
}

void FormTokenizer::ReadHexBytes(std::vector<std::uint8_t>& sink) {
    // The data cannot be longer than half the text up to the closing brace: size the
    // sink once and decode into it through plain pointers.
    const std::uint8_t* const text = text_.data();
    const void* close = std::memchr(text + scan_, '}', size_ - scan_);
    const std::size_t span =
        close ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(close) - text) - scan_
              : size_ - scan_;
    const std::size_t start = sink.size();
    sink.resize(start + span / 2 + 1);
    std::uint8_t* out = sink.data() + start;
    std::size_t p = SkipBlanks(scan_);
    while (text[p] != '}') {
        const std::uint8_t* const before = out;
        for (;;) {
            // Data that runs to the end of the text has no closing brace: the end is no
            // pair, and the terminating 0 byte must not be read as the first of one.
            if (p >= size_) break;
            std::uint16_t pair;
            std::memcpy(&pair, text + p, 2);  // p < size_, so text[p + 1] exists
            const int value = HexPairs[pair];
            if (value < 0) break;
            *out++ = static_cast<std::uint8_t>(value);
            p += 2;
        }
        if (out == before) {
            sink.resize(static_cast<std::size_t>(out - sink.data()));
            // Report the line holding the bad data, which in a long block of data can be
            // far below the property's own line.
            scan_ = p;
            tokenLine_ = line_;
            Error("Invalid binary value");
        }
        p = SkipBlanks(p);
    }
    sink.resize(static_cast<std::size_t>(out - sink.data()));
    scan_ = p;
    Advance();
}

void FormTokenizer::SkipHexBytes() {
    // The data is runs of digit pairs between blanks, up to the first closing brace: a
    // run of an odd length or with a byte that is no digit holds the pair ReadHexBytes
    // stops at, and so does data that runs to the end of the text.
    const std::uint8_t* const text = text_.data();
    const void* close = std::memchr(text + scan_, '}', size_ - scan_);
    const std::size_t end =
        close ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(close) - text) : size_;
    std::size_t p = scan_;
    for (;;) {
        while (p < end && (Classes[text[p]] & ClsBlank)) {
            if (text[p] == '\n') ++line_;
            ++p;
        }
        if (p == end) break;
        const std::size_t run = p;
        while (p + 8 <= end && AllHexDigits(text + p))
            p += 8;
        while (Classes[text[p]] & ClsHex)  // stops at the brace or the 0 byte after the text
            ++p;
        if ((p - run) % 2 != 0 || (p != end && !(Classes[text[p]] & ClsBlank))) {
            scan_ = run + ((p - run) & ~std::size_t{1});
            tokenLine_ = line_;
            Error("Invalid binary value");
        }
    }
    scan_ = p;
    if (!close) {
        tokenLine_ = line_;
        Error("Invalid binary value");
    }
    Advance();
}

}  // namespace fw
