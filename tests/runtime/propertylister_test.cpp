// PropertyLister: the four aligned lists of an inspected object, reference texts
// and their base, and setting properties from text.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/builtin.h"
#include "runtime/family_core.h"
#include "runtime/object.h"
#include "runtime/propertylister.h"
#include "runtime/registry.h"

namespace {

using namespace fw::rt;
using Lines = std::vector<std::string>;

// A component with a property of every kind the built-in classes rarely or never use.
constexpr std::string_view ElementNames[] = {"e0",  "e1",  "e2",  "e3",  "e4",  "e5",  "e6",
                                             "e7",  "e8",  "e9",  "e10", "e11", "e12", "e13",
                                             "e14", "e15", "e16", "e17", "e18", "e19"};
constexpr TypeInfo TElement = def::EnumType("TElement", ElementNames);
constexpr TypeInfo TElements = def::SetType("TElements", TElement);
constexpr TypeInfo Comp = def::FloatTypeInfo("Comp", FloatType::Comp);
constexpr TypeInfo TCount = def::IntType("TCount");
const PropInfo SampleProps[] = {
    {"Big", &ty::Int64, dv::Int(5)},
    {"Wide", &ty::WideString, dv::Str("wide")},
    {"Letter", &ty::Char, dv::Int('A')},
    // Only the low 8 bits of a character are shown: 0x141 shows as 'A'.
    {"WideLetter", &ty::WideChar, dv::Int(0x141)},
    {"Ratio", &ty::Single, dv::Real(0.1)},
    {"Third", &ty::Double, dv::Real(1.0 / 3.0)},
    {"Precise", &ty::Extended, dv::Real(0.5)},
    {"Count", &Comp, dv::Real(1E17)},
    {"Price", &ty::Currency, dv::Real(1.5)},
    {"When", &ty::TDateTime, dv::Real(45000.5)},
    {"Anything", &ty::Variant, dv::Str("text")},
    {"Many", &TElements, dv::Set({0, 15, 16, 19})},
    {"Few", &TElements, dv::Set({})},
    {"Element", &TElement, dv::Int(2)},
    {"Number", &TCount, dv::Int(-7)},
    {"Hint", &ty::String, dv::Str("")},
};
constexpr std::span<const PropInfo> SampleGroups[] = {SampleProps};
const ClassInfo TSample = {"TSample", &cls::TComponent, "Tests", SampleGroups};

// A persistent, not a component, that refers to a component.
const PropInfo LinkProps[] = {def::RefProp("Menu", ty::TPopupMenu)};
constexpr std::span<const PropInfo> LinkGroups[] = {LinkProps};
const ClassInfo TLink = {"TLink", &cls::TPersistent, "Tests", LinkGroups};

class InspectorTest : public ::testing::Test {
protected:
    InspectorTest() : registry_(MakeBuiltinRegistry()) {
        application_ = std::make_unique<Object>(registry_->Of(cls::TApplication), *registry_);
        form1_ = Add(*application_, "TForm", "Form1");
        form2_ = Add(*application_, "TForm", "Form2");
        button_ = Add(*form1_, "TButton", "Button1");
        memo_ = Add(*form1_, "TMemo", "Memo1");
        popup1_ = Add(*form1_, "TPopupMenu", "PopupMenu1");
        popup2_ = Add(*form2_, "TPopupMenu", "PopupMenu2");
        Add(*form2_, "TButton", "Button1");
        moi_.SetApplication(application_.get());
    }

    Object* Add(Object& owner, std::string_view className, std::string name) {
        const Class* found = registry_->FindClassByName(className);
        if (!found) found = &registry_->Of(cls::TForm);  // a form's class stands for TForm, not registered
        ObjectPtr object = CreateObject(*found, *registry_);
        object->SetName(std::move(name));
        return owner.AddComponent(std::move(object));
    }

    ObjectPtr Make(const ClassInfo& info) { return CreateObject(registry_->Of(info), *registry_); }

    static const Property& Prop(const Object& object, std::string_view name) {
        const Property* p = object.FindProperty(name);
        if (!p) throw std::runtime_error("no property " + std::string(name));
        return *p;
    }

