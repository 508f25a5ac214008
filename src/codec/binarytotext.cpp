// Binary form stream to form text.

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "base/errors.h"
#include "conversion.h"
#include "extended.h"
#include "formreader.h"

namespace fw {

namespace {

// Buffered text output. Lines are assembled in the buffer and flushed to the stream
// when it fills and at the end.
class TextOut {
public:
    explicit TextOut(Stream& stream) : stream_(stream), buffer_(new char[Capacity]) {}

    void Flush() {
        if (used_ > 0) stream_.Write(buffer_.get(), used_);
        used_ = 0;
    }
    // Room for n more bytes; the caller fills them and calls Commit.
    char* Reserve(std::size_t n) {
        if (Capacity - used_ < n) Flush();
        return buffer_.get() + used_;
    }
    void Commit(std::size_t n) { used_ += n; }

    void Put(std::string_view s) {
        if (s.empty()) return;
        if (s.size() > Capacity) {
            Flush();
            stream_.Write(s.data(), s.size());
            return;
        }
        std::memcpy(Reserve(s.size()), s.data(), s.size());
        used_ += s.size();
    }
    void Put(char c) { *Reserve(1) = c, ++used_; }
    void Spaces(std::size_t n) {
        std::memset(Reserve(n), ' ', n);
        used_ += n;
    }

private:
    static constexpr std::size_t Capacity = 1 << 16;
    Stream& stream_;
    std::unique_ptr<char[]> buffer_;  // not zero-filled: small forms convert often
    std::size_t used_ = 0;
};

constexpr char HexDigits[] = "0123456789ABCDEF";

struct HexPairs {
    char Pair[256][2];
    constexpr HexPairs() : Pair{} {
        for (int i = 0; i < 256; ++i) {
            Pair[i][0] = HexDigits[i >> 4];
            Pair[i][1] = HexDigits[i & 15];
        }
    }
};
constexpr HexPairs Hex;

class BinaryToText {
public:
    BinaryToText(FormReader& reader, TextOut& out, bool utf8) : reader_(reader), out_(out), utf8_(utf8) {}

    void Object(int depth);

private:
    void Indent() { out_.Spaces(2 * static_cast<std::size_t>(level_)); }
    void NewLine() {
        const std::size_t n = 2 + 2 * static_cast<std::size_t>(level_);
        char* p = out_.Reserve(n);
        p[0] = '\r';
        p[1] = '\n';
        std::memset(p + 2, ' ', n - 2);
        out_.Commit(n);
    }
    void EndLine() { out_.Put("\r\n"); }
    void CheckDepth(int depth) {
        if (depth > MaxNestingDepth)
            throw EReadError("Invalid property value: objects or values nested too deeply");
    }

    void Property(int depth);
    void Value(int depth);
    template <typename Unit>
    void String(const Unit* s, std::size_t length);
    void Binary();
    void Collection(int depth);

