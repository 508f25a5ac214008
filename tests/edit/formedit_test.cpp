#include <gtest/gtest.h>

#include <functional>

#include "edit/formedit.h"
#include "runtime/registry.h"

namespace fw::edit {
namespace {

rt::ClassRegistry& Registry() {
    static const std::unique_ptr<rt::ClassRegistry> registry = rt::MakeBuiltinRegistry();
    return *registry;
}

// The text with every LF made a CR LF, so that fixtures can be written plainly.
std::string Crlf(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

const std::string Form = Crlf(R"(object Form1: TForm
  Left = 0
  Top = 0
  Caption = 'Form1'
  ClientHeight = 200
  ClientWidth = 300
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = [fsBold]
  OldCreateOrder = False
  PixelsPerInch = 96
  TextHeight = 13
  object Button1: TButton
    Left = 8
    Top = 8
    Width = 75
    Height = 25
    Caption = 'OK'
    TabOrder = 0
    OnClick = Button1Click
  end
  object Panel1: TPanel
    Left = 8
    Top = 40
    Width = 185
    Height = 41
    Anchors = [akLeft, akTop, akRight]
    Color = clRed
    Visible = False
    TabOrder = 1
    object Memo1: TMemo
      Left = 4
      Top = 4
      Width = 100
      Height = 30
      Lines.Strings = (
        'one'
        'two')
      TabOrder = 0
    end
    object TBitBtn
      Left = 4
      Top = 40
      Width = 75
      Height = 25
      Glyph.Data = {
        0A000000000000000000000000000000000000000000000000000000000000000000
        0000}
      TabOrder = 1
    end
  end
  object StatusBar1: TStatusBar
    Left = 0
    Top = 181
    Width = 300
    Height = 19
    Panels = <
      item
        Text = 'Ready'
        Width = 80
      end
      item
        Width = 120
      end>
  end
end
)");

// The text with the one place that holds from (a unique piece, written with LF line
// ends as the fixtures are) holding to instead.
std::string Replaced(std::string_view text, std::string_view from, std::string_view to) {
    const std::string what = Crlf(from);
    const std::size_t at = text.find(what);
    EXPECT_NE(at, std::string::npos) << from;
    EXPECT_EQ(text.find(what, at + 1), std::string::npos) << from;
    if (at == std::string::npos) return std::string(text);
    return std::string(text.substr(0, at)) + Crlf(to) + std::string(text.substr(at + what.size()));
}

struct SetCase {
    const char* What;
    const char* Object;
    const char* Property;
    const char* Value;
    std::string Expected;
    // The value the result reports as written (nullopt: removed); nothing for an edit
    // that changes nothing. The object's path and the property as the text spells it.
    std::optional<std::string> Reported;
    const char* ReportedObject;
    const char* ReportedProperty;
};

TEST(FormEditorSet, MakesTheSmallestChangeToTheText) {
    const SetCase cases[] = {
        {"replaces a value in place", "Button1", "Caption", "'Cancel'",
         Replaced(Form, "Caption = 'OK'", "Caption = 'Cancel'"), "'Cancel'", "Button1", "Caption"},
        {"writes the value as the writer does", "Button1", "Caption", "'It''s' + #13#10 + 'ok'",
         Replaced(Form, "Caption = 'OK'", "Caption = 'It'#39's'#13#10'ok'"), "'It'#39's'#13#10'ok'",
         "Button1", "Caption"},
        {"keeps an equal value", "Button1", "Caption", "'OK'", Form, std::nullopt, "", ""},
        {"writes a number as the writer does", "Button1", "Left", "$10",
         Replaced(Form, "Left = 8\n    Top = 8\n    Width = 75", "Left = 16\n    Top = 8\n    Width = 75"),
         "16", "Button1", "Left"},
        {"inserts in the class's order, spelt as the class spells it", "Button1", "hint", "'Press'",
         Replaced(Form, "    Height = 25\n    Caption = 'OK'",
                  "    Height = 25\n    Hint = 'Press'\n    Caption = 'OK'"),
         "'Press'", "Button1", "Hint"},
        {"inserts after what another object writes before it", "Button1", "Font.Style", "[fsItalic]",
         Replaced(Form, "    Caption = 'OK'\n", "    Caption = 'OK'\n    Font.Style = [fsItalic]\n"),
         "[fsItalic]", "Button1", "Font.Style"},
        {"inserts an item's property", "StatusBar1", "Panels[1].Text", "'Two'",
         Replaced(Form, "        Width = 120", "        Text = 'Two'\n        Width = 120"), "'Two'",
         "StatusBar1", "Panels[1].Text"},
        {"replaces an item's value", "StatusBar1", "Panels[0].Width", "90",
         Replaced(Form, "Width = 80", "Width = 90"), "90", "StatusBar1", "Panels[0].Width"},
        {"removes a value set to its default", "Panel1", "Visible", "True",
         Replaced(Form, "    Visible = False\n", ""), std::nullopt, "Panel1", "Visible"},
        {"removes a set at its default", "Panel1", "Anchors", "[akTop, akLeft]",
         Replaced(Form, "    Anchors = [akLeft, akTop, akRight]\n", ""), std::nullopt, "Panel1", "Anchors"},
        {"removes a named colour at its default", "Panel1", "Color", "clBtnFace",
         Replaced(Form, "    Color = clRed\n", ""), std::nullopt, "Panel1", "Color"},
        {"keeps a set that has no default", "Form1", "Font.Style", "[]",
         Replaced(Form, "Font.Style = [fsBold]", "Font.Style = []"), "[]", "Form1", "Font.Style"},
        {"adds nothing for a default", "Button1", "Enabled", "True", Form, std::nullopt, "", ""},
        {"replaces a string list whole", "Memo1", "Lines.Strings", "('three')",
         Replaced(Form, "(\n        'one'\n        'two')", "(\n        'three')"), "(\r\n  'three')",
         "Memo1", "Lines.Strings"},
        {"replaces hex data whole", "Panel1.#1", "Glyph.Data", "{0A00}",
         Replaced(
             Form,
             "{\n        0A000000000000000000000000000000000000000000000000000000000000000000\n        0000}",
             "{0A00}"),
         "{0A00}", "Panel1.#1", "Glyph.Data"},
        {"replaces a whole collection", "StatusBar1", "Panels", "<item Width = 10 end>",
         Replaced(Form,
                  "<\n      item\n        Text = 'Ready'\n        Width = 80\n      end\n      item\n        "
                  "Width = "
                  "120\n      end>",
                  "<\n      item\n        Width = 10\n      end>"),
         "<\r\n  item\r\n    Width = 10\r\n  end>", "StatusBar1", "Panels"},
    };
    for (const SetCase& c : cases) {
        SCOPED_TRACE(c.What);
        const FormEditor editor(Form, CodePage::Default(), &Registry());
        const EditResult result = editor.SetProperty(c.Object, c.Property, c.Value);
        EXPECT_EQ(ApplyEdits(Form, result.Edits), c.Expected);
        EXPECT_EQ(result.Empty(), c.Expected == Form);
        EXPECT_EQ(result.Changes.size(), result.Empty() ? 0u : 1u);
        const std::vector<PropertyChange> reported =
            result.Empty() ? std::vector<PropertyChange>{}
                           : std::vector<PropertyChange>{{c.ReportedObject, c.ReportedProperty, c.Reported}};
        EXPECT_EQ(result.Properties, reported);
        EXPECT_FALSE(result.Structural);
    }
}

// Without the registry's help: the order the file itself uses, the end of the
// properties, the object's indentation and the text's own line ends.
struct PlainCase {
    const char* What;
    std::string Text;
    const char* Object;
    const char* Property;
    const char* Value;
    std::string Expected;
};

TEST(FormEditorSet, PlacesNewLinesAsTheFileDoes) {
    const std::string learned =
        "object F: TFoo\n  object A: TBar\n    X = 1\n    Y = 2\n    Z = 3\n  end\n"
        "  object B: TBar\n    X = 1\n    Z = 3\n  end\nend\n";
    const std::string lonely = "object F: TFoo\r  object A: TBar\r  end\rend\r";
    const PlainCase cases[] = {
        {"after what another object writes before it", learned, "B", "Y", "5",
         "object F: TFoo\n  object A: TBar\n    X = 1\n    Y = 2\n    Z = 3\n  end\n"
         "  object B: TBar\n    X = 1\n    Y = 5\n    Z = 3\n  end\nend\n"},
        {"before what another object writes after it", learned, "B", "W", "0",
         "object F: TFoo\n  object A: TBar\n    X = 1\n    Y = 2\n    Z = 3\n  end\n"
         "  object B: TBar\n    X = 1\n    Z = 3\n    W = 0\n  end\nend\n"},
        {"after the last property, before the children", learned, "F", "Tag", "7",
         "object F: TFoo\n  Tag = 7\n  object A: TBar\n    X = 1\n    Y = 2\n    Z = 3\n  end\n"
         "  object B: TBar\n    X = 1\n    Z = 3\n  end\nend\n"},
        {"indented below the header, with a lone CR", lonely, "A", "Tag", "'x'",
         "object F: TFoo\r  object A: TBar\r    Tag = 'x'\r  end\rend\r"},
        {"an unnamed object by its position",
         "object F: TFoo\n  object TBar\n  end\n  object TBar\n  end\nend\n", "F.#1", "Tag", "1",
         "object F: TFoo\n  object TBar\n  end\n  object TBar\n    Tag = 1\n  end\nend\n"},
        {"values over several lines keep the object's indentation", "object F: TFoo\n  Tag = 1\nend\n", "F",
         "L", "( 'a' 'b' )", "object F: TFoo\n  Tag = 1\n  L = (\n    'a'\n    'b')\nend\n"},
        {"a collection item without properties", "object F: TFoo\n  C = <\n    item\n    end>\nend\n", "F",
         "C[0].Tag", "3", "object F: TFoo\n  C = <\n    item\n      Tag = 3\n    end>\nend\n"},
    };
    for (const PlainCase& c : cases) {
        SCOPED_TRACE(c.What);
        const FormEditor editor(c.Text, CodePage::Default());
        EXPECT_EQ(ApplyEdits(c.Text, editor.SetProperty(c.Object, c.Property, c.Value).Edits), c.Expected);
    }
}

// A form's own class (TForm1) is never registered: its root is known as the form it is
// built as, so its defaults and properties are a form's.
TEST(FormEditorSet, KnowsTheRootOfAnUnregisteredFormClassAsAForm) {
    const std::string text = "object Form1: TForm1\r\n  Caption = 'Hi'\r\n  Color = clRed\r\nend\r\n";
    const FormEditor editor(text, CodePage::Default(), &Registry());
    EXPECT_EQ(ApplyEdits(text, editor.SetProperty("Form1", "Caption", "''").Edits),
              "object Form1: TForm1\r\n  Color = clRed\r\nend\r\n");
    EXPECT_EQ(ApplyEdits(text, editor.SetProperty("Form1", "Color", "clBtnFace").Edits),
              "object Form1: TForm1\r\n  Caption = 'Hi'\r\nend\r\n");
    EXPECT_THROW(editor.SetProperty("Form1", "Colour", "clRed"), EditError);
    // A data module is known by what it stores.
    const std::string module =
        "object DM: TDM\r\n  OldCreateOrder = False\r\n  Height = 150\r\n  Width = 215\r\nend\r\n";
    EXPECT_THROW(FormEditor(module, CodePage::Default(), &Registry()).SetProperty("DM", "Caption", "'x'"),
                 EditError);
    // ... before its first child, whose own properties (a Caption) tell nothing of it.
    const std::string withChild =
        "object DM: TDM\r\n  OldCreateOrder = False\r\n  Height = 150\r\n  Width = 215\r\n"
        "  object Label1: TLabel\r\n    Caption = 'x'\r\n  end\r\nend\r\n";
    EXPECT_THROW(FormEditor(withChild, CodePage::Default(), &Registry()).SetProperty("DM", "Caption", "'x'"),
                 EditError);
}

TEST(FormEditorSet, WritesValuesAsAConversionDoesAtTheObjectsDepth) {
    const std::string text = "object F: TFoo\n  object A: TBar\n    Tag = 1\n  end\nend\n";
    const FormEditor editor(text, CodePage::Default());
    const struct {
        const char* Value;
        const char* Written;  // the lines of Tag
    } cases[] = {
        {"$FF", "    Tag = 255\n"},
        {"{0a0b}", "    Tag = {0A0B}\n"},
        {"( 1 'two' )", "    Tag = (\n      1\n      'two')\n"},
        {"< item Y = 1 end item end >",
         "    Tag = <\n      item\n        Y = 1\n      end\n      item\n      end>\n"},
        {"'0123456789012345678901234567890123456789012345678901234567890123456789'",
         "    Tag = \n      '0123456789012345678901234567890123456789012345678901234567890123' +\n      "
         "'456789'\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Value);
        EXPECT_EQ(ApplyEdits(text, editor.SetProperty("A", "Tag", c.Value).Edits),
                  "object F: TFoo\n  object A: TBar\n" + std::string(c.Written) + "  end\nend\n");
    }
}

TEST(FormEditor, EditsLinesThatHoldSeveralThings) {
    // Text need not have one property a line; what shares a line with an edit stays.
    const std::string text = "object F: TFoo X = 1 Y = 2\n  object A: TBar end\nend";
    const FormEditor editor(text, CodePage::Default());
    const struct {
        const char* What;
        std::function<EditResult()> Edit;
        const char* Expected;
    } cases[] = {
        {"removes the first of a line", [&] { return editor.RemoveProperty("F", "X"); },
         "object F: TFoo Y = 2\n  object A: TBar end\nend"},
        {"removes the last of a line", [&] { return editor.RemoveProperty("F", "Y"); },
         "object F: TFoo X = 1 \n  object A: TBar end\nend"},
        {"adds a line after them", [&] { return editor.SetProperty("F", "W", "5"); },
         "object F: TFoo X = 1 Y = 2\n  W = 5\n  object A: TBar end\nend"},
        {"adds a line inside a one-line object", [&] { return editor.SetProperty("A", "Q", "5"); },
         "object F: TFoo X = 1 Y = 2\n  object A: TBar \n    Q = 5\nend\nend"},
        {"deletes a one-line object", [&] { return editor.DeleteObject("A"); },
         "object F: TFoo X = 1 Y = 2\nend"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(ApplyEdits(text, c.Edit().Edits), c.Expected);
    }
}

TEST(FormEditorSet, KeepsDefaultsOfInheritedObjects) {
    // An inherited object may store a default to override its ancestor's value.
    const std::string text =
        "inherited Form2: TForm\n  inherited Panel1: TPanel\n    Visible = False\n  end\nend\n";
    const FormEditor editor(text, CodePage::Default(), &Registry());
    EXPECT_EQ(ApplyEdits(text, editor.SetProperty("Panel1", "Visible", "True").Edits),
              "inherited Form2: TForm\n  inherited Panel1: TPanel\n    Visible = True\n  end\nend\n");
}

TEST(FormEditorSet, WritesStringsInTheCodePage) {
    // Cyrillic in code page 1251, given as raw bytes of the page or as codes, is written
    // as codes, as a conversion from binary writes it.
    const CodePage& cp1251 = *CodePage::Find(1251);
    const std::string text = "object F: TFoo\n  Caption = 'A'\nend\n";
    const FormEditor editor(text, cp1251);
    const std::string expected = "object F: TFoo\n  Caption = #1055#1088#1080\nend\n";
    EXPECT_EQ(ApplyEdits(text, editor.SetProperty("F", "Caption", "'\xCF\xF0\xE8'").Edits), expected);
    EXPECT_EQ(ApplyEdits(text, editor.SetProperty("F", "Caption", "#1055#1088#1080").Edits), expected);
    // UTF-8 text writes what is not ASCII as codes, as a conversion to text does.
    const std::string utf8 = "\xEF\xBB\xBFobject F: TFoo\n  Caption = 'A'\nend\n";
    const FormEditor utf8Editor(utf8, cp1251);
    EXPECT_EQ(ApplyEdits(utf8, utf8Editor.SetProperty("F", "Caption", "'\xD0\x9F'").Edits),
              "\xEF\xBB\xBFobject F: TFoo\n  Caption = #1055\nend\n");
}

TEST(FormEditorSet, RefusesWhatCannotBeWritten) {
    const std::string frames =
        "object F: TForm\n  inline Frame1: TFrame\n    object Label1: TLabel\n    end\n  end\n"
        "  inline Frame2: TFrame\n    object Label1: TLabel\n    end\n  end\nend\n";
    const struct {
        const char* What;
        std::string Text;
        const char* Object;
        const char* Property;
        const char* Value;
        const char* Message;  // a piece of the message
    } cases[] = {
        {"an unclosed string", Form, "Button1", "Caption", "'OK", "Invalid value for Button1.Caption"},
        {"two values", Form, "Button1", "Left", "1 2", "Invalid value"},
        {"a second property in the value", Form, "Button1", "Left", "1\r\n    Top = 2",
         "more than one value"},
        {"an end in the value", Form, "Button1", "Left", "1 end", "more than one value"},
        {"a property the class lacks", Form, "Button1", "Colour", "clRed", "TButton has no property Colour"},
        {"a nested property the class lacks", Form, "Button1", "Font.Weight", "1", "TFont has no property"},
        {"an object that is not there", Form, "Button9", "Caption", "'x'", "no object Button9"},
        {"an item that is not there", Form, "StatusBar1", "Panels[2].Width", "1", "no item"},
        {"no property name", Form, "Button1", "Font..Style", "[]", "not a property name"},
        {"a name that is not unique", frames, "Label1", "Caption", "'x'", "Frame1.Label1, F.Frame2.Label1"},
        // Values the form's reader would not take for the property's type.
        {"the name, which only a rename changes", Form, "Button1", "Name", "Button2", "rename the object"},
        {"a string for a number", Form, "Button1", "Left", "'ten'", "Button1.Left: Invalid property value"},
        {"an unknown enumeration value", Form, "Panel1", "Align", "alMiddle", "Panel1.Align: "},
        {"an unknown colour", Form, "Panel1", "Color", "clNoSuchColour", "Panel1.Color: "},
        {"a set of another type", Form, "Panel1", "Anchors", "[fsBold]", "Panel1.Anchors: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const FormEditor editor(c.Text, CodePage::Default(), &Registry());
        try {
            editor.SetProperty(c.Object, c.Property, c.Value);
            ADD_FAILURE() << "no error";
        } catch (const EditError& e) {
            EXPECT_NE(std::string(e.what()).find(c.Message), std::string::npos) << e.what();
        }
    }
    // A path through the frame names the label.
    const FormEditor editor(frames, CodePage::Default(), &Registry());
    EXPECT_EQ(editor.SetProperty("Frame2.Label1", "Caption", "'x'").Edits.front().Offset,
              frames.rfind("    end"));
}

TEST(FormEditor, ListsFindsAndReadsObjectsAndProperties) {
    const std::string text =
        "object F: TForm\n  inline Frame1: TFrame\n    object Label1: TLabel\n      Caption = 'a' +\n"
        "        'b'\n    end\n  end\n  inline Frame2: TFrame\n    object Label1: TLabel\n      Items = (\n"
        "        'x'\n        'y')\n    end\n    object TPanel\n    end\n  end\nend\n";
    const FormEditor editor(text, CodePage::Default());
    std::vector<std::string> paths;
    for (const ObjectEntry& entry : editor.Objects())
        paths.push_back(entry.Path + " " + entry.Keyword + " " + entry.ClassName + " " +
                        std::to_string(entry.Line) + " " + std::to_string(entry.Depth));
    EXPECT_EQ(paths,
              (std::vector<std::string>{"F object TForm 1 0", "Frame1 inline TFrame 2 1",
                                        "Frame1.Label1 object TLabel 3 2", "Frame2 inline TFrame 8 1",
                                        "Frame2.Label1 object TLabel 9 2", "Frame2.#1 object TPanel 14 2"}));
    for (const ObjectEntry& entry : editor.Objects())
        EXPECT_EQ(editor.FindObject(entry.Path)->Line, entry.Line) << entry.Path;
    EXPECT_EQ(editor.FindObject("F.Frame2.Label1")->Line, 9);
    EXPECT_EQ(editor.FindObject("f.frame2.#1")->Line, 14);
    EXPECT_FALSE(editor.FindObject("Frame3"));
    EXPECT_FALSE(editor.FindObject("Frame1.#1"));
    EXPECT_THROW(editor.FindObject("Label1"), EditError);

    // Siblings of one name (which the reader takes, though no designer writes them)
    // are told apart by position.
    const FormEditor twins("object F: TFoo\n  object A: TBar\n  end\n  object A: TBar\n  end\nend\n",
                           CodePage::Default());
    std::vector<std::string> twinPaths;
    for (const ObjectEntry& entry : twins.Objects()) {
        twinPaths.push_back(entry.Path);
        EXPECT_EQ(twins.FindObject(entry.Path)->Line, entry.Line) << entry.Path;
    }
    EXPECT_EQ(twinPaths, (std::vector<std::string>{"F", "F.#0", "F.#1"}));
    // The root's name names the root even where an object below has it too.
    const FormEditor echo("object F: TFoo\n  object A: TBar\n    object F: TBar\n    end\n  end\nend\n",
                          CodePage::Default());
    std::vector<std::string> echoPaths;
    for (const ObjectEntry& entry : echo.Objects()) {
        echoPaths.push_back(entry.Path);
        EXPECT_EQ(echo.FindObject(entry.Path)->Line, entry.Line) << entry.Path;
    }
    EXPECT_EQ(echoPaths, (std::vector<std::string>{"F", "A", "A.F"}));

    EXPECT_EQ(editor.GetProperty("Frame1.Label1", "Caption"), "'a' +\n  'b'");
    EXPECT_EQ(editor.GetProperty("Frame2.Label1", "items"), "(\n  'x'\n  'y')");
    EXPECT_EQ(editor.GetProperty("Frame2.Label1", "Caption"), std::nullopt);
}

TEST(FormEditor, RemovesAPropertyWithAllItsLines) {
    const FormEditor editor(Form, CodePage::Default(), &Registry());
    const EditResult result = editor.RemoveProperty("Memo1", "Lines.Strings");
    EXPECT_EQ(ApplyEdits(Form, result.Edits),
              Replaced(Form, "      Lines.Strings = (\n        'one'\n        'two')\n", ""));
    EXPECT_EQ(result.Changes, std::vector<std::string>{"Memo1.Lines.Strings: removed"});
    EXPECT_EQ(result.Properties, (std::vector<PropertyChange>{{"Memo1", "Lines.Strings", std::nullopt}}));
    // Properties the class does not know can go too; one that is not there changes nothing.
    const std::string text = "object F: TForm\n  Obsolete = 1\nend\n";
    const FormEditor plain(text, CodePage::Default(), &Registry());
    EXPECT_EQ(ApplyEdits(text, plain.RemoveProperty("F", "Obsolete").Edits), "object F: TForm\nend\n");
    EXPECT_TRUE(plain.RemoveProperty("F", "Tag").Empty());
}

TEST(FormEditor, DescribesEachChange) {
    const FormEditor editor(Form, CodePage::Default(), &Registry());
    EXPECT_EQ(editor.SetProperty("Button1", "caption", "'Cancel'").Changes,
              std::vector<std::string>{"Button1.Caption: 'OK' -> 'Cancel'"});
    EXPECT_EQ(editor.SetProperty("Button1", "Hint", "'Save'").Changes,
              std::vector<std::string>{"Button1.Hint: added 'Save'"});
    EXPECT_EQ(editor.SetProperty("Panel1", "Color", "clBtnFace").Changes,
              std::vector<std::string>{"Panel1.Color: removed (default)"});
    EXPECT_EQ(editor.SetProperty("Memo1", "Lines.Strings", "('a')").Changes,
              std::vector<std::string>{"Memo1.Lines.Strings: ( ... -> ( ..."});
}

TEST(FormEditor, RefusesTextItCannotFollow) {
    EXPECT_THROW(FormEditor("object F: TFoo\n  X = \nend\n", CodePage::Default()), EditError);
    EXPECT_THROW(FormEditor("object F: TFoo\n  X = 1\n", CodePage::Default()), EditError);
    EXPECT_THROW(FormEditor("", CodePage::Default()), EditError);
}

}  // namespace
}  // namespace fw::edit
