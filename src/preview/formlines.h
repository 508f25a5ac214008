#pragma once
// The rules by which the object tree, the inspector and the message list read form text
// one line at a time, without the tokenizer: blanks are the characters of code 32 or
// less, a line's indentation is its count of leading blanks, and an object opens on a
// line that begins with a keyword. They never fail on malformed text.

#include <cstddef>
#include <string_view>

namespace fw::preview {

constexpr bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// The text without the blanks at both ends.
std::string_view TrimBlanks(std::string_view text);

// The number of blanks the line begins with; a tab counts as one.
std::size_t LeadingBlanks(std::string_view line);

// The object a trimmed line opens, by its name: "object Button1: TButton",
// "inherited Form1: TForm1" and "inline Frame1: TFrame1" open Button1, Form1 and Frame1;
// "object TLabel" opens an object without a name (""). The keyword is a whole word,
// matched case-sensitively; a line that begins with "inherited" but has "object"
// anywhere in it is no object line. found is false for every other line.
std::string_view ObjectLineName(std::string_view trimmed, bool& found);

}  // namespace fw::preview
