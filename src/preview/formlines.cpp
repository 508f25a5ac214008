#include "preview/formlines.h"

#include <algorithm>

namespace fw::preview {

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::size_t LeadingBlanks(std::string_view line) {
    std::size_t count = 0;
    while (count < line.size() && IsBlank(line[count]))
        ++count;
    return count;
}

std::string_view ObjectLineName(std::string_view trimmed, bool& found) {
    found = false;
    const auto startsWithWord = [&](std::string_view word) {
        return trimmed.substr(0, word.size()) == word &&
               (trimmed.size() == word.size() || IsBlank(trimmed[word.size()]));
    };
    std::size_t keyword = 0;
    if (startsWithWord("object"))
        keyword = 6;
    else if (startsWithWord("inline"))
        keyword = 6;
    else if (startsWithWord("inherited") && trimmed.find("object") == std::string_view::npos)
        keyword = 9;
    else
        return {};
    found = true;
    // The header after the keyword and the blank that follows it: "Name: Class", or the
    // class alone for an object without a name.
    const std::string_view rest = TrimBlanks(trimmed.substr(std::min(trimmed.size(), keyword + 1)));
    const std::size_t colon = rest.find(": ");
    return colon == std::string_view::npos ? std::string_view() : rest.substr(0, colon);
}

}  // namespace fw::preview
