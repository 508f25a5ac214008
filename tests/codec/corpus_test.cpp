// Round trips over the shared corpus of real form files and compiled form resources.
//
// Text forms: text -> binary -> text must give the file back (line ends compared as
// CR LF) unless the file is listed in data/corpus-known-differences.tsv, and a listed
// file must really differ, so the list can only shrink. Whatever the text looks like,
// converting the round-tripped text again must give the same binary stream: no value
// may change on the way.
//
// Binary forms: binary -> text -> binary must give the same stream, except for the
// re-encodings that the text cannot carry (integer tag sizes, doubles as extended,
// string tags chosen afresh, floats cut to the digits the text keeps). The comparison
// walks both streams value by value and allows exactly those.
//
// Damaged files must fail with the message listed for them. Every file is also fed to
// the conversion of the other direction, which must fail cleanly or succeed.
//
// Double-byte code pages: a real form in code page 936 converts both ways, and the
// lines it was written with are the lines our writer makes of its long strings; and
// Japanese and Chinese forms whose strings are #codes, re-encoded as 8-bit text in
// each of 932, 936, 949 and 950, give the same binary as the original.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "base/errors.h"
#include "codec/conversion.h"
#include "codec/formreader.h"
#include "codec/formtokenizer.h"
#include "codec_test_util.h"

namespace {

namespace fs = std::filesystem;
using fw::Bytes;
using fw::FormEncoding;

fs::path CorpusDir() {
    return fs::path(FW_CORPUS_DIR);
}

// The corpus must be there: a run that silently tests nothing would look green.
// Developers without it can set FW_SKIP_CORPUS=1.
bool CorpusMissing() {
    if (fs::is_directory(CorpusDir() / "forms")) return false;
    if (std::getenv("FW_SKIP_CORPUS")) return true;
    ADD_FAILURE() << "corpus not found at " << CorpusDir()
                  << " (set FW_CORPUS_DIR at configure time, or FW_SKIP_CORPUS=1 to skip)";
    return true;
}

struct KnownDifferences {
    std::map<std::string, std::string> Reason;  // file (relative to forms/) -> kinds
    std::map<std::string, std::string> Error;   // file -> expected message fragment
};

const KnownDifferences& Known() {
    static const KnownDifferences known = [] {
        KnownDifferences k;
        std::ifstream in(fs::path(FW_TEST_DATA_DIR) / "corpus-known-differences.tsv");
        EXPECT_TRUE(in.good()) << "data/corpus-known-differences.tsv is missing";
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') continue;
            const auto tab1 = line.find('\t');
            if (tab1 == std::string::npos) continue;
            const std::string kind = line.substr(0, tab1);
            std::string rest = line.substr(tab1 + 1);
            if (kind == "error") {
                const auto tab2 = rest.find('\t');
                k.Error[rest.substr(0, tab2)] = tab2 == std::string::npos ? "" : rest.substr(tab2 + 1);
            } else {
                k.Reason[rest] = kind;
            }
        }
        return k;
    }();
    return known;
}

std::vector<fs::path> FilesIn(const fs::path& dir) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::string WithCrLf(const Bytes& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += static_cast<char>(text[i]);
    }
    if (out.size() < 2 || out.compare(out.size() - 2, 2, "\r\n") != 0) out += "\r\n";
    return out;
}

std::string FirstDifference(const std::string& a, const std::string& b) {
    std::istringstream sa(a), sb(b);
    std::string la, lb;
    for (int line = 1;; ++line) {
        const bool ea = !std::getline(sa, la), eb = !std::getline(sb, lb);
        if (ea && eb) return "no difference";
        if (ea != eb || la != lb)
            return "line " + std::to_string(line) + ":\n  file:   " + la.substr(0, 120) +
                   "\n  result: " + lb.substr(0, 120);
    }
}

// A binary form stream as a sequence of values in a form that erases exactly the
// differences a trip through text may make.
class ValueWalk {
public:
    explicit ValueWalk(fw::ByteSpan binary) : stream_(binary), reader_(stream_) {}

