// Form text to binary form stream.

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "base/asciitext.h"
#include "base/errors.h"
#include "conversion.h"
#include "formreader.h"
#include "formtokenizer.h"
#include "formwriter.h"

namespace fw {

namespace {

class TextToBinary {
public:
    TextToBinary(FormTokenizer& parser, FormWriter& writer)
        : parser_(parser),
          writer_(writer),
          doubleByte_(!parser.IsUtf8() && parser.Codepage().IsDoubleByte()) {}

    void Object(int depth);

private:
    void CheckDepth(int depth) {
        if (depth > MaxNestingDepth) parser_.Error("Objects or values nested too deeply");
    }
    bool AtObjectKeyword() const {
        return parser_.IsKeyword("END") || parser_.IsKeyword("OBJECT") || parser_.IsKeyword("INHERITED") ||
               parser_.IsKeyword("INLINE");
    }
    // An optional "[n]"; returns whether one was given and its value in position.
    bool OrderModifier(std::int32_t& position);
    void Property(int depth);
    void Value(int depth);
    void Float();
    std::string SetElement();
    // A name as the binary stream holds it. Names with bytes above 127 are UTF-8
    // there, so one in 8-bit text of a double-byte code page, where identifiers may
    // hold two-byte characters, is converted from that page.
    // Writes a name as the binary stream holds it. Names with bytes above 127 are UTF-8
    // there, so one in 8-bit text of a double-byte code page, where identifiers may
    // hold two-byte characters, is converted from that page.
    void PutName(std::string_view name) {
        if (doubleByte_)
            writer_.PutName(Utf8Name(name));
        else
            writer_.PutName(name);
    }
    std::string Utf8Name(std::string_view bytes) const;
    // The value of a string expression in 8-bit text of a double-byte code page, the
    // current token its first part; consecutive 8-bit parts are decoded as one, so a
    // two-byte character split between two of them comes back whole. Leaves the token
    // after the expression current.
    std::u16string DoubleByteString();

    FormTokenizer& parser_;
    FormWriter& writer_;
    const bool doubleByte_;           // 8-bit text in a double-byte code page
    std::vector<std::uint8_t> data_;  // reused for every block of binary data
};

std::u16string TextToBinary::DoubleByteString() {
    std::u16string text;
    std::string bytes;  // 8-bit parts not decoded yet
    for (;;) {
        if (parser_.Kind() == TokString) {
            bytes += parser_.TokenView();
        } else {
            text += parser_.Codepage().Decode(bytes);
            bytes.clear();
            text += parser_.TokenWide();
        }
        if (parser_.Advance() != '+') break;
        parser_.Advance();
        if (parser_.Kind() != TokString && parser_.Kind() != TokWideString) parser_.Error("String expected");
    }
    return text + parser_.Codepage().Decode(bytes);
}

std::string TextToBinary::Utf8Name(std::string_view bytes) const {
    if (std::none_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; }))
        return std::string(bytes);
    return Utf8FromUtf16(parser_.Codepage().Decode(bytes));
}

bool TextToBinary::OrderModifier(std::int32_t& position) {
    if (parser_.Kind() != '[') return false;
    parser_.Advance();
    parser_.ExpectKind(TokInteger);
    position = static_cast<std::int32_t>(static_cast<std::uint32_t>(parser_.TokenAsInt64()));
    parser_.Advance();
    parser_.ExpectKind(']');
    parser_.Advance();
    return true;
}