    struct Row {
        std::string Type;
        std::string Value;
        std::string Kind;
    };
    // The listed row of a property, checking that the four lists stay aligned.
    std::optional<Row> Listed(std::string_view name) const {
        EXPECT_EQ(moi_.PropNames().size(), moi_.PropTypes().size());
        EXPECT_EQ(moi_.PropNames().size(), moi_.PropValues().size());
        EXPECT_EQ(moi_.PropNames().size(), moi_.PropKinds().size());
        const auto& names = moi_.PropNames();
        const auto it = std::find(names.begin(), names.end(), name);
        if (it == names.end()) return std::nullopt;
        const auto i = static_cast<std::size_t>(it - names.begin());
        return Row{moi_.PropTypes()[i], moi_.PropValues()[i], moi_.PropKinds()[i]};
    }

    std::string ValueOf(std::string_view name) const {
        const auto row = Listed(name);
        return row ? row->Value : "<not listed>";
    }

    std::unique_ptr<ClassRegistry> registry_;
    std::unique_ptr<Object> application_;
    Object* form1_;
    Object* form2_;
    Object* button_;
    Object* memo_;
    Object* popup1_;
    Object* popup2_;
    PropertyLister moi_;
};

TEST_F(InspectorTest, ListsAButtonsProperties) {
    button_->Set(Prop(*button_, "Caption"), std::string("OK"));
    moi_.Inspect(button_);

    const struct {
        const char* Name;
        const char* Type;
        const char* Value;
        const char* Kind;
    } rows[] = {
        {"Caption", "TCaption", "OK", "10"},
        {"Default", "Boolean", "False", "3"},
        {"Font", "TFont", "(TFont)", "7"},
        {"Cursor", "TCursor", "0", "1"},
        {"Width", "Integer", "75", "1"},
        {"Anchors", "TAnchors", "[akLeft,akTop]", "6"},
        {"OnClick", "TNotifyEvent", "", "8"},
        {"Name", "string", "Button1", "10"},
        {"Constraints", "TSizeConstraints", "(TSizeConstraints)", "7"},
    };
    for (const auto& r : rows) {
        const auto row = Listed(r.Name);
        ASSERT_TRUE(row) << r.Name;
        EXPECT_EQ(row->Type, r.Type) << r.Name;
        EXPECT_EQ(row->Value, r.Value) << r.Name;
        EXPECT_EQ(row->Kind, r.Kind) << r.Name;
    }
    // A reference that holds nothing is not listed.
    EXPECT_FALSE(Listed("PopupMenu"));

    // Sorted by name ignoring case, every listed name from the descriptor list.
    const auto& names = moi_.PropNames();
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::toupper(static_cast<unsigned char>(x)) < std::toupper(static_cast<unsigned char>(y));
        });
    }));
    for (const std::string& name : names)
        EXPECT_NE(moi_.PropList().Find(name), nullptr) << name;
    EXPECT_EQ(moi_.PropList().Count(), static_cast<int>(button_->GetClass().Properties().size()));
}

TEST_F(InspectorTest, ButtonValuesAfterChanges) {
    button_->Set(Prop(*button_, "Cursor"), std::int64_t{-21});
    button_->Set(Prop(*button_, "PopupMenu"), popup1_);
    button_->Set(Prop(*button_, "Anchors"), std::int64_t{0});
    button_->Set(Prop(*button_, "Default"), std::int64_t{1});
    moi_.Inspect(button_);
    // A cursor is an integer: its number, not its name.
    EXPECT_EQ(ValueOf("Cursor"), "-21");
    EXPECT_EQ(ValueOf("PopupMenu"), "PopupMenu1");
    EXPECT_EQ(ValueOf("Anchors"), "[]");
    EXPECT_EQ(ValueOf("Default"), "True");
}

TEST_F(InspectorTest, EventsShowOnlyWhetherTheyAreAssigned) {
    const struct {
        MethodValue Method;
        const char* Value;
    } cases[] = {
        {{0x1000, 0x2000, "Button1Click"}, "Assigned"},
        // Both pointers are needed; the handler's name is never shown.
        {{0x1000, 0, "Button1Click"}, ""},
        {{0, 0x2000, "Button1Click"}, ""},
        {{}, ""},
    };
    for (const auto& c : cases) {
        moi_.Inspect(button_);
        EXPECT_TRUE(moi_.SetMethodPropByName("onclick", c.Method));
        moi_.Inspect(button_);
        EXPECT_EQ(ValueOf("OnClick"), c.Value) << c.Method.Code << "/" << c.Method.Data;
    }
    EXPECT_FALSE(moi_.SetMethodPropByName("OnNothing", {}));
    // An event setter leaves a property of another kind alone.
    EXPECT_TRUE(moi_.SetMethodPropByName("Caption", {1, 2, "X"}));
    EXPECT_EQ(button_->String(Prop(*button_, "Caption")), "");
}

