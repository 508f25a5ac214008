// The form reader on small hand-made forms. Each form is written as text and converted
// to a binary stream, the way the preview gets it.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/stream.h"
#include "codec/conversion.h"
#include "runtime/builtin.h"
#include "runtime/object.h"
#include "runtime/reader.h"
#include "runtime/storedvalues.h"

namespace {

using namespace fw::rt;

ClassRegistry& Registry() {
    static const std::unique_ptr<ClassRegistry> registry = MakeBuiltinRegistry();
    return *registry;
}

fw::Bytes Binary(const std::string& text) {
    const fw::Bytes bytes(text.begin(), text.end());
    return fw::ConvertForm(bytes, fw::FormEncoding::Binary);
}

// Hooks that record every message and answer as told.
class TestHooks : public ReaderHooks {
public:
    bool Handle = true;
    std::function<std::optional<std::uintptr_t>(const std::string&, bool&)> Methods;
    std::vector<std::string> Messages;
    std::vector<std::string> MethodNames;

    bool ErrorHook(const std::string& message) override {
        Messages.push_back(message);
        return Handle;
    }
    std::optional<std::uintptr_t> MethodLookupHook(const std::string& methodName, bool& error) override {
        MethodNames.push_back(methodName);
        if (Methods) return Methods(methodName, error);
        error = false;  // as the preview answers: no address, no error
        return std::nullopt;
    }
};

ObjectPtr NewForm() {
    return CreateObject(Registry().Of(cls::TForm), Registry());
}

struct Result {
    ObjectPtr Root = NewForm();
    TestHooks Hooks;
    ReadSummary Summary;
};

// Reads text into a new plain form.
void ReadText(Result& r, const std::string& text, FormNames* names = nullptr) {
    const fw::Bytes binary = Binary(text);
    fw::ByteViewStream in(binary);
    r.Summary = ReadFormInto(*r.Root, in, r.Hooks, Registry(), fw::CodePage::Default(), names);
}

std::unique_ptr<Result> Read(const std::string& text, FormNames* names = nullptr) {
    auto r = std::make_unique<Result>();
    ReadText(*r, text, names);
    return r;
}

// A property value by dotted path, as text for comparisons: numbers in decimal,
// strings as they are, references by the component's name.
std::string Show(const Object& object, std::string_view path) {
    const Object* target = &object;
    for (std::size_t dot = path.find('.'); dot != std::string_view::npos; dot = path.find('.')) {
        target = target ? target->SubObject(path.substr(0, dot)) : nullptr;
        path.remove_prefix(dot + 1);
    }
    if (!target) return "<no object>";
    const Property* p = target->FindProperty(path);
    if (!p) return "<no property>";
    const Value& v = target->Get(*p);
    if (const auto* i = std::get_if<std::int64_t>(&v)) return std::to_string(*i);
    if (const auto* f = std::get_if<long double>(&v)) return std::to_string(static_cast<double>(*f));
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    if (const auto* ref = std::get_if<Object*>(&v)) return *ref ? (*ref)->Name() : "nil";
    if (const auto* m = std::get_if<MethodValue>(&v)) return m->Assigned() ? m->Name : "<unassigned>";
    return "<other>";
}

std::vector<std::string> Names(const std::vector<Object*>& objects) {
    std::vector<std::string> names;
    for (const Object* o : objects)
        names.push_back(o->Name());
    return names;
}

std::vector<std::string> ComponentNames(const Object& owner) {
    std::vector<std::string> names;
    for (const ObjectPtr& c : owner.Components())
        names.push_back(c->Name());
    return names;
}

// ---------------------------------------------------------------------------------
// Objects

// An object of an unknown class is kept as a stand-in named after it, with the
// objects inside it and everything it stores.
TEST(Reader, KeepsAnUnknownClassAsAStandInWithItsChildren) {
    auto r = Read(
        "object Form1: TForm1\n"
        "  Caption = 'Main'\n"
        "  object Button1: TButton\n"
        "  end\n"
        "  object Foo1: TFooButton\n"
        "    Bar = 1\n"
        "    object Inner: TButton\n"
        "    end\n"
        "  end\n"
        "  object Button2: TButton\n"
        "    Caption = 'After'\n"
        "  end\n"
        "end\n");
    EXPECT_EQ(r->Hooks.Messages, std::vector<std::string>{"Class TFooButton not found"});
    EXPECT_EQ(ComponentNames(*r->Root), (std::vector<std::string>{"Button1", "Foo1", "Inner", "Button2"}));
    EXPECT_EQ(Names(r->Root->Controls()), (std::vector<std::string>{"Button1", "Foo1", "Button2"}));
    Object* foo = r->Root->FindOwnedComponent("Foo1");
    ASSERT_NE(foo, nullptr);
    EXPECT_EQ(foo->ClassName(), "TFooButton");
    EXPECT_TRUE(foo->GetClass().Has(CfStandIn));
    EXPECT_EQ(r->Root->FindOwnedComponent("Inner")->Parent(), foo);
    ASSERT_NE(foo->FindUnpublished("Bar"), nullptr);
    EXPECT_EQ(foo->FindUnpublished("Bar")->Integer, 1);
    EXPECT_EQ(Show(*r->Root->FindOwnedComponent("Button2"), "Caption"), "After");
    EXPECT_EQ(r->Summary.ObjectsCreated, 4);
    ASSERT_EQ(r->Summary.Issues.size(), 1u);
    EXPECT_EQ(r->Summary.Issues[0].ClassName, "TFooButton");
    // Not registered by the reading: the next form reports the class again.
    EXPECT_EQ(Registry().FindClassByName("TFooButton"), nullptr);
}

// A stand-in panel: what its base publishes is set, the rest kept raw in stream order
// with its kind; it is a control placed by its stored geometry. A component storing
// only its designer position is not a control.
// Whether a stand-in is a control is told from what it stores: a size or alignment; a
// position with what only controls store (an auto-sized label's caption, a tab order);
// records inside it. A position alone is a non-visual component's place in the
// designer, and a caption without a position is an item of a toolbar or menu.
TEST(Reader, StandInsAreControlsByWhatTheyStore) {
    const struct {
        const char* Body;
        bool Control;
    } cases[] = {
        {"    Width = 100\n    Height = 20\n", true},
        {"    Left = 8\n    Width = 100\n", true},
        {"    Width = 350\n    Font.Height = -11\n", false},  // a popup's own width
        {"    Align = alTop\n", true},
        {"    Left = 8\n    Top = 8\n    Caption = 'Name'\n", true},
        {"    Left = 8\n    Top = 8\n    TabOrder = 2\n", true},
        {"    Left = 8\n    Top = 8\n    Font.Style = [fsBold]\n", true},
        {"    object B: TButton\n    end\n", true},
        {"    Left = 8\n    Top = 8\n    Active = True\n", false},
        {"    Caption = 'Open'\n    OnClick = OpenClick\n", false},
        {"    Left = 8\n    Top = 8\n    object F: TAcmeField\n    end\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Body);
        auto r =
            Read(std::string("object Form1: TForm1\n  object X: TAcmeThing\n") + c.Body + "  end\nend\n");
        const Object* x = r->Root->FindOwnedComponent("X");
        ASSERT_NE(x, nullptr);
        EXPECT_TRUE(x->GetClass().Has(CfStandIn));
        EXPECT_EQ(x->GetClass().Has(CfControl), c.Control);
    }
}

TEST(Reader, StandInsKeepWhatTheyStore) {
    auto r = Read(
        "object Form1: TForm1\n"
        "  object P: TRzPanel\n"
        "    Left = 8\n"
        "    Top = 16\n"
        "    Width = 200\n"
        "    Height = 100\n"
        "    Align = alTop\n"
        "    Anchors = [akRight, akBottom]\n"
        "    Hint = 'tip'\n"
        "    Margins.Left = 5\n"
        "    BorderOuter = fsNone\n"
        "    Font.Name = 'Tahoma'\n"
        "    Caption = 'Panel'\n"
        "    Ratio = 1.5\n"
        "    Flags = [fA, fB]\n"
        "    Lines.Strings = (\n"
        "      'one'\n"
        "      'two')\n"
        "    Data = {0102}\n"
        "    Link = nil\n"
        "    Big = 5000000000\n"
        "    Columns = <\n"
        "      item\n"
        "        Width = 40\n"
        "      end\n"
        "      item\n"
        "        Width = 50\n"
        "      end>\n"
        "    object B: TButton\n"
        "    end\n"
        "    object E: TEdit\n"
        "    end\n"
        "  end\n"
        "  object Q: TRzQuery\n"
        "    Left = 24\n"
        "    Top = 32\n"
        "  end\n"
        "end\n");
    Object* p = r->Root->FindOwnedComponent("P");
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->GetClass().Has(CfControl));
    EXPECT_TRUE(p->GetClass().Has(CfWinControl));
    EXPECT_EQ(Show(*p, "Left"), "8");
    EXPECT_EQ(Show(*p, "Width"), "200");
    EXPECT_EQ(Show(*p, "Hint"), "tip");
    EXPECT_EQ(Show(*p, "Margins.Left"), "5");
    // What every control publishes is typed, so that layout and drawing read it.
    EXPECT_EQ(Show(*p, "Align"), "1");  // alTop
    EXPECT_EQ(Show(*p, "Anchors"), "12");
    EXPECT_EQ(Show(*p, "Font.Name"), "Tahoma");
    EXPECT_EQ(Names(p->Controls()), (std::vector<std::string>{"B", "E"}));
    using K = RawValue::Kind;
    const struct {
        const char* Path;
        K Kind;
        const char* Text;
    } cases[] = {
        {"BorderOuter", K::Identifier, "fsNone"},
        {"Caption", K::String, "Panel"},
        {"Ratio", K::Float, ""},
        {"Flags", K::Set, ""},
        {"Lines.Strings", K::List, ""},
        {"Data", K::Binary, ""},
        {"Link", K::Null, ""},
        {"Big", K::Integer, ""},
        {"Columns", K::Collection, ""},
    };
    std::vector<std::string> order;
    for (const auto& [path, value] : p->Unpublished())
        order.push_back(path);
    EXPECT_EQ(order, (std::vector<std::string>{"BorderOuter", "Caption", "Ratio", "Flags", "Lines.Strings",
                                               "Data", "Link", "Big", "Columns"}));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Path);
        const RawValue* v = p->FindUnpublished(c.Path);
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->Type, c.Kind);
        if (*c.Text) EXPECT_EQ(v->Text, c.Text);
    }
    EXPECT_EQ(p->FindUnpublished("Ratio")->Float, 1.5L);
    EXPECT_EQ(p->FindUnpublished("Flags")->Names, (std::vector<std::string>{"fA", "fB"}));
    ASSERT_EQ(p->FindUnpublished("Lines.Strings")->List.size(), 2u);
    EXPECT_EQ(p->FindUnpublished("Lines.Strings")->List[1].Text, "two");
    EXPECT_EQ(p->FindUnpublished("Data")->Bytes, (std::vector<std::uint8_t>{1, 2}));
    EXPECT_EQ(p->FindUnpublished("Big")->Integer, 5000000000);
    ASSERT_EQ(p->FindUnpublished("Columns")->Items.size(), 2u);
    EXPECT_EQ(p->FindUnpublished("Columns")->Items[1].Properties.at(0).second.Integer, 50);

    Object* q = r->Root->FindOwnedComponent("Q");
    ASSERT_NE(q, nullptr);
    EXPECT_TRUE(q->GetClass().Has(CfStandIn));
    EXPECT_FALSE(q->GetClass().Has(CfControl));
    EXPECT_EQ(q->FindUnpublished("Left")->Integer, 24);
}

