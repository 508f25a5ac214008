// Live objects: finding owned components by name through the owner's index, as names
// are given, changed and shared.

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "runtime/builtin.h"
#include "runtime/object.h"

namespace {

using namespace fw::rt;

ClassRegistry& Registry() {
    static const std::unique_ptr<ClassRegistry> registry = MakeBuiltinRegistry();
    return *registry;
}

ObjectPtr New(const ClassInfo& info) {
    return CreateObject(Registry().Of(info), Registry());
}

// A form owning buttons named as given, in that order.
struct Owned {
    ObjectPtr Form = New(cls::TForm);
    std::vector<Object*> Buttons;

    explicit Owned(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            // Half the names are given before the component is added, half after.
            ObjectPtr button = New(cls::TButton);
            if (Buttons.size() % 2 == 0) button->SetName(name);
            Object* added = Form->AddComponent(std::move(button));
            if (Buttons.size() % 2 == 1) added->SetName(name);
            Buttons.push_back(added);
        }
    }
    // The index of the component found in Buttons; -1 for none.
    int Find(std::string_view name) const {
        const Object* found = Form->FindOwnedComponent(name);
        for (std::size_t i = 0; i < Buttons.size(); ++i)
            if (Buttons[i] == found) return static_cast<int>(i);
        return found ? -2 : -1;
    }
};

TEST(Object, OwnedComponentsAreFoundByNameIgnoringAsciiCase) {
    const Owned owned({"Button1", "", "OKButton", "B\xC3\xBCtton", "Panel_1", ""});
    const struct {
        const char* Name;
        int Expected;
    } cases[] = {
        {"Button1", 0},
        {"BUTTON1", 0},
        {"button1", 0},
        {"okbutton", 2},
        {"B\xC3\xBCtton", 3},
        {"B\xC3\x9CTTON", -1},  // other bytes compare as they are
        {"b\xC3\xBCTTON", 3},
        {"PANEL_1", 4},
        {"Button", -1},
        {"Button12", -1},
        {"", -1},  // unnamed components are never found
    };
    for (const auto& c : cases)
        EXPECT_EQ(owned.Find(c.Name), c.Expected) << c.Name;
}

TEST(Object, RenamingMovesTheComponentInTheIndex) {
    Owned owned({"Button1", "Button2", ""});
    owned.Buttons[0]->SetName("Save");
    EXPECT_EQ(owned.Find("Button1"), -1);
    EXPECT_EQ(owned.Find("SAVE"), 0);
    owned.Buttons[2]->SetName("Button1");
    EXPECT_EQ(owned.Find("button1"), 2);
    owned.Buttons[1]->SetName("");
    EXPECT_EQ(owned.Find("Button2"), -1);
    // The same name in other letters.
    owned.Buttons[0]->SetName("SAVE");
    EXPECT_EQ(owned.Find("save"), 0);
    EXPECT_EQ(owned.Buttons[0]->Name(), "SAVE");
}

// Names can be shared when components are added or renamed so: the first one made is
// found, and once it gives the name up, the next one.
TEST(Object, WithASharedNameTheFirstMadeIsFound) {
    Owned owned({"A", "B", "a", "C"});
    EXPECT_EQ(owned.Find("A"), 0);
    owned.Buttons[3]->SetName("A");
    EXPECT_EQ(owned.Find("a"), 0);
    owned.Buttons[0]->SetName("Z");
    EXPECT_EQ(owned.Find("A"), 2);
    owned.Buttons[2]->SetName("Y");
    EXPECT_EQ(owned.Find("A"), 3);
    owned.Buttons[0]->SetName("A");
    EXPECT_EQ(owned.Find("A"), 0);
    EXPECT_EQ(owned.Find("Z"), -1);
}

// Many components renamed at random among a few hundred names, some shared, some
// differing only in case: every lookup agrees with a walk over the components.
TEST(Object, TheIndexAgreesWithAWalkThroughRenames) {
    const ObjectPtr form = New(cls::TForm);
    std::vector<Object*> components;
    std::mt19937 random(20261210);
    auto someName = [&]() -> std::string {
        const unsigned n = random() % 400;
        if (n == 0) return "";
        std::string name = "Component" + std::to_string(n % 300);
        if (n % 3 == 0) name[0] = 'c';
        return name;
    };
    auto walk = [&](std::string_view name) -> Object* {
        if (name.empty()) return nullptr;
        for (const ObjectPtr& c : form->Components())
            if (EqualsIgnoringCase(c->Name(), name)) return c.get();
        return nullptr;
    };
    for (int step = 0; step < 4000; ++step) {
        if (components.size() < 500 && random() % 3 == 0) {
            ObjectPtr made = New(cls::TButton);
            made->SetName(someName());
            components.push_back(form->AddComponent(std::move(made)));
        } else if (!components.empty()) {
            components[random() % components.size()]->SetName(someName());
        }
        const std::string name = someName();
        ASSERT_EQ(form->FindOwnedComponent(name), walk(name)) << "step " << step << ", " << name;
    }
    for (Object* c : components)
        EXPECT_EQ(form->FindOwnedComponent(c->Name()), walk(c->Name()));
}

// Each owner has its own index; a name found below another owner is not the form's.
TEST(Object, EachOwnerFindsOnlyItsOwnComponents) {
    Owned owned({"Frame1"});
    Object* inner = owned.Buttons[0]->AddComponent(New(cls::TButton));
    inner->SetName("Inner");
    EXPECT_EQ(owned.Form->FindOwnedComponent("Inner"), nullptr);
    EXPECT_EQ(owned.Buttons[0]->FindOwnedComponent("inner"), inner);
    EXPECT_EQ(owned.Buttons[0]->FindOwnedComponent("Frame1"), nullptr);
}

}  // namespace
