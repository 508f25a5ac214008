#pragma once
// The value of a string constant as form text writes it: quoted runs, #codes and parts
// joined by '+' ('Caption'#13#10'next' + 'more'). Views that show strings as their
// characters (the inspector, the source editor's decoded-string command) read it here
// with the codec's own tokenizer, so that they agree with what a conversion stores.

#include <optional>
#include <string>
#include <string_view>

#include "base/codepage.h"

namespace fw {

// The value of text when it is one whole string constant, as UTF-16; nullopt when it is
// anything else (an identifier, a number, a set, a string with something after it).
// Quoted bytes are 8-bit text in codePage, or UTF-8 when utf8 is set (the text of a
// UTF-8 form, or text a view already holds as UTF-8); #codes are UTF-16 units either way.
std::optional<std::u16string> StringConstantValue(std::string_view text, const CodePage& codePage, bool utf8);

// A string value as a view shows it, in UTF-8: its characters between quotes (a quote
// doubled), control characters as #codes between the runs: 'マスタ'#13#10'next'. The
// empty string is ''.
std::string ShownStringConstant(std::u16string_view value);

}  // namespace fw