TEST(Reader, UnhandledErrorsAreRaisedWithTheirMessage) {
    const struct {
        const char* Body;
        const char* Message;
    } cases[] = {
        {"  object Foo1: TFooButton\n  end\n", "Class TFooButton not found"},
        {"  Glyph2 = 1\n", "Property Glyph2 does not exist"},
        {"  Width = 'wide'\n", "Error reading Form1.Width: Invalid property value"},
        {"  object B: TButton\n  end\n  object B: TButton\n  end\n", "A component named B already exists"},
    };
    for (const auto& c : cases) {
        Result r;
        r.Hooks.Handle = false;
        try {
            ReadText(r, std::string("object Form1: TForm1\n") + c.Body + "end\n");
            ADD_FAILURE() << "no error for " << c.Body;
        } catch (const fw::EReadError& e) {
            EXPECT_STREQ(e.what(), c.Message);
        }
        // Whatever was read before stays, and is marked loaded.
        EXPECT_TRUE(r.Root->Loaded()) << c.Body;
    }
}

TEST(Reader, StreamFailuresAreRaised) {
    Result r;
    fw::Bytes bad = Binary("object Form1: TForm1\nend\n");
    bad[3] = '1';
    fw::ByteViewStream in(bad);
    try {
        ReadFormInto(*r.Root, in, r.Hooks, Registry());
        ADD_FAILURE() << "bad signature accepted";
    } catch (const fw::EReadError& e) {
        EXPECT_STREQ(e.what(), "Invalid stream format");
    }
    EXPECT_TRUE(r.Hooks.Messages.empty());
}

