#pragma once
// FormTokenizer: splits form text into tokens. It always holds one current token; creating
// it reads the first. Lines may be of any length. Text that begins with a UTF-8
// byte-order mark is UTF-8: the mark is skipped, quoted string bytes are decoded as
// UTF-8 and identifiers may hold non-ASCII letters. Otherwise the text is 8-bit in the
// given code page; in a double-byte page a lead byte and its trail byte are one
// character, which identifiers may hold too, so a trail byte such as "{" or a letter
// never starts a token of its own. When destroyed, the parser moves the stream back to the start of
// the current token, so unconsumed text stays unread.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/codepage.h"
#include "base/stream.h"
#include "extended.h"

namespace fw {

enum TokenKind : int {
    TokEnd = 0,
    TokIdent = 1,
    TokString = 2,
    TokInteger = 3,
    TokFloat = 4,
    TokWideString = 5,
};

class FormTokenizer {
public:
    explicit FormTokenizer(Stream& input, const CodePage& codePage = CodePage::Default());
    ~FormTokenizer();
    FormTokenizer(const FormTokenizer&) = delete;
    FormTokenizer& operator=(const FormTokenizer&) = delete;

    int Advance();
    int Kind() const { return kind_; }
    // The token as 8-bit text; for TokString the decoded value.
    std::string TokenText() const;
    std::string_view TokenView() const;
    // The value of a string token as UTF-16.
    std::u16string TokenWide() const;
    // Throws EConvertError "'%s' is not a valid integer value".
    std::int64_t TokenAsInt64() const;
    // Throws EConvertError "'%s' is not a valid floating point value".
    long double TokenAsExtended() const;
    // The float suffix letter, or 0.
    char FloatSuffix() const { return suffix_; }
    std::string TokenDottedIdent();
    bool IsKeyword(std::string_view word) const;
    void ExpectKind(int kind) const;
    void ExpectKeyword(std::string_view word) const;
    // With "{" current: reads hexadecimal data up to "}" into sink, then advances.
    void ReadHexBytes(std::vector<std::uint8_t>& sink);
    // With "{" current: passes over hexadecimal data up to "}" without decoding it, then
    // advances. Refuses what ReadHexBytes refuses, with the same message and line.
    void SkipHexBytes();
    int Line() const { return tokenLine_; }
    // The stream position at which the current token starts.
    std::int64_t TokenPosition() const { return origin_ + static_cast<std::int64_t>(tokenStart_); }
    bool IsUtf8() const { return utf8_; }
    const CodePage& Codepage() const { return codePage_; }

    // Raises EParserError "<message> on line <line>".
    [[noreturn]] void Error(const std::string& message) const;

private:
    std::size_t SkipBlanks(std::size_t p);
    // Whether a two-byte character of the code page starts at p.
    bool PairAt(std::size_t p) const;
    // The end of the identifier characters from p on.
    std::size_t SkipIdentChars(std::size_t p) const;
    void ScanString(std::size_t p);

    Stream& input_;
    const CodePage& codePage_;
    std::int64_t origin_ = 0;         // stream position of text_[0]
    std::vector<std::uint8_t> text_;  // the remaining input, with a 0 byte after it
    std::size_t size_ = 0;            // bytes of input in text_
    std::size_t scan_ = 0;            // where scanning continues
    std::size_t tokenStart_ = 0;
    std::size_t tokenEnd_ = 0;
    int kind_ = TokEnd;
    char suffix_ = 0;
    int line_ = 1;       // line at the scan position
    int tokenLine_ = 1;  // line on which the current token starts
    bool utf8_ = false;
    bool pairs_ = false;   // 8-bit text in a double-byte code page
    std::string string8_;  // the value of a TokString
    std::u16string wide_;  // the value of a TokWideString
};

}  // namespace fw
