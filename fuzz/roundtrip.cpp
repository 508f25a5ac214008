#include "roundtrip.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/errors.h"
#include "codec/conversion.h"
#include "codec/formtokenizer.h"

namespace fwfuzz {

namespace {

bool IdentifierByte(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c >= 0x80;
}

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            lines.push_back(text);
            break;
        }
        lines.push_back(text.substr(0, end + 1));
        text.remove_prefix(end + 1);
    }
    return lines;
}

// Whether the form text holds a float outside blocks of binary data (which are hex
// digits, and may look like floats to the tokenizer). Infinities and not-a-numbers
// count too: they are written as identifiers such as INF or NANs, and read back as
// identifiers. When in doubt, true.
bool HasFloatValues(const fw::Bytes& text) {
    try {
        fw::ByteViewStream input(text);
        fw::FormTokenizer parser(input);
        std::vector<std::uint8_t> data;
        for (int kind = parser.Kind(); kind != fw::TokEnd; kind = parser.Advance()) {
            if (kind == fw::TokFloat) return true;
            if (kind == fw::TokIdent) {
                const std::string_view word = parser.TokenView();
                const std::string_view stem = word.substr(0, 3);
                if ((stem == "INF" || stem == "NAN") &&
                    (word.size() == 3 ||
                     (word.size() == 4 && std::string_view("scd").find(word[3]) != std::string_view::npos))) {
                    return true;
                }
            }
            if (kind == '{') parser.ReadHexBytes(data);
        }
        return false;
    } catch (const fw::Exception&) {
        return true;
    }
}

// The values that form text written by the codec cannot carry back to binary.
bool HasValueTextCannotCarry(std::string_view text) {
    return Contains(text, "-INF") ||                           // negative infinity
           Contains(text, "E4932") ||                          // extended near its largest
           Contains(text, "E18c") ||                           // currency near the 64-bit limit
           Contains(text, ".\r\n") || Contains(text, ". = ");  // name cut right after a dot
}

std::string Abridged(std::string_view text) {
    constexpr std::size_t limit = 4000;
    if (text.size() <= limit) return std::string(text);
    return std::string(text.substr(0, limit)) + "\n[... " + std::to_string(text.size() - limit) +
           " more bytes]";
}

}  // namespace

std::string_view AsText(const fw::Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

void Fail(std::string_view message, std::string_view firstText, std::string_view secondText) {
    std::fprintf(stderr, "\n*** form round-trip property broken: %.*s\n", static_cast<int>(message.size()),
                 message.data());
    if (!firstText.empty()) std::fprintf(stderr, "--- first text:\n%s\n", Abridged(firstText).c_str());
    if (!secondText.empty()) std::fprintf(stderr, "--- second text:\n%s\n", Abridged(secondText).c_str());
    std::abort();
}

std::size_t FileLikeStream::Read(void* buffer, std::size_t n) {
    n = std::min(n, bytes_.size() - position_);
    if (n > 0) std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += n;
    return n;
}

void FileLikeStream::Write(const void*, std::size_t) {
    throw fw::EStreamError("read-only stream");
}

void FileLikeStream::Seek(std::int64_t position) {
    if (position < 0 || position > Size()) throw fw::EStreamError("Stream seek error");
    position_ = static_cast<std::size_t>(position);
}

namespace {

template <typename Input>
TextOutcome ConvertFrom(Input& input, bool resource, const fw::CodePage& codePage) {
    TextOutcome outcome;
    fw::MemoryStream output;
    try {
        if (resource) {
            fw::ResourceFormToText(input, output, codePage);
        } else {
            fw::BinaryFormToText(input, output, codePage);
        }
    } catch (const fw::Exception& error) {
        outcome.Error = error.what();
        return outcome;
    }
    outcome.Consumed = static_cast<std::size_t>(input.Position());
    outcome.Text = output.Take();
    return outcome;
}

}  // namespace

TextOutcome ConvertBinaryToText(fw::ByteSpan binary, bool resource, bool fileLike,
                                const fw::CodePage& codePage) {
    if (fileLike) {
        FileLikeStream input(binary);
        return ConvertFrom(input, resource, codePage);
    }
    fw::ByteViewStream input(binary);
    return ConvertFrom(input, resource, codePage);
}

std::optional<fw::Bytes> TryBinaryToText(fw::ByteSpan binary, bool resource, std::size_t* consumed,
                                         const fw::CodePage& codePage) {
    TextOutcome outcome = ConvertBinaryToText(binary, resource, false, codePage);
    if (consumed != nullptr) *consumed = outcome.Consumed;
    return std::move(outcome.Text);
}

std::optional<fw::Bytes> TryTextToBinary(fw::ByteSpan text, const fw::CodePage& codePage) {
    fw::ByteViewStream input(text);
    fw::MemoryStream output;
    try {
        fw::TextToBinaryForm(input, output, codePage);
    } catch (const fw::Exception&) {
        return std::nullopt;
    }
    return output.Take();
}

bool HasUnfaithfulConstructs(std::string_view text, const fw::CodePage& codePage) {
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (codePage.CharLength(text, i) == 2) {
            // The name is written as UTF-8: three bytes for a character, six for an
            // undefined pair, which is two private-use characters.
            run += 6;
            if (run >= 200) return true;
            ++i;
            continue;
        }
        run = IdentifierByte(c) ? run + 1 : 0;
        if (run >= 200) return true;
        // The word null, not part of a longer identifier.
        if (i + 4 <= text.size() && (c | 0x20) == 'n' && (text[i + 1] | 0x20) == 'u' &&
            (text[i + 2] | 0x20) == 'l' && (text[i + 3] | 0x20) == 'l' &&
            (i == 0 || !IdentifierByte(static_cast<unsigned char>(text[i - 1]))) &&
            (i + 4 == text.size() || !IdentifierByte(static_cast<unsigned char>(text[i + 4])))) {
            return true;
        }
    }
    return false;
}

