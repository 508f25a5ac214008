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

// A form whose objects refer to each other: by reference properties the registry
// knows, by a property of a class it does not know, and by names that only look alike
// (a string, event handlers).
const std::string Form =
    "object Form1: TForm\n"
    "  Caption = 'Form1'\n"
    "  ActiveControl = Edit1\n"
    "  PopupMenu = PopupMenu1\n"
    "  object Label1: TLabel\n"
    "    Left = 8\n"
    "    Top = 8\n"
    "    Caption = 'Name'\n"
    "    FocusControl = Edit1\n"
    "  end\n"
    "  object Edit1: TEdit\n"
    "    Left = 8\n"
    "    Top = 24\n"
    "    TabOrder = 0\n"
    "    Text = 'Edit1'\n"
    "    OnChange = Edit1\n"
    "    OnExit = Edit1Exit\n"
    "  end\n"
    "  object Panel1: TPanel\n"
    "    Left = 8\n"
    "    Top = 60\n"
    "    ExplicitLeft = 8\n"
    "    TabOrder = 1\n"
    "    object Button1: TButton\n"
    "      Left = 4\n"
    "      Top = 4\n"
    "      Caption = 'OK'\n"
    "      TabOrder = 0\n"
    "    end\n"
    "  end\n"
    "  object PopupMenu1: TPopupMenu\n"
    "    Left = 100\n"
    "    Top = 8\n"
    "  end\n"
    "  object Grid1: TOtherGrid\n"
    "    Link = Edit1.Field\n"
    "    OnClick = Edit1\n"
    "    Hint = 'Edit1'\n"
    "    Columns = <\n"
    "      item\n"
    "        ExplicitWidth = 10\n"
    "        Source = Edit1\n"
    "      end>\n"
    "  end\n"
    "end\n";

// The text with each (unique) piece from replaced by to, in order.
std::string Replaced(std::string text,
                     std::initializer_list<std::pair<std::string_view, std::string_view>> changes) {
    for (const auto& [from, to] : changes) {
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        EXPECT_EQ(text.find(from, at + 1), std::string::npos) << from;
        if (at != std::string::npos) text.replace(at, from.size(), to);
    }
    return text;
}

struct StructureCase {
    const char* What;
    std::function<EditResult(const FormEditor&)> Edit;
    std::string Expected;
    // The property values the edit reports removed; an edit that reports none and
    // changes the text changed objects.
    std::vector<PropertyChange> Removed = {};
};

