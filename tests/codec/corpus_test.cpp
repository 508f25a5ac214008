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

#include "codec/conversion.h"
#include "codec/errors.h"
#include "codec/formreader.h"

namespace {

namespace fs = std::filesystem;
using fw::Bytes;
using fw::FormEncoding;

fs::path CorpusDir() { return fs::path(FW_CORPUS_DIR); }

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
            return "line " + std::to_string(line) + ":\n  file:   " + la.substr(0, 120) + "\n  result: " + lb.substr(0, 120);
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
        while (!reader_.AtListEnd()) Property();
        reader_.TakeTag();
        while (!reader_.AtListEnd()) Object();
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
                while (!reader_.AtListEnd()) Value();
                reader_.TakeTag();
                Add(")");
                break;
            case fw::TagInt8:
            case fw::TagInt16:
            case fw::TagInt32:
            case fw::TagInt64: Add("int " + std::to_string(reader_.TakeInt64())); break;
            case fw::TagExtended:
            case fw::TagDouble: Float("float ", reader_.TakeExtended(), true); break;
            case fw::TagSingle: Float("single ", reader_.TakeSingle(), false); break;
            case fw::TagCurrency: Float("currency ", static_cast<long double>(reader_.TakeCurrency()), false); break;
            case fw::TagDate: Float("date ", reader_.TakeDateTime(), false); break;
            case fw::TagShortString:
            case fw::TagLongString:
            case fw::TagWideString:
            case fw::TagUtf8String: Add("string " + Utf8(reader_.TakeStringW())); break;
            case fw::TagBinary: {
                const fw::ByteSpan data = (reader_.TakeTag(), reader_.TakeBinaryPayload());
                Add("binary " + std::string(data.begin(), data.end()));
                break;
            }
            case fw::TagSet: {
                reader_.TakeTag();
                std::string set = "set";
                for (std::string n = reader_.TakeName(); !n.empty(); n = reader_.TakeName()) set += " " + n;
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
                    while (!reader_.AtListEnd()) Property();
                    reader_.TakeTag();
                    Add("end");
                }
                reader_.TakeTag();
                Add(">");
                break;
            default: Add("ident " + reader_.TakeIdentifier()); break;
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
        if (ea[i] != eb[i]) return "value " + std::to_string(i) + ": '" + ea[i].substr(0, 100) + "' became '" + eb[i].substr(0, 100) + "'";
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

std::string Relative(const fs::path& file, const fs::path& base) { return fs::relative(file, base).generic_string(); }

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
    for (const fs::path& f : FilesIn(forms / "binary")) inputs.emplace_back(f, Relative(f, forms));
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

}  // namespace