// Every cut of a real-looking form, and every byte changed to each of a few values,
// must end in success or a clean error: the reader must not read past the data or crash.
TEST(Reader, DamagedStreamsFailCleanly) {
    const fw::Bytes good = Binary(
        "object Form1: TForm1\n"
        "  Font.Style = [fsBold]\n"
        "  object ListView1: TListView\n"
        "    Columns = <\n"
        "      item\n"
        "        Caption = 'A'\n"
        "      end>\n"
        "    PopupMenu = Menu1\n"
        "    OnClick = Clicked\n"
        "  end\n"
        "  object Memo1: TMemo\n"
        "    Lines.Strings = (\n"
        "      'one')\n"
        "  end\n"
        "  object Image1: TImage\n"
        "    Picture.Data = {07544269746D6170}\n"
        "  end\n"
        "  object Menu1: TPopupMenu\n"
        "  end\n"
        "end\n");
    auto attempt = [](const fw::Bytes& bytes) {
        ObjectPtr root = NewForm();
        TestHooks hooks;
        fw::ByteViewStream in(bytes);
        try {
            ReadFormInto(*root, in, hooks, Registry());
        } catch (const fw::Exception&) {
        }
    };
    for (std::size_t n = 0; n < good.size(); ++n)
        attempt(fw::Bytes(good.begin(), good.begin() + n));
    for (std::size_t i = 4; i < good.size(); ++i) {
        for (std::uint8_t b : {0x00, 0x01, 0x0E, 0x7F, 0xF3, 0xFF}) {
            fw::Bytes changed = good;
            changed[i] = b;
            attempt(changed);
        }
    }
}

TEST(Reader, DeepNestingIsRefusedNotOverflowed) {
    // Objects inside objects, far deeper than any form: each is class "TPanel" with an
    // empty name and no properties.
    fw::Bytes deep = {'T', 'P', 'F', '0'};
    const int levels = 200000;
    for (int i = 0; i < levels; ++i) {
        for (char c : std::string("\x06TPanel\x00\x00", 9))
            deep.push_back(static_cast<std::uint8_t>(c));
    }
    deep.insert(deep.end(), 2 * static_cast<std::size_t>(levels), 0);
    Result r;
    fw::ByteViewStream in(deep);
    EXPECT_THROW(ReadFormInto(*r.Root, in, r.Hooks, Registry()), fw::EReadError);

    // Lists inside lists in a value the reader skips.
    fw::Bytes lists = Binary("object Form1: TForm1\nend\n");
    lists.resize(lists.size() - 2);  // the root's two end markers
    const std::string name = "\x06Unused";
    lists.insert(lists.end(), name.begin(), name.end());
    lists.insert(lists.end(), levels, fw::TagList);
    lists.insert(lists.end(), levels + 2, 0);
    fw::ByteViewStream listIn(lists);
    Result r2;
    EXPECT_THROW(ReadFormInto(*r2.Root, listIn, r2.Hooks, Registry()), fw::EReadError);
}

TEST(Reader, InheritedObjectsAreFoundByName) {
    Result r;
    r.Root->SetName("Form1");
    Object* panel = r.Root->AddComponent(CreateObject(*Registry().FindClassByName("TPanel"), Registry()));
    panel->SetName("Panel1");
    panel->SetParent(r.Root.get());
    ReadText(r,
             "inherited Form1: TForm1\n"
             "  inherited Panel1: TPanel\n"
             "    Caption = 'changed'\n"
             "    object Button1: TButton\n"
             "    end\n"
             "  end\n"
             "end\n");
    EXPECT_TRUE(r.Hooks.Messages.empty());
    EXPECT_EQ(ComponentNames(*r.Root), (std::vector<std::string>{"Panel1", "Button1"}));
    EXPECT_EQ(r.Root->FindOwnedComponent("Panel1"), panel);
    EXPECT_EQ(Show(*panel, "Caption"), "changed");
    EXPECT_EQ(Names(panel->Controls()), std::vector<std::string>{"Button1"});
    EXPECT_EQ(r.Summary.ObjectsCreated, 1);
    EXPECT_TRUE(panel->Loaded());
}

// A plain form read in place of a descendant form has none of the ancestor's objects:
// they are made from their classes, so that they and what they hold are shown.
TEST(Reader, InheritedObjectsMissingFromTheRootAreMade) {
    auto r = Read(
        "inherited Form2: TForm2\n"
        "  inherited Panel1: TPanel\n"
        "    Caption = 'from the ancestor'\n"
        "    object Button1: TButton\n"
        "    end\n"
        "  end\n"
        "  inherited Foo1: TFooPanel\n"
        "  end\n"
        "end\n");
    EXPECT_EQ(r->Hooks.Messages, std::vector<std::string>{"Class TFooPanel not found"});
    Object* panel = r->Root->FindOwnedComponent("Panel1");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(Show(*panel, "Caption"), "from the ancestor");
    EXPECT_EQ(Names(panel->Controls()), std::vector<std::string>{"Button1"});
}