TEST_F(InspectorTest, MemoLines) {
    const struct {
        Lines Text;
        const char* Value;
    } cases[] = {
        {{"first", "second"}, "(TStrings)"},
        {{"only"}, "only"},
        {{""}, ""},
        {{}, "<not listed>"},
    };
    for (const auto& c : cases) {
        memo_->SubObject("Lines")->Lines() = c.Text;
        moi_.Inspect(memo_);
        EXPECT_EQ(ValueOf("Lines"), c.Value) << c.Text.size();
        EXPECT_EQ(moi_.ValueLines(*moi_.FindProp("Lines")), c.Text);
    }
}

TEST_F(InspectorTest, ComponentReferencesRelativeToTheReferenceBase) {
    // From a control of Form1, references to Form1's components are plain names and
    // those of another form carry the form's name.
    button_->Set(Prop(*button_, "PopupMenu"), popup2_);
    moi_.Inspect(button_);
    EXPECT_EQ(moi_.ReferenceBase(), form1_);
    EXPECT_EQ(ValueOf("PopupMenu"), "Form2.PopupMenu2");

    // A form owned by the application is its own base.
    form1_->Set(Prop(*form1_, "ActiveControl"), button_);
    form1_->Set(Prop(*form1_, "PopupMenu"), popup2_);
    moi_.Inspect(form1_);
    EXPECT_EQ(moi_.ReferenceBase(), form1_);
    EXPECT_EQ(ValueOf("ActiveControl"), "Button1");
    EXPECT_EQ(ValueOf("PopupMenu"), "Form2.PopupMenu2");
    EXPECT_EQ(ValueOf("Name"), "Form1");

    // A component without an owner is its own base: a reference to another form's
    // component still names the form.
    PropertyLister bare;
    ObjectPtr orphan = Make(cls::TButton);
    orphan->Set(Prop(*orphan, "PopupMenu"), popup2_);
    bare.Inspect(orphan.get());
    EXPECT_EQ(bare.ReferenceBase(), orphan.get());
    EXPECT_EQ(bare.ValueLines(*bare.FindProp("PopupMenu")), Lines{"Form2.PopupMenu2"});

    // Without a reference base every reference is its name alone.
    ObjectPtr link = Make(TLink);
    link->Set(Prop(*link, "Menu"), popup2_);
    bare.Inspect(link.get());
    EXPECT_EQ(bare.ReferenceBase(), nullptr);
    EXPECT_EQ(bare.ValueLines(*bare.FindProp("Menu")), Lines{"PopupMenu2"});
    // A component without an owner is its name alone too.
    link->Set(Prop(*link, "Menu"), orphan.get());
    orphan->SetName("Loose");
    moi_.Inspect(link.get());
    EXPECT_EQ(moi_.ValueLines(*moi_.FindProp("Menu")), Lines{"Loose"});
}

TEST_F(InspectorTest, ReferenceBaseByCase) {
    ObjectPtr ownerless = Make(cls::TButton);
    Object* font = button_->SubObject("Font");
    PropertyLister withOwner(popup1_, application_.get());
    const struct {
        const char* What;
        Object* Inspected;
        Object* Base;
    } cases[] = {
        {"a persistent: the inspector's owner", font, popup1_},
        {"none: the inspector's owner", nullptr, popup1_},
        {"a form of the application: itself", form2_, form2_},
        {"a component without an owner: itself", ownerless.get(), ownerless.get()},
        {"a component of a form: the form", memo_, form1_},
    };
    for (const auto& c : cases) {
        withOwner.Inspect(c.Inspected);
        EXPECT_EQ(withOwner.ReferenceBase(), c.Base) << c.What;
        EXPECT_EQ(withOwner.InspectorTarget(), c.Inspected) << c.What;
    }
}