    std::vector<std::string> Run() {
        reader_.CheckSignature();
        Object();
        return events_;
    }

private:
    void Add(std::string e) { events_.push_back(std::move(e)); }
    void Object() {
        const fw::ObjectPrefix prefix = reader_.TakePrefix();
        const int flags = prefix.Flags & 7;  // bit 8 does not survive
        std::string header = "object " + std::to_string(flags);
        if (flags & fw::FlagChildPosition) header += "[" + std::to_string(prefix.Position) + "]";
        header += reader_.TakeName() + ":" + reader_.TakeName();
        Add(header);
        while (!reader_.AtListEnd())
            Property();
        reader_.TakeTag();
        while (!reader_.AtListEnd())
            Object();
        reader_.TakeTag();
        Add("end");
    }
    void Property() {
        Add("prop " + reader_.TakeName());
        Value();
    }
    static std::string Utf8(const std::u16string& s) { return fw::Utf8FromUtf16(s); }
    void Float(const std::string& kind, long double value, bool fixed) {
        if (std::isnan(value)) return Add("ident NAN");
        if (std::isinf(value)) return Add(value < 0 ? "ident -INF" : "ident INF");
        Add(kind + (fixed ? fw::FormatFloatFixed(value) : fw::FormatFloatGeneral(value)));
    }
    void Value() {
        const std::uint8_t tag = reader_.PeekTag();
        switch (tag) {
            case fw::TagList:
                reader_.TakeTag();
                Add("(");
                while (!reader_.AtListEnd())
                    Value();
                reader_.TakeTag();
                Add(")");
                break;
            case fw::TagInt8:
            case fw::TagInt16:
            case fw::TagInt32:
            case fw::TagInt64:
                Add("int " + std::to_string(reader_.TakeInt64()));
                break;
            case fw::TagExtended:
            case fw::TagDouble:
                Float("float ", reader_.TakeExtended(), true);
                break;
            case fw::TagSingle:
                Float("single ", reader_.TakeSingle(), false);
                break;
            case fw::TagCurrency:
                Float("currency ", static_cast<long double>(reader_.TakeCurrency()), false);
                break;
            case fw::TagDate:
                Float("date ", reader_.TakeDateTime(), false);
                break;
            case fw::TagShortString:
            case fw::TagLongString:
            case fw::TagWideString:
            case fw::TagUtf8String:
                Add("string " + Utf8(reader_.TakeStringW()));
                break;
            case fw::TagBinary: {
                const fw::ByteSpan data = (reader_.TakeTag(), reader_.TakeBinaryPayload());
                Add("binary " + std::string(data.begin(), data.end()));
                break;
            }
            case fw::TagSet: {
                reader_.TakeTag();
                std::string set = "set";
                for (std::string n = reader_.TakeName(); !n.empty(); n = reader_.TakeName())
                    set += " " + n;
                Add(set);
                break;
            }
            case fw::TagCollection:
                reader_.TakeTag();
                Add("<");
                while (!reader_.AtListEnd()) {
                    const std::uint8_t next = reader_.PeekTag();
                    std::string item = "item";
                    if (next == fw::TagInt8 || next == fw::TagInt16 || next == fw::TagInt32)
                        item += " " + std::to_string(reader_.TakeInt32());
                    Add(item);
                    reader_.TakeTag();
                    while (!reader_.AtListEnd())
                        Property();
                    reader_.TakeTag();
                    Add("end");
                }
                reader_.TakeTag();
                Add(">");
                break;
            default:
                Add("ident " + reader_.TakeIdentifier());
                break;
        }
    }

    fw::ByteViewStream stream_;
    fw::FormReader reader_;
    std::vector<std::string> events_;
};

fw::ByteSpan BehindHeader(const Bytes& bytes) {
    fw::ByteViewStream s(bytes);
    if (fw::DetectEncoding(bytes) == FormEncoding::Resource) fw::SkipResourceHeader(s);
    return fw::ByteSpan(bytes).subspan(static_cast<std::size_t>(s.Position()));
}

