#include "declaredcharset.h"

#include <algorithm>
#include <array>
#include <vector>

#include "conversion.h"
#include "formtokenizer.h"

namespace fw {

namespace {

struct CharsetEntry {
    std::string_view Name;
    int Value;
    int CodePage;
};

// The character sets that name a code page; the others (DEFAULT, ANSI, SYMBOL, OEM,
// MAC, JOHAB) leave the choice to the reader.
constexpr std::array<CharsetEntry, 13> Charsets{{
    {"SHIFTJIS_CHARSET", 128, 932},
    {"HANGEUL_CHARSET", 129, 949},
    {"GB2312_CHARSET", 134, 936},
    {"CHINESEBIG5_CHARSET", 136, 950},
    {"GREEK_CHARSET", 161, 1253},
    {"TURKISH_CHARSET", 162, 1254},
    {"VIETNAMESE_CHARSET", 163, 1258},
    {"HEBREW_CHARSET", 177, 1255},
    {"ARABIC_CHARSET", 178, 1256},
    {"BALTIC_CHARSET", 186, 1257},
    {"RUSSIAN_CHARSET", 204, 1251},
    {"THAI_CHARSET", 222, 874},
    {"EASTEUROPE_CHARSET", 238, 1250},
}};

// The code page the current token names as a Charset value, 0 for none.
int CodePageOfToken(const FormTokenizer& parser) {
    if (parser.Kind() == TokInteger) {
        try {
            return CodePageOfCharset(parser.TokenAsInt64());
        } catch (const std::exception&) {
            return 0;
        }
    }
    for (const CharsetEntry& entry : Charsets) {
        if (parser.IsKeyword(entry.Name)) return entry.CodePage;
    }
    return 0;
}

// Collects the code page of every "Charset = value" of the form text, in the order
// they appear. Stops quietly at text the tokenizer rejects.
void CollectFromText(const Bytes& text, std::vector<int>& pages) {
    MemoryStream input(text);
    try {
        // The default page keeps quoted strings whole in every supported page: no trail
        // byte is a quote or a line break.
        FormTokenizer parser(input);
        // 0: nothing, 1: after a Charset name, 2: after "Charset =".
        int state = 0;
        while (parser.Kind() != TokEnd) {
            if (state == 2) {
                if (const int page = CodePageOfToken(parser); page != 0) pages.push_back(page);
                state = 0;
            } else if (state == 1 && parser.Kind() == '=') {
                state = 2;
            } else {
                state = parser.IsKeyword("Charset") ? 1 : 0;
            }
            parser.Advance();
        }
    } catch (const std::exception&) {
    }
}

}  // namespace

int CodePageOfCharset(std::int64_t charset) {
    for (const CharsetEntry& entry : Charsets) {
        if (entry.Value == charset) return entry.CodePage;
    }
    return 0;
}

std::string_view CodePageSourceName(CodePageSource source) {
    switch (source) {
        case CodePageSource::Option:
            return "option";
        case CodePageSource::Declared:
            return "declared";
        case CodePageSource::Default:
            return "default";
    }
    return "default";
}

std::size_t FirstByteOutsideCodePage(std::string_view text, const CodePage& codePage) {
    const auto isPrivate = [](char16_t unit) {
        return unit >= CodePage::PrivateByteBase + 0x80 && unit <= CodePage::PrivateByteBase + 0xFF;
    };
    if (!codePage.IsDoubleByte()) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto byte = static_cast<std::uint8_t>(text[i]);
            if (byte < 0x80) continue;
            const char16_t unit = codePage.ToUnit(byte);
            if ((unit >= 0x80 && unit <= 0x9F) || isPrivate(unit)) return i;
        }
        return std::string_view::npos;
    }
    // Decode gives one unit per character, two for an undefined pair, whose first unit
    // is a private one; a lone lead byte or undefined single byte gives a private unit.
    const std::u16string units = codePage.Decode(text);
    std::size_t at = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = codePage.CharLength(text, i);
        if (static_cast<std::uint8_t>(text[i]) >= 0x80 && isPrivate(units[at])) return i;
        i += length;
        ++at;
    }
    return std::string_view::npos;
}

DeclaredCodePage DeclaredCodePageOf(const Bytes& form) {
    std::vector<int> pages;
    try {
        const FormEncoding encoding =
            DetectEncoding(ByteSpan(form.data(), std::min<std::size_t>(form.size(), 16)));
        if (encoding == FormEncoding::Text) {
            CollectFromText(form, pages);
        } else {
            // Binary Charset values come out as names or numbers in the text; the page
            // used for strings does not matter for them. A damaged stream still gives
            // the text written before the damage.
            MemoryStream input(form);
            MemoryStream text;
            try {
                if (encoding == FormEncoding::Resource) {
                    ResourceFormToText(input, text);
                } else {
                    BinaryFormToText(input, text);
                }
            } catch (const std::exception&) {
            }
            CollectFromText(text.Data(), pages);
        }
    } catch (const std::exception&) {
    }

    DeclaredCodePage result;
    std::vector<std::pair<int, int>> counts;  // page, votes; in the order first seen
    for (const int page : pages) {
        auto it =
            std::find_if(counts.begin(), counts.end(), [page](const auto& c) { return c.first == page; });
        if (it == counts.end()) {
            counts.emplace_back(page, 1);
        } else {
            ++it->second;
        }
    }
    for (const auto& [page, votes] : counts) {
        if (votes > result.Votes) {
            result.CodePage = page;
            result.Votes = votes;
        }
    }
    result.Conflicting = counts.size() > 1;
    return result;
}

}  // namespace fw
