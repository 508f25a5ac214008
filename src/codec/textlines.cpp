#include "textlines.h"

namespace fw {

std::vector<std::string_view> TextLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::vector<std::string> CopyTextLines(std::string_view text) {
    const std::vector<std::string_view> views = TextLines(text);
    return std::vector<std::string>(views.begin(), views.end());
}

std::string_view WithLineFeeds(std::string_view text, std::string& storage) {
    bool lone = false;
    for (std::size_t i = text.find('\r'); i != std::string_view::npos && !lone; i = text.find('\r', i + 1))
        lone = i + 1 == text.size() || text[i + 1] != '\n';
    if (!lone) return text;
    storage.assign(text);
    for (std::size_t i = 0; i < storage.size(); ++i)
        if (storage[i] == '\r' && (i + 1 == storage.size() || storage[i + 1] != '\n')) storage[i] = '\n';
    return storage;
}

std::string_view FirstTextLine(std::string_view text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

}  // namespace fw
