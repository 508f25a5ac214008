// The object tree's line scan over small form texts, with a stand-in for the live
// preview's lookups.

#include <gtest/gtest.h>

#include <map>

#include "codec/textlines.h"
#include "document/objectscan.h"

namespace {

using fw::NodeKind;

// The texts are literals: the lines view them.
std::vector<std::string_view> Lines(const char* text) {
    return fw::TextLines(text);
}

// Knows TListView as a control with a Columns collection of TListColumn items.
class FakePreview : public fw::HierarchyLookup {
public:
    std::map<std::string, std::vector<std::string>> Items;  // owner -> display names

    std::optional<std::string> CollectionType(std::string_view owner, std::string_view property) override {
        if (Items.count(std::string(owner)) && property == "Columns") return "TListColumns";
        return std::nullopt;
    }
    std::optional<std::pair<std::string, std::string>> CollectionItem(std::string_view owner,
                                                                      std::string_view property,
                                                                      int index) override {
        auto it = Items.find(std::string(owner));
        if (it == Items.end() || property != "Columns" || index >= static_cast<int>(it->second.size()))
            return std::nullopt;
        return std::make_pair(it->second[static_cast<std::size_t>(index)], std::string("TListColumn"));
    }
    bool IsControlClass(std::string_view className) override {
        return className == "TListView" || className == "TPanel";
    }
};

const char* const ListViewForm =
    "object Form1: TForm1\n"
    "  object ListView1: TListView\n"
    "    Columns = <\n"
    "      item\n"
    "        Caption = 'Name'\n"
    "      end\n"
    "      item\n"
    "        Caption = 'Size'\n"
    "      end>\n"
    "  end\n"
    "end\n";

struct NodeRow {
    std::string Caption, ClassName;
    NodeKind Kind;
    int Image, Parent;
};

void ExpectNodes(const fw::Hierarchy& h, const std::vector<NodeRow>& expected) {
    ASSERT_EQ(h.ObjectCount(), static_cast<int>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("node " + std::to_string(i));
        const auto& n = h.Nodes[i];
        EXPECT_EQ(fw::NodeCaption(n), expected[i].Caption);
        EXPECT_EQ(n.ClassName, expected[i].ClassName);
        EXPECT_EQ(n.Kind, expected[i].Kind);
        EXPECT_EQ(n.ImageIndex, expected[i].Image);
        EXPECT_EQ(n.Parent, expected[i].Parent);
    }
}

TEST(ScanHierarchy, BuildsTreeWithLiveCollectionLookups) {
    FakePreview preview;
    preview.Items["ListView1"] = {"Name", "Size"};
    ExpectNodes(fw::ScanHierarchy(Lines(ListViewForm), preview),
                {{"Form1 (1)", "TForm1", NodeKind::Root, 1, -1},
                 {"ListView1 (1)", "TListView", NodeKind::Component, 2, 0},
                 {"Columns (2)", "TListColumns", NodeKind::Collection, 3, 1},
                 {"0 - Name", "TListColumn", NodeKind::Item, 0, 2},
                 {"1 - Size", "TListColumn", NodeKind::Item, 0, 2}});
}

TEST(ScanHierarchy, FallsBackToPlainTextsWithoutThePreview) {
    fw::HierarchyLookup nothing;
    ExpectNodes(fw::ScanHierarchy(Lines(ListViewForm), nothing),
                {{"Form1 (1)", "TForm1", NodeKind::Root, 1, -1},
                 {"ListView1 (1)", "TListView", NodeKind::Component, 0, 0},
                 {"Columns (2)", "TCollection", NodeKind::Collection, 3, 1},
                 {"0 - item", "TCollectionItem", NodeKind::Item, 0, 2},
                 {"1 - item", "TCollectionItem", NodeKind::Item, 0, 2}});
}

TEST(ScanHierarchy, ColonInItemDisplayNameBecomesUnderscore) {
    FakePreview preview;
    preview.Items["ListView1"] = {"a:b"};
    auto h = fw::ScanHierarchy(Lines(ListViewForm), preview);
    EXPECT_EQ(h.Nodes[3].Name, "0 - a_b");
    EXPECT_EQ(h.Nodes[3].ClassName, "TListColumn");
}

TEST(ScanHierarchy, LineCases) {
    struct Case {
        const char* Text;
        std::vector<NodeRow> Nodes;
    };
    const Case cases[] = {
        // An empty collection has no children.
        {"object F: TF\n  object L: TListView\n    Columns = <>\n  end\nend\n",
         {{"F (1)", "TF", NodeKind::Root, 1, -1},
          {"L (1)", "TListView", NodeKind::Component, 2, 0},
          {"Columns", "TCollection", NodeKind::Collection, 3, 1}}},
        // Inherited and inline objects are components like the others; the objects
        // inside an inline frame hang under the frame, not under the sibling before it.
        {"inherited F: TF\n  inherited Panel1: TPanel\n  end\n  inline Frame1: TFrame1\n"
         "    object B: TButton\n    end\n  end\nend\n",
         {{"F (2)", "TF", NodeKind::Root, 1, -1},
          {"Panel1", "TPanel", NodeKind::Component, 2, 0},
          {"Frame1 (1)", "TFrame1", NodeKind::Component, 0, 0},
          {"B", "TButton", NodeKind::Component, 0, 2}}},
        // A header's name or class may hold a lowercase keyword; the keyword that starts
        // the line decides, so the object stays and its children stay under it, at any depth.
        {"inherited F: TF\n  inline frobjects: TfrObjects\n    inherited L: TLabel\n    end\n"
         "    inline frinner: TfrInline\n      inherited inheritedGrid: TGrid\n      end\n    end\n"
         "  end\n  object B: TButton\n  end\nend\n",
         {{"F (2)", "TF", NodeKind::Root, 1, -1},
          {"frobjects (2)", "TfrObjects", NodeKind::Component, 0, 0},
          {"L", "TLabel", NodeKind::Component, 0, 1},
          {"frinner (1)", "TfrInline", NodeKind::Component, 0, 1},
          {"inheritedGrid", "TGrid", NodeKind::Component, 0, 3},
          {"B", "TButton", NodeKind::Component, 0, 0}}},
        {"object F: TF\n  inherited dsobject: TDataSource\n  end\n  object initem: TItemList\n  end\nend\n",
         {{"F (2)", "TF", NodeKind::Root, 1, -1},
          {"dsobject", "TDataSource", NodeKind::Component, 0, 0},
          {"initem", "TItemList", NodeKind::Component, 0, 0}}},
        // The keyword must start the line, as the other keywords must.
        {"object F: TF\n  Hint = 'inline X: TY'\nend\n", {{"F", "TF", NodeKind::Root, 1, -1}}},
        // The order modifier stays in the class name, which then names no class.
        {"object F: TF\n  object Label1: TLabel [2]\n  end\nend\n",
         {{"F (1)", "TF", NodeKind::Root, 1, -1}, {"Label1", "TLabel [2]", NodeKind::Component, 0, 0}}},
        // An unnamed object has an empty name and the whole text as its class.
        {"object F: TF\n  object TLabel\n  end\nend\n",
         {{"F (1)", "TF", NodeKind::Root, 1, -1}, {"", "TLabel", NodeKind::Component, 0, 0}}},
        // "object" inside a property value is not at the line's start.
        {"object F: TF\n  Caption = 'my object = <x'\nend\n", {{"F", "TF", NodeKind::Root, 1, -1}}},
        // No object line at all.
        {"  Left = 1\nend\n", {}},
        // A jump of several levels nests only one level deeper; a later shallower line
        // climbs one tree level per level of indentation.
        {"object F: TF\n      object A: TA\n      end\n  object B: TB\n  end\nend\n",
         {{"F (1)", "TF", NodeKind::Root, 1, -1},
          {"A", "TA", NodeKind::Component, 0, 0},
          {"B", "TB", NodeKind::Component, 0, -1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        FakePreview preview;  // knows TListView and TPanel as controls, no collections
        ExpectNodes(fw::ScanHierarchy(Lines(c.Text), preview), c.Nodes);
    }
}

TEST(ScanHierarchy, ItemCounterIsSharedWithNestedCollections) {
    const char* text =
        "object F: TF\n"
        "  object G: TG\n"
        "    Outer = <\n"
        "      item\n"
        "        Inner = <\n"
        "          item\n"
        "          end\n"
        "          item\n"
        "          end>\n"
        "      end\n"
        "      item\n"
        "      end>\n"
        "  end\n"
        "end\n";
    fw::HierarchyLookup nothing;
    auto h = fw::ScanHierarchy(Lines(text), nothing);
    ASSERT_EQ(h.ObjectCount(), 8);
    EXPECT_EQ(h.Nodes[3].Name, "0 - item");  // first outer item
    EXPECT_EQ(h.Nodes[5].Name, "0 - item");  // inner items restart at 0 ...
    EXPECT_EQ(h.Nodes[6].Name, "1 - item");
    EXPECT_EQ(h.Nodes[7].Name, "2 - item");  // ... and the outer count goes on from there
    EXPECT_EQ(h.Nodes[7].Parent, 2);
}

TEST(ScanHierarchy, FindNodeByNameInDisplayOrder) {
    FakePreview preview;
    auto h = fw::ScanHierarchy(Lines(ListViewForm), preview);
    EXPECT_EQ(h.FindNodeByName("listview1"), 1);
    EXPECT_EQ(h.FindNodeByName("COLUMNS"), 2);
    EXPECT_EQ(h.FindNodeByName("Button1"), -1);
}

TEST(IncrementalSearch, ComparesOverTheShorterLength) {
    EXPECT_TRUE(fw::IncrementalSearchMatches("but", "Button1"));
    EXPECT_TRUE(fw::IncrementalSearchMatches("Button12", "Button1"));  // the name is a prefix of the text
    EXPECT_TRUE(fw::IncrementalSearchMatches("x", ""));                // an empty name matches anything
    EXPECT_FALSE(fw::IncrementalSearchMatches("bx", "Button1"));
}

}  // namespace
