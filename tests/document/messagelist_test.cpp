// The rows of the preview's message list: each message with its image, the object it is
// about and the line of the text it leads to.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec/textlines.h"
#include "document/messagelist.h"
#include "runtime/builtin.h"
#include "runtime/formbuild.h"

namespace {

using fw::rt::MessagePlace;

const char* const Form =
    "object Form1: TForm1\r\n"  // 0
    "  Glyph2 = 1\r\n"
    "  object Panel1: TPanel\r\n"  // 2
    "    object TLabel\r\n"
    "      Foo = 2\r\n"  // 4
    "    end\r\n"
    "    object F: TFooButton\r\n"  // 6
    "      object C: TButton\r\n"
    "      end\r\n"
    "    end\r\n"
    "    object D: TButton\r\n"  // 10
    "      Font.Bogus = 1\r\n"
    "    end\r\n"
    "  end\r\n"
    "  object ListView1: TListView\r\n"  // 14
    "    Columns = <\r\n"
    "      item\r\n"
    "        Caption = 'a'\r\n"
    "      end\r\n"
    "      item\r\n"  // 19
    "        Bogus = 1\r\n"
    "      end>\r\n"
    "  end\r\n"
    "end\r\n";

TEST(MessageRows, EachBuildMessageLeadsToItsLine) {
    const auto registry = fw::rt::MakeBuiltinRegistry();
    const std::vector<std::string_view> lines = fw::TextLines(Form);
    fw::rt::ObjectPtr form = fw::rt::CreateObject(registry->Of(fw::rt::cls::TForm), *registry);
    std::vector<fw::rt::BuildMessage> built;
    fw::rt::BuildFormFromText(*form, Form, *registry, fw::CodePage::Default(), built, nullptr);
    std::vector<std::string> texts;
    std::vector<MessagePlace> places;
    for (const fw::rt::BuildMessage& m : built) {
        texts.push_back(m.Text);
        places.push_back(m.Place);
    }
    struct Row {
        std::string Caption, Object;
        int Line;
    };
    const std::vector<Row> expected = {
        {"Property Glyph2 does not exist", "Form1", 1},
        {"Property Foo does not exist", "Form1.Panel1.(TLabel)", 4},
        {"Class TFooButton not found", "Form1.Panel1.F", 6},
        {"Property Font.Bogus does not exist", "Form1.Panel1.D", 11},
        {"Property Bogus does not exist", "Form1.ListView1", 20},
    };
    const std::vector<fw::MessageRow> rows = fw::MessageRows(texts, places, lines);
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(expected[i].Caption);
        EXPECT_EQ(rows[i].Caption, expected[i].Caption);
        EXPECT_EQ(rows[i].Object, expected[i].Object);
        EXPECT_EQ(rows[i].Line, expected[i].Line);
        EXPECT_EQ(rows[i].Image, fw::ImageError);
    }
}

TEST(LineOfPlace, FallsBackToWhatTheTextStillHas) {
    const std::vector<std::string_view> lines = fw::TextLines(Form);
    fw::HierarchyLookup plain;
    const fw::Hierarchy hierarchy = fw::ScanHierarchy(lines, plain);
    using Steps = std::vector<MessagePlace::Step>;
    const Steps root = {{"Form1", "TForm1", 0}};
    const Steps panel = {{"Form1", "TForm1", 0}, {"Panel1", "TPanel", 0}};
    const struct {
        const char* What;
        MessagePlace Place;
        int Line;
    } cases[] = {
        {"a line of its own (1-based)", {{}, "", 3}, 2},
        {"a line past the end", {{}, "", 40}, -1},
        {"no object", {{}, "", 0}, -1},
        {"a property the text does not write: the object's line",
         {{root[0], {"Panel1", "TPanel", 0}, {"D", "TButton", 2}}, "Width", 0},
         10},
        {"a named object at another place: found by its name",
         {{root[0], {"Panel1", "TPanel", 0}, {"D", "TButton", 7}}, "Font.Bogus", 0},
         11},
        {"an unnamed object at a place of another class: the object above it",
         {{panel[0], panel[1], {"", "TEdit", 0}}, "Foo", 0},
         2},
        {"an item the collection does not have: the collection's line",
         {{root[0], {"ListView1", "TListView", 1}}, "Columns[5].Bogus", 0},
         15},
        {"the root alone: its line", {root, "", 0}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(fw::LineOfPlace(hierarchy, lines, c.Place), c.Line);
    }
}

TEST(MessageRows, KindsAndMessagesWithoutAPlace) {
    const std::vector<fw::MessageRow> rows =
        fw::MessageRows({"ERROR=a=b", "warn=w", "Info=i", "NOTE=n", "bare"}, {}, {});
    ASSERT_EQ(rows.size(), 5u);
    const struct {
        const char* Caption;
        int Image;
    } expected[] = {
        {"a=b", fw::ImageError}, {"w", fw::ImageWarning}, {"i", fw::ImageInfo}, {"n", -1}, {"", -1}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].Caption, expected[i].Caption);
        EXPECT_EQ(rows[i].Image, expected[i].Image);
        EXPECT_EQ(rows[i].Object, "");
        EXPECT_EQ(rows[i].Line, -1);
    }
}

}  // namespace
