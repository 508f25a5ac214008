#include "objectscan.h"

#include <algorithm>

#include "preview/formlines.h"
#include "runtime/registry.h"

namespace fw {

namespace {

using preview::LeadingBlanks;
using preview::TrimBlanks;
using rt::EqualsIgnoringCase;

enum class Keyword { Object, Inherited, Inline, Collection, Item };

// A component node the text writes: one of the object records of its stream.
bool IsRecordNode(const ObjectNode& node) {
    return node.Kind == NodeKind::Component && !node.Outer;
}

}  // namespace

int Hierarchy::FindNodeByName(std::string_view name) const {
    for (std::size_t i = 0; i < Nodes.size(); ++i)
        if (EqualsIgnoringCase(Nodes[i].Name, name)) return static_cast<int>(i);
    return -1;
}

int Hierarchy::ObjectChild(int parent, int position) const {
    if (parent < 0 || parent >= ObjectCount() || position < 0) return -1;
    for (const int child : Nodes[static_cast<std::size_t>(parent)].Children)
        if (IsRecordNode(Nodes[static_cast<std::size_t>(child)]) && position-- == 0) return child;
    return -1;
}

int Hierarchy::ObjectPosition(int node) const {
    if (node < 0 || node >= ObjectCount()) return -1;
    const ObjectNode& n = Nodes[static_cast<std::size_t>(node)];
    if (n.Parent < 0 || !IsRecordNode(n)) return -1;
    int position = 0;
    for (const int sibling : Nodes[static_cast<std::size_t>(n.Parent)].Children) {
        if (sibling == node) return position;
        if (IsRecordNode(Nodes[static_cast<std::size_t>(sibling)])) ++position;
    }
    return -1;
}

int Hierarchy::NodeAtLine(int line) const {
    // The text's nodes are in line order, the outer ones after them.
    const auto end =
        std::partition_point(Nodes.begin(), Nodes.end(), [](const ObjectNode& node) { return !node.Outer; });
    const auto it = std::lower_bound(Nodes.begin(), end, line,
                                     [](const ObjectNode& node, int at) { return node.Line < at; });
    return it != end && it->Line == line ? static_cast<int>(it - Nodes.begin()) : -1;
}

void Hierarchy::ShiftLines(int from, int by) {
    for (ObjectNode& node : Nodes)
        if (!node.Outer && node.Line >= from) node.Line += by;
}

bool NodeMatchesObject(const ObjectNode& node, std::string_view name, std::string_view className) {
    if (!EqualsIgnoringCase(node.Name, name)) return false;
    if (!node.Name.empty()) return true;
    const std::string_view written = TrimBlanks(node.ClassName);
    std::size_t end = 0;
    while (end < written.size() && !preview::IsBlank(written[end]) && written[end] != '[')
        ++end;
    return EqualsIgnoringCase(written.substr(0, end), className);
}

Hierarchy ScanHierarchy(const std::vector<std::string_view>& lines, HierarchyLookup& lookup) {
    static constexpr std::pair<std::string_view, Keyword> keywords[] = {
        {"object", Keyword::Object},   {"inherited", Keyword::Inherited}, {"inline", Keyword::Inline},
        {" = <", Keyword::Collection}, {"item", Keyword::Item},
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
        const std::string_view t = TrimBlanks(line);

        // An object header is known by the keyword that starts it, followed by a blank, so
        // a name or class holding a lowercase keyword ("inline frobjects: TfrObjects")
        // keeps its node. Any other line: the first keyword that occurs anywhere decides;
        // it must start the line, except a collection's " = <", which may stand anywhere.
        Keyword keyword = Keyword::Item;
        std::size_t position = std::string_view::npos;
        std::size_t keywordLength = 4;
        for (const auto& [word, kind] : keywords) {
            if (kind == Keyword::Collection || kind == Keyword::Item) break;
            if (t.size() > word.size() && t.substr(0, word.size()) == word &&
                preview::IsBlank(t[word.size()])) {
                keyword = kind;
                keywordLength = word.size();
                position = 0;
                break;
            }
        }
        for (const auto& [word, kind] : keywords) {
            if (position == 0) break;
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
                lastCollection = std::string(TrimBlanks(t.substr(0, position)));
                text = lastCollection + ": TCollection";
                if (auto type = lookup.CollectionType(lastObjectName, lastCollection))
                    text = lastCollection + ": " + *type;
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
            case Keyword::Inherited:
            case Keyword::Inline: {
                // From the second character after the keyword: "object Button1: TButton"
                // gives "Button1: TButton".
                const std::size_t from = keywordLength + 1;
                text = from < t.size() ? std::string(TrimBlanks(t.substr(from, 255))) : std::string();
                break;
            }
        }

        const int lineLevel = static_cast<int>(LeadingBlanks(line) / 2);
        if (lineLevel > level) {
            parent = last;
        } else if (lineLevel < level) {
            for (int up = level - lineLevel; up > 0 && parent >= 0; --up)
                parent = nodes[static_cast<std::size_t>(parent)].Parent;
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