void TextToBinary::Object(int depth) {
    CheckDepth(depth);
    std::uint8_t flags = 0;
    if (parser_.IsKeyword("INHERITED"))
        flags = FlagInherited;
    else if (parser_.IsKeyword("INLINE"))
        flags = FlagInline;
    else
        parser_.ExpectKeyword("OBJECT");
    parser_.Advance();

    parser_.ExpectKind(TokIdent);
    std::string className = parser_.TokenText();
    std::string objectName;
    parser_.Advance();
    if (parser_.Kind() == ':') {
        parser_.Advance();
        parser_.ExpectKind(TokIdent);
        objectName = std::move(className);
        className = parser_.TokenText();
        parser_.Advance();
    }
    std::int32_t position = 0;
    if (OrderModifier(position) && position >= 0) flags |= FlagChildPosition;

    writer_.PutPrefix(flags, position);
    PutName(className);
    PutName(objectName);
    while (!AtObjectKeyword())
        Property(depth);
    writer_.PutTag(TagNull);
    while (!parser_.IsKeyword("END"))
        Object(depth + 1);
    writer_.PutTag(TagNull);
    parser_.Advance();
}

void TextToBinary::Property(int depth) {
    parser_.ExpectKind(TokIdent);
    std::string name = parser_.TokenText();
    parser_.Advance();
    while (parser_.Kind() == '.') {
        parser_.Advance();
        parser_.ExpectKind(TokIdent);
        name += '.';
        name += parser_.TokenView();
        parser_.Advance();
    }
    PutName(name);
    parser_.ExpectKind('=');
    parser_.Advance();
    Value(depth);
}

void TextToBinary::Float() {
    const long double value = parser_.TokenAsExtended();
    switch (parser_.FloatSuffix()) {
        case 'C':
        case 'c': {
            // The text holds the scaled amount; it must fit the 64-bit fixed-point value.
            const long double rounded = std::nearbyint(value);
            if (!(rounded >= -9223372036854775808.0L && rounded < 9223372036854775808.0L))
                throw EConvertError("'" + parser_.TokenText() + "' is not a valid floating point value");
            writer_.PutCurrency(static_cast<std::int64_t>(rounded));
            break;
        }
        case 'D':
        case 'd':
            writer_.PutDateTime(static_cast<double>(value));
            break;
        case 'S':
        case 's':
            writer_.PutSingle(static_cast<float>(value));
            break;
        default:
            writer_.PutExtended(value);
            break;
    }
}

std::string TextToBinary::SetElement() {
    switch (parser_.Kind()) {
        case TokIdent:
            return doubleByte_ ? Utf8Name(parser_.TokenView()) : parser_.TokenText();
        case TokInteger:
            return parser_.TokenText();
        case TokString:
        case TokWideString: {
            const std::u16string value = parser_.TokenWide();
            if (value.empty()) parser_.Error("Identifier expected");
            unsigned code = value[0];
            // An 8-bit constant names the byte itself, whatever the code page makes of it.
            if (parser_.Kind() == TokString && !parser_.IsUtf8())
                code = static_cast<std::uint8_t>(parser_.TokenView()[0]);
            std::string element = std::to_string(code);
            element.insert(element.begin(), '#');
            return element;
        }
        default:
            parser_.Error("Identifier expected");
    }
}

