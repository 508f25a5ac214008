#include "runtime/lookalike.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <system_error>

#include "base/stream.h"
#include "runtime/object.h"
#include "runtime/registry.h"

namespace fw::rt {

namespace {

// Longer lines are reported and skipped: no class name comes near it.
constexpr std::size_t kMaxLineLength = 512;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsName(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), IsNameChar) &&
           !(s.front() >= '0' && s.front() <= '9');
}

bool StartsWithIgnoringCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && EqualsIgnoringCase(s.substr(0, prefix.size()), prefix);
}

bool EndsWithIgnoringCase(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && EqualsIgnoringCase(s.substr(s.size() - suffix.size()), suffix);
}

bool ContainsIgnoringCase(std::string_view s, std::string_view part) {
    for (std::size_t i = 0; i + part.size() <= s.size(); ++i)
        if (EqualsIgnoringCase(s.substr(i, part.size()), part)) return true;
    return false;
}

bool Matches(const LookalikeRule& rule, std::string_view className) {
    switch (rule.How) {
        case LookalikeRule::Match::Exact:
            return EqualsIgnoringCase(className, rule.Pattern);
        case LookalikeRule::Match::Prefix:
            return StartsWithIgnoringCase(className, rule.Pattern);
        case LookalikeRule::Match::Suffix:
            return EndsWithIgnoringCase(className, rule.Pattern);
    }
    return false;
}

// Reads one rule from a line without its comment; the message says what is wrong, or is
// empty for a good rule.
std::string ParseRule(std::string_view line, LookalikeRule& rule) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return "expected 'PATTERN = CLASS'";
    std::string_view pattern = Trim(line.substr(0, eq));
    const std::string_view drawnAs = Trim(line.substr(eq + 1));
    if (pattern.empty()) return "no class name pattern before '='";
    if (pattern.front() == '*') {
        rule.How = LookalikeRule::Match::Suffix;
        pattern.remove_prefix(1);
    } else if (pattern.back() == '*') {
        rule.How = LookalikeRule::Match::Prefix;
        pattern.remove_suffix(1);
    } else {
        rule.How = LookalikeRule::Match::Exact;
    }
    if (pattern.empty()) return "a pattern needs letters besides '*'";
    if (!std::all_of(pattern.begin(), pattern.end(), IsNameChar))
        return "bad pattern '" + std::string(Trim(line.substr(0, eq))) +
               "': a class name, NAME* or *NAME with letters, digits and '_' only";
    if (drawnAs == "-") {
        rule.DrawnAs.clear();
    } else if (drawnAs.empty() || IsName(drawnAs)) {
        rule.DrawnAs = std::string(drawnAs);
    } else {
        return "bad class name '" + std::string(drawnAs) + "' after '='";
    }
    rule.Pattern = std::string(pattern);
    return {};
}

bool HasText(const std::vector<RawProperty>& stored, std::string_view name) {
    const RawValue* raw = FindRaw(stored, name);
    return raw && raw->IsText() && !raw->Text.empty();
}

// What a stand-in's stored values suggest when no name rule places it.
std::string ReasonFromValues(std::string_view name, const std::vector<RawProperty>& stored,
                             bool holdsRecords) {
    if (const RawValue* columns = FindRaw(stored, "Columns");
        columns && columns->Type == RawValue::Kind::Collection)
        return "TDBGrid";
    if (FindRaw(stored, "Lines.Strings") || FindRaw(stored, "Lines")) return "TMemo";
    if (FindRaw(stored, "Items.Strings")) return "TListBox";
    if (HasText(stored, "Caption") && !FindRaw(stored, "Text"))
        return ContainsIgnoringCase(name, "Button") || ContainsIgnoringCase(name, "Btn") ? "TButton"
                                                                                         : "TLabel";
    if (FindRaw(stored, "Text")) return "TEdit";
    if (holdsRecords) return "TPanel";
    return {};
}

}  // namespace