TEST(FormEditorStructure, ChangesOnlyTheLinesOfTheObjects) {
    const PropertyValue menuAt[] = {{"Left", "200"}, {"AutoPopup", "False"}};
    const PropertyValue explicitWidth[] = {{"Width", "100"}, {"Visible", "True"}};
    const StructureCase cases[] = {
        {"renames the header and the references",
         [](const FormEditor& e) { return e.RenameObject("Edit1", "NameEdit"); },
         Replaced(Form, {{"ActiveControl = Edit1", "ActiveControl = NameEdit"},
                         {"FocusControl = Edit1", "FocusControl = NameEdit"},
                         {"object Edit1: TEdit", "object NameEdit: TEdit"},
                         {"Link = Edit1.Field", "Link = NameEdit.Field"},
                         {"Source = Edit1", "Source = NameEdit"}})},
        {"names an unnamed object",
         [](const FormEditor& e) { return e.RenameObject("Form1.#0", "Caption1"); },
         Replaced(Form, {{"object Label1: TLabel", "object Caption1: TLabel"}})},
        {"deletes an object with its children", [](const FormEditor& e) { return e.DeleteObject("Panel1"); },
         Replaced(
             Form,
             {{"  object Panel1: TPanel\n    Left = 8\n    Top = 60\n    ExplicitLeft = 8\n    TabOrder = 1\n"
               "    object Button1: TButton\n      Left = 4\n      Top = 4\n      Caption = 'OK'\n"
               "      TabOrder = 0\n    end\n  end\n",
               ""}})},
        {"deletes the references the registry knows",
         [](const FormEditor& e) { return e.DeleteObject("Edit1"); },
         Replaced(
             Form,
             {{"  ActiveControl = Edit1\n", ""},
              {"    FocusControl = Edit1\n", ""},
              {"  object Edit1: TEdit\n    Left = 8\n    Top = 24\n    TabOrder = 0\n    Text = 'Edit1'\n"
               "    OnChange = Edit1\n    OnExit = Edit1Exit\n  end\n",
               ""}})},
        {"adds a control with what the designer stores, in the order of its kind in the file",
         [](const FormEditor& e) { return e.AddObject("Panel1", "TButton"); },
         Replaced(
             Form,
             {{"      TabOrder = 0\n    end\n  end\n",
               "      TabOrder = 0\n    end\n    object Button2: TButton\n      Left = 8\n      Top = 8\n"
               "      Width = 75\n      Height = 25\n      Caption = 'Button2'\n      TabOrder = 1\n"
               "    end\n  end\n"}})},
        {"adds an edit with its text, ordered, defaults left out",
         [&](const FormEditor& e) { return e.AddObject("Form1", "TEdit", "Edit2", explicitWidth); },
         Replaced(Form,
                  {{"      end>\n  end\nend\n",
                    "      end>\n  end\n  object Edit2: TEdit\n    Left = 8\n    Top = 8\n    Width = 100\n"
                    "    Height = 21\n    TabOrder = 2\n    Text = 'Edit2'\n  end\nend\n"}})},
        {"adds a component with its place last",
         [&](const FormEditor& e) { return e.AddObject("Form1", "TPopupMenu", "", menuAt); },
         Replaced(Form, {{"      end>\n  end\nend\n",
                          "      end>\n  end\n  object PopupMenu2: TPopupMenu\n    AutoPopup = False\n"
                          "    Left = 200\n    Top = 8\n  end\nend\n"}})},
        {"moves an object with its lines re-indented",
         [](const FormEditor& e) { return e.MoveObject("Button1", "Form1"); },
         Replaced(
             Form,
             {{"    object Button1: TButton\n      Left = 4\n      Top = 4\n      Caption = 'OK'\n"
               "      TabOrder = 0\n    end\n",
               ""},
              {"      end>\n  end\nend\n",
               "      end>\n  end\n  object Button1: TButton\n    Left = 4\n    Top = 4\n    Caption = 'OK'\n"
               "    TabOrder = 0\n  end\nend\n"}})},
        {"moves an object to a parent before it",
         [](const FormEditor& e) { return e.MoveObject("Grid1", "Panel1"); },
         Replaced(
             Form,
             {{"      TabOrder = 0\n    end\n  end\n",
               "      TabOrder = 0\n    end\n    object Grid1: TOtherGrid\n      Link = Edit1.Field\n"
               "      OnClick = Edit1\n      Hint = 'Edit1'\n      Columns = <\n        item\n"
               "          ExplicitWidth = 10\n          Source = Edit1\n        end>\n    end\n  end\n"},
              {"  object Grid1: TOtherGrid\n    Link = Edit1.Field\n    OnClick = Edit1\n    Hint = 'Edit1'\n"
               "    Columns = <\n      item\n        ExplicitWidth = 10\n        Source = Edit1\n      end>\n"
               "  end\n",
               ""}})},
        {"keeps the last child where it is",
         [](const FormEditor& e) { return e.MoveObject("Grid1", "Form1"); }, Form},
        {"removes properties by pattern",
         [](const FormEditor& e) { return e.RemoveProperties("*.explicit*"); },
         Replaced(Form, {{"    ExplicitLeft = 8\n", ""}, {"        ExplicitWidth = 10\n", ""}}),
         {{"Panel1", "ExplicitLeft", std::nullopt}, {"Grid1", "Columns[0].ExplicitWidth", std::nullopt}}},
        {"removes a property by its full path",
         [](const FormEditor& e) { return e.RemoveProperties("Form1.Panel1.Button1.Capt?on"); },
         Replaced(Form, {{"      Caption = 'OK'\n", ""}}),
         {{"Button1", "Caption", std::nullopt}}},
    };
    for (const StructureCase& c : cases) {
        SCOPED_TRACE(c.What);
        const FormEditor editor(Form, CodePage::Default(), &Registry());
        const EditResult result = c.Edit(editor);
        EXPECT_EQ(ApplyEdits(Form, result.Edits), c.Expected);
        EXPECT_EQ(result.Empty(), c.Expected == Form);
        EXPECT_EQ(result.Properties, c.Removed);
        EXPECT_EQ(result.Structural, !result.Empty() && c.Removed.empty());
    }
}