TEST_F(InspectorTest, ValuesOfEveryKind) {
    ObjectPtr sample = Make(TSample);
    sample->SetName("Sample1");
    moi_.Inspect(sample.get());
    const struct {
        const char* Name;
        const char* Value;
    } rows[] = {
        // Int64 and WideString properties are never listed.
        {"Big", "<not listed>"},
        {"Wide", "<not listed>"},
        {"Letter", "A"},
        {"WideLetter", "A"},
        {"Ratio", "0.1"},
        {"Third", "0.333333333333333"},
        {"Precise", "0.5"},
        {"Count", "100000000000000000"},
        {"Price", "1.5"},
        // A date is a float like any other here.
        {"When", "45000.5"},
        {"Anything", "text"},
        // Only the first sixteen elements of a set are shown.
        {"Many", "[e0,e15]"},
        {"Few", "[]"},
        {"Element", "e2"},
        {"Number", "-7"},
        {"Hint", ""},
    };
    for (const auto& r : rows)
        EXPECT_EQ(ValueOf(r.Name), r.Value) << r.Name;
    EXPECT_EQ(Listed("Letter")->Kind, "2");
    EXPECT_EQ(Listed("WideLetter")->Kind, "9");
    EXPECT_EQ(Listed("Ratio")->Kind, "4");
    EXPECT_EQ(Listed("Anything")->Kind, "12");
    EXPECT_NE(moi_.PropList().Find("Big"), nullptr);

    moi_.SetDecimalSeparator(',');
    moi_.Inspect(sample.get());
    EXPECT_EQ(ValueOf("Ratio"), "0,1");
    EXPECT_EQ(ValueOf("When"), "45000,5");
}

TEST_F(InspectorTest, AnUnreadableValueLeavesOnlyThatPropertyOut) {
    ObjectPtr sample = Make(TSample);
    sample->Set(Prop(*sample, "Letter"), std::string("not a number"));
    sample->Set(Prop(*sample, "Element"), std::int64_t{99});
    sample->Set(Prop(*sample, "Anything"), MethodValue{1, 2, "M"});
    moi_.Inspect(sample.get());
    EXPECT_FALSE(Listed("Letter"));
    EXPECT_FALSE(Listed("Element"));
    EXPECT_FALSE(Listed("Anything"));
    EXPECT_EQ(ValueOf("WideLetter"), "A");
    EXPECT_EQ(ValueOf("Number"), "-7");
}

TEST_F(InspectorTest, FilterChoosesTheKinds) {
    TTypeKinds events;
    events.set(static_cast<std::size_t>(TypeKind::tkMethod));
    EXPECT_EQ(moi_.Filter(), AllTypeKinds());
    moi_.SetFilter(events);
    moi_.Inspect(button_);
    ASSERT_FALSE(moi_.PropNames().empty());
    for (const std::string& kind : moi_.PropKinds())
        EXPECT_EQ(kind, "8");
    EXPECT_TRUE(Listed("OnClick"));
    EXPECT_EQ(moi_.FindProp("Caption"), nullptr);
}

TEST_F(InspectorTest, InspectingNoneKeepsTheLists) {
    moi_.Inspect(button_);
    const Lines names = moi_.PropNames(), types = moi_.PropTypes(), values = moi_.PropValues(),
                kinds = moi_.PropKinds();
    moi_.Inspect(nullptr);
    EXPECT_EQ(moi_.InspectorTarget(), nullptr);
    EXPECT_EQ(moi_.PropNames(), names);
    EXPECT_EQ(moi_.PropTypes(), types);
    EXPECT_EQ(moi_.PropValues(), values);
    EXPECT_EQ(moi_.PropKinds(), kinds);
    EXPECT_EQ(moi_.PropList().Count(), static_cast<int>(button_->GetClass().Properties().size()));
    // With no target there is nothing to set.
    EXPECT_EQ(moi_.FindProp("Caption"), nullptr);
    EXPECT_FALSE(moi_.SetPropFromLines("Caption", {"x"}));
    EXPECT_FALSE(moi_.SetStrPropByName("Caption", "x"));
}

class SetFromLinesTest : public InspectorTest {
protected:
    void SetUp() override {
        moi_.SetOnException([this](PropertyLister& sender, const std::exception& error) {
            EXPECT_EQ(&sender, &moi_);
            errors_.emplace_back(error.what());
        });
    }
    Lines errors_;
};

