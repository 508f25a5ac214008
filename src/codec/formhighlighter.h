#pragma once
// FormHighlighter: the colouring of form text in the source editors. It cuts one line
// at a time into highlighting tokens (keys, identifiers, numbers, strings, symbols,
// comments, spaces) by simple lexical rules that are looser than FormTokenizer's and never
// fail on any input. The only state carried from one line to the next is whether the
// line ended inside an unclosed "{", which is how hexadecimal data in braces is drawn
// as a comment over all the lines it spans.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "base/codepage.h"

namespace fw {

enum class HighlightKind { Comment, Identifier, Key, EndOfLine, Number, Space, String, Symbol, Unknown };

// The attributes, in the order the highlighter creates them; None is for the
// end-of-line token, which covers no text.
enum class HighlightAttribute { Comment, Identifier, Key, Number, Space, String, Symbol, None };

inline constexpr std::array<HighlightAttribute, 7> HighlightAttributes = {
    HighlightAttribute::Comment, HighlightAttribute::Identifier, HighlightAttribute::Key,
    HighlightAttribute::Number,  HighlightAttribute::Space,      HighlightAttribute::String,
    HighlightAttribute::Symbol,
};

// The state at the end of a line, handed to the next one. The values are what an
// editor stores per line; the text starts Normal.
enum class HighlightRange : int { InComment = 1, Normal = 2 };

// How bytes that belong to no token class are grouped into unknown tokens.
enum class HighlightEncoding {
    // Each such byte is one token; with a double-byte code page (see the constructor
    // that takes one) a lead byte and its trail byte are one token.
    SingleByte,
    // A well-formed multi-byte UTF-8 sequence is one token, so a token never splits a
    // character; any other such byte is one token.
    Utf8,
};

struct HighlightToken {
    std::size_t Start;
    std::size_t Length;
    HighlightKind Kind;

    bool operator==(const HighlightToken&) const = default;
};

// The attribute a token kind is drawn with: unknown tokens look like identifiers.
HighlightAttribute AttributeOf(HighlightKind kind);

struct AttributeStyle {
    const char* Name;
    bool Bold;
    bool Italic;
    // 0xRRGGBB; none means the editor's own colour.
    std::optional<std::uint32_t> Foreground;
};

// The name and look of an attribute as the program draws it. None has an empty name
// and a plain style.
const AttributeStyle& StyleOf(HighlightAttribute attribute);

inline constexpr std::string_view HighlighterLanguageName = "Borland Forms";
inline constexpr std::string_view HighlighterFileFilter = "Delphi/C++ Builder Form Files (*.dfm)|*.dfm";

// Drives the rules the way an editor does: SetLine with the range the previous line
// left, then read the current token and call Next until AtEndOfLine, then store
// GetRange for the next line. The line may be given with or without its line end;
// CR, LF and CR LF are space tokens and close no string or comment, so the tokens
// before them are the same either way. The line's bytes must outlive their use here.
class FormHighlighter {
public:
    explicit FormHighlighter(HighlightEncoding encoding = HighlightEncoding::SingleByte)
        : encoding_(encoding) {}
    // For 8-bit text in this code page. In a double-byte page a lead byte and the trail
    // byte after it make one unknown token, and inside a comment a trail byte "}" does
    // not close it.
    explicit FormHighlighter(const CodePage& codePage)
        : encoding_(HighlightEncoding::SingleByte), pairs_(codePage.IsDoubleByte() ? &codePage : nullptr) {}

    // Starts a line in the given range and makes its first token current.
    void SetLine(std::string_view line, HighlightRange range);
    // Makes the following token current; stays on the end-of-line token once there.
    void Next();
    bool AtEndOfLine() const { return kind_ == HighlightKind::EndOfLine; }

    HighlightKind TokenKind() const { return kind_; }
    std::size_t TokenStart() const { return tokenStart_; }
    std::size_t TokenLength() const { return pos_ - tokenStart_; }
    std::string_view TokenText() const { return line_.substr(tokenStart_, pos_ - tokenStart_); }
    HighlightToken Token() const { return {tokenStart_, pos_ - tokenStart_, kind_}; }

    // The range after the current token; after the end-of-line token, the range for
    // the next line.
    HighlightRange GetRange() const { return range_; }
    // For restarting at the first line of a text.
    void ResetRange() { range_ = HighlightRange::Normal; }

private:
    void ScanComment();
    void ScanNumber();
    void ScanString();
    void ScanIdentifier();
    void ScanKeyOrIdentifier(std::string_view tail, std::string_view otherTail = {});
    void ScanUnknown();
    bool TailFollows(std::string_view tail) const;
    // 2 when a lead byte and its trail byte start at pos in a double-byte page, else 1.
    std::size_t CharLength(std::size_t pos) const {
        return pairs_ != nullptr ? pairs_->CharLength(line_, pos) : 1;
    }

    HighlightEncoding encoding_;
    const CodePage* pairs_ = nullptr;  // the double-byte code page of 8-bit text
    std::string_view line_;
    std::size_t pos_ = 0;
    std::size_t tokenStart_ = 0;
    HighlightKind kind_ = HighlightKind::EndOfLine;
    HighlightRange range_ = HighlightRange::Normal;
};

// Cuts one line into tokens, starting in `range`, and sets `range` to the state for
// the next line. The tokens cover every byte of the line in order and end with the
// end-of-line token (at the line's length, of length 0).
std::vector<HighlightToken> HighlightLine(std::string_view line, HighlightRange& range,
                                          HighlightEncoding encoding = HighlightEncoding::SingleByte);
// The same for 8-bit text in this code page.
std::vector<HighlightToken> HighlightLine(std::string_view line, HighlightRange& range,
                                          const CodePage& codePage);

}  // namespace fw
