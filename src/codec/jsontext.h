#pragma once
// Text for JSON output, shared by the command-line tool and the editor's render command.

#include <string>
#include <string_view>

namespace fw {

// A JSON string literal of UTF-8 text: quote, backslash and control characters escaped,
// everything else kept as it is.
std::string JsonString(std::string_view text);

}  // namespace fw
