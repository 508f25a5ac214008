#include "formhighlighter.h"

#include "base/asciitext.h"

namespace fw {

namespace {

bool IsLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool IsIdentChar(unsigned char c) {
    return IsLetter(c) || IsDigit(c);
}
bool IsHexDigit(unsigned char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
bool IsLineBreak(unsigned char c) {
    return c == '\r' || c == '\n';
}
// Control characters and the blank, except the two line-break bytes, which make
// tokens of their own.
bool IsBlank(unsigned char c) {
    return c >= 1 && c <= 32 && !IsLineBreak(c);
}

bool IsSymbol(unsigned char c) {
    switch (c) {
        case '(':
        case ')':
        case ',':
        case '.':
        case '/':
        case '<':
        case '=':
        case '>':
        case '[':
        case ']':
            return true;
        default:
            return false;
    }
}

// The length of the well-formed multi-byte UTF-8 sequence at the start of `bytes`,
// or 1. Overlong forms are not rejected: the point is only not to cut a character
// that is really there.
std::size_t Utf8SequenceLength(std::string_view bytes) {
    auto lead = static_cast<unsigned char>(bytes[0]);
    std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                         : lead >= 0xE0 && lead <= 0xEF ? 3
                         : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                        : 1;
    if (length > bytes.size()) return 1;
    for (std::size_t i = 1; i < length; ++i) {
        auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80 || c > 0xBF) return 1;
    }
    return length;
}

constexpr AttributeStyle CommentStyle{"Comment", false, true, 0x008000};
constexpr AttributeStyle IdentifierStyle{"Identifier", false, false, std::nullopt};
constexpr AttributeStyle KeyStyle{"Key", true, false, std::nullopt};
constexpr AttributeStyle NumberStyle{"Number", false, false, 0x0000FF};
constexpr AttributeStyle SpaceStyle{"Space", false, false, std::nullopt};
constexpr AttributeStyle StringStyle{"String", false, false, 0xFF0000};
constexpr AttributeStyle SymbolStyle{"Symbol", false, false, std::nullopt};
constexpr AttributeStyle NoStyle{"", false, false, std::nullopt};

}  // namespace

HighlightAttribute AttributeOf(HighlightKind kind) {
    switch (kind) {
        case HighlightKind::Comment:
            return HighlightAttribute::Comment;
        case HighlightKind::Identifier:
            return HighlightAttribute::Identifier;
        case HighlightKind::Key:
            return HighlightAttribute::Key;
        case HighlightKind::EndOfLine:
            return HighlightAttribute::None;
        case HighlightKind::Number:
            return HighlightAttribute::Number;
        case HighlightKind::Space:
            return HighlightAttribute::Space;
        case HighlightKind::String:
            return HighlightAttribute::String;
        case HighlightKind::Symbol:
            return HighlightAttribute::Symbol;
        case HighlightKind::Unknown:
            return HighlightAttribute::Identifier;
    }
    return HighlightAttribute::None;
}

const AttributeStyle& StyleOf(HighlightAttribute attribute) {
    switch (attribute) {
        case HighlightAttribute::Comment:
            return CommentStyle;
        case HighlightAttribute::Identifier:
            return IdentifierStyle;
        case HighlightAttribute::Key:
            return KeyStyle;
        case HighlightAttribute::Number:
            return NumberStyle;
        case HighlightAttribute::Space:
            return SpaceStyle;
        case HighlightAttribute::String:
            return StringStyle;
        case HighlightAttribute::Symbol:
            return SymbolStyle;
        case HighlightAttribute::None:
            return NoStyle;
    }
    return NoStyle;
}

void FormHighlighter::SetLine(std::string_view line, HighlightRange range) {
    line_ = line;
    range_ = range;
    pos_ = 0;
    Next();
}

void FormHighlighter::Next() {
    tokenStart_ = pos_;
    // The end of the line data is the end of the line. A NUL byte inside the data is
    // an ordinary unknown byte, so that every byte the editor holds gets a token.
    if (pos_ >= line_.size()) {
        kind_ = HighlightKind::EndOfLine;
        return;
    }
    auto c = static_cast<unsigned char>(line_[pos_]);
    // Line breaks are spaces in either range; a CR takes the LF after it.
    if (c == '\n') {
        ++pos_;
        kind_ = HighlightKind::Space;
        return;
    }
    if (c == '\r') {
        ++pos_;
        if (pos_ < line_.size() && line_[pos_] == '\n') ++pos_;
        kind_ = HighlightKind::Space;
        return;
    }
    if (range_ == HighlightRange::InComment) {
        // A comment continued from an earlier line: the first byte is looked at too,
        // so a "}" there closes the comment at once.
        ScanComment();
        return;
    }
    if (IsBlank(c)) {
        while (pos_ < line_.size() && IsBlank(static_cast<unsigned char>(line_[pos_])))
            ++pos_;
        kind_ = HighlightKind::Space;
        return;
    }
    switch (c) {
        case '#':
            ++pos_;
            while (pos_ < line_.size() && IsDigit(static_cast<unsigned char>(line_[pos_])))
                ++pos_;
            kind_ = HighlightKind::String;
            return;
        case '$':
            ++pos_;
            while (pos_ < line_.size() && IsHexDigit(static_cast<unsigned char>(line_[pos_])))
                ++pos_;
            kind_ = HighlightKind::Number;
            return;
        case '\'':
            ScanString();
            return;
        case '{':
            range_ = HighlightRange::InComment;
            ++pos_;
            ScanComment();
            return;
        case '}':
            ++pos_;
            range_ = HighlightRange::Normal;
            kind_ = HighlightKind::Identifier;
            return;
        case 'E':
        case 'e':
            ScanKeyOrIdentifier("nd");
            return;
        case 'I':
        case 'i':
            ScanKeyOrIdentifier("nherited", "nline");
            return;
        case 'O':
        case 'o':
            ScanKeyOrIdentifier("bject");
            return;
        default:
            break;
    }
    if (IsSymbol(c)) {
        ++pos_;
        kind_ = HighlightKind::Symbol;
    } else if (IsDigit(c)) {
        ScanNumber();
    } else if (IsLetter(c)) {
        ScanIdentifier();
    } else {
        ScanUnknown();
    }
}

// Runs to the next "}", which ends the comment, or stops before the line ends with
// the comment still open.
void FormHighlighter::ScanComment() {
    kind_ = HighlightKind::Comment;
    while (pos_ < line_.size()) {
        auto c = static_cast<unsigned char>(line_[pos_]);
        if (IsLineBreak(c)) return;
        const std::size_t n = CharLength(pos_);
        pos_ += n;
        if (c == '}' && n == 1) {
            range_ = HighlightRange::Normal;
            return;
        }
    }
}

// Digits, "E" and "e" in any mix. A "." is taken and ends the number, so 1.5 is drawn
// as 1. and 5; before a second "." it is left alone, so a range 1..2 keeps its "..".
void FormHighlighter::ScanNumber() {
    kind_ = HighlightKind::Number;
    ++pos_;
    while (pos_ < line_.size()) {
        auto c = static_cast<unsigned char>(line_[pos_]);
        if (IsDigit(c) || c == 'E' || c == 'e') {
            ++pos_;
        } else {
            if (c == '.' && !(pos_ + 1 < line_.size() && line_[pos_ + 1] == '.')) ++pos_;
            return;
        }
    }
}

// Up to and including the closing quote; a doubled quote stays inside. An unclosed
// string stops before the line break or at the end of the line.
void FormHighlighter::ScanString() {
    kind_ = HighlightKind::String;
    ++pos_;
    while (pos_ < line_.size()) {
        auto c = static_cast<unsigned char>(line_[pos_]);
        if (IsLineBreak(c)) return;
        ++pos_;
        if (c == '\'') {
            if (pos_ < line_.size() && line_[pos_] == '\'') {
                ++pos_;
            } else {
                return;
            }
        }
    }
}

void FormHighlighter::ScanIdentifier() {
    kind_ = HighlightKind::Identifier;
    ++pos_;
    while (pos_ < line_.size() && IsIdentChar(static_cast<unsigned char>(line_[pos_])))
        ++pos_;
}

bool FormHighlighter::TailFollows(std::string_view tail) const {
    std::size_t at = pos_ + 1;
    if (line_.size() - at < tail.size()) return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (AsciiLower(static_cast<unsigned char>(line_[at + i])) != static_cast<unsigned char>(tail[i]))
            return false;
    }
    std::size_t after = at + tail.size();
    return after == line_.size() || !IsIdentChar(static_cast<unsigned char>(line_[after]));
}

