#include "stringconstant.h"

#include <exception>

#include "base/stream.h"
#include "formformat.h"
#include "formtokenizer.h"

namespace fw {

std::optional<std::u16string> StringConstantValue(std::string_view text, const CodePage& codePage,
                                                  bool utf8) {
    std::string input;
    if (utf8 && !text.starts_with(Utf8ByteOrderMark)) input = Utf8ByteOrderMark;
    input += text;
    try {
        ByteViewStream stream(ByteSpan(reinterpret_cast<const std::uint8_t*>(input.data()), input.size()));
        FormTokenizer parser(stream, codePage);
        std::u16string value;
        // string ('+' string)*, and nothing after it.
        for (;;) {
            if (parser.Kind() != TokString && parser.Kind() != TokWideString) return std::nullopt;
            value += parser.TokenWide();
            if (parser.Advance() == TokEnd) return value;
            if (parser.Kind() != '+') return std::nullopt;
            parser.Advance();
        }
    } catch (const std::exception&) {
        // An unterminated quote, a bad #code: not a string constant.
        return std::nullopt;
    }
}

std::string ShownStringConstant(std::u16string_view value) {
    if (value.empty()) return "''";
    std::string shown;
    bool quoted = false;
    std::size_t run = 0;  // where the run of characters not yet added starts
    const auto flush = [&](std::size_t end) {
        if (end == run) return;
        if (!quoted) shown += '\'';
        for (const char c : Utf8TextFromUtf16(value.substr(run, end - run))) {
            shown += c;
            if (c == '\'') shown += '\'';
        }
        quoted = true;
    };
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] >= 32 && value[i] != 0x7F) continue;
        flush(i);
        if (quoted) shown += '\'';
        quoted = false;
        shown += '#' + std::to_string(static_cast<unsigned>(value[i]));
        run = i + 1;
    }
    flush(value.size());
    if (quoted) shown += '\'';
    return shown;
}

}  // namespace fw
