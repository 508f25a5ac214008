#pragma once
// The object hierarchy of form text, found by a line scan: each line is judged on its
// own by keyword and indentation, so the scan works on text the converters would
// reject and never fails. Plain C++; the document's tree view only shows the result.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fw {

// Root: any line at indentation 0; Component: an "object", "inherited" or "inline" line
// deeper down; Collection: a line with " = <"; Item: an "item" line.
enum class NodeKind { Root = 0, Component = 1, Collection = 2, Item = 3 };

// Image indexes of the document's tree images.
enum NodeImage {
    ImageComponent = 0,  // a non-visual component, and every collection item
    ImageRoot = 1,
    ImageControl = 2,
    ImageCollection = 3,
    ImageError = 4,
    ImageWarning = 5,
    ImageInfo = 6,
};

struct ObjectNode {
    std::string Name;       // object name, collection property name or item label
    std::string ClassName;  // class as written, declared collection type, or item class
    int ImageIndex = ImageComponent;
    NodeKind Kind = NodeKind::Component;
    int Parent = -1;            // index of the parent node, -1 at the top level
    std::vector<int> Children;  // indexes of the direct children, in order
    int Line = 0;               // 0-based line of the text the node came from; -1 for an outer node
    // The ancestor's or frame's file whose record created the object, when the form was
    // built whole from several files; empty for an object the text creates.
    std::string SourceFile;
    // Written by no line of the text: an object only an ancestor's or a frame's file
    // writes. Outer nodes follow all the text's nodes and are no object records of it.
    bool Outer = false;
};

// What the scan asks of the live preview and the class registry. The defaults know
// nothing, which gives the plain texts: a class the preview cannot create looks the same.
class HierarchyLookup {
public:
    virtual ~HierarchyLookup() = default;
    // The declared type of a collection property of the named component of the preview.
    virtual std::optional<std::string> CollectionType(std::string_view owner, std::string_view property) {
        (void)owner, (void)property;
        return std::nullopt;
    }
    // The display name and class of an item of that collection.
    virtual std::optional<std::pair<std::string, std::string>> CollectionItem(std::string_view owner,
                                                                              std::string_view property,
                                                                              int index) {
        (void)owner, (void)property, (void)index;
        return std::nullopt;
    }
    // Whether a registered class of that name has TControl among its ancestors.
    virtual bool IsControlClass(std::string_view className) {
        (void)className;
        return false;
    }
};

// The nodes of the text in display order (depth first, parents before children), then
// the outer nodes, each after its parent; a parent's Children give the display order.
struct Hierarchy {
    std::vector<ObjectNode> Nodes;
    int ObjectCount() const { return static_cast<int>(Nodes.size()); }
    // The first node in display order whose Name equals name ignoring ASCII case, or -1.
    int FindNodeByName(std::string_view name) const;
    // Objects by their place, as a form stream holds them: the object (Component) node
    // at a position among the object nodes directly under parent, or -1; and a node's
    // position among the object nodes of its parent (collections and items between them
    // do not count), or -1 for a top-level node or one that is no object node. Outer
    // nodes are no object records of the text and do not count either.
    int ObjectChild(int parent, int position) const;
    int ObjectPosition(int node) const;
    // The node that the 0-based line of the scanned text gave, or -1.
    int NodeAtLine(int line) const;
    // Follows a change of the text that moved the lines from a line on by a number of
    // lines and left the objects as they are: the text's nodes at those lines move.
    void ShiftLines(int from, int by);
};

// Whether a node stands for the object a form stream writes with that name and class:
// the same name ignoring ASCII case, and for an unnamed node also the same class (the
// node's class text without an order modifier: "TLabel [2]" is TLabel).
bool NodeMatchesObject(const ObjectNode& node, std::string_view name, std::string_view className);

// Scans the lines of a form text (8-bit or UTF-8 bytes, without line ends). A line is a
// node when, trimmed, the first of the keywords "object", "inherited", "inline", " = <"
// and "item" that occurs in it starts it (" = <" may stand anywhere); its indentation,
// two blanks a level, places it under the node before it.
Hierarchy ScanHierarchy(const std::vector<std::string_view>& lines, HierarchyLookup& lookup);

// Column 0 of a node: its name, with the number of its children when it has any.
std::string NodeCaption(const ObjectNode& node);

// The type-ahead match: the typed text and the node's name agree, ignoring ASCII case,
// over the length of the shorter one (so an empty name matches anything).
bool IncrementalSearchMatches(std::string_view typed, std::string_view name);

}  // namespace fw