// Compares two binary streams value by value; returns an empty text when they carry
// the same values, otherwise the first differing pair.
std::string ValueDifference(const Bytes& a, const Bytes& b) {
    const auto ea = ValueWalk(BehindHeader(a)).Run();
    const auto eb = ValueWalk(BehindHeader(b)).Run();
    for (std::size_t i = 0; i < std::min(ea.size(), eb.size()); ++i)
        if (ea[i] != eb[i])
            return "value " + std::to_string(i) + ": '" + ea[i].substr(0, 100) + "' became '" +
                   eb[i].substr(0, 100) + "'";
    if (ea.size() != eb.size()) return "different number of values";
    return {};
}

// Feeds the bytes to the conversion of the other direction: it must fail with one of
// the codec's own errors or succeed, never crash or hang.
void OtherDirectionIsSafe(const Bytes& bytes, bool isText) {
    fw::ByteViewStream in(bytes);
    fw::MemoryStream out;
    try {
        if (isText)
            fw::BinaryFormToText(in, out);
        else
            fw::TextToBinaryForm(in, out);
    } catch (const fw::Exception&) {
    }
}

std::string Relative(const fs::path& file, const fs::path& base) {
    return fs::relative(file, base).generic_string();
}

TEST(Corpus, TextFormsRoundTrip) {
    if (CorpusMissing()) GTEST_SKIP() << "corpus missing";
    const fs::path base = CorpusDir() / "forms";
    const auto& known = Known();
    int files = 0, identical = 0;
    for (const char* folder : {"text", "lfm"}) {
        for (const fs::path& file : FilesIn(base / folder)) {
            const std::string name = Relative(file, base);
            SCOPED_TRACE(name);
            ++files;
            const Bytes input = fw::ReadFileBytes(file.string());
            OtherDirectionIsSafe(input, true);
            Bytes binary, text, again;
            try {
                binary = fw::ConvertForm(input, FormEncoding::Binary);
                text = fw::ConvertForm(binary, FormEncoding::Text);
                again = fw::ConvertForm(text, FormEncoding::Binary);
            } catch (const fw::Exception& e) {
                ADD_FAILURE() << "conversion failed: " << e.what();
                continue;
            }
            const auto reason = known.Reason.find(name);
            const bool listed = reason != known.Reason.end();
            // The text written back must carry the same values; only floats with more
            // digits than the text keeps may come back rounded.
            if (again != binary) {
                EXPECT_TRUE(listed && reason->second.find("float") != std::string::npos)
                    << "the converted text does not convert back to the same binary stream";
                EXPECT_EQ(ValueDifference(binary, again), "");
            }
            const std::string expected = WithCrLf(input);
            const std::string actual(text.begin(), text.end());
            if (expected == actual) {
                ++identical;
                EXPECT_FALSE(listed) << "listed as differing (" << reason->second
                                     << ") but now round-trips exactly: remove it from the list";
            } else {
                EXPECT_TRUE(listed) << "round trip differs at " << FirstDifference(expected, actual);
            }
        }
    }
    EXPECT_GT(files, 400) << "the corpus looks incomplete";
    std::cout << "[ corpus   ] " << identical << " of " << files << " text forms round-trip byte for byte\n";
}

TEST(Corpus, BinaryFormsRoundTrip) {
    if (CorpusMissing()) GTEST_SKIP() << "corpus missing";
    const fs::path forms = CorpusDir() / "forms";
    const fs::path pe = CorpusDir() / "pe-resources";
    const auto& known = Known();
    std::vector<std::pair<fs::path, std::string>> inputs;  // file, name in the list
    for (const fs::path& f : FilesIn(forms / "binary"))
        inputs.emplace_back(f, Relative(f, forms));
    for (const fs::path& f : FilesIn(pe)) {
        const std::string leaf = f.filename().string();
        if (f.extension() == ".bin" && leaf != "PACKAGEINFO.bin" && leaf != "DESCRIPTION.bin")
            inputs.emplace_back(f, "pe-resources/" + Relative(f, pe));
    }
    int files = 0, identical = 0, failedAsListed = 0;
    for (const auto& [file, name] : inputs) {
        SCOPED_TRACE(name);
        ++files;
        const Bytes input = fw::ReadFileBytes(file.string());
        OtherDirectionIsSafe(input, false);
        const FormEncoding encoding = fw::DetectEncoding(input);
        const auto error = known.Error.find(name);
        Bytes text, back;
        try {
            // A damaged header can make a binary file look like text; converting it to
            // binary then shows the damage.
            if (encoding == FormEncoding::Text) fw::ConvertForm(input, FormEncoding::Binary);
            text = fw::ConvertForm(input, FormEncoding::Text);
            back = fw::ConvertForm(text, encoding);
        } catch (const fw::Exception& e) {
            if (error == known.Error.end()) {
                ADD_FAILURE() << "conversion failed: " << e.what();
            } else {
                EXPECT_NE(std::string(e.what()).find(error->second), std::string::npos)
                    << "failed with '" << e.what() << "', expected '" << error->second << "'";
                ++failedAsListed;
            }
            continue;
        }
        EXPECT_TRUE(error == known.Error.end()) << "listed as failing but converted";
        if (back == input) {
            ++identical;
            continue;
        }
        EXPECT_EQ(ValueDifference(input, back), "");
    }
    EXPECT_GT(files, 200) << "the corpus looks incomplete";
    std::cout << "[ corpus   ] " << identical << " of " << files << " binary forms round-trip byte for byte, "
              << failedAsListed << " damaged ones fail as expected\n";
}