TEST(Reader, ChildPositionReordersAmongTheParentsChildren) {
    auto r = Read(
        "object Form1: TForm1\n"
        "  object Panel1: TPanel\n"
        "    object A: TButton\n"
        "    end\n"
        "    object B: TButton\n"
        "    end\n"
        "    inline C: TFrame [0]\n"
        "    end\n"
        "    object D: TButton [2]\n"
        "    end\n"
        "  end\n"
        "end\n");
    EXPECT_TRUE(r->Hooks.Messages.empty());
    const Object* panel = r->Root->FindOwnedComponent("Panel1");
    EXPECT_EQ(Names(panel->Controls()), (std::vector<std::string>{"C", "A", "D", "B"}));
}

TEST(Reader, RootNameIsMadeUniqueAmongTheApplicationsForms) {
    FormNames names;
    Result other;
    names.Add("Form1", other.Root.get());
    auto first = Read("object Form1: TForm1\nend\n", &names);
    auto second = Read("object form1: TForm1\nend\n", &names);
    EXPECT_EQ(first->Root->Name(), "Form1_1");
    EXPECT_EQ(second->Root->Name(), "form1_2");
    EXPECT_EQ(names.Find("FORM1_1"), first->Root.get());
    EXPECT_TRUE(names.Has("form1_2"));
    // Without a name set, the written name stands.
    auto alone = Read("object Form1: TForm1\nend\n");
    EXPECT_EQ(alone->Root->Name(), "Form1");
}

TEST(Reader, ParentsAndOwners) {
    auto r = Read(
        "object Form1: TForm1\n"
        "  object Panel1: TPanel\n"
        "    object Timer1: TTimer\n"
        "    end\n"
        "    inline Frame1: TFrame\n"
        "      object Button1: TButton\n"
        "      end\n"
        "    end\n"
        "  end\n"
        "  object MainMenu1: TMainMenu\n"
        "    object File1: TMenuItem\n"
        "      object Open1: TMenuItem\n"
        "      end\n"
        "    end\n"
        "  end\n"
        "end\n");
    EXPECT_TRUE(r->Hooks.Messages.empty());
    Object& root = *r->Root;
    EXPECT_EQ(ComponentNames(root),
              (std::vector<std::string>{"Panel1", "Timer1", "Frame1", "MainMenu1", "File1", "Open1"}));
    Object* panel = root.FindOwnedComponent("Panel1");
    Object* frame = root.FindOwnedComponent("Frame1");
    // A non-visual component written inside a control belongs to the form alone.
    EXPECT_EQ(root.FindOwnedComponent("Timer1")->Parent(), nullptr);
    EXPECT_EQ(root.FindOwnedComponent("Timer1")->ParentComponent(), nullptr);
    EXPECT_EQ(Names(panel->Controls()), std::vector<std::string>{"Frame1"});
    // The objects of an inline frame are the frame's.
    EXPECT_EQ(ComponentNames(*frame), std::vector<std::string>{"Button1"});
    EXPECT_EQ(Names(frame->Controls()), std::vector<std::string>{"Button1"});
    // Menu items hang below their menu and parent item.
    Object* file = root.FindOwnedComponent("File1");
    EXPECT_EQ(file->ParentComponent(), root.FindOwnedComponent("MainMenu1"));
    EXPECT_EQ(Names(file->ChildComponents()), std::vector<std::string>{"Open1"});
    EXPECT_EQ(file->Parent(), nullptr);
    for (const ObjectPtr& c : root.Components())
        EXPECT_TRUE(c->Loaded()) << c->Name();
    EXPECT_TRUE(frame->FindOwnedComponent("Button1")->Loaded());
}

// ---------------------------------------------------------------------------------
// Values

// One property line on a component, the value it gives and the message it causes. A
// property set after the bad one shows that reading went on.
TEST(Reader, ValuesByKind) {
    const struct {
        const char* Class;
        const char* Line;
        const char* Path;
        const char* Value;  // as Show gives it
        const char* Message;
    } cases[] = {
        {"TButton", "Width = 100", "Width", "100", ""},
        {"TButton", "Width = 'wide'", "Width", "75", "Error reading X.Width: Invalid property value"},
        {"TButton", "Width = 4294967296", "Width", "75", "Error reading X.Width: Invalid property value"},
        {"TPanel", "Color = clWindow", "Color", "-16777211", ""},
        {"TButton", "Cursor = CRHANDPOINT", "Cursor", "-21", ""},
        {"TButton", "Cursor = crNowhere", "Cursor", "0", "Error reading X.Cursor: Invalid property value"},
        {"TButton", "Visible = False", "Visible", "0", ""},
        {"TButton", "Visible = 0", "Visible", "1", "Error reading X.Visible: Invalid property value"},
        {"TButton", "Align = ALCLIENT", "Align", "5", ""},
        {"TButton", "Align = alNowhere", "Align", "0", "Error reading X.Align: Invalid property value"},
        {"TButton", "Anchors = [akRight, akBottom]", "Anchors", "12", ""},
        {"TButton", "Anchors = [akLeft, akSideways]", "Anchors", "3",
         "Error reading X.Anchors: Invalid property value"},
        {"TButton", "Font.Style = [fsBold, fsItalic]", "Font.Style", "3", ""},
        {"TButton", "Font.Name = 'Arial'", "Font.Name", "Arial", ""},
        {"TButton", "Font.Foo = 1", "Font.Name", "Tahoma", "Property Font.Foo does not exist"},
        {"TButton", "Caption.Size = 1", "Caption", "", "Error reading X.Caption.Size: Invalid property path"},
        {"TButton", "Caption = 'caf'#233' '#1071", "Caption", "caf\xC3\xA9 \xD0\xAF", ""},
        {"TButton", "Caption = 12", "Caption", "", "Error reading X.Caption: Invalid property value"},
        {"TButton", "Hint = 'a'\n    Hint = 'b'", "Hint", "b", ""},
        {"TEdit", "PasswordChar = '*'", "PasswordChar", "42", ""},
        {"TEdit", "PasswordChar = #8364", "PasswordChar", "128", ""},  // the euro sign's byte
        {"TEdit", "PasswordChar = 'ab'", "PasswordChar", "0",
         "Error reading X.PasswordChar: Invalid property value"},
        {"TDateTimePicker", "Date = 45000.5", "Date", "45000.500000", ""},
        {"TDateTimePicker", "Date = 45000", "Date", "45000.000000", ""},
        {"TDateTimePicker", "Date = 'today'", "Date", "0.000000",
         "Error reading X.Date: Invalid property value"},
        // Currency text holds the amount times 10000.
        {"TBCDField", "MaxValue = 12345678c", "MaxValue", "1234.567800", ""},
        {"TBCDField", "MaxValue = 12", "MaxValue", "12.000000", ""},
        {"TButton", "PopupMenu = 12", "PopupMenu", "nil",
         "Error reading X.PopupMenu: Invalid property value"},
        {"TListView", "Columns = 3", "Columns", "<other>", "Error reading X.Columns: Invalid property value"},
        {"TButton", "Glyph2 = {0102}", "Caption", "", "Property Glyph2 does not exist"},
    };
    for (const auto& c : cases) {
        auto r = Read(std::string("object Form1: TForm1\n  object X: ") + c.Class + "\n    " + c.Line +
                      "\n    Tag = 7\n  end\nend\n");
        const Object* x = r->Root->FindOwnedComponent("X");
        ASSERT_NE(x, nullptr) << c.Line;
        EXPECT_EQ(Show(*x, c.Path), c.Value) << c.Line;
        EXPECT_EQ(Show(*x, "Tag"), "7") << c.Line;
        const std::vector<std::string> expected =
            *c.Message ? std::vector<std::string>{c.Message} : std::vector<std::string>{};
        EXPECT_EQ(r->Hooks.Messages, expected) << c.Line;
    }
}