LookalikeTable LookalikeTable::Parse(std::string_view text, std::vector<LookalikeError>& errors) {
    LookalikeTable table;
    std::vector<LookalikeRule> exact, partial;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.size() > kMaxLineLength) {
            errors.push_back(
                {lineNumber, "line longer than " + std::to_string(kMaxLineLength) + " characters"});
            continue;
        }
        if (const std::size_t hash = line.find('#'); hash != std::string_view::npos)
            line = line.substr(0, hash);
        line = Trim(line);
        if (line.empty()) continue;
        LookalikeRule rule;
        rule.Line = lineNumber;
        if (std::string message = ParseRule(line, rule); !message.empty()) {
            errors.push_back({lineNumber, std::move(message)});
            continue;
        }
        (rule.How == LookalikeRule::Match::Exact ? exact : partial).push_back(std::move(rule));
    }
    // Exact rules first, so that a named class is never caught by a prefix or suffix
    // rule of the same table; the others keep the order written.
    table.rules_ = std::move(exact);
    table.rules_.insert(table.rules_.end(), std::make_move_iterator(partial.begin()),
                        std::make_move_iterator(partial.end()));
    return table;
}

LookalikeTable LookalikeTable::WithUserFile(const std::string& path, std::vector<std::string>& messages) {
    std::vector<LookalikeError> errors;
    LookalikeTable table = Parse(ShippedText(), errors);
    for (const LookalikeError& e : errors)  // a test keeps the shipped table clean
        messages.push_back("ERROR=shipped lookalikes.txt line " + std::to_string(e.Line) + ": " + e.Message);
    std::error_code ec;
    if (path.empty() || !std::filesystem::exists(path, ec)) return table;
    const std::string name = std::filesystem::path(path).filename().string();
    // A user's table is a few lines; more than this is not a table.
    constexpr std::uintmax_t kMaxFileSize = 1u << 20;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxFileSize) {
        messages.push_back("ERROR=" + name + ": cannot be read (" + (ec ? ec.message() : "too large") + ")");
        return table;
    }
    Bytes bytes;
    try {
        bytes = ReadFileBytes(path);
    } catch (const std::exception& e) {
        messages.push_back("ERROR=" + name + ": cannot be read (" + e.what() + ")");
        return table;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    errors.clear();
    const LookalikeTable user = Parse(text, errors);
    for (const LookalikeError& e : errors)
        messages.push_back("ERROR=" + name + " line " + std::to_string(e.Line) + ": " + e.Message);
    table.Prepend(user);
    return table;
}

void LookalikeTable::Prepend(const LookalikeTable& first) {
    rules_.insert(rules_.begin(), first.rules_.begin(), first.rules_.end());
}

std::string LookalikeTable::DrawnAs(std::string_view className) const {
    for (const LookalikeRule& rule : rules_)
        if (Matches(rule, className)) return rule.DrawnAs;
    return {};
}

std::string LookalikeTable::DrawnAs(const Object& standIn) const {
    return DrawnAs(standIn.ClassName(), standIn.Unpublished(), !standIn.Controls().empty());
}

std::string LookalikeTable::DrawnAs(std::string_view className, const std::vector<RawProperty>& stored,
                                    bool holdsRecords) const {
    for (const LookalikeRule& rule : rules_)
        if (Matches(rule, className)) return rule.DrawnAs;
    return ReasonFromValues(className, stored, holdsRecords);
}

namespace {

// Another stand-in has no look of its own to lend.
const Class* Lendable(const std::string& name, const ClassRegistry& registry) {
    if (name.empty()) return nullptr;
    const Class* cls = registry.FindClassByName(name);
    return cls && !cls->Has(CfStandIn) ? cls : nullptr;
}

}  // namespace

const Class* LookalikeClass(const Object& standIn, const LookalikeTable& table,
                            const ClassRegistry& registry) {
    // A stand-in read with a look descends from it: that look, whatever the table
    // would say now from values it keeps typed.
    const Class& own = standIn.GetClass();
    if (own.Has(CfStandIn) && own.Parent() && own.Parent()->Name() != "TCustomControl" &&
        own.Parent()->Name() != "TComponent")
        return own.Parent();
    return Lendable(table.DrawnAs(standIn), registry);
}

const Class* LookalikeClass(std::string_view className, const std::vector<RawProperty>& stored,
                            bool holdsRecords, const LookalikeTable& table, const ClassRegistry& registry) {
    return Lendable(table.DrawnAs(className, stored, holdsRecords), registry);
}

}  // namespace fw::rt
