#pragma once
// The code page a form declares through the Charset properties of its objects (a
// font's Charset, mostly). A form written on a Japanese system says SHIFTJIS_CHARSET
// in its fonts, and its 8-bit strings are in code page 932; this finds that out so
// the strings are decoded through the page they were written in.

#include <cstdint>
#include <string_view>

#include "base/codepage.h"
#include "base/stream.h"

namespace fw {

struct DeclaredCodePage {
    int CodePage = 0;          // 0: none declared
    int Votes = 0;             // how many Charset values name CodePage
    bool Conflicting = false;  // more than one non-default page declared
};

// The most frequent code page named by the form's Charset values (ties: the first
// seen). DEFAULT_CHARSET and ANSI_CHARSET name none. The form may be text, binary or
// resource-wrapped; a damaged form gives what was read before the damage. Never throws.
DeclaredCodePage DeclaredCodePageOf(const fw::Bytes& form);

// The Windows ANSI code page of a font character set, 0 for one that names none.
int CodePageOfCharset(std::int64_t charset);

// The offset of the first character of 8-bit text that the code page cannot map: a
// byte the page leaves undefined (decoded to a control character or a private unit),
// a lead byte without its trail byte, or an undefined pair. npos when every byte maps.
// Text read through such a page is kept byte for byte, but it is probably in another.
std::size_t FirstByteOutsideCodePage(std::string_view text, const CodePage& codePage);

// Where the code page used for a form came from.
enum class CodePageSource { Option, Declared, Default };
// "option", "declared", "default".
std::string_view CodePageSourceName(CodePageSource source);

}  // namespace fw