TEST(Reader, EventsGoThroughTheMethodHook) {
    const std::string form =
        "object Form1: TForm1\n"
        "  OnCreate = FormCreate\n"
        "  object Button1: TButton\n"
        "    OnClick = Button1Click\n"
        "  end\n"
        "end\n";
    {  // The preview's answer: no address and no error leaves the events unassigned.
        auto r = Read(form);
        EXPECT_TRUE(r->Hooks.Messages.empty());
        EXPECT_EQ(r->Hooks.MethodNames, (std::vector<std::string>{"FormCreate", "Button1Click"}));
        EXPECT_EQ(Show(*r->Root, "OnCreate"), "<unassigned>");
        EXPECT_EQ(Show(*r->Root->FindOwnedComponent("Button1"), "OnClick"), "<unassigned>");
    }
    {  // An address assigns the event, with the form as its data.
        Result r;
        r.Hooks.Methods = [](const std::string& name, bool&) -> std::optional<std::uintptr_t> {
            return name == "Button1Click" ? std::optional<std::uintptr_t>(0x4000) : std::nullopt;
        };
        ReadText(r, form);
        const Property* onClick = r.Root->FindOwnedComponent("Button1")->FindProperty("OnClick");
        const MethodValue* m = r.Root->FindOwnedComponent("Button1")->Method(*onClick);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->Code, 0x4000u);
        EXPECT_EQ(m->Data, reinterpret_cast<std::uintptr_t>(r.Root.get()));
        EXPECT_EQ(m->Name, "Button1Click");
        // FormCreate had no address and the error left standing: a message.
        EXPECT_EQ(r.Hooks.Messages,
                  std::vector<std::string>{"Error reading Form1.OnCreate: Invalid property value"});
    }
    {  // The default hook answers nothing, which is an error for every event.
        ObjectPtr root = NewForm();
        struct Recorder : ReaderHooks {
            std::vector<std::string> Messages;
            bool ErrorHook(const std::string& message) override {
                Messages.push_back(message);
                return true;
            }
        } hooks;
        const fw::Bytes binary = Binary(form);
        fw::ByteViewStream in(binary);
        ReadFormInto(*root, in, hooks, Registry());
        EXPECT_EQ(hooks.Messages.size(), 2u);
    }
}

