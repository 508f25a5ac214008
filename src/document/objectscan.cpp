#include "objectscan.h"

#include <algorithm>

namespace fw {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                               [](char x, char y) { return UpperAscii(x) == UpperAscii(y); });
}

int LeadingBlanks(std::string_view line) {
    int n = 0;
    while (n < static_cast<int>(line.size()) && IsBlank(line[static_cast<std::size_t>(n)])) ++n;
    return n;
}

enum class Keyword { Object, Inherited, Collection, Item };

}  // namespace

int Hierarchy::FindNodeByName(std::string_view name) const {
    for (std::size_t i = 0; i < Nodes.size(); ++i)
        if (EqualsIgnoringCase(Nodes[i].Name, name)) return static_cast<int>(i);
    return -1;
}

Hierarchy ScanHierarchy(const std::vector<std::string>& lines, HierarchyLookup& lookup) {
    static constexpr std::pair<std::string_view, Keyword> keywords[] = {
        {"object", Keyword::Object},
        {"inherited", Keyword::Inherited},
        {" = <", Keyword::Collection},
        {"item", Keyword::Item},
    };
    Hierarchy result;
    auto& nodes = result.Nodes;
    int level = 0;
    int parent = -1;
    int last = -1;
    int itemCounter = 0;
    std::string lastObjectName;
    std::string lastCollection;

    for (std::size_t lineIndex = 0; lineIndex < lines.size(); ++lineIndex) {
        const std::string_view line = lines[lineIndex];
        const std::string_view t = Trim(line);

        // The first keyword that occurs anywhere decides; it must start the line, except
        // a collection's " = <", which may stand anywhere.
        Keyword keyword = Keyword::Item;
        std::size_t position = std::string_view::npos;
        std::size_t keywordLength = 4;
        for (const auto& [word, kind] : keywords) {
            position = t.find(word);
            if (position != std::string_view::npos) {
                keyword = kind;
                keywordLength = word.size();
                break;
            }
        }
        const bool accepted =
            position == 0 || (keyword == Keyword::Collection && position != std::string_view::npos);
        if (!accepted) continue;

        std::string text;
        switch (keyword) {
            case Keyword::Collection: {
                itemCounter = 0;
                lastCollection = std::string(Trim(t.substr(0, position)));
                text = lastCollection + ": TCollection";
                if (auto type = lookup.CollectionType(lastObjectName, lastCollection)) text = lastCollection + ": " + *type;
                break;
            }
            case Keyword::Item: {
                text = std::to_string(itemCounter) + " - item: TCollectionItem";
                if (auto item = lookup.CollectionItem(lastObjectName, lastCollection, itemCounter)) {
                    std::string display = item->first;
                    std::replace(display.begin(), display.end(), ':', '_');
                    text = std::to_string(itemCounter) + " - " + display + ": " + item->second;
                }
                ++itemCounter;
                break;
            }
            case Keyword::Object:
            case Keyword::Inherited: {
                // From the second character after the keyword: "object Button1: TButton"
                // gives "Button1: TButton".
                const std::size_t from = keywordLength + 1;
                text = from < t.size() ? std::string(Trim(t.substr(from, 255))) : std::string();
                break;
            }
        }

        const int lineLevel = LeadingBlanks(line) / 2;
        if (lineLevel > level) {
            parent = last;
        } else if (lineLevel < level) {
            for (int up = level - lineLevel; up > 0 && parent >= 0; --up) parent = nodes[static_cast<std::size_t>(parent)].Parent;
        }
        level = lineLevel;

        ObjectNode node;
        node.Parent = parent;
        node.Line = static_cast<int>(lineIndex);
        const std::size_t split = text.find(": ");
        if (split == std::string::npos) {
            node.ClassName = text.substr(0, 255);
        } else {
            node.Name = text.substr(0, split);
            node.ClassName = text.substr(split + 2, 255);
        }
        switch (keyword) {
            case Keyword::Collection:
                node.Kind = NodeKind::Collection;
                node.ImageIndex = ImageCollection;
                break;
            case Keyword::Item:
                node.Kind = NodeKind::Item;
                node.ImageIndex = ImageComponent;
                break;
            default:
                node.Kind = NodeKind::Component;
                lastObjectName = node.Name;
                node.ImageIndex = lookup.IsControlClass(node.ClassName) ? ImageControl : ImageComponent;
                break;
        }
        if (lineLevel == 0) {
            node.Kind = NodeKind::Root;
            node.ImageIndex = ImageRoot;
        }
        last = static_cast<int>(nodes.size());
        if (parent >= 0) nodes[static_cast<std::size_t>(parent)].Children.push_back(last);
        nodes.push_back(std::move(node));
        // Everything after the first top-level node nests under it.
        if (parent < 0) parent = 0;
    }
    return result;
}

std::string NodeCaption(const ObjectNode& node) {
    if (node.Children.empty()) return node.Name;
    return node.Name + " (" + std::to_string(node.Children.size()) + ")";
}

bool IncrementalSearchMatches(std::string_view typed, std::string_view name) {
    const std::size_t n = std::min(typed.size(), name.size());
    return EqualsIgnoringCase(typed.substr(0, n), name.substr(0, n));
}

}  // namespace fw
