#pragma once
// Small forms shared by the tests of the document model and of its window, and the
// files of each encoding they are opened from.

#include <QByteArray>
#include <string_view>
#include <vector>

#include "base/codepage.h"
#include "codec/conversion.h"
#include "codec/formformat.h"
#include "document/formtext.h"
#include "documenttestsupport.h"

namespace fw::test {

inline constexpr std::string_view SmallForm =
    "object Form1: TForm1\r\n"
    "  Left = 10\r\n"
    "  Caption = 'Hello'\r\n"
    "  object Button1: TButton\r\n"
    "    Caption = 'OK'\r\n"
    "  end\r\n"
    "end\r\n";

// A form whose names are not ASCII: its text is UTF-8 behind a byte-order mark.
inline constexpr std::string_view Utf8Form =
    "\xEF\xBB\xBF"
    "object Форма1: TForm1\r\n"
    "  Caption = 'Привет'\r\n"
    "end\r\n";

// A form in code page 936 that declares it through its Charset.
inline QByteArray GbkForm() {
    return Bytes(
        "object Form1: TForm1\r\n  Caption = '\xD6\xD0\xCE\xC4'\r\n"
        "  Font.Charset = GB2312_CHARSET\r\nend\r\n");
}

inline QByteArray WithBreaks(std::string_view text, const char* lineBreak) {
    QByteArray out = Bytes(text);
    out.replace("\r\n", lineBreak);
    return out;
}

inline QByteArray Convert(const QByteArray& bytes, FormEncoding to,
                          const CodePage& codePage = CodePage::Default()) {
    const fw::Bytes out = ConvertForm(ByteSpan(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                               static_cast<std::size_t>(bytes.size())),
                                      to, codePage);
    return QByteArray(reinterpret_cast<const char*>(out.data()), static_cast<qsizetype>(out.size()));
}

// A file as it comes: its name and content, the encoding it is detected as and the
// line breaks new lines in it take.
struct OpenCase {
    const char* Name;
    QByteArray Content;
    FormEncoding Encoding;
    LineBreak Breaks;
};

inline std::vector<OpenCase> OpenCases() {
    const QByteArray text = Bytes(SmallForm);
    const QByteArray noFinalBreak = text.left(text.size() - 2);
    QByteArray mixed = text;
    mixed.replace("  Left = 10\r\n", "  Left = 10\n")
        .replace("    Caption = 'OK'\r\n", "    Caption = 'OK'\r");
    QByteArray ansi = text;
    ansi.replace("'Hello'",
                 "'Gr\xFC\xDF"
                 "e \x81\x9D'");  // 1252 letters and two undefined bytes
    const QByteArray utf8 = Bytes(Utf8Form);
    QByteArray badUtf8 = utf8;
    badUtf8.replace("Привет", "\xFF\xFE ok");  // not UTF-8, kept as it is
    return {
        {"crlf.dfm", text, FormEncoding::Text, LineBreak::CrLf},
        {"lf.dfm", WithBreaks(SmallForm, "\n"), FormEncoding::Text, LineBreak::Lf},
        {"cr.dfm", WithBreaks(SmallForm, "\r"), FormEncoding::Text, LineBreak::Cr},
        {"mixed.dfm", mixed, FormEncoding::Text, LineBreak::CrLf},
        {"nofinalbreak.dfm", noFinalBreak, FormEncoding::Text, LineBreak::CrLf},
        {"blanklines.dfm", text + "\r\n\r\n", FormEncoding::Text, LineBreak::CrLf},
        {"ansi.dfm", ansi, FormEncoding::Text, LineBreak::CrLf},
        {"nul.dfm", text + QByteArray("{\0}\r\n", 5), FormEncoding::Text, LineBreak::CrLf},
        {"utf8.dfm", utf8, FormEncoding::Text, LineBreak::CrLf},
        {"badutf8.dfm", badUtf8, FormEncoding::Text, LineBreak::CrLf},
        {"two.dfm", "ob", FormEncoding::Text, LineBreak::CrLf},
        {"empty.dfm", "", FormEncoding::Text, LineBreak::CrLf},
        {"binary.dfm", Convert(text, FormEncoding::Binary), FormEncoding::Binary, LineBreak::CrLf},
        {"resource.dfm", Convert(text, FormEncoding::Resource), FormEncoding::Resource, LineBreak::CrLf},
        {"utf8binary.dfm", Convert(utf8, FormEncoding::Binary), FormEncoding::Binary, LineBreak::CrLf},
        {"utf8resource.dfm", Convert(utf8, FormEncoding::Resource), FormEncoding::Resource, LineBreak::CrLf},
    };
}

}  // namespace fw::test
