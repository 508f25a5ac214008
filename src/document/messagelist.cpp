#include "document/messagelist.h"

#include "preview/formlines.h"
#include "runtime/registry.h"

namespace fw {

namespace {

using preview::LeadingBlanks;
using preview::TrimBlanks;
using rt::EqualsIgnoringCase;

const ObjectNode& At(const Hierarchy& hierarchy, int node) {
    return hierarchy.Nodes[static_cast<std::size_t>(node)];
}

// The node of the place's last object, or of the deepest one found on the way; -1 when
// not even the root is there.
int NodeOfObjects(const Hierarchy& hierarchy, const std::vector<rt::MessagePlace::Step>& steps) {
    if (steps.empty() || hierarchy.Nodes.empty()) return -1;
    int node = 0;
    for (std::size_t i = 1; i < steps.size(); ++i) {
        const rt::MessagePlace::Step& step = steps[i];
        int child = hierarchy.ObjectChild(node, step.Position);
        if (child < 0 || !NodeMatchesObject(At(hierarchy, child), step.Name, step.ClassName)) {
            // The text's layout and the stream's nesting disagree here: a named object is
            // looked for by its name.
            child = step.Name.empty() ? -1 : hierarchy.FindNodeByName(step.Name);
            if (child < 0) return node;
        }
        node = child;
    }
    return node;
}

// The node of a collection item inside an object or item node: "Columns[2]" is the
// third item of the collection node Columns; -1 when there is none.
int ItemNode(const Hierarchy& hierarchy, int scope, std::string_view step) {
    const std::size_t open = step.find('[');
    if (open == std::string_view::npos || step.back() != ']') return -1;
    const std::string_view property = step.substr(0, open);
    const std::string_view digits = step.substr(open + 1, step.size() - open - 2);
    std::size_t index = 0;
    if (digits.empty()) return -1;
    for (const char c : digits) {
        if (c < '0' || c > '9' || index > 100000000) return -1;
        index = index * 10 + static_cast<std::size_t>(c - '0');
    }
    for (const int child : At(hierarchy, scope).Children) {
        const ObjectNode& collection = At(hierarchy, child);
        if (collection.Kind != NodeKind::Collection || !EqualsIgnoringCase(collection.Name, property))
            continue;
        return index < collection.Children.size() ? collection.Children[index] : -1;
    }
    return -1;
}

// The line within the scope's own lines (those indented as the line after the scope's
// line, up to a child object or the scope's end) that sets the property; -1 for none.
int PropertyLine(const std::vector<std::string_view>& lines, int scopeLine, std::string_view property) {
    const std::size_t first = static_cast<std::size_t>(scopeLine) + 1;
    if (scopeLine < 0 || first >= lines.size()) return -1;
    const std::size_t depth = LeadingBlanks(lines[first]);
    for (std::size_t i = first; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::string_view trimmed = TrimBlanks(line);
        if (trimmed.empty()) continue;
        const std::size_t indent = LeadingBlanks(line);
        if (indent < depth) break;
        bool objectLine = false;
        preview::ObjectLineName(trimmed, objectLine);
        if (objectLine) break;
        if (indent != depth) continue;
        const std::size_t equals = trimmed.find('=');
        if (equals != std::string_view::npos &&
            EqualsIgnoringCase(TrimBlanks(trimmed.substr(0, equals)), property))
            return static_cast<int>(i);
    }
    return -1;
}

int KindImage(std::string_view kind) {
    if (EqualsIgnoringCase(kind, "ERROR")) return ImageError;
    if (EqualsIgnoringCase(kind, "WARN")) return ImageWarning;
    if (EqualsIgnoringCase(kind, "INFO")) return ImageInfo;
    return -1;
}

}  // namespace

int LineOfPlace(const Hierarchy& hierarchy, const std::vector<std::string_view>& lines,
                const rt::MessagePlace& place) {
    if (place.Line > 0) return static_cast<std::size_t>(place.Line) <= lines.size() ? place.Line - 1 : -1;
    int scope = NodeOfObjects(hierarchy, place.Objects);
    if (scope < 0) return -1;
    // Items first ("Columns[2]"), each one a scope of its own, then the property in the
    // innermost scope, dotted as written ("Font.Height").
    std::string_view rest = place.Property;
    while (!rest.empty()) {
        const std::size_t dot = rest.find('.');
        const std::string_view step = rest.substr(0, dot);
        if (step.empty() || step.back() != ']') break;
        const int item = ItemNode(hierarchy, scope, step);
        if (item < 0) break;
        scope = item;
        rest = dot == std::string_view::npos ? std::string_view() : rest.substr(dot + 1);
    }
    const int scopeLine = At(hierarchy, scope).Line;
    if (!rest.empty()) {
        // A collection's own line is "Columns = <"; an item's properties sit under its
        // "item" line like an object's under its header.
        const std::size_t bracket = rest.find('[');
        const int line = PropertyLine(lines, scopeLine, rest.substr(0, bracket));
        if (line >= 0) return line;
    }
    return scopeLine;
}

std::vector<MessageRow> MessageRows(const std::vector<std::string>& messages,
                                    const std::vector<rt::MessagePlace>& places,
                                    const std::vector<std::string_view>& lines) {
    std::vector<MessageRow> rows;
    rows.reserve(messages.size());
    // The scan runs only when a message has an object to look for.
    Hierarchy hierarchy;
    bool scanned = false;
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const std::string_view message = messages[i];
        const std::size_t equals = message.find('=');
        MessageRow row;
        row.Caption =
            equals == std::string_view::npos ? std::string() : std::string(message.substr(equals + 1));
        row.Image =
            KindImage(equals == std::string_view::npos ? std::string_view() : message.substr(0, equals));
        if (i < places.size()) {
            const rt::MessagePlace& place = places[i];
            row.Object = rt::ObjectPathText(place);
            if (!place.Objects.empty() && !scanned) {
                HierarchyLookup plain;
                hierarchy = ScanHierarchy(lines, plain);
                scanned = true;
            }
            row.Line = LineOfPlace(hierarchy, lines, place);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace fw
