// Building a form from text as the preview does: the root's rewrites, the collected
// messages, and what is left when the text or the reader stops.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/builtin.h"
#include "runtime/formbuild.h"
#include "runtime/registry.h"

namespace {

using namespace fw::rt;

TEST(PreviewRewrites, OnlyTheFirstMatchingLineAtTheThirdCharacterChanges) {
    const struct {
        const char* What;
        std::vector<std::string> In, Out;
    } cases[] = {
        {"root properties",
         {"object Form1: TForm1", "  ActiveControl = Edit1", "  BorderStyle = bsNone", "  FormStyle = fsMDIChild", "end"},
         {"object Form1: TForm1", "", "BorderStyle = bsSizeable", "FormStyle = fsNormal", "end"}},
        {"nested properties are indented further",
         {"object Form1: TForm1", "  object Panel1: TPanel", "    ActiveControl = Edit1", "    FormStyle = fsMDIChild",
          "    BorderStyle = bsNone", "  end", "end"},
         {"object Form1: TForm1", "  object Panel1: TPanel", "    ActiveControl = Edit1", "    FormStyle = fsMDIChild",
          "    BorderStyle = bsNone", "  end", "end"}},
        {"the word may go on, and only the first line is taken",
         {"  FormStyleX = 1", "  FormStyle = fsStayOnTop", "  ActiveControl = A", "  ActiveControl = B"},
         {"FormStyle = fsNormal", "  FormStyle = fsStayOnTop", "", "  ActiveControl = B"}},
        {"case-sensitive, and the word's first occurrence must start there",
         {"  formstyle = fsMDIChild", "  X = 'BorderStyle'", "  BorderStyle = bsDialog"},
         {"  formstyle = fsMDIChild", "  X = 'BorderStyle'", "BorderStyle = bsSizeable"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        std::vector<std::string> lines = c.In;
        ApplyPreviewRewrites(lines);
        EXPECT_EQ(lines, c.Out);
    }
}

TEST(PreviewBuild, MessagesAndWhatIsLeft) {
    const auto registry = MakeBuiltinRegistry();
    const struct {
        const char* What;
        const char* Text;
        std::vector<std::string> Messages;  // a message ending in "*" is a prefix
        std::size_t Components;
    } cases[] = {
        {"valid", "object Form1: TForm1\r\n  object B: TButton\r\n  end\r\nend\r\n", {}, 1},
        {"unknown class with children and an unknown property",
         "object Form1: TForm1\r\n  Glyph2 = 1\r\n  object B: TButton\r\n  end\r\n"
         "  object F: TFooButton\r\n    object C: TButton\r\n    end\r\n  end\r\nend\r\n",
         {"ERROR=Property Glyph2 does not exist", "ERROR=Class TFooButton not found"},
         3},
        {"an unknown class said once per form with its count",
         "object Form1: TForm1\r\n  object A: TFoo\r\n  end\r\n  object B: TBar\r\n  end\r\n"
         "  object C: TFoo\r\n  end\r\n  object D: TFoo\r\n  end\r\nend\r\n",
         {"ERROR=Class TFoo not found (3 objects)", "ERROR=Class TBar not found"},
         4},
        {"syntax error", "object Form1: TForm1\r\n  Left 8\r\nend\r\n", {"ERROR=Reader: *line 2"}, 0},
        {"empty text", "", {"ERROR=Reader: *"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        ObjectPtr form = CreateObject(registry->Of(cls::TForm), *registry);
        std::vector<std::string> messages;
        FormNames names;
        BuildFormFromLines(*form, SplitFormLines(c.Text), *registry, fw::CodePage::Default(), messages, &names);
        ASSERT_EQ(messages.size(), c.Messages.size()) << (messages.empty() ? "" : messages.front());
        for (std::size_t i = 0; i < messages.size(); ++i) {
            const std::string& want = c.Messages[i];
            const std::size_t star = want.find('*');
            if (star == std::string::npos) {
                EXPECT_EQ(messages[i], want);
            } else {
                EXPECT_EQ(messages[i].rfind(want.substr(0, star), 0), 0u) << messages[i];
                EXPECT_NE(messages[i].find(want.substr(star + 1)), std::string::npos) << messages[i];
            }
        }
        EXPECT_EQ(form->Components().size(), c.Components);
    }
}

// Each message says where it arose: the chain of objects (by name and by position
// among the objects of their parent), the property within the last one, or the line.
TEST(PreviewBuild, MessagesKnowTheirPlaces) {
    const auto registry = MakeBuiltinRegistry();
    const char* const text =
        "object Form1: TForm1\r\n"
        "  Glyph2 = 1\r\n"
        "  object Panel1: TPanel\r\n"
        "    object TLabel\r\n"
        "      Foo = 2\r\n"
        "    end\r\n"
        "    object F: TFooButton\r\n"
        "      object C: TButton\r\n"
        "      end\r\n"
        "    end\r\n"
        "    object D: TButton\r\n"
        "      Font.Bogus = 1\r\n"
        "    end\r\n"
        "  end\r\n"
        "  object ListView1: TListView\r\n"
        "    Columns = <\r\n"
        "      item\r\n"
        "        Bogus = 1\r\n"
        "      end>\r\n"
        "  end\r\n"
        "end\r\n";
    struct Expected {
        std::string Text, Path, Property;
        std::vector<int> Positions;
    };
    const std::vector<Expected> expected = {
        {"ERROR=Property Glyph2 does not exist", "Form1", "Glyph2", {0}},
        {"ERROR=Property Foo does not exist", "Form1.Panel1.(TLabel)", "Foo", {0, 0, 0}},
        {"ERROR=Class TFooButton not found", "Form1.Panel1.F", "", {0, 0, 1}},
        // The records inside a stand-in count, so the ones after it keep their places.
        {"ERROR=Property Font.Bogus does not exist", "Form1.Panel1.D", "Font.Bogus", {0, 0, 2}},
        {"ERROR=Property Bogus does not exist", "Form1.ListView1", "Columns[0].Bogus", {0, 1}},
    };
    ObjectPtr form = CreateObject(registry->Of(cls::TForm), *registry);
    // The root read under another name keeps the written one in its place.
    FormNames names;
    names.Add("Form1");
    std::vector<BuildMessage> messages;
    std::vector<ReadObject> records;
    BuildFormFromLines(*form, SplitFormLines(text), *registry, fw::CodePage::Default(), messages, &names, &records);
    ASSERT_EQ(form->Name(), "Form1_1");
    ASSERT_EQ(messages.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].Text);
        EXPECT_EQ(messages[i].Text, expected[i].Text);
        EXPECT_EQ(ObjectPathText(messages[i].Place), expected[i].Path);
        EXPECT_EQ(messages[i].Place.Property, expected[i].Property);
        std::vector<int> positions;
        for (const MessagePlace::Step& step : messages[i].Place.Objects) positions.push_back(step.Position);
        EXPECT_EQ(positions, expected[i].Positions);
        EXPECT_EQ(messages[i].Place.Line, 0);
    }
    // Every record met, each with what it became: an object of an unknown class is
    // kept as a stand-in.
    ASSERT_EQ(records.size(), 7u);
    EXPECT_EQ(records[0].Live, form.get());
    EXPECT_EQ(records[3].Name, "F");
    ASSERT_NE(records[3].Live, nullptr);
    EXPECT_TRUE(records[3].Live->GetClass().Has(CfStandIn));
    EXPECT_EQ(records[4].Live->Parent(), records[3].Live);
    EXPECT_EQ(records[4].Parent, 3);
    EXPECT_EQ(records[5].Live, form->FindOwnedComponent("D"));
}

// A syntax error names the line of the editor's text, also below the root's
// ActiveControl line, which the preview leaves out.
TEST(PreviewBuild, ASyntaxErrorNamesTheEditorsLine) {
    const auto registry = MakeBuiltinRegistry();
    ObjectPtr form = CreateObject(registry->Of(cls::TForm), *registry);
    std::vector<BuildMessage> messages;
    BuildFormFromLines(*form, SplitFormLines("object Form1: TForm1\r\n  ActiveControl = B\r\n  Left 8\r\nend\r\n"),
                       *registry, fw::CodePage::Default(), messages, nullptr);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Text.rfind("ERROR=Reader: ", 0), 0u) << messages[0].Text;
    EXPECT_NE(messages[0].Text.find("line 3"), std::string::npos) << messages[0].Text;
    EXPECT_EQ(messages[0].Place.Line, 3);
    EXPECT_TRUE(messages[0].Place.Objects.empty());
}

TEST(PreviewBuild, SplitLinesKeepsEveryLine) {
    EXPECT_EQ(SplitFormLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitFormLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(SplitFormLines("").empty());
}

}  // namespace
