// Action links after a form is read: a linked control or menu item shows the action's
// values, except those its own text stores.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/builtin.h"
#include "runtime/formbuild.h"
#include "runtime/registry.h"

namespace {

using namespace fw::rt;

const char* const LinkedForm =
    "object Form1: TForm1\n"
    "  object ActionList1: TActionList\n"
    "    object ActOpen: TAction\n"
    "      Caption = 'Open...'\n"
    "      Checked = True\n"
    "      Enabled = False\n"
    "      Hint = 'Open a file'\n"
    "      ImageIndex = 3\n"
    "      Visible = False\n"
    "    end\n"
    "  end\n"
    "  object Linked: TButton\n"
    "    Action = ActOpen\n"
    "  end\n"
    "  object OwnCaption: TButton\n"
    "    Action = ActOpen\n"
    "    Caption = 'Mine'\n"
    "    Hint = 'My hint'\n"
    "  end\n"
    "  object NamedCaption: TButton\n"
    "    Action = ActOpen\n"
    "    Caption = 'NamedCaption'\n"
    "  end\n"
    "  object Check: TCheckBox\n"
    "    Action = ActOpen\n"
    "  end\n"
    "  object Unlinked: TButton\n"
    "    Caption = 'Plain'\n"
    "  end\n"
    "  object MainMenu1: TMainMenu\n"
    "    object Item: TMenuItem\n"
    "      Action = ActOpen\n"
    "    end\n"
    "  end\n"
    "end\n";

TEST(ActionLinks, LinkedObjectsTakeTheActionsValuesTheyDoNotStore) {
    const auto registry = MakeBuiltinRegistry();
    ObjectPtr form = CreateObject(registry->Of(cls::TForm), *registry);
    std::vector<std::string> messages;
    FormNames names;
    BuildFormFromText(*form, LinkedForm, *registry, fw::CodePage::Default(), messages, &names);
    EXPECT_TRUE(messages.empty()) << messages.front();

    const auto text = [&](const char* object, const char* property) {
        const Object* o = form->FindOwnedComponent(object);
        EXPECT_NE(o, nullptr) << object;
        return o ? o->String(*o->FindProperty(property)) : std::string();
    };
    const auto ordinal = [&](const char* object, const char* property) -> std::int64_t {
        const Object* o = form->FindOwnedComponent(object);
        EXPECT_NE(o, nullptr) << object;
        return o ? o->Ordinal(*o->FindProperty(property)) : -99;
    };
    const struct {
        const char* Object;
        const char* Property;
        const char* Text;      // for a string property
        std::int64_t Ordinal;  // otherwise
    } cases[] = {
        {"Linked", "Caption", "Open...", 0},
        {"Linked", "Hint", "Open a file", 0},
        {"Linked", "Enabled", nullptr, 0},
        {"Linked", "Visible", nullptr, 0},
        // What the object's own text stores stays.
        {"OwnCaption", "Caption", "Mine", 0},
        {"OwnCaption", "Hint", "My hint", 0},
        {"OwnCaption", "Enabled", nullptr, 0},
        // A control's caption equal to its name is the designer's default.
        {"NamedCaption", "Caption", "Open...", 0},
        {"Check", "Checked", nullptr, 1},
        {"Unlinked", "Caption", "Plain", 0},
        {"Unlinked", "Enabled", nullptr, 1},
        {"Item", "Caption", "Open...", 0},
        {"Item", "ImageIndex", nullptr, 3},
        {"Item", "Checked", nullptr, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Object) + "." + c.Property);
        if (c.Text)
            EXPECT_EQ(text(c.Object, c.Property), c.Text);
        else
            EXPECT_EQ(ordinal(c.Object, c.Property), c.Ordinal);
    }
}

}  // namespace