TEST_F(SetFromLinesTest, OrdinalsAndStrings) {
    moi_.Inspect(button_);
    const struct {
        const char* Property;
        Lines Text;
        const char* Shown;
    } cases[] = {
        {"ShowHint", {"True"}, "True"},
        {"ShowHint", {"false"}, "False"},
        {"ShowHint", {"true"}, "True"},
        // No matching name writes nothing.
        {"ShowHint", {"yes"}, "True"},
        {"Anchors", {"[akLeft, akBottom, akNonsense]"}, "[akLeft,akBottom]"},
        {"Anchors", {"akRight,akTop"}, "[akTop,akRight]"},
        {"Anchors", {""}, "[]"},
        {"Width", {"100"}, "100"},
        {"Width", {" -3 "}, "-3"},
        // Not a number is 0; an empty line writes nothing.
        {"Width", {"abc"}, "0"},
        {"Width", {"12"}, "12"},
        {"Width", {""}, "12"},
        {"Width", {"99999999999"}, "0"},
        // Only line 0 counts.
        {"Caption", {"Hello", "World"}, "Hello"},
        {"Cursor", {"-21"}, "-21"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(moi_.SetPropFromLines(c.Property, c.Text)) << c.Property;
        moi_.Inspect(button_);
        EXPECT_EQ(ValueOf(c.Property), c.Shown) << c.Property << " = " << (c.Text.empty() ? "" : c.Text[0]);
    }
    EXPECT_EQ(errors_, Lines{});
}

TEST_F(SetFromLinesTest, OtherKinds) {
    ObjectPtr sample = Make(TSample);
    moi_.Inspect(sample.get());
    const struct {
        const char* Property;
        const char* Text;
        const char* Shown;
    } cases[] = {
        {"Letter", "Zed", "Z"},
        {"WideLetter", "\xC5\x81", "A"},  // U+0141; its low byte is 'A'
        {"Ratio", "2.5", "2.5"},
        {"Ratio", "+1E-5", "1E-5"},
        {"Ratio", "", "1E-5"},
        // A single keeps only single precision.
        {"Ratio", "0.123456789", "0.1234568"},
        {"Count", "2.5", "2"},
        {"Price", "1.23456", "1.2346"},
        {"Anything", "any text", "any text"},
        {"Element", "E7", "e7"},
        {"Element", "e99", "e7"},
        {"Hint", "hint", "hint"},
        // Set elements up to the 32nd are kept though only the first 16 show.
        {"Many", "[e1 e17]", "[e1]"},
        // Numbers name nothing in a set of named elements.
        {"Few", "[1,e3,20]", "[e3]"},
        {"Number", "42", "42"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(moi_.SetPropFromLines(c.Property, {c.Text})) << c.Property;
        moi_.Inspect(sample.get());
        EXPECT_EQ(ValueOf(c.Property), c.Shown) << c.Property << " = " << c.Text;
    }
    EXPECT_EQ(sample->Ordinal(Prop(*sample, "Many")), (1 << 1) | (1 << 17));
    EXPECT_EQ(sample->Ordinal(Prop(*sample, "WideLetter")), 0x141);
    EXPECT_EQ(errors_, Lines{});

    // Int64 and WideString take nothing from text.
    EXPECT_TRUE(moi_.SetPropFromLines("Big", {"9"}));
    EXPECT_EQ(sample->Ordinal(Prop(*sample, "Big")), 5);

    moi_.SetDecimalSeparator(',');
    EXPECT_TRUE(moi_.SetPropFromLines("Ratio", {"0,5"}));
    EXPECT_EQ(sample->Float(Prop(*sample, "Ratio")), 0.5L);
}

TEST_F(SetFromLinesTest, FailuresKeepTheValueAndGoToOnException) {
    ObjectPtr sample = Make(TSample);
    moi_.Inspect(sample.get());
    const struct {
        const char* Property;
        const char* Text;
    } cases[] = {
        {"Letter", ""},
        {"Ratio", "abc"},
        {"Ratio", "1.5x"},
        {"Count", "1E30"},
    };
    for (const auto& c : cases) {
        errors_.clear();
        const long double before = sample->Float(Prop(*sample, c.Property));
        EXPECT_TRUE(moi_.SetPropFromLines(c.Property, {c.Text})) << c.Property;
        EXPECT_EQ(errors_.size(), 1U) << c.Property << " = " << c.Text;
        EXPECT_EQ(sample->Float(Prop(*sample, c.Property)), before) << c.Property;
    }

    // Without a handler the error is dropped.
    moi_.SetOnException(nullptr);
    EXPECT_TRUE(moi_.SetPropFromLines("Letter", {""}));
    EXPECT_EQ(sample->Ordinal(Prop(*sample, "Letter")), 'A');

    EXPECT_FALSE(moi_.SetPropFromLines("NoSuchProperty", {"1"}));
    EXPECT_FALSE(moi_.SetPropFromLines("Letter", {}));
}

TEST_F(SetFromLinesTest, ComponentReferences) {
    const Property& popup = Prop(*button_, "PopupMenu");
    moi_.Inspect(button_);
    const struct {
        const char* Text;
        Object* Expected;
    } cases[] = {
        {"PopupMenu1", popup1_},
        {"popupmenu1", popup1_},
        {"Form2.PopupMenu2", popup2_},
        // A component of the wrong class, or none of that name, clears the reference.
        {"Memo1", nullptr},
        {"PopupMenu1", popup1_},
        {"Nowhere", nullptr},
        {"Form2.PopupMenu2", popup2_},
        {"Form2.Nowhere", nullptr},
        {"PopupMenu1", popup1_},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(moi_.SetPropFromLines("PopupMenu", {c.Text})) << c.Text;
        EXPECT_EQ(button_->ObjectValue(popup), c.Expected) << c.Text;
    }
    EXPECT_EQ(errors_, Lines{});

    // An owner that does not exist is an error, and the reference stays.
    button_->Set(popup, popup1_);
    EXPECT_TRUE(moi_.SetPropFromLines("PopupMenu", {"Form9.PopupMenu1"}));
    EXPECT_EQ(button_->ObjectValue(popup), popup1_);
    ASSERT_EQ(errors_.size(), 1U);
    EXPECT_NE(errors_[0].find("Form9"), std::string::npos) << errors_[0];
}

TEST_F(SetFromLinesTest, SubObjects) {
    memo_->SubObject("Lines")->Lines() = {"old"};
    moi_.Inspect(memo_);
    EXPECT_TRUE(moi_.SetPropFromLines("Lines", {"one", "two", "three"}));
    EXPECT_EQ(memo_->SubObject("Lines")->Lines(), (Lines{"one", "two", "three"}));
    EXPECT_EQ(errors_, Lines{});

    // A sub-object the control owns cannot be replaced by a component or by nothing.
    Object* font = memo_->SubObject("Font");
    EXPECT_TRUE(moi_.SetPropFromLines("Font", {"Button1"}));
    EXPECT_TRUE(moi_.SetPropFromLines("Font", {"Nowhere"}));
    EXPECT_EQ(memo_->SubObject("Font"), font);
    EXPECT_EQ(errors_, (Lines{"Cannot assign a nil to a TFont", "Cannot assign a nil to a TFont"}));
}

TEST_F(SetFromLinesTest, StringSetterAndTheComponentName) {
    moi_.Inspect(button_);
    EXPECT_TRUE(moi_.SetStrPropByName("caption", "Go"));
    EXPECT_EQ(button_->String(Prop(*button_, "Caption")), "Go");
    EXPECT_FALSE(moi_.SetStrPropByName("Nothing", "x"));
    // A string setter leaves a property of another kind alone.
    EXPECT_TRUE(moi_.SetStrPropByName("Width", "5"));
    EXPECT_EQ(button_->Ordinal(Prop(*button_, "Width")), 75);

    // Name renames the component, so that references find it by its new name.
    EXPECT_TRUE(moi_.SetStrPropByName("Name", "OkButton"));
    EXPECT_EQ(button_->Name(), "OkButton");
    EXPECT_EQ(form1_->FindOwnedComponent("OkButton"), button_);
    EXPECT_TRUE(moi_.SetPropFromLines("Name", {"GoButton"}));
    moi_.Inspect(button_);
    EXPECT_EQ(ValueOf("Name"), "GoButton");
}

TEST_F(InspectorTest, AboutIsFixed) {
    const std::string about = moi_.About();
    EXPECT_FALSE(about.empty());
    moi_.SetAbout("changed");
    EXPECT_EQ(moi_.About(), about);
}

}  // namespace