// The lines of the text without their leading blanks and line ends, joined by LF.
std::string Unindented(std::string_view text) {
    std::string out;
    bool lineStart = true;
    for (char c : text) {
        if (c == '\r') continue;
        if (lineStart && c == ' ') continue;
        lineStart = c == '\n';
        out += c;
    }
    return out;
}

// The form below was written in code page 936; its long strings are split into lines
// of 64 bytes, or 63 where the 64th byte would be the lead byte of a character.
constexpr const char* ChineseForm =
    "text/project-jedi__jvcl__jvcl__examples__JvDocking__AdvanceDemo__BCB_Source__Main.dfm";

TEST(Corpus, DoubleByteFormConvertsBothWays) {
    if (CorpusMissing()) GTEST_SKIP() << "corpus missing";
    const fw::CodePage& chinese = *fw::CodePage::Find(936);
    const Bytes original = fw::ReadFileBytes((CorpusDir() / "forms" / ChineseForm).string());
    const Bytes binary = fwtest::ToBinary(std::string(original.begin(), original.end()), chinese);
    const std::string text = fwtest::ToText(binary, chinese);
    EXPECT_EQ(fwtest::Hex(fwtest::ToBinary(text, chinese)), fwtest::Hex(binary));
    // Every string is proper GBK: no byte falls back to a private unit F780-F7FF.
    for (std::size_t at = text.find('#'); at != std::string::npos; at = text.find('#', at + 1)) {
        unsigned code = 0;
        for (std::size_t k = at + 1; k < text.size() && std::isdigit(static_cast<unsigned char>(text[k]));
             ++k)
            code = code * 10 + static_cast<unsigned>(text[k] - '0');
        EXPECT_FALSE(code >= 0xF780 && code <= 0xF7FF) << code;
    }
}

TEST(Corpus, DoubleByteStringLinesMatchTheIde) {
    if (CorpusMissing()) GTEST_SKIP() << "corpus missing";
    const fw::CodePage& chinese = *fw::CodePage::Find(936);
    const Bytes original = fw::ReadFileBytes((CorpusDir() / "forms" / ChineseForm).string());
    const std::string expected = Unindented(std::string(original.begin(), original.end()));
    // The 8-bit values of the file's long strings with characters of two bytes.
    std::vector<std::string> values;
    fw::MemoryStream in(original);
    fw::FormTokenizer parser(in, chinese);
    while (parser.Kind() != fw::TokEnd) {
        if (parser.Kind() != fw::TokString) {
            parser.Advance();
            continue;
        }
        std::string value(parser.TokenView());
        bool eightBit = true;
        while (parser.Advance() == '+') {
            parser.Advance();
            eightBit = eightBit && parser.Kind() == fw::TokString;
            value += parser.TokenView();
        }
        if (eightBit && value.size() > 64 &&
            std::any_of(value.begin(), value.end(), [](char c) { return (c & 0x80) != 0; }))
            values.push_back(value);
    }
    EXPECT_GE(values.size(), 6u);
    for (const std::string& value : values) {
        // The memo's first line ("huan ying ...") was cut two bytes earlier than the
        // rule needs, so the file cannot have been written by it unchanged; it is the
        // only such string in the file.
        if (value.rfind("\xBB\xB6\xD3\xAD", 0) == 0) continue;
        // A form whose one property holds the value as a long 8-bit string.
        Bytes binary = fwtest::Bin("'TPF0' s'T' s'F' s'P' 0C");
        fwtest::Append(binary, fwtest::Le32(static_cast<std::uint32_t>(value.size())));
        fwtest::Append(binary, fwtest::Raw(value));
        fwtest::Append(binary, fwtest::Bin("00 00"));
        const std::string text = fwtest::ToText(binary, chinese);
        const std::size_t start = text.find("P = \r\n"), end = text.rfind("\r\nend");
        ASSERT_NE(start, std::string::npos) << text;
        const std::string lines = Unindented(text.substr(start + 6, end - start - 6));
        EXPECT_NE(expected.find(lines), std::string::npos) << fwtest::Escaped(lines);
    }
}

