// The look-alike table: reading a table's text (and reporting its bad lines), which rule
// wins, the answer from stored values when no rule names the class, and the shipped
// table against the class names real forms use.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "runtime/builtin.h"
#include "runtime/formbuild.h"
#include "runtime/layout.h"
#include "runtime/lookalike.h"
#include "runtime/object.h"
#include "runtime_test_support.h"

namespace {

using namespace fw::rt;

LookalikeTable ParseClean(std::string_view text) {
    std::vector<LookalikeError> errors;
    LookalikeTable table = LookalikeTable::Parse(text, errors);
    for (const LookalikeError& e : errors)
        ADD_FAILURE() << "line " << e.Line << ": " << e.Message;
    return table;
}

TEST(LookalikeTable, ReportsEveryBadLineAndKeepsTheRest) {
    const std::string longLine = "T" + std::string(600, 'x') + " = TPanel";
    const std::string text =
        "# comment\n"
        "\n"
        "TRzPanel = TPanel   # trailing comment\n"
        "TNoEquals TPanel\n"
        "* = TPanel\n"
        "*a* = TPanel\n"
        "T-Bad = TPanel\n"
        "*Edit = T Edit\n"
        " = TPanel\n" +
        longLine + "\n" +
        "TRz* = \r\n"
        "*Grid = -\n"
        "\xff\xfe = TPanel";
    std::vector<LookalikeError> errors;
    const LookalikeTable table = LookalikeTable::Parse(text, errors);
    std::vector<int> lines;
    for (const LookalikeError& e : errors) {
        lines.push_back(e.Line);
        EXPECT_FALSE(e.Message.empty());
    }
    EXPECT_EQ(lines, (std::vector<int>{4, 5, 6, 7, 8, 9, 10, 13}));
    ASSERT_EQ(table.Rules().size(), 3u);
    EXPECT_EQ(table.DrawnAs("trzpanel"), "TPanel");
    EXPECT_EQ(table.DrawnAs("TRzEdit"), "");   // a prefix rule with an empty side: a framed box
    EXPECT_EQ(table.DrawnAs("TAnyGrid"), "");  // '-' likewise
    EXPECT_EQ(table.Rules()[1].How, LookalikeRule::Match::Prefix);
    EXPECT_EQ(table.Rules()[1].Line, 11);
}

TEST(LookalikeTable, WhichRuleWins) {
    LookalikeTable shipped = ParseClean(
        "*Button = TButton\n"
        "*SpeedButton = TSpeedButton\n"
        "TJv* = TPanel\n"
        "TJvImgBtnButton = TBitBtn\n");
    struct Case {
        const char* Name;
        const char* Expected;
    } cases[] = {
        {"TMySpeedButton", "TButton"},   // suffix and prefix rules: the first written wins
        {"TJvImgBtnButton", "TBitBtn"},  // an exact rule before the others of its table
        {"TJvXPButton", "TButton"},
        {"TJvLabel", "TPanel"},
        {"tjvlabel", "TPanel"},  // case is ignored
        {"TButtonX", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shipped.DrawnAs(c.Name), c.Expected) << c.Name;

    // The user's table is asked first, even its suffix rules before shipped exact ones.
    shipped.Prepend(ParseClean("*Button = TBitBtn\n"));
    EXPECT_EQ(shipped.DrawnAs("TJvImgBtnButton"), "TBitBtn");
    EXPECT_EQ(shipped.DrawnAs("TJvXPButton"), "TBitBtn");
    EXPECT_EQ(shipped.DrawnAs("TJvLabel"), "TPanel");
}

TEST(LookalikeTable, ParsesAnyBytesWithoutFailing) {
    std::string bytes;
    for (int i = 0; i < 4096; ++i)
        bytes += static_cast<char>((i * 7919) % 256);
    std::vector<LookalikeError> errors;
    (void)LookalikeTable::Parse(bytes, errors);
    (void)LookalikeTable::Parse(std::string_view{}, errors);
    SUCCEED();
}

// The user's file: its rules asked before the shipped ones, its bad lines reported with
// the file and line and skipped; a missing file is no problem.
TEST(LookalikeTable, UserFileComesFirstAndReportsItsBadLines) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "fw_lookalike_user_test";
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "lookalikes.txt";
    {
        std::ofstream out(file, std::ios::binary);
        out << "# mine\n*Panel = TGroupBox\nnot a rule\nTAcme* = TMemo\n";
    }
    std::vector<std::string> messages;
    const LookalikeTable table = LookalikeTable::WithUserFile(file.string(), messages);
    EXPECT_EQ(messages,
              (std::vector<std::string>{"ERROR=lookalikes.txt line 3: expected 'PATTERN = CLASS'"}));
    EXPECT_EQ(table.DrawnAs("TRzPanel"), "TGroupBox");
    EXPECT_EQ(table.DrawnAs("TAcmeThing"), "TMemo");
    EXPECT_EQ(table.DrawnAs("TcxButton"), "TButton");  // the shipped rules still apply
    std::filesystem::remove_all(dir);

    messages.clear();
    const LookalikeTable shippedOnly = LookalikeTable::WithUserFile(file.string(), messages);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(shippedOnly.DrawnAs("TRzPanel"), "TPanel");
}

// A class the runtime does not know, as the reader makes one for a stand-in.
const ClassInfo kAcmeWidget{
    .Name = "TAcmeWidget", .Parent = &cls::TCustomControl, .Unit = "AcmeUnit", .Flags = CfStandIn};
const ClassInfo kAcmeButtonThing{
    .Name = "TAcmeButtonThing", .Parent = &cls::TCustomControl, .Unit = "AcmeUnit", .Flags = CfStandIn};

RawValue Text(std::string text) {
    RawValue v;
    v.Type = RawValue::Kind::String;
    v.Text = std::move(text);
    return v;
}

TEST(LookalikeTable, ReasonsFromStoredValuesWhenNoRuleNamesTheClass) {
    const std::unique_ptr<ClassRegistry> registry = MakeBuiltinRegistry();
    const LookalikeTable table = ParseClean("TOther = TPanel\n");
    RawValue columns;
    columns.Type = RawValue::Kind::Collection;
    columns.Items.resize(2);
    RawValue lines;
    lines.Type = RawValue::Kind::List;
    lines.List.push_back(Text("a"));
    struct Case {
        const ClassInfo* Info;
        std::vector<RawProperty> Stored;
        bool WithChild;
        const char* Expected;
    } cases[] = {
        {&kAcmeWidget, {{"Columns", columns}}, false, "TDBGrid"},
        {&kAcmeWidget, {{"Lines.Strings", lines}}, false, "TMemo"},
        {&kAcmeWidget, {{"Items.Strings", lines}}, false, "TListBox"},
        {&kAcmeWidget, {{"Caption", Text("OK")}}, false, "TLabel"},
        {&kAcmeButtonThing, {{"Caption", Text("OK")}}, false, "TButton"},
        {&kAcmeWidget, {{"Caption", Text("x")}, {"Text", Text("y")}}, false, "TEdit"},
        {&kAcmeWidget, {{"Text", Text("")}}, false, "TEdit"},
        {&kAcmeWidget, {}, true, "TPanel"},
        {&kAcmeWidget, {}, false, ""},
    };
    for (const Case& c : cases) {
        ObjectPtr o = CreateObject(registry->Of(*c.Info), *registry);
        o->Unpublished() = c.Stored;
        ObjectPtr child = CreateObject(registry->Of(cls::TButton), *registry);
        if (c.WithChild) child->SetParent(o.get());
        EXPECT_EQ(table.DrawnAs(*o), c.Expected) << c.Info->Name << " #" << (&c - cases);
        const Class* look = LookalikeClass(*o, table, *registry);
        if (*c.Expected) {
            ASSERT_NE(look, nullptr);
            EXPECT_EQ(look->Name(), c.Expected);
        } else {
            EXPECT_EQ(look, nullptr);
        }
        if (c.WithChild) child->SetParent(nullptr);
    }
}

TEST(LookalikeTable, NamesNotRegisteredOrStandInsLendNoLook) {
    const std::unique_ptr<ClassRegistry> registry = MakeBuiltinRegistry();
    const LookalikeTable table = ParseClean("TAcmeWidget = TNoSuchClass\nTAcmeButtonThing = TAcmeWidget\n");
    ObjectPtr a = CreateObject(registry->Of(kAcmeWidget), *registry);
    ObjectPtr b = CreateObject(registry->Of(kAcmeButtonThing), *registry);
    EXPECT_EQ(LookalikeClass(*a, table, *registry), nullptr);
    EXPECT_EQ(LookalikeClass(*b, table, *registry), nullptr);
}

// A stand-in read with a look descends from the class it borrows the look from: it
// starts with that class's values (an edit 121 x 21), its stored values of that
// class's properties are typed, and it lays out as that class does (a label sizes
// itself to its caption). A look that cannot hold controls is none for a stand-in
// that holds some.
TEST(LookalikeTable, StandInsReadWithALookAreOfThatClass) {
    const std::unique_ptr<ClassRegistry> registry = MakeBuiltinRegistry();
    const LookalikeTable table = ParseClean("*Edit = TEdit\n*Label = TLabel\n*Box = TLabel\n");
    registry->SetStandInLook([&](std::string_view name, const std::vector<RawProperty>& stored, bool holds) {
        return LookalikeClass(name, stored, holds, table, *registry);
    });
    const std::string text =
        "object Form1: TForm1\n"
        "  object E1: TAcmeEdit\n    Left = 8\n    Top = 8\n    TabOrder = 0\n  end\n"
        "  object E2: TAcmeEdit\n    Left = 8\n    Top = 40\n    Width = 200\n"
        "    Color = clYellow\n    Fancy = True\n  end\n"
        "  object L1: TAcmeLabel\n    Left = 8\n    Top = 70\n    Caption = '&Hello'\n  end\n"
        "  object B1: TAcmeBox\n    Width = 300\n    Height = 100\n"
        "    object E3: TAcmeEdit\n      Left = 4\n      Top = 4\n      TabOrder = 0\n    end\n"
        "  end\n"
        "end\n";
    ObjectPtr form = CreateObject(registry->Of(cls::TForm), *registry);
    std::vector<std::string> messages;
    BuildFormFromText(*form, text, *registry, fw::CodePage::Default(), messages);
    LayoutForm(*form);
    const auto find = [&](const char* name) {
        Object* o = form->FindOwnedComponent(name);
        EXPECT_NE(o, nullptr) << name;
        return o;
    };
    const auto size = [&](const char* name) {
        const Object* o = find(name);
        if (!o) return std::string("<none>");
        return std::to_string(o->Ordinal(*o->FindProperty("Width"))) + "x" +
               std::to_string(o->Ordinal(*o->FindProperty("Height")));
    };
    Object* e2 = find("E2");
    ASSERT_NE(e2, nullptr);
    EXPECT_TRUE(e2->GetClass().Has(CfStandIn));
    EXPECT_TRUE(e2->InheritsFrom("TEdit"));
    EXPECT_EQ(e2->Ordinal(*e2->FindProperty("Color")), 0x00FFFF);  // clYellow, typed
    ASSERT_EQ(e2->Unpublished().size(), 1u);
    EXPECT_EQ(e2->Unpublished()[0].first, "Fancy");
    EXPECT_EQ(size("E1"), "121x21");
    EXPECT_EQ(size("E2"), "200x21");
    EXPECT_EQ(size("L1"), "28x13");  // "Hello" at Tahoma 8 by the estimate: 5 x 11 / 2 wide, 13 high
    // The box holds a control: not a label but a plain stand-in, its child inside it.
    Object* b1 = find("B1");
    ASSERT_NE(b1, nullptr);
    EXPECT_FALSE(b1->InheritsFrom("TLabel"));
    EXPECT_EQ(size("B1"), "300x100");
    EXPECT_EQ(find("E3")->Parent(), b1);
    EXPECT_EQ(size("E3"), "121x21");
}

TEST(ShippedLookalikes, ParseCleanAndPlaceRealNames) {
    const std::unique_ptr<ClassRegistry> registry = MakeBuiltinRegistry();
    const LookalikeTable table = ParseClean(LookalikeTable::ShippedText());
    EXPECT_GT(table.Rules().size(), 50u);
    for (const LookalikeRule& rule : table.Rules())
        if (!rule.DrawnAs.empty())
            EXPECT_NE(registry->FindClassByName(rule.DrawnAs), nullptr)
                << "line " << rule.Line << ": " << rule.DrawnAs;
    struct Case {
        const char* Name;
        const char* Expected;
    } cases[] = {
        {"TRzPanel", "TPanel"},
        {"TcxButton", "TButton"},
        {"TJvgSpeedButton", "TSpeedButton"},
        {"TcxTextEdit", "TEdit"},
        {"TcxDBLabel", "TLabel"},
        {"TJvDBGrid", "TDBGrid"},
        {"TcxGrid", "TStringGrid"},
        {"TcxPageControl", "TPageControl"},
        {"TSpTBXTabSheet", "TTabSheet"},
        {"TVirtualStringTree", "TTreeView"},
        {"TSynEdit", "TMemo"},
        {"TcxCheckBox", "TCheckBox"},
        {"TgsIBLookupComboBox", "TDBLookupComboBox"},
        {"TJvRichEdit", "TRichEdit"},
        {"TcxSplitter", "TSplitter"},
        {"TSpTBXToolbar", "TToolBar"},
        {"TQRBand", "TPanel"},
        {"TcxGridDBTableView", ""},
        {"TADOQuery", ""},
        {"TPngImageList", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(table.DrawnAs(c.Name), c.Expected) << c.Name;
}

// How many of the classes real forms use that the runtime does not register get a look
// from the shipped table by name alone; printed, not asserted.
TEST(ShippedLookalikes, CorpusClassesPlaced) {
    const std::filesystem::path forms = std::filesystem::path(FW_CORPUS_DIR) / "forms";
    if (fwtest::CorpusMissing(forms)) GTEST_SKIP() << "corpus absent";
    const std::unique_ptr<ClassRegistry> registry = MakeBuiltinRegistry();
    const LookalikeTable table = ParseClean(LookalikeTable::ShippedText());
    std::set<std::string> unknown;
    for (const auto& [className, path] : fwtest::PropertyRows(forms))
        if (!registry->FindClassByName(className)) unknown.insert(className);
    int placed = 0;
    for (const std::string& name : unknown)
        placed += !table.DrawnAs(name).empty();
    std::printf("shipped look-alikes: %d of %zu unregistered corpus classes get a look by name\n", placed,
                unknown.size());
}

}  // namespace