TEST(FormEditorStructure, DescribesTheChanges) {
    const FormEditor editor(Form, CodePage::Default(), &Registry());
    EXPECT_EQ(
        editor.RenameObject("PopupMenu1", "Menu").Changes,
        (std::vector<std::string>{"PopupMenu1 renamed to Menu", "Form1.PopupMenu: PopupMenu1 -> Menu"}));
    EXPECT_EQ(editor.DeleteObject("Label1").Changes, std::vector<std::string>{"Label1: deleted"});
    EXPECT_EQ(editor.AddObject("Form1", "TLabel").Changes,
              std::vector<std::string>{"Label2: added (TLabel) to Form1"});
    EXPECT_EQ(editor.MoveObject("Label1", "Panel1").Changes,
              std::vector<std::string>{"Label1: moved to Panel1"});
}

TEST(FormEditorStructure, RefusesWhatTheFormCannotHold) {
    const std::string inherited = "inherited Form2: TForm\n  inherited Button1: TButton\n  end\nend\n";
    const struct {
        const char* What;
        std::string Text;
        std::function<EditResult(const FormEditor&)> Edit;
        const char* Message;
    } cases[] = {
        {"a name another object has", Form,
         [](const FormEditor& e) { return e.RenameObject("Edit1", "label1"); },
         "already has an object named label1"},
        {"no identifier", Form, [](const FormEditor& e) { return e.RenameObject("Edit1", "1st"); },
         "not a valid name"},
        {"deleting the root", Form, [](const FormEditor& e) { return e.DeleteObject("Form1"); }, "root"},
        {"deleting what the ancestor made", inherited,
         [](const FormEditor& e) { return e.DeleteObject("Button1"); }, "ancestor"},
        {"renaming what the ancestor made", inherited,
         [](const FormEditor& e) { return e.RenameObject("Button1", "Other"); }, "ancestor"},
        {"moving what the ancestor made", inherited,
         [](const FormEditor& e) { return e.MoveObject("Button1", "Form2"); }, "ancestor"},
        {"an unknown class", Form, [](const FormEditor& e) { return e.AddObject("Form1", "TNoSuchThing"); },
         "No class TNoSuchThing"},
        {"a control on a control that holds none", Form,
         [](const FormEditor& e) { return e.AddObject("Label1", "TButton"); },
         "Label1 cannot hold a control"},
        {"a bad value for a new object", Form,
         [](const FormEditor& e) {
             const PropertyValue bad[] = {{"Caption", "'open"}};
             return e.AddObject("Form1", "TButton", "", bad);
         },
         "Invalid value for Button2.Caption"},
        {"a move into its own child", Form,
         [](const FormEditor& e) { return e.MoveObject("Panel1", "Button1"); }, "into itself"},
        {"a control into a control that holds none", Form,
         [](const FormEditor& e) { return e.MoveObject("Button1", "Label1"); }, "cannot hold a control"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const FormEditor editor(c.Text, CodePage::Default(), &Registry());
        try {
            c.Edit(editor);
            ADD_FAILURE() << "no error";
        } catch (const EditError& e) {
            EXPECT_NE(std::string(e.what()).find(c.Message), std::string::npos) << e.what();
        }
    }
}

TEST(SplitAssignment, TakesTheLongestObjectPath) {
    const FormEditor editor(Form, CodePage::Default(), &Registry());
    const struct {
        const char* Argument;
        const char* Object;
        const char* Property;
        std::optional<std::string> Value;
    } cases[] = {
        {"Form1.Panel1.Button1.Caption='x'", "Form1.Panel1.Button1", "Caption", "'x'"},
        {"Button1.Font.Style=[fsBold]", "Button1", "Font.Style", "[fsBold]"},
        {"Form1.Caption", "Form1", "Caption", std::nullopt},
        {"Edit1.Text='a=b'", "Edit1", "Text", "'a=b'"},
        {"Grid1.Columns[0].Source = Edit1", "Grid1", "Columns[0].Source", " Edit1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Argument);
        const PropertyAssignment a = SplitAssignment(editor, c.Argument);
        EXPECT_EQ(a.Object, c.Object);
        EXPECT_EQ(a.Property, c.Property);
        EXPECT_EQ(a.Value, c.Value);
    }
    EXPECT_THROW(SplitAssignment(editor, "Nothing.Caption='x'"), EditError);
    EXPECT_THROW(SplitAssignment(editor, "Button1"), EditError);
}

}  // namespace
}  // namespace fw::edit
