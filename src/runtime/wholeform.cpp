#include "wholeform.h"

#include <algorithm>
#include <cctype>

#include "builtin.h"
#include "formbuild.h"

namespace fw::rt {

int BuildOrigins::FileOf(const Object& object) const {
    const auto it = Objects.find(&object);
    return it == Objects.end() ? 0 : it->second.File;
}

int BuildOrigins::FileOfProperty(const Object& object, std::string_view path) const {
    const auto it = Objects.find(&object);
    if (it == Objects.end()) return -1;
    for (const auto& [written, file] : it->second.Properties)
        if (EqualsIgnoringCase(written, path)) return file;
    return -1;
}

namespace {

// The first word of a line of form text, and whether a '=' follows it: a property's
// name, or a keyword (object, inherited, inline, item, end).
struct LineWord {
    std::string_view Word;
    bool Assigned = false;
};

LineWord WordOn(std::string_view line) {
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    line.remove_prefix(start);
    std::size_t end = 0;
    while (end < line.size() && (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '_' ||
                                 line[end] == '.'))
        ++end;
    const std::size_t next = line.find_first_not_of(" \t", end);
    return {line.substr(0, end), next != std::string_view::npos && line[next] == '='};
}

// The kind of root a registered class makes; nullopt for a class that is none of them.
std::optional<RootBase> BaseOfClass(const Class& cls) {
    if (cls.InheritsFrom("TCustomFrame")) return RootBase::Frame;
    if (cls.InheritsFrom("TDataModule")) return RootBase::DataModule;
    if (cls.InheritsFrom("TCustomForm")) return RootBase::Form;
    return std::nullopt;
}

}  // namespace

std::string RootClassOfLines(const std::vector<std::string>& lines) {
    if (lines.empty()) return {};
    std::string_view header = lines.front();
    const std::size_t colon = header.find(':');
    if (colon == std::string_view::npos) return {};
    header.remove_prefix(colon + 1);
    header.remove_prefix(std::min(header.find_first_not_of(" \t"), header.size()));
    return std::string(header.substr(0, header.find_first_of(" \t[")));
}

RootBase StoredRootBaseOf(const std::vector<std::string>& lines) {
    const std::string rootClass = RootClassOfLines(lines);
    if (EqualsIgnoringCase(rootClass, "TFrame")) return RootBase::Frame;
    if (EqualsIgnoringCase(rootClass, "TDataModule")) return RootBase::DataModule;

    // What frames write of a control's and forms never publish.
    static constexpr std::string_view FrameOnly[] = {"TabOrder",       "TabStop",     "OnEnter",         "OnExit",
                                                     "ParentShowHint", "ParentColor", "ParentBackground"};
    bool frame = false;
    bool module = false;
    bool width = false;
    // The nesting of objects and collection items; the root's properties are at 1.
    // Values that go on over several lines never start with a word and '='.
    int depth = 1;
    for (std::size_t i = 1; i < lines.size() && depth > 0; ++i) {
        const LineWord word = WordOn(lines[i]);
        if (!word.Assigned) {
            if (word.Word == "object" || word.Word == "inherited" || word.Word == "inline" || word.Word == "item")
                ++depth;
            else if (word.Word == "end")
                --depth;
            continue;
        }
        if (depth != 1) continue;
        for (const std::string_view formOnly :
             {"Caption", "ClientWidth", "ClientHeight", "TextHeight", "BorderStyle", "BorderIcons"})
            if (EqualsIgnoringCase(word.Word, formOnly)) return RootBase::Form;
        for (const std::string_view only : FrameOnly) frame = frame || EqualsIgnoringCase(word.Word, only);
        // A data module writes OldCreateOrder, and its Height before its Width, where
        // controls write Width first.
        module = module || EqualsIgnoringCase(word.Word, "OldCreateOrder") ||
                 (!width && EqualsIgnoringCase(word.Word, "Height"));
        width = width || EqualsIgnoringCase(word.Word, "Width");
    }
    if (frame) return RootBase::Frame;
    return module ? RootBase::DataModule : RootBase::Form;
}

RootBase RootBaseOf(const std::vector<std::string>& lines, const ClassRegistry& registry, FormFileSource* source) {
    std::string className = RootClassOfLines(lines);
    std::vector<std::string> seen;
    for (int level = 0; level < MaxFormNesting && !className.empty(); ++level) {
        if (const Class* cls = registry.FindClassByName(className))
            if (const std::optional<RootBase> base = BaseOfClass(*cls)) return *base;
        if (!source) break;
        if (std::any_of(seen.begin(), seen.end(), [&](const std::string& s) { return EqualsIgnoringCase(s, className); }))
            break;
        seen.push_back(className);
        className = source->DeclaredAncestorOf(className);
    }
    return StoredRootBaseOf(lines);
}

}  // namespace fw::rt