void CheckWrittenStream(const fw::Bytes& written, const fw::CodePage& codePage) {
    std::size_t consumed = 0;
    const std::optional<fw::Bytes> text = TryBinaryToText(written, false, &consumed, codePage);
    if (!text) Fail("a stream written by the text conversion cannot be converted to text");
    if (consumed != written.size()) {
        Fail("converting a written stream to text stopped before its end: " + std::to_string(consumed) +
                 " of " + std::to_string(written.size()) + " bytes read",
             AsText(*text));
    }

    const std::optional<fw::Bytes> again = TryTextToBinary(*text, codePage);
    if (!again) {
        if (HasValueTextCannotCarry(AsText(*text))) return;
        Fail("text written by the codec cannot be converted back to binary", AsText(*text));
    }

    const std::optional<fw::Bytes> textAgain = TryBinaryToText(*again, false, &consumed, codePage);
    if (!textAgain) Fail("the second binary cannot be converted to text", AsText(*text));
    if (consumed != again->size()) Fail("converting the second binary stopped before its end", AsText(*text));

    if (*textAgain != *text) {
        const auto first = Lines(AsText(*text));
        const auto second = Lines(AsText(*textAgain));
        if (first.size() != second.size()) {
            Fail("the text changed on a second round trip (line count)", AsText(*text), AsText(*textAgain));
        }
        for (std::size_t i = 0; i < first.size(); ++i) {
            if (first[i] != second[i] && !Contains(second[i], "INF")) {
                Fail("the text changed on a second round trip at line " + std::to_string(i + 1) + ": \"" +
                         std::string(first[i]) + "\" became \"" + std::string(second[i]) + "\"",
                     AsText(*text), AsText(*textAgain));
            }
        }
    }

    if (*again != written && !HasFloatValues(*text)) {
        const auto mismatch = std::mismatch(again->begin(), again->end(), written.begin(), written.end());
        Fail(
            "the binary changed on a round trip through text although it holds no float (first difference at "
            "byte " +
                std::to_string(mismatch.second - written.begin()) + ")",
            AsText(*text));
    }
}

void CheckStableAfterFirstPass(const fw::Bytes& written, const fw::CodePage& codePage) {
    const std::optional<fw::Bytes> firstText = TryBinaryToText(written, false, nullptr, codePage);
    if (!firstText) return;
    const std::optional<fw::Bytes> settled = TryTextToBinary(*firstText, codePage);
    if (!settled) return;

    const std::optional<fw::Bytes> text = TryBinaryToText(*settled, false, nullptr, codePage);
    if (!text) Fail("a stream written after one round trip cannot be converted to text", AsText(*firstText));
    const std::optional<fw::Bytes> again = TryTextToBinary(*text, codePage);
    if (!again) Fail("text of a settled stream cannot be converted back to binary", AsText(*text));
    if (*again != *settled) {
        const auto mismatch = std::mismatch(again->begin(), again->end(), settled->begin(), settled->end());
        Fail("the binary still changes after the first round trip (first difference at byte " +
                 std::to_string(mismatch.second - settled->begin()) + ")",
             AsText(*text));
    }
}

}  // namespace fwfuzz