TEST(Reader, StringListsReadTheirLines) {
    auto r = Read(
        "object Form1: TForm1\n"
        "  object Memo1: TMemo\n"
        "    Lines.Strings = (\n"
        "      'first'\n"
        "      ''\n"
        "      'd'#252'rfen')\n"
        "  end\n"
        "  object ComboBox1: TComboBox\n"
        "    Items.Strings = (\n"
        "      'a'\n"
        "      12\n"
        "      'b')\n"
        "  end\n"
        "end\n");
    const Object* lines = r->Root->FindOwnedComponent("Memo1")->SubObject("Lines");
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(lines->Lines(), (std::vector<std::string>{"first", "", "d\xC3\xBCrfen"}));
    // A line that is no string is reported; the others are kept.
    EXPECT_EQ(r->Root->FindOwnedComponent("ComboBox1")->SubObject("Items")->Lines(),
              (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(r->Hooks.Messages,
              std::vector<std::string>{"Error reading ComboBox1.Items.Strings: Invalid property value"});
}

TEST(Reader, CollectionsReadTheirItems) {
    auto r = Read(
        "object Form1: TForm1\n"
        "  object ListView1: TListView\n"
        "    Columns = <\n"
        "      item\n"
        "        Caption = 'Name'\n"
        "        Width = 120\n"
        "      end\n"
        "      item [5]\n"
        "        Caption = 'Size'\n"
        "        WidthType = (\n"
        "          -2)\n"
        "      end\n"
        "      item\n"
        "        Nonsense = 1\n"
        "        Caption = 'Date'\n"
        "      end>\n"
        "  end\n"
        "end\n");
    const Object* columns = r->Root->FindOwnedComponent("ListView1")->SubObject("Columns");
    ASSERT_NE(columns, nullptr);
    ASSERT_EQ(columns->Items().size(), 3u);
    EXPECT_EQ(Show(*columns->Items()[0], "Caption"), "Name");
    EXPECT_EQ(Show(*columns->Items()[0], "Width"), "120");
    EXPECT_EQ(Show(*columns->Items()[1], "Caption"), "Size");
    EXPECT_EQ(columns->Items()[1]->StoredBlocks().at("WidthType").Integers, std::vector<std::int64_t>{-2});
    EXPECT_EQ(Show(*columns->Items()[2], "Caption"), "Date");
    EXPECT_EQ(columns->Items()[2]->Collection(), columns);
    EXPECT_EQ(r->Hooks.Messages, std::vector<std::string>{"Property Nonsense does not exist"});
    ASSERT_EQ(r->Summary.Issues.size(), 1u);
    EXPECT_EQ(r->Summary.Issues[0].Context, "ListView1.Columns[2]");
    EXPECT_EQ(r->Summary.Issues[0].ClassName, "TListColumn");
}

// References name components that may come later; they are resolved at the end.
TEST(Reader, ReferencesAreResolvedAfterTheWholeForm) {
    FormNames names;
    Result form2;
    ReadText(form2,
             "object Form2: TForm2\n"
             "  object ImageList1: TImageList\n"
             "  end\n"
             "end\n",
             &names);
    auto r = Read(
        "object Form1: TForm1\n"
        "  ActiveControl = Button1\n"
        "  object Button1: TButton\n"
        "    PopupMenu = PopupMenu1\n"
        "  end\n"
        "  object Button2: TButton\n"
        "    PopupMenu = Button1\n"
        "  end\n"
        "  object Button3: TButton\n"
        "    PopupMenu = NoSuchMenu\n"
        "  end\n"
        "  object ToolBar1: TToolBar\n"
        "    Images = Form2.ImageList1\n"
        "    HotImages = Form1.Images1\n"
        "  end\n"
        "  object PopupMenu1: TPopupMenu\n"
        "  end\n"
        "  object Images1: TImageList\n"
        "  end\n"
        "end\n",
        &names);
    EXPECT_TRUE(r->Hooks.Messages.empty());
    const Object& root = *r->Root;
    EXPECT_EQ(Show(root, "ActiveControl"), "Button1");
    EXPECT_EQ(Show(*root.FindOwnedComponent("Button1"), "PopupMenu"), "PopupMenu1");
    // A component of the wrong class, or no component, leaves the reference empty.
    EXPECT_EQ(Show(*root.FindOwnedComponent("Button2"), "PopupMenu"), "nil");
    EXPECT_EQ(Show(*root.FindOwnedComponent("Button3"), "PopupMenu"), "nil");
    Object* toolBar = root.FindOwnedComponent("ToolBar1");
    EXPECT_EQ(toolBar->ObjectValue(*toolBar->FindProperty("Images")),
              form2.Root->FindOwnedComponent("ImageList1"));
    EXPECT_EQ(Show(*toolBar, "HotImages"), "Images1");

    // A form that goes away takes the references into it along.
    names.Remove(form2.Root.get());
    EXPECT_EQ(Show(*toolBar, "Images"), "nil");
    EXPECT_EQ(Show(*toolBar, "HotImages"), "Images1");
    EXPECT_FALSE(names.Has("Form2"));
}

// References inside collection items are resolved at the end too; a collection
// written twice keeps the second list, and the references in the items it dropped are
// forgotten with them (resolving them would write into destroyed items).
TEST(Reader, ReferencesInCollectionItemsFollowTheItemsKept) {
    auto r = Read(
        "object Form1: TForm1\n"
        "  object CoolBar1: TCoolBar\n"
        "    Bands = <\n"
        "      item\n"
        "        Control = Panel1\n"
        "      end\n"
        "      item\n"
        "        Control = Panel2\n"
        "      end>\n"
        "    Bands = <\n"
        "      item\n"
        "        Control = Panel2\n"
        "      end>\n"
        "    object Panel1: TPanel\n"
        "    end\n"
        "    object Panel2: TPanel\n"
        "    end\n"
        "  end\n"
        "  object CoolBar2: TCoolBar\n"
        "    Bands = <\n"
        "      item\n"
        "        Control = Panel3\n"
        "      end>\n"
        "  end\n"
        "  object Panel3: TPanel\n"
        "  end\n"
        "end\n");
    EXPECT_TRUE(r->Hooks.Messages.empty());
    const Object* bands = r->Root->FindOwnedComponent("CoolBar1")->SubObject("Bands");
    ASSERT_EQ(bands->Items().size(), 1u);
    EXPECT_EQ(Show(*bands->Items()[0], "Control"), "Panel2");
    const Object* single = r->Root->FindOwnedComponent("CoolBar2")->SubObject("Bands");
    ASSERT_EQ(single->Items().size(), 1u);
    EXPECT_EQ(Show(*single->Items()[0], "Control"), "Panel3");
}

TEST(Reader, ReferencesInsideAnInlineFrameAreTheFrames) {
    auto r = Read(
        "object Form1: TForm1\n"
        "  inline Frame1: TFrame\n"
        "    object Button1: TButton\n"
        "      PopupMenu = PopupMenu1\n"
        "    end\n"
        "    object PopupMenu1: TPopupMenu\n"
        "    end\n"
        "  end\n"
        "  object Button2: TButton\n"
        "    PopupMenu = Frame1.PopupMenu1\n"
        "  end\n"
        "end\n");
    EXPECT_TRUE(r->Hooks.Messages.empty());
    const Object* frame = r->Root->FindOwnedComponent("Frame1");
    EXPECT_EQ(Show(*frame->FindOwnedComponent("Button1"), "PopupMenu"), "PopupMenu1");
    EXPECT_EQ(Show(*r->Root->FindOwnedComponent("Button2"), "PopupMenu"), "PopupMenu1");
}

// ---------------------------------------------------------------------------------
// Values the classes write themselves

TEST(Reader, StoredValuesAreKeptNotReported) {
    auto r = Read(
        "object Form1: TForm1\n"
        "  TextHeight = 13\n"
        "  object Panel1: TPanel\n"
        "    Anchors = [akLeft, akTop, akRight]\n"
        "    ExplicitLeft = 8\n"
        "    ExplicitWidth = 200\n"
        "    DesignSize = (\n"
        "      185\n"
        "      41)\n"
        "  end\n"
        "  object Label1: TLabel\n"
        "    IsControl = True\n"
        "  end\n"
        "  object Timer1: TTimer\n"
        "    left = 24\n"
        "    Top = 16\n"
        "  end\n"
        "  object StringGrid1: TStringGrid\n"
        "    ColWidths = (\n"
        "      64\n"
        "      120)\n"
        "  end\n"
        "  object ImageList1: TImageList\n"
        "    Bitmap = {494C0101}\n"
        "  end\n"
        "  object Query1: TQuery\n"
        "    ParamData = <\n"
        "      item\n"
        "        DataType = ftInteger\n"
        "        Name = 'ID'\n"
        "        ParamType = ptInput\n"
        "        Value = 12\n"
        "      end\n"
        "      item\n"
        "        Name = 'Title'\n"
        "        Value = 'x'\n"
        "      end>\n"
        "  end\n"
        "end\n");
    EXPECT_TRUE(r->Hooks.Messages.empty()) << r->Hooks.Messages.front();
    const Object& root = *r->Root;
    auto stored = [](const Object* o, const char* name) {
        const auto it = o->Stored().find(name);
        return it == o->Stored().end() ? std::int64_t{-999} : std::get<std::int64_t>(it->second);
    };
    EXPECT_EQ(stored(&root, "TextHeight"), 13);
    const Object* panel = root.FindOwnedComponent("Panel1");
    EXPECT_EQ(stored(panel, "ExplicitLeft"), 8);
    EXPECT_EQ(stored(panel, "ExplicitWidth"), 200);
    EXPECT_EQ(panel->StoredBlocks().at("DesignSize").Integers, (std::vector<std::int64_t>{185, 41}));
    EXPECT_EQ(stored(root.FindOwnedComponent("Label1"), "IsControl"), 1);
    // Under the name the class uses, whatever the letter case in the form.
    EXPECT_EQ(stored(root.FindOwnedComponent("Timer1"), "Left"), 24);
    EXPECT_EQ(stored(root.FindOwnedComponent("Timer1"), "Top"), 16);
    EXPECT_EQ(root.FindOwnedComponent("StringGrid1")->StoredBlocks().at("ColWidths").Integers,
              (std::vector<std::int64_t>{64, 120}));
    EXPECT_EQ(root.FindOwnedComponent("ImageList1")->StoredBlocks().at("Bitmap").Bytes,
              (std::vector<std::uint8_t>{0x49, 0x4C, 0x01, 0x01}));
    const Object* params = root.FindOwnedComponent("Query1")->SubObject("Params");
    ASSERT_EQ(params->Items().size(), 2u);
    EXPECT_EQ(Show(*params->Items()[0], "Name"), "ID");
    // A variant keeps its value's text.
    EXPECT_EQ(Show(*params->Items()[0], "Value"), "12");
    EXPECT_EQ(Show(*params->Items()[1], "Value"), "x");
    EXPECT_EQ(r->Summary.PropertiesSet, 17);
}

TEST(Reader, StoredValuesOfTheWrongShapeAreReported) {
    const struct {
        const char* Class;
        const char* Line;
        const char* Message;
    } cases[] = {
        {"TPanel", "DesignSize = (\n 1\n 2\n 3)", "Error reading X.DesignSize: Invalid property value"},
        {"TPanel", "ExplicitLeft = 'left'", "Error reading X.ExplicitLeft: Invalid property value"},
        {"TTimer", "Left = 1.5", "Error reading X.Left: Invalid property value"},
        {"TMemo", "Lines.Strings = 'one'", "Error reading X.Lines.Strings: Invalid property value"},
        // Only components have a designer position.
        {"TListView", "Columns = <\n item\n Left = 1\n end>", "Property Left does not exist"},
    };
    for (const auto& c : cases) {
        auto r = Read(std::string("object Form1: TForm1\n  object X: ") + c.Class + "\n    " + c.Line +
                      "\n    Tag = 7\n  end\nend\n");
        EXPECT_EQ(r->Hooks.Messages, std::vector<std::string>{c.Message}) << c.Line;
        EXPECT_EQ(Show(*r->Root->FindOwnedComponent("X"), "Tag"), "7") << c.Line;
    }
}

// ---------------------------------------------------------------------------------
// Pictures

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (std::uint8_t b : bytes) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return hex;
}

void PutLE(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A BMP file of width x height, 24 bits per pixel, bottom-up unless topDown.
std::vector<std::uint8_t> Bmp(int width, int height, bool topDown = false) {
    const std::uint32_t row = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t pixels = row * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> b = {'B', 'M'};
    PutLE(b, 54 + pixels, 4);
    PutLE(b, 0, 4);
    PutLE(b, 54, 4);
    PutLE(b, 40, 4);
    PutLE(b, static_cast<std::uint32_t>(width), 4);
    PutLE(b, static_cast<std::uint32_t>(topDown ? -height : height), 4);
    PutLE(b, 1, 2);
    PutLE(b, 24, 2);
    for (int i = 0; i < 6; ++i)
        PutLE(b, 0, 4);
    b.resize(b.size() + pixels, 0x80);
    return b;
}

std::vector<std::uint8_t> SizePrefixed(const std::vector<std::uint8_t>& file) {
    std::vector<std::uint8_t> b;
    PutLE(b, static_cast<std::uint32_t>(file.size()), 4);
    b.insert(b.end(), file.begin(), file.end());
    return b;
}

std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> bytes, std::size_t n) {
    bytes.resize(n);
    return bytes;
}

std::vector<std::uint8_t> PictureData(const std::string& className, const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> b = {static_cast<std::uint8_t>(className.size())};
    b.insert(b.end(), className.begin(), className.end());
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

std::vector<std::uint8_t> Ico(int width, int height) {
    std::vector<std::uint8_t> b;
    PutLE(b, 0, 2);
    PutLE(b, 1, 2);
    PutLE(b, 1, 2);
    b.push_back(static_cast<std::uint8_t>(width & 0xFF));
    b.push_back(static_cast<std::uint8_t>(height & 0xFF));
    b.resize(b.size() + 14 + 40, 0);
    return b;
}

std::vector<std::uint8_t> Png(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                   0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    for (std::uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            b.push_back(static_cast<std::uint8_t>(v >> shift));
    b.resize(b.size() + 5 + 4, 0);
    return b;
}

std::vector<std::uint8_t> Jpeg(int width, int height) {
    std::vector<std::uint8_t> b = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F'};  // an APP0 segment to step over
    const std::vector<std::uint8_t> frame = {0xFF,
                                             0xC2,
                                             0,
                                             11,
                                             8,
                                             static_cast<std::uint8_t>(height >> 8),
                                             static_cast<std::uint8_t>(height),
                                             static_cast<std::uint8_t>(width >> 8),
                                             static_cast<std::uint8_t>(width),
                                             1,
                                             1,
                                             0x11,
                                             0};
    b.insert(b.end(), frame.begin(), frame.end());
    b.push_back(0xFF);
    b.push_back(0xD9);
    return b;
}

TEST(Reader, PicturesKnowTheirFormatAndSize) {
    const struct {
        const char* Name;
        const char* Class;
        const char* Path;
        std::vector<std::uint8_t> Data;
        const char* GraphicClass;
        const char* Format;
        int Width, Height;
        const char* Message;
    } cases[] = {
        {"bitmap picture", "TImage", "Picture", PictureData("TBitmap", SizePrefixed(Bmp(3, 2))), "TBitmap",
         "bmp", 3, 2, ""},
        {"top-down bitmap", "TImage", "Picture", PictureData("TBitmap", SizePrefixed(Bmp(5, 7, true))),
         "TBitmap", "bmp", 5, 7, ""},
        {"icon picture", "TImage", "Picture", PictureData("TIcon", Ico(48, 0)), "TIcon", "ico", 48, 256, ""},
        {"png picture", "TImage", "Picture", PictureData("TPngImage", Png(640, 480)), "TPngImage", "png", 640,
         480, ""},
        {"jpeg picture", "TImage", "Picture", PictureData("TJPEGImage", SizePrefixed(Jpeg(300, 200))),
         "TJPEGImage", "jpeg", 300, 200, ""},
        {"unknown graphic class", "TImage", "Picture", PictureData("TFooImage", {1, 2, 3}), "TFooImage", "",
         0, 0, ""},
        {"empty picture", "TImage", "Picture", {}, "", "", 0, 0, ""},
        {"button glyph", "TBitBtn", "Glyph", SizePrefixed(Bmp(16, 16)), "TBitmap", "bmp", 16, 16, ""},
        {"empty glyph", "TBitBtn", "Glyph", {0, 0, 0, 0}, "TBitmap", "", 0, 0, ""},
        {"damaged bitmap", "TImage", "Picture", PictureData("TBitmap", SizePrefixed({'B', 'M', 1, 2})),
         "TBitmap", "", 0, 0, "Error reading X.Picture.Data: Bitmap image is not valid"},
        {"bitmap cut short", "TBitBtn", "Glyph", Cut(SizePrefixed(Bmp(4, 4)), 24), "TBitmap", "", 0, 0,
         "Error reading X.Glyph.Data: Bitmap image is not valid"},
        {"class name longer than the data",
         "TImage",
         "Picture",
         {200, 'T'},
         "",
         "",
         0,
         0,
         "Error reading X.Picture.Data: Invalid property value"},
    };
    for (const auto& c : cases) {
        auto r = Read(std::string("object Form1: TForm1\n  object X: ") + c.Class + "\n    " + c.Path +
                      ".Data = {" + Hex(c.Data) + "}\n    Tag = 7\n  end\nend\n");
        const Object* sub = r->Root->FindOwnedComponent("X")->SubObject(c.Path);
        ASSERT_NE(sub, nullptr) << c.Name;
        const GraphicData& g = sub->Graphic();
        EXPECT_EQ(g.ClassName, c.GraphicClass) << c.Name;
        EXPECT_EQ(g.Format, c.Format) << c.Name;
        EXPECT_EQ(g.Width, c.Width) << c.Name;
        EXPECT_EQ(g.Height, c.Height) << c.Name;
        if (*c.Format) EXPECT_EQ(g.Image()[0], c.Data[c.Data.size() - g.ImageLength]) << c.Name;
        const std::vector<std::string> expected =
            *c.Message ? std::vector<std::string>{c.Message} : std::vector<std::string>{};
        EXPECT_EQ(r->Hooks.Messages, expected) << c.Name;
        EXPECT_EQ(Show(*r->Root->FindOwnedComponent("X"), "Tag"), "7") << c.Name;
    }
}

TEST(Reader, FormIconIsRead) {
    auto r = Read("object Form1: TForm1\n  Icon.Data = {" + Hex(Ico(32, 32)) + "}\nend\n");
    EXPECT_TRUE(r->Hooks.Messages.empty());
    EXPECT_EQ(r->Root->SubObject("Icon")->Graphic().Width, 32);
    EXPECT_EQ(r->Root->SubObject("Icon")->Graphic().Format, "ico");
}

TEST(StoredValues, RulesNameClassesTheRegistryKnows) {
    // Every rule's class must exist, or the rule can never apply; FindStoredValue must
    // find each rule through its own class.
    std::map<std::string, const Class*, std::less<>> known;
    auto add = [&](const Class* c) {
        for (; c; c = c->Parent())
            known.emplace(std::string(c->Name()), c);
    };
    for (const Class* c : Registry().RegisteredClasses())
        add(c);
    add(&Registry().Of(cls::TForm));
    add(&Registry().Of(cls::TDataModule));
    for (const StoredValueRule& rule : StoredValueRules()) {
        const auto it = known.find(rule.ClassName);
        ASSERT_NE(it, known.end()) << rule.ClassName << "." << rule.Name;
        const Class* cls = it->second;
        EXPECT_EQ(FindStoredValue(*cls, rule.Name), &rule) << rule.ClassName << "." << rule.Name;
        if (rule.Shape == StoredShape::Collection) {
            const Property* target = cls->FindProperty(rule.Target);
            ASSERT_NE(target, nullptr) << rule.ClassName << "." << rule.Target;
            EXPECT_EQ(target->Info->Holding, PropHolding::Owned);
        }
    }
}

}  // namespace