    FormReader& reader_;
    TextOut& out_;
    bool utf8_;  // the text is UTF-8: names are written as they are, 8-bit strings as codes
    int level_ = 0;
    std::string objectName_;
    std::string propertyName_;
};

void BinaryToText::Object(int depth) {
    CheckDepth(depth);
    const ObjectPrefix prefix = reader_.TakePrefix();
    const std::string className = reader_.TakeName();
    const std::string objectName = reader_.TakeName();
    objectName_ = objectName.empty() ? className : objectName;

    Indent();
    if (prefix.Flags & FlagInherited)
        out_.Put("inherited ");
    else if (prefix.Flags & FlagInline)
        out_.Put("inline ");
    else
        out_.Put("object ");
    if (!objectName.empty()) {
        out_.Put(objectName);
        out_.Put(": ");
    }
    out_.Put(className);
    if (prefix.Flags & FlagChildPosition) {
        out_.Put(" [");
        out_.Put(std::to_string(prefix.Position));
        out_.Put(']');
    }
    EndLine();

    ++level_;
    while (!reader_.AtListEnd())
        Property(depth);
    reader_.RequireTag(TagNull);
    while (!reader_.AtListEnd())
        Object(depth + 1);
    reader_.RequireTag(TagNull);
    --level_;
    Indent();
    out_.Put("end\r\n");
}

void BinaryToText::Property(int depth) {
    Indent();
    propertyName_ = reader_.TakeName();
    out_.Put(propertyName_);
    out_.Put(" = ");
    Value(depth);
    EndLine();
}

void BinaryToText::Value(int depth) {
    CheckDepth(depth);
    const std::uint8_t tag = reader_.PeekTag() & 0x7F;
    if (tag > LastValueTag)
        throw EReadError("Error reading " + objectName_ + "." + propertyName_ + ": " + std::to_string(tag));
    switch (tag) {
        case TagList:
            reader_.TakeTag();
            out_.Put('(');
            ++level_;
            while (!reader_.AtListEnd()) {
                NewLine();
                Value(depth + 1);
            }
            reader_.RequireTag(TagNull);
            --level_;
            out_.Put(')');
            break;
        case TagInt8:
        case TagInt16:
        case TagInt32:
            out_.Put(std::to_string(reader_.TakeInt32()));
            break;
        case TagInt64:
            out_.Put(std::to_string(reader_.TakeInt64()));
            break;
        case TagExtended:
        case TagDouble:
            out_.Put(FormatFloatFixed(reader_.TakeExtended()));
            break;
        case TagSingle:
            out_.Put(FormatFloatGeneral(static_cast<long double>(reader_.TakeSingle())));
            out_.Put('s');
            break;
        case TagCurrency:
            out_.Put(FormatFloatGeneral(static_cast<long double>(reader_.TakeCurrency())));
            out_.Put('c');
            break;
        case TagDate:
            out_.Put(FormatFloatGeneral(static_cast<long double>(reader_.TakeDateTime())));
            out_.Put('d');
            break;
        case TagShortString:
        case TagLongString: {
            const std::string s = reader_.TakeString8();
            if (utf8_ && std::any_of(s.begin(), s.end(), [](char c) { return (c & 0x80) != 0; })) {
                // Raw 8-bit bytes would be read back as UTF-8; their characters go in as codes.
                const std::u16string w = reader_.Codepage().Decode(s);
                String(w.data(), w.size());
            } else {
                String(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
            }
            break;
        }
        case TagWideString:
        case TagUtf8String: {
            const std::u16string s = reader_.TakeStringW();
            String(s.data(), s.size());
            break;
        }
        case TagBinary:
            Binary();
            break;
        case TagSet: {
            reader_.TakeTag();
            out_.Put('[');
            bool first = true;
            for (std::string name = reader_.TakeName(); !name.empty(); name = reader_.TakeName()) {
                if (!first) out_.Put(", ");
                out_.Put(name);
                first = false;
            }
            out_.Put(']');
            break;
        }
        case TagCollection:
            Collection(depth);
            break;
        default:
            out_.Put(reader_.TakeIdentifier());
            break;
    }
}

// Writes a string as quoted runs and #codes, at most 64 units (bytes of 8-bit text) a
// line. Units below the space and the quote always become #codes; for UTF-16 text so
// do units above 127. In a double-byte code page a line never ends between a lead byte
// and its trail byte, so each line holds whole characters.
template <typename Unit>
void BinaryToText::String(const Unit* s, std::size_t length) {
    if (length == 0) {
        out_.Put("''");
        return;
    }
    constexpr bool wide = sizeof(Unit) > 1;
    auto special = [](Unit c) { return c < 32 || c == 39 || (wide && c > 127); };
    const CodePage& codePage = reader_.Codepage();
    const bool pairs = !wide && codePage.IsDoubleByte();
    const std::string_view bytes =
        pairs ? std::string_view(reinterpret_cast<const char*>(s), length) : std::string_view();
    // The units of the character at i; a special unit is never part of a pair.
    auto charLength = [&](std::size_t i) { return pairs ? codePage.CharLength(bytes, i) : std::size_t{1}; };
    ++level_;
    if (length > 64) NewLine();
    std::size_t k = 0;
    std::size_t i = 0;
    while (i < length) {
        bool lineBreak = false;
        if (special(s[i])) {
            out_.Put('#');
            out_.Put(std::to_string(static_cast<unsigned>(s[i])));
            ++i;
            if (i - k >= 64) lineBreak = true;
        } else if (i > k && i - k + charLength(i) > 64) {
            // A two-byte character after codes that filled the line to 63 goes on the next.
            lineBreak = true;
        } else {
            const std::size_t j = i;
            i += charLength(i);
            while (i < length && !special(s[i]) && i - k + charLength(i) <= 64)
                i += charLength(i);
            // The run stops at 64 bytes, or before a character that would not fit.
            if (i - k >= 64 || (i < length && !special(s[i]))) lineBreak = true;
            char* p = out_.Reserve(i - j + 2);
            *p++ = '\'';
            for (std::size_t m = j; m < i; ++m)
                *p++ = static_cast<char>(s[m]);
            *p = '\'';
            out_.Commit(i - j + 2);
        }
        if (lineBreak && i < length) {
            out_.Put(" +");
            NewLine();
            k = i;
        }
    }
    --level_;
}

void BinaryToText::Binary() {
    reader_.TakeTag();
    out_.Put('{');
    ++level_;
    const ByteSpan data = reader_.TakeBinaryPayload();
    const bool multiLine = data.size() >= 32;
    const std::size_t indent = 2 * static_cast<std::size_t>(level_);
    for (std::size_t at = 0; at < data.size(); at += 32) {
        const std::size_t n = std::min<std::size_t>(32, data.size() - at);
        const std::size_t lineStart = multiLine ? 2 + indent : 0;
        char* p = out_.Reserve(lineStart + 2 * n);
        if (multiLine) {
            p[0] = '\r';
            p[1] = '\n';
            std::memset(p + 2, ' ', indent);
            p += lineStart;
        }
        for (std::size_t m = 0; m < n; ++m) {
            std::memcpy(p, Hex.Pair[data[at + m]], 2);
            p += 2;
        }
        out_.Commit(lineStart + 2 * n);
    }
    --level_;
    out_.Put('}');
}

void BinaryToText::Collection(int depth) {
    reader_.TakeTag();
    out_.Put('<');
    ++level_;
    while (!reader_.AtListEnd()) {
        NewLine();
        out_.Put("item");
        const std::uint8_t next = reader_.PeekTag();
        if (next == TagInt8 || next == TagInt16 || next == TagInt32) {
            out_.Put(" [");
            out_.Put(std::to_string(reader_.TakeInt32()));
            out_.Put(']');
        }
        EndLine();
        reader_.RequireTag(TagList);
        ++level_;
        while (!reader_.AtListEnd())
            Property(depth + 1);
        reader_.RequireTag(TagNull);
        --level_;
        Indent();
        out_.Put("end");
    }
    reader_.RequireTag(TagNull);
    --level_;
    out_.Put('>');
}

// Finds out whether any name in the stream (class, object and property names,
// identifiers, set elements) holds bytes of 128 or more. Such names are UTF-8, and
// the text must then be UTF-8 too, marked by a byte-order mark, to be read back.
// A damaged stream ends the scan quietly; the conversion itself reports the damage.
class NameScan {
public:
    explicit NameScan(FormReader& reader) : reader_(reader) {}

    bool Found() {
        try {
            reader_.CheckSignature();
            Object(0);
        } catch (const Stop&) {
            return true;
        } catch (const Exception&) {
        }
        return false;
    }

private:
    void Name() {
        const std::string name = reader_.TakeName();
        if (std::any_of(name.begin(), name.end(), [](char c) { return (c & 0x80) != 0; })) throw Stop();
    }
    struct Stop : Exception {
        Stop() : Exception("") {}
    };
    void Object(int depth) {
        if (depth > MaxNestingDepth) throw EReadError("nested too deeply");  // ends the scan
        reader_.TakePrefix();
        Name();
        Name();
        while (!reader_.AtListEnd())
            Property(depth);
        reader_.TakeTag();
        while (!reader_.AtListEnd())
            Object(depth + 1);
        reader_.TakeTag();
    }
    void Property(int depth) {
        Name();
        Value(depth);
    }
    void Value(int depth) {
        if (depth > MaxNestingDepth) throw EReadError("nested too deeply");  // ends the scan
        switch (reader_.PeekTag() & 0x7F) {
            case TagIdent:
                reader_.TakeTag();
                Name();
                break;
            case TagSet:
                reader_.TakeTag();
                for (std::string name = reader_.TakeName(); !name.empty(); name = reader_.TakeName())
                    if (std::any_of(name.begin(), name.end(), [](char c) { return (c & 0x80) != 0; }))
                        throw Stop();
                break;
            case TagList:
                reader_.TakeTag();
                while (!reader_.AtListEnd())
                    Value(depth + 1);
                reader_.TakeTag();
                break;
            case TagCollection:
                reader_.TakeTag();
                while (!reader_.AtListEnd()) {
                    const std::uint8_t next = reader_.PeekTag();
                    if (next == TagInt8 || next == TagInt16 || next == TagInt32) reader_.SkipOneValue();
                    reader_.TakeTag();
                    while (!reader_.AtListEnd())
                        Property(depth + 1);
                    reader_.TakeTag();
                }
                reader_.TakeTag();
                break;
            default:
                reader_.SkipOneValue();
                break;
        }
    }

    FormReader& reader_;
};

}  // namespace

void BinaryFormToText(Stream& input, Stream& output, const CodePage& codePage) {
    const std::int64_t start = input.Position();
    bool utf8 = false;
    {
        FormReader scanReader(input, codePage);
        utf8 = NameScan(scanReader).Found();
    }
    input.Seek(start);  // the conversion reads the stream again from its start
    // Text takes a little over twice the bytes of the picture data that dominates large
    // forms, and less for everything else.
    output.ExpectWrite(static_cast<std::size_t>(std::max<std::int64_t>(input.Remaining(), 0)) * 9 / 4 + 64);
    FormReader reader(input, codePage);
    TextOut out(output);
    try {
        if (utf8) out.Put(Utf8ByteOrderMark);
        reader.CheckSignature();
        BinaryToText(reader, out, utf8).Object(0);
    } catch (...) {
        // The text written so far stays in the output for callers that want to show it.
        try {
            out.Flush();
        } catch (...) {
        }
        throw;
    }
    out.Flush();
}

void ResourceFormToText(Stream& input, Stream& output, const CodePage& codePage) {
    SkipResourceHeader(input);
    BinaryFormToText(input, output, codePage);
}

}  // namespace fw
