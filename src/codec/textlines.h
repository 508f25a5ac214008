#pragma once
// Form text as lines, for the code that reads it a line at a time (the object tree, the
// root's class and kind, message places). The text itself passes between the libraries
// whole; this is the one place it is cut into lines.

#include <string>
#include <string_view>
#include <vector>

namespace fw {

// The lines of text, as views into it: CR LF, LF and a lone CR each end a line, as
// editors count them. A last line without a break is kept; a break at the very end
// starts no further line; empty text has no lines.
std::vector<std::string_view> TextLines(std::string_view text);

// The same lines as strings of their own, for callers that keep them beyond the text.
std::vector<std::string> CopyTextLines(std::string_view text);

// The text as the tokenizer, which counts lines by line feeds, sees the lines above:
// text itself, or where a lone CR ends a line, a copy in storage with a LF there. A
// syntax error then names the line an editor shows.
std::string_view WithLineFeeds(std::string_view text, std::string& storage);

// The first line of text, without its break.
std::string_view FirstTextLine(std::string_view text);

}  // namespace fw