// The form text with each string constant that holds characters above 127, all of
// which the code page has, rewritten as 8-bit text in that page; counts those.
std::string ReencodedStrings(std::string_view text, const fw::CodePage& codePage, int& rewritten) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '\'' && text[i] != '#') {
            out += text[i++];
            continue;
        }
        const std::size_t start = i;
        std::u16string units;
        while (i < text.size() && (text[i] == '\'' || text[i] == '#')) {
            if (text[i] == '#') {
                unsigned code = 0;
                for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
                    code = code * 10 + static_cast<unsigned>(text[i] - '0');
                units += static_cast<char16_t>(code);
                continue;
            }
            for (++i; i < text.size(); ++i) {
                if (text[i] == '\'') {
                    if (i + 1 < text.size() && text[i + 1] == '\'') {
                        ++i;
                    } else {
                        break;
                    }
                }
                units += static_cast<char16_t>(static_cast<unsigned char>(text[i]));
            }
            ++i;
        }
        std::size_t missing = 0;
        const std::string bytes = codePage.Encode(units, &missing);
        if (missing != std::u16string::npos ||
            std::none_of(units.begin(), units.end(), [](char16_t u) { return u > 127; })) {
            out.append(text.substr(start, i - start));
            continue;
        }
        ++rewritten;
        bool quoted = false;
        for (char b : bytes) {
            const bool code = static_cast<unsigned char>(b) < 32 || b == '\'';
            if (code == quoted) {
                out += '\'';
                quoted = !quoted;
            }
            if (code)
                out += "#" + std::to_string(static_cast<unsigned char>(b));
            else
                out += b;
        }
        if (quoted) out += '\'';
    }
    return out;
}

TEST(Corpus, ReencodedFormsConvertInDoubleBytePages) {
    if (CorpusMissing()) GTEST_SKIP() << "corpus missing";
    const struct {
        int Page;
        const char* File;
    } cases[] = {
        {932, "text/Nekomimi1958__NyanFi_x64__src__AskRep.dfm"},
        {936, "text/zhixinTeam__SWDelivery__Source__DL_Client__Forms__UFrameInvoice.dfm"},
        {949, "text/Nekomimi1958__NyanFi_x64__src__AskRep.dfm"},
        {950, "text/zhixinTeam__SWDelivery__Source__DL_Web__Forms__UFrameQueryStockOddDays.dfm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Page);
        const fw::CodePage& page = *fw::CodePage::Find(c.Page);
        const Bytes original = fw::ReadFileBytes((CorpusDir() / "forms" / c.File).string());
        int rewritten = 0;
        const std::string reencoded =
            ReencodedStrings(std::string(original.begin(), original.end()), page, rewritten);
        EXPECT_GE(rewritten, 3);
        // The 8-bit strings decode to the characters the codes gave.
        const Bytes binary = fwtest::ToBinary(reencoded, page);
        EXPECT_EQ(fwtest::Hex(binary),
                  fwtest::Hex(fwtest::ToBinary(std::string(original.begin(), original.end()))));
        // And the binary comes back through text unchanged.
        EXPECT_EQ(fwtest::Hex(fwtest::ToBinary(fwtest::ToText(binary, page), page)), fwtest::Hex(binary));
    }
}

}  // namespace
