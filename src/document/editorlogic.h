#pragma once
// The logic behind the source editor's status line and commands, as functions of plain
// text so that it is tested without a window.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// Panel 1 of the status bar: caret column and line (1-based), the code of the
// character under the caret (0 at or beyond the line's end), the line count and the
// selection length with each line break counted as two characters.
std::string CaretStatusText(int column, int line, int chr, int lineCount, int selectionLength);

// The code (0-255) of the byte at a 1-based column of a line; 0 outside it.
int CharacterAt(std::string_view line, int column);

// The code point of the UTF-8 character that text begins with; 0 for empty text. A
// byte that starts no valid sequence stands for itself.
int FirstCodePoint(std::string_view text);

// The object whose block holds a line: from that line upwards, the first trimmed line
// that begins with "object" (or, where "object" occurs nowhere in it, "inherited", and
// where neither does, "inline");
// returns the object name written between the keyword and the first ":" (empty without
// a colon). found is false when no such line lies at or above the line.
std::string ObjectNameAtLine(const std::vector<std::string>& lines, int line, bool& found);
// The same over lines handed out one at a time by lineAt (0-based); only the lines from
// `line` upwards to the header are asked for.
std::string ObjectNameAtLine(int line, const std::function<std::string_view(int)>& lineAt, bool& found);

// The string constant a 0-based line is part of, as its characters (UTF-8, control
// characters as #codes, see ShownStringConstant): the value after the "=" of a property
// line, with the lines it goes on to after a '+' or an "=" that ends a line; on a line
// that goes on such a value, the whole value; a line of a string list on its own
// ('text' in parentheses). nullopt when the line holds no whole string constant.
// lineAt hands out the lines (the editor's UTF-8), lineCount of them.
std::optional<std::string> DecodedStringAtLine(int line, int lineCount,
                                               const std::function<std::string_view(int)>& lineAt);

// The identifier around a 0-based byte position of a line: the run of letters, digits
// and "_" that holds it; empty when the byte there is no identifier character.
std::string IdentifierAt(std::string_view line, std::size_t position);

// Any file's bytes as lines of hexadecimal data, 32 bytes a line, each line ended by
// CR LF, and one more CR LF at the end: ready to paste between a binary property's braces.
std::string HexDataLines(const std::vector<std::uint8_t>& bytes);

}  // namespace fw
