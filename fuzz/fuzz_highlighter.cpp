// Fuzzes the form text highlighter on arbitrary text, in both of its encodings, line by
// line as an editor drives it. It must never fail, read outside the line or loop, and
// what it gives must hold together:
//  - the tokens cover every byte of the line in order, none empty, and end with one
//    end-of-line token of length 0 at the line's length;
//  - HighlightLine gives the tokens the SetLine/Next loop gives, and the same range
//    for the next line;
//  - a line handed over with its line end gives the same tokens before it (a run of
//    spaces at its end may take the line end in);
//  - in UTF-8, no token ends inside a well-formed multi-byte character.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "codec/formhighlighter.h"

namespace {

[[noreturn]] void Fail(const char* what, std::string_view line) {
    std::fprintf(stderr, "\n*** highlighter property broken: %s\n--- line: \"", what);
    for (const char c : line) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F && b != '\\' && b != '"')
            std::fputc(b, stderr);
        else
            std::fprintf(stderr, "\\x%02X", b);
    }
    std::fprintf(stderr, "\"\n");
    std::abort();
}

std::vector<fw::HighlightToken> Drive(fw::FormHighlighter& highlighter, std::string_view line,
                                      fw::HighlightRange& range) {
    std::vector<fw::HighlightToken> tokens;
    highlighter.SetLine(line, range);
    // Each token covers at least one byte, so a line has at most its length in tokens.
    for (std::size_t guard = 0;; ++guard) {
        if (guard > line.size()) Fail("more tokens than bytes: the highlighter does not advance", line);
        tokens.push_back(highlighter.Token());
        if (highlighter.AtEndOfLine()) break;
        highlighter.Next();
    }
    range = highlighter.GetRange();
    return tokens;
}

std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead >= 0xF0 && lead <= 0xF4   ? 4
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xC2 && lead <= 0xDF ? 2
                                                              : 1;
    if (lead < 0xC2 || at + length > text.size()) return 1;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 1;
    return length;
}

void CheckLine(std::string_view line, std::string_view lineEnd, fw::HighlightEncoding encoding,
               fw::HighlightRange& range) {
    const fw::HighlightRange before = range;
    fw::FormHighlighter highlighter(encoding);
    const std::vector<fw::HighlightToken> tokens = Drive(highlighter, line, range);

    std::size_t at = 0;
    for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
        const fw::HighlightToken& token = tokens[i];
        if (token.Kind == fw::HighlightKind::EndOfLine) Fail("an end-of-line token before the end", line);
        if (token.Start != at || token.Length == 0 || token.Length > line.size() - at)
            Fail("the tokens do not cover the line in order", line);
        at += token.Length;
    }
    const fw::HighlightToken& last = tokens.back();
    if (last.Kind != fw::HighlightKind::EndOfLine || last.Start != line.size() || last.Length != 0 ||
        at != line.size()) {
        Fail("the line does not end with the end-of-line token at its length", line);
    }

    if (encoding == fw::HighlightEncoding::Utf8) {
        std::vector<bool> inside(line.size() + 1, false);
        for (std::size_t i = 0; i < line.size();) {
            const std::size_t length = Utf8Length(line, i);
            for (std::size_t k = 1; k < length; ++k)
                inside[i + k] = true;
            i += length;
        }
        for (const fw::HighlightToken& token : tokens)
            if (inside[token.Start]) Fail("a token starts inside a UTF-8 character", line);
    }

    fw::HighlightRange again = before;
    if (fw::HighlightLine(line, again, encoding) != tokens || again != range)
        Fail("HighlightLine differs from driving the highlighter", line);

    if (!lineEnd.empty()) {
        const std::string_view withEnd(line.data(), line.size() + lineEnd.size());
        fw::HighlightRange withEndRange = before;
        const std::vector<fw::HighlightToken> longer = HighlightLine(withEnd, withEndRange, encoding);
        // All but the line's last token are the same; that one starts at the same place,
        // with the same kind.
        const std::size_t same = tokens.size() >= 2 ? tokens.size() - 2 : 0;
        bool differs =
            longer.size() < tokens.size() || withEndRange != range ||
            !std::equal(tokens.begin(), tokens.begin() + static_cast<std::ptrdiff_t>(same), longer.begin());
        if (!differs && tokens.size() >= 2) {
            const fw::HighlightToken& mine = tokens[same];
            const fw::HighlightToken& theirs = longer[same];
            differs = mine.Start != theirs.Start || mine.Kind != theirs.Kind ||
                      (mine.Length != theirs.Length && mine.Kind != fw::HighlightKind::Space);
        }
        if (differs) {
            Fail("the line reads differently with its line end", withEnd);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const fw::HighlightEncoding encoding :
         {fw::HighlightEncoding::SingleByte, fw::HighlightEncoding::Utf8}) {
        fw::HighlightRange range = fw::HighlightRange::Normal;
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find_first_of("\r\n", start);
            if (end == std::string_view::npos) end = text.size();
            std::size_t next = end;
            if (next < text.size() && text[next] == '\r') ++next;
            if (next < text.size() && text[next] == '\n') ++next;
            CheckLine(text.substr(start, end - start), text.substr(end, next - end), encoding, range);
            if (next == text.size() && end == text.size()) break;
            start = next;
        }
    }
    return 0;
}
