#include "packages/inifile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>

#include "base/asciitext.h"

namespace fw::pkg {

namespace {

struct Line {
    std::string Text;  // without the line end
    std::string End;   // "\n", "\r\n" or "" for a last line without one
};

std::optional<std::string> ReadWhole(const std::string& file) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (error || size > MaxIniFileSize) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    // A file that shrank meanwhile gives what was there.
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

std::vector<Line> SplitLines(const std::string& text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t newline = text.find('\n', start);
        if (newline == std::string::npos) {
            lines.push_back({text.substr(start), ""});
            break;
        }
        std::size_t end = newline;
        const bool crlf = end > start && text[end - 1] == '\r';
        if (crlf) --end;
        lines.push_back({text.substr(start, end - start), crlf ? "\r\n" : "\n"});
        start = newline + 1;
    }
    return lines;
}

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The name of the section a header line opens, when it is one.
std::optional<std::string_view> SectionHeader(std::string_view line) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[') return std::nullopt;
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

bool IsComment(std::string_view line) {
    line = Trim(line);
    return !line.empty() && (line.front() == ';' || line.front() == '#');
}

std::string UnquotedValue(std::string_view value) {
    value = Trim(value);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::string QuotedIfNeeded(const std::string& value) {
    if (UnquotedValue(value) == value) return value;
    return '"' + value + '"';
}

// Writes text to file through a temporary file beside it, renamed over it at the end.
void WriteWhole(const std::string& file, const std::string& text) {
    const EIniFileError failed("Unable to write to " + file);
    const std::filesystem::path target(file);
    std::error_code error;
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);

    mode_t mode = 0644;
    struct stat existing {};
    if (::stat(file.c_str(), &existing) == 0) mode = existing.st_mode & 07777;

    std::string temporary = file + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) throw failed;
    bool ok = true;
    std::size_t written = 0;
    while (ok && written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) written += static_cast<std::size_t>(n);
    }
    ok = ok && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), file.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        throw failed;
    }
}

}  // namespace

std::vector<std::string> ReadIniSectionValues(const std::string& file, std::string_view section) {
    std::vector<std::string> values;
    const std::optional<std::string> text = ReadWhole(file);
    if (!text) return values;
    bool inside = false;
    bool seen = false;
    for (const Line& line : SplitLines(*text)) {
        if (const std::optional<std::string_view> header = SectionHeader(line.Text)) {
            if (inside) break;
            inside = !seen && EqualsIgnoringCase(*header, section);
            seen = seen || inside;
            continue;
        }
        if (!inside || IsComment(line.Text)) continue;
        const std::size_t equals = line.Text.find('=');
        if (equals == std::string::npos) continue;
        values.push_back(UnquotedValue(std::string_view(line.Text).substr(equals + 1)));
    }
    return values;
}

void WriteIniSectionList(const std::string& file, std::string_view section,
                         const std::vector<std::string>& values) {
    std::error_code error;
    const bool exists = std::filesystem::exists(file, error);
    const std::optional<std::string> old = exists ? ReadWhole(file) : std::string();
    // A file too large or unreadable would lose its other sections.
    if (!old) throw EIniFileError("Unable to write to " + file);
    std::vector<Line> lines = SplitLines(*old);
    const std::string newline = !lines.empty() && lines.front().End == "\r\n" ? "\r\n" : "\n";

    std::vector<Line> entries;
    for (std::size_t i = 0; i < values.size(); ++i)
        entries.push_back({std::to_string(i) + "=" + QuotedIfNeeded(values[i]), newline});

    // Every section of that name goes, with all its entries: the first one is replaced
    // by the new entries, the others are dropped.
    std::vector<Line> out;
    bool inside = false;
    bool placed = false;
    for (Line& line : lines) {
        if (const std::optional<std::string_view> header = SectionHeader(line.Text)) {
            inside = EqualsIgnoringCase(*header, section);
            if (inside) {
                if (placed) continue;
                if (line.End.empty()) line.End = newline;
                out.push_back(std::move(line));
                out.insert(out.end(), entries.begin(), entries.end());
                placed = true;
                continue;
            }
        }
        // Blank lines of the section stay, after its entries, to keep the layout.
        if (!inside || Trim(line.Text).empty()) out.push_back(std::move(line));
    }
    if (!placed) {
        if (!out.empty() && out.back().End.empty()) out.back().End = newline;
        out.push_back({"[" + std::string(section) + "]", newline});
        out.insert(out.end(), entries.begin(), entries.end());
    }

    std::string text;
    for (const Line& line : out)
        text += line.Text + line.End;
    WriteWhole(file, text);
}

}  // namespace fw::pkg