// The current letter starts a keyword when one of the tails (lower case) follows it
// in any case and the word ends there; otherwise it starts an identifier.
void FormHighlighter::ScanKeyOrIdentifier(std::string_view tail, std::string_view otherTail) {
    if (TailFollows(tail)) {
        pos_ += 1 + tail.size();
        kind_ = HighlightKind::Key;
    } else if (!otherTail.empty() && TailFollows(otherTail)) {
        pos_ += 1 + otherTail.size();
        kind_ = HighlightKind::Key;
    } else {
        ScanIdentifier();
    }
}

void FormHighlighter::ScanUnknown() {
    kind_ = HighlightKind::Unknown;
    pos_ += encoding_ == HighlightEncoding::Utf8 ? Utf8SequenceLength(line_.substr(pos_)) : CharLength(pos_);
}

namespace {

std::vector<HighlightToken> TokensOf(FormHighlighter& highlighter, std::string_view line,
                                     HighlightRange& range) {
    std::vector<HighlightToken> tokens;
    highlighter.SetLine(line, range);
    for (;;) {
        tokens.push_back(highlighter.Token());
        if (highlighter.AtEndOfLine()) break;
        highlighter.Next();
    }
    range = highlighter.GetRange();
    return tokens;
}

}  // namespace

std::vector<HighlightToken> HighlightLine(std::string_view line, HighlightRange& range,
                                          HighlightEncoding encoding) {
    FormHighlighter highlighter(encoding);
    return TokensOf(highlighter, line, range);
}

std::vector<HighlightToken> HighlightLine(std::string_view line, HighlightRange& range,
                                          const CodePage& codePage) {
    FormHighlighter highlighter(codePage);
    return TokensOf(highlighter, line, range);
}

}  // namespace fw