void TextToBinary::Value(int depth) {
    CheckDepth(depth);
    switch (parser_.Kind()) {
        case TokIdent:
            if (doubleByte_)
                writer_.PutIdentifier(Utf8Name(parser_.TokenDottedIdent()));
            else
                writer_.PutIdentifier(parser_.TokenDottedIdent());
            break;
        case TokString:
        case TokWideString: {
            if (doubleByte_) {
                writer_.PutString(DoubleByteString());
                return;
            }
            std::u16string text = parser_.TokenWide();
            while (parser_.Advance() == '+') {
                parser_.Advance();
                if (parser_.Kind() != TokString && parser_.Kind() != TokWideString)
                    parser_.Error("String expected");
                text += parser_.TokenWide();
            }
            writer_.PutString(text);
            return;  // the token after the expression is already current
        }
        case TokInteger:
            writer_.PutInt64(parser_.TokenAsInt64());
            break;
        case TokFloat:
            Float();
            break;
        case '(':
            parser_.Advance();
            writer_.PutTag(TagList);
            while (parser_.Kind() != ')')
                Value(depth + 1);
            writer_.PutTag(TagNull);
            break;
        case '<':
            parser_.Advance();
            writer_.PutTag(TagCollection);
            while (parser_.Kind() != '>') {
                parser_.ExpectKeyword("item");
                parser_.Advance();
                std::int32_t index = 0;
                if (OrderModifier(index) && index != -1) writer_.PutInt32(index);
                writer_.PutTag(TagList);
                while (!parser_.IsKeyword("end"))
                    Property(depth + 1);
                writer_.PutTag(TagNull);
                parser_.Advance();
            }
            writer_.PutTag(TagNull);
            break;
        case '[':
            parser_.Advance();
            writer_.PutTag(TagSet);
            if (parser_.Kind() != ']') {
                for (;;) {
                    writer_.PutName(SetElement());
                    parser_.Advance();
                    if (parser_.Kind() == ']') break;
                    parser_.ExpectKind(',');
                    parser_.Advance();
                }
            }
            writer_.PutName("");
            break;
        case '{':
            data_.clear();
            parser_.ReadHexBytes(data_);
            writer_.PutBinary(data_.data(), data_.size());
            break;
        default:
            parser_.Error("Invalid property value");
    }
    parser_.Advance();
}

// The resource header for a binary form stream: its root's class name, upper-cased.
Bytes ResourceHeaderFor(ByteSpan binary) {
    std::size_t at = 4;
    auto next = [&]() -> std::uint8_t {
        if (at >= binary.size()) throw EReadError("Stream read error");
        return binary[at++];
    };
    std::uint8_t length = next();
    if ((length & 0xF0) == 0xF0) {
        if (length & FlagChildPosition) {
            switch (next()) {
                case TagInt8:
                    at += 1;
                    break;
                case TagInt16:
                    at += 2;
                    break;
                default:
                    at += 4;
                    break;
            }
        }
        length = next();
    }
    if (at + length > binary.size()) throw EReadError("Stream read error");
    std::string name(reinterpret_cast<const char*>(binary.data()) + at, length);
    if (length > 69) throw EParserError("Component name '" + name + "' exceeds 64 character limit");
    // The header ends the name at its first zero byte: a name holding one would make a
    // header that no reader can find the stream behind.
    if (name.find('\0') != std::string::npos)
        throw EReadError(
            "The root object's class name holds a zero byte, which a resource header cannot carry");
    name = AsciiUpper(name);

    Bytes header;
    header.reserve(name.size() + 10);
    header.push_back(0xFF);
    header.push_back(0x0A);
    header.push_back(0x00);
    for (char c : name)
        header.push_back(static_cast<std::uint8_t>(c));
    header.push_back(0x00);
    header.push_back(0x30);
    header.push_back(0x10);
    const auto size = static_cast<std::uint32_t>(binary.size());
    for (int i = 0; i < 4; ++i)
        header.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
    return header;
}

}  // namespace

void TextToBinaryForm(Stream& input, Stream& output, const CodePage& codePage) {
    // Hexadecimal data, the bulk of large forms, takes half its text in binary.
    output.ExpectWrite(static_cast<std::size_t>(std::max<std::int64_t>(input.Remaining(), 0)) / 2 + 64);
    FormTokenizer parser(input, codePage);
    FormWriter writer(output, codePage);
    writer.PutSignature();
    TextToBinary(parser, writer).Object(0);
    writer.Flush();
}

Bytes WrapInResourceHeader(ByteSpan binary) {
    Bytes out = ResourceHeaderFor(binary);
    out.insert(out.end(), binary.begin(), binary.end());
    return out;
}

void TextToResourceForm(Stream& input, Stream& output, const CodePage& codePage) {
    MemoryStream binary;
    TextToBinaryForm(input, binary, codePage);
    const Bytes header = ResourceHeaderFor(binary.Data());
    output.Write(header.data(), header.size());
    output.Write(binary.Data().data(), binary.Data().size());
}

}  // namespace fw
