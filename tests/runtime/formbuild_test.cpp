// Building a form from text as the preview does: the collected messages, what is left
// when the text or the reader stops, and the root made a normal window.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/builtin.h"
#include "runtime/formbuild.h"
#include "runtime/propertyaccess.h"
#include "runtime/registry.h"

namespace {

using namespace fw::rt;

// The preview shows a form as a normal, sizeable window among others, and draws the
// frame the form asked for: only the root's own values change.
TEST(NormalWindow, TheRootBecomesASizeableWindowAndSaysTheFrameItAskedFor) {
    const auto registry = MakeBuiltinRegistry();
    const struct {
        const char* What;
        const char* Text;
        const char* Asked;
    } cases[] = {
        {"root properties",
         "object Form1: TForm1\n  ActiveControl = Edit1\n  BorderStyle = bsNone\n  FormStyle = fsMDIChild\n"
         "  object Edit1: TEdit\n  end\nend\n",
         "bsNone"},
        {"the root's own, with trailing blanks", "object F: TForm\n  BorderStyle = bsDialog  \nend\n",
         "bsDialog"},
        {"none stored: the default frame", "object F: TForm\n  Caption = 'x'\nend\n", "bsSizeable"},
        // A nested control's BorderStyle is not the form's, and stays as it is.
        {"nested properties are left alone",
         "object F: TForm\n  object P: TPanel\n    BorderStyle = bsSingle\n  end\nend\n", "bsSizeable"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        ObjectPtr form = CreateObject(registry->Of(cls::TForm), *registry);
        std::vector<std::string> messages;
        BuildFormFromText(*form, c.Text, *registry, fw::CodePage::Default(), messages);
        EXPECT_TRUE(messages.empty()) << messages.front();
        EXPECT_EQ(MakeNormalWindow(*form), c.Asked);
        EXPECT_EQ(EnumName(*form, "BorderStyle"), "bsSizeable");
        EXPECT_EQ(EnumName(*form, "FormStyle"), "fsNormal");
        EXPECT_EQ(form->ObjectValue(*form->FindProperty("ActiveControl")), nullptr);
        if (Object* panel = form->FindOwnedComponent("P"))
            EXPECT_EQ(EnumName(*panel, "BorderStyle"), "bsSingle");
    }
    // A frame's BorderStyle is a control's: it is said, and left as it is.
    ObjectPtr frame = CreateObject(registry->Of(cls::TFrame), *registry);
    std::vector<std::string> messages;
    BuildFormFromText(*frame, "object Fr: TFrame\n  TabOrder = 1\nend\n", *registry, fw::CodePage::Default(),
                      messages);
    const std::string before = EnumName(*frame, "BorderStyle");
    EXPECT_EQ(MakeNormalWindow(*frame), before);
    EXPECT_EQ(EnumName(*frame, "BorderStyle"), before);
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
        BuildFormFromText(*form, c.Text, *registry, fw::CodePage::Default(), messages, &names);
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
    BuildFormFromText(*form, text, *registry, fw::CodePage::Default(), messages, &names, &records);
    ASSERT_EQ(form->Name(), "Form1_1");
    ASSERT_EQ(messages.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].Text);
        EXPECT_EQ(messages[i].Text, expected[i].Text);
        EXPECT_EQ(ObjectPathText(messages[i].Place), expected[i].Path);
        EXPECT_EQ(messages[i].Place.Property, expected[i].Property);
        std::vector<int> positions;
        for (const MessagePlace::Step& step : messages[i].Place.Objects)
            positions.push_back(step.Position);
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
    BuildFormFromText(*form, "object Form1: TForm1\r\n  ActiveControl = B\r\n  Left 8\r\nend\r\n", *registry,
                      fw::CodePage::Default(), messages, nullptr);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Text.rfind("ERROR=Reader: ", 0), 0u) << messages[0].Text;
    EXPECT_NE(messages[0].Text.find("line 3"), std::string::npos) << messages[0].Text;
    EXPECT_EQ(messages[0].Place.Line, 3);
    EXPECT_TRUE(messages[0].Place.Objects.empty());
}

}  // namespace

// A value written to a built form's text is read into the live object as a build would
// read it, without reading the form again.
TEST(PropertiesInto, ValuesGoIntoTheLiveObjectAsTheReaderTakesThem) {
    const auto registry = MakeBuiltinRegistry();
    const char* text =
        "object Form1: TForm\n  Caption = 'Form'\n"
        "  object Button1: TButton\n    Caption = 'Old'\n    Left = 8\n  end\n"
        "  object PopupMenu1: TPopupMenu\n  end\nend\n";
    const auto value = [](const Object& object, std::string_view name) -> const Value& {
        return object.Get(*object.FindProperty(name));
    };
    const struct {
        const char* What;
        const char* Record;
        bool Taken;
        std::function<bool(const Object& button)> Check;
    } cases[] = {
        {"a string, with #codes", "object Button1: TButton\n  Caption = 'O'#39'K'\nend\n", true,
         [&](const Object& b) { return std::get<std::string>(value(b, "Caption")) == "O'K"; }},
        {"a number, CRLF lines", "object Button1: TButton\r\n  Left = 120\r\nend\r\n", true,
         [&](const Object& b) { return std::get<std::int64_t>(value(b, "Left")) == 120; }},
        {"a nested set", "object Button1: TButton\n  Font.Style = [fsBold, fsItalic]\nend\n", true,
         [&](const Object& b) { return std::get<std::int64_t>(value(*b.SubObject("Font"), "Style")) == 3; }},
        // References are looked up among the form's components, as in a build.
        {"a reference to another component", "object Button1: TButton\n  PopupMenu = PopupMenu1\nend\n", true,
         [&](const Object& b) {
             const Object* menu = b.ObjectValue(*b.FindProperty("PopupMenu"));
             return menu && menu->Name() == "PopupMenu1";
         }},
        // A preview has no methods: an event is taken, and stays unassigned.
        {"an event", "object Button1: TButton\n  OnClick = Button1Click\nend\n", true,
         [](const Object&) { return true; }},
        // The record's name is not taken: the object keeps its own.
        {"another name in the record", "object Other: TButton\n  Top = 3\nend\n", true,
         [](const Object& b) { return b.Name() == "Button1"; }},
        {"an unknown property", "object Button1: TButton\n  Colour = clRed\nend\n", false, nullptr},
        {"a value of the wrong kind", "object Button1: TButton\n  Left = 'wide'\nend\n", false, nullptr},
        {"an object inside", "object Button1: TButton\n  object L: TLabel\n  end\nend\n", false, nullptr},
        {"text that does not convert", "object Button1: TButton\n  Left = \nend\n", false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        ObjectPtr form = CreateObject(registry->Of(cls::TForm), *registry);
        std::vector<std::string> messages;
        BuildFormFromText(*form, text, *registry, fw::CodePage::Default(), messages);
        ASSERT_TRUE(messages.empty()) << messages.front();
        Object& button = *form->FindOwnedComponent("Button1");
        std::string error;
        EXPECT_EQ(ReadPropertiesInto(button, *form, c.Record, *registry, fw::CodePage::Default(), error),
                  c.Taken);
        EXPECT_EQ(error.empty(), c.Taken) << error;
        if (c.Check) {
            EXPECT_TRUE(c.Check(button));
        }
        EXPECT_EQ(form->Components().size(), 2u);
    }
}
