// Building a form whole: an inherited form over its ancestors' files, inline frames
// from theirs, what a missing, circular or too deep chain says, and where each object
// and value came from. The files come from memory; the corpus's frames from its folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "codec/conversion.h"
#include "codec/textlines.h"
#include "runtime/builtin.h"
#include "runtime/formbuild.h"
#include "runtime/registry.h"
#include "runtime/wholeform.h"
#include "runtime_test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace fw::rt;

fw::Bytes BytesOf(std::string_view text) {
    return fw::Bytes(text.begin(), text.end());
}

// Form files by the class of their root, and class declarations, held in memory.
class MemorySource : public FormFileSource {
public:
    struct Entry {
        std::string ClassName;
        std::string Path;
        fw::Bytes Content;
    };
    MemorySource(std::vector<Entry> files, std::map<std::string, std::string> declared)
        : files_(std::move(files)), declared_(std::move(declared)) {}

    std::optional<FormFile> FindFormOfClass(std::string_view className) override {
        ++Finds;
        for (const Entry& e : files_)
            if (EqualsIgnoringCase(e.ClassName, className)) return FormFile{e.Path, e.Content};
        return std::nullopt;
    }
    std::string DeclaredAncestorOf(std::string_view className) override {
        for (const auto& [cls, ancestor] : declared_)
            if (EqualsIgnoringCase(cls, className)) return ancestor;
        return {};
    }
    std::string SearchedText() const override { return "/mem"; }

    int Finds = 0;

private:
    std::vector<Entry> files_;
    std::map<std::string, std::string> declared_;
};

struct Built {
    ObjectPtr Root;
    std::vector<std::string> Messages;
    std::vector<ReadObject> Records;
    BuildOrigins Origins;
};

Built Build(ClassRegistry& registry, const std::string& text, FormFileSource* source,
            const fw::CodePage& page = fw::CodePage::Default()) {
    Built b;
    b.Root = CreateObject(registry.Of(cls::TForm), registry);
    std::vector<BuildMessage> messages;
    BuildFormFromText(*b.Root, text, registry, page, messages, nullptr, &b.Records, source, &b.Origins);
    for (BuildMessage& m : messages)
        b.Messages.push_back(std::move(m.Text));
    return b;
}

// The controls as a tree of names in z-order: "Form1(Panel1(Button1),Edit1)".
std::string Controls(const Object& o) {
    std::string s = o.Name();
    if (o.Controls().empty()) return s;
    s += '(';
    for (std::size_t i = 0; i < o.Controls().size(); ++i)
        s += (i ? "," : "") + Controls(*o.Controls()[i]);
    return s + ')';
}

// The components as a tree of owners: "Frame1{Edit1,Label1},Button1".
std::string Owned(const Object& o) {
    std::string s;
    for (const ObjectPtr& c : o.Components()) {
        if (!s.empty()) s += ',';
        s += c->Name();
        if (!c->Components().empty()) s += '{' + Owned(*c) + '}';
    }
    return s;
}

// The component at a dotted path of owned names below root ("" for root itself).
const Object* At(const Object& root, std::string_view path) {
    const Object* o = &root;
    while (o && !path.empty()) {
        const std::size_t dot = path.find('.');
        o = o->FindOwnedComponent(path.substr(0, dot));
        path = dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
    }
    return o;
}

// A value as text: a property path through sub-objects, "Columns[]" for the captions of
// a collection's items, "<class>" for the class, "~Name" for a whole number a stand-in
// keeps unpublished.
std::string Show(const Object* object, std::string_view path) {
    if (!object) return "<no object>";
    if (path == "<class>") return std::string(object->ClassName());
    if (path.starts_with('~')) {
        const RawValue* kept = object->FindUnpublished(path.substr(1));
        return kept ? std::to_string(kept->Integer) : "<not kept>";
    }
    if (path.ends_with("[]")) {
        const Object* collection = object->SubObject(path.substr(0, path.size() - 2));
        if (!collection) return "<no collection>";
        std::string s;
        for (const ObjectPtr& item : collection->Items())
            s += (s.empty() ? "" : ",") + item->DisplayName();
        return s;
    }
    const Object* target = object;
    for (std::size_t dot = path.find('.'); dot != std::string_view::npos; dot = path.find('.')) {
        target = target ? target->SubObject(path.substr(0, dot)) : nullptr;
        path.remove_prefix(dot + 1);
    }
    if (!target) return "<no object>";
    const Property* p = target->FindProperty(path);
    if (!p) return "<no property>";
    const Value& v = target->Get(*p);
    if (const auto* i = std::get_if<std::int64_t>(&v)) return std::to_string(*i);
    if (const auto* s = std::get_if<std::string>(&v)) return *s;
    return "<other>";
}

// A message list against wanted ones; a wanted message ending in "*" is a prefix.
void ExpectMessages(const std::vector<std::string>& got, const std::vector<std::string>& want) {
    ASSERT_EQ(got.size(), want.size()) << ::testing::PrintToString(got);
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (want[i].ends_with('*'))
            EXPECT_TRUE(got[i].starts_with(want[i].substr(0, want[i].size() - 1))) << got[i];
        else
            EXPECT_EQ(got[i], want[i]);
    }
}

const char* const BaseForm =
    "object BaseForm: TBaseForm\n"
    "  Caption = 'Base'\n"
    "  Width = 300\n"
    "  object Panel1: TPanel\n"
    "    Caption = 'P'\n"
    "    object Button1: TButton\n"
    "      Caption = 'OK'\n"
    "    end\n"
    "  end\n"
    "  object Label1: TLabel\n"
    "  end\n"
    "  object ListView1: TListView\n"
    "    Columns = <\n"
    "      item\n"
    "        Caption = 'Name'\n"
    "      end\n"
    "      item\n"
    "        Caption = 'Size'\n"
    "      end>\n"
    "  end\n"
    "end\n";

const char* const AddressFrame =
    "object AddressFrame: TAddressFrame\n"
    "  Width = 200\n"
    "  Height = 60\n"
    "  TabOrder = 0\n"
    "  object Edit1: TEdit\n"
    "    Text = 'a'\n"
    "  end\n"
    "  object Label1: TLabel\n"
    "    Caption = 'Street'\n"
    "  end\n"
    "end\n";

TEST(WholeForm, BuildsOverAncestorsAndFrames) {
    const auto registry = MakeBuiltinRegistry();
    struct Check {
        const char* Object;
        const char* Property;
        const char* Value;
    };
    const struct {
        const char* What;
        std::vector<MemorySource::Entry> Files;
        std::map<std::string, std::string> Declared;
        std::string Text;
        std::string Controls;
        std::string Owned;
        std::vector<Check> Values;
        std::vector<std::string> Messages;
    } cases[] = {
        {"an inherited object's values override the ancestor's, the others stay",
         {{"TBaseForm", "/p/base.dfm", BytesOf(BaseForm)}},
         {{"TFmMain", "TBaseForm"}, {"TBaseForm", "TForm"}},
         "inherited FmMain: TFmMain\n  Caption = 'Main'\n  inherited Panel1: TPanel\n    Caption = 'Q'\n  "
         "end\nend\n",
         "FmMain(Panel1(Button1),Label1,ListView1)",
         "Panel1,Button1,Label1,ListView1",
         {{"", "Caption", "Main"},
          {"", "Width", "300"},
          {"Panel1", "Caption", "Q"},
          {"Button1", "Caption", "OK"}},
         {}},
        {"a root stored as object reads the ancestor its declaration names",
         {{"TBaseForm", "/p/base.dfm", BytesOf(BaseForm)}},
         {{"TFmMain", "TBaseForm"}},
         "object FmMain: TFmMain\n  Caption = 'Main'\nend\n",
         "FmMain(Panel1(Button1),Label1,ListView1)",
         "Panel1,Button1,Label1,ListView1",
         {{"", "Caption", "Main"}, {"", "Width", "300"}},
         {}},
        {"new objects are added in stored order, inside inherited ones too",
         {{"TBaseForm", "/p/base.dfm", BytesOf(BaseForm)}},
         {{"TFmMain", "TBaseForm"}},
         "inherited FmMain: TFmMain\n  inherited Panel1: TPanel\n    object Button2: TButton\n    end\n"
         "    object Button3: TButton\n    end\n  end\n  object Edit1: TEdit\n  end\nend\n",
         "FmMain(Panel1(Button1,Button2,Button3),Label1,ListView1,Edit1)",
         "Panel1,Button1,Label1,ListView1,Button2,Button3,Edit1",
         {},
         {}},
        // The places count the controls without a window first, then the windowed
        // ones; each control moves among those of its kind.
        {"child positions place new and inherited objects among the parent's children",
         {{"TBaseForm", "/p/base.dfm", BytesOf(BaseForm)}},
         {{"TFmMain", "TBaseForm"}},
         "inherited FmMain: TFmMain\n  inherited Label1: TLabel [0]\n  end\n  object Edit1: TEdit [1]\n  "
         "end\n"
         "  inherited Panel1: TPanel\n    object Button0: TButton [0]\n    end\n  end\nend\n",
         "FmMain(Edit1,Panel1(Button0,Button1),Label1,ListView1)",
         "Panel1,Button1,Label1,ListView1,Edit1,Button0",
         {},
         {}},
        {"a windowed control's place counts the controls without a window before it",
         {{"TBaseForm", "/p/base.dfm", BytesOf(BaseForm)}},
         {{"TFmMain", "TBaseForm"}},
         "inherited FmMain: TFmMain\n  inherited ListView1: TListView [1]\n  end\n  object Label2: TLabel "
         "[0]\n"
         "  end\n  object Edit1: TEdit [9]\n  end\nend\n",
         "FmMain(ListView1,Panel1(Button1),Label2,Label1,Edit1)",
         "Panel1,Button1,Label1,ListView1,Label2,Edit1",
         {},
         {}},
        {"an ancestor's object of an unknown class takes the descendant's values as it took its own",
         {{"TBaseForm", "/p/base.dfm",
           BytesOf("object BaseForm: TBaseForm\n  object Grid1: TFooGrid\n    Width = 10\n    Height = 10\n"
                   "    DefaultColWidth = 20\n    RowCount = 3\n  end\nend\n")}},
         {{"TFmMain", "TBaseForm"}},
         "inherited FmMain: TFmMain\n  inherited Grid1: TFooGrid\n    Width = 50\n    DefaultColWidth = 30\n"
         "    FixedCols = 0\n  end\nend\n",
         "FmMain(Grid1)",
         "Grid1",
         {{"Grid1", "Width", "50"},
          {"Grid1", "~DefaultColWidth", "30"},
          {"Grid1", "~RowCount", "3"},
          {"Grid1", "~FixedCols", "0"}},
         {"ERROR=in base.dfm: Class TFooGrid not found"}},
        {"a collection stored in the descendant replaces the ancestor's items whole",
         {{"TBaseForm", "/p/base.dfm", BytesOf(BaseForm)}},
         {{"TFmMain", "TBaseForm"}},
         "inherited FmMain: TFmMain\n  inherited ListView1: TListView\n    Columns = <\n      item\n"
         "        Caption = 'Only'\n      end>\n  end\nend\n",
         "FmMain(Panel1(Button1),Label1,ListView1)",
         "Panel1,Button1,Label1,ListView1",
         {{"ListView1", "Columns[]", "Only"}},
         {}},
        {"a collection the descendant does not store keeps the ancestor's items",
         {{"TBaseForm", "/p/base.dfm", BytesOf(BaseForm)}},
         {{"TFmMain", "TBaseForm"}},
         "inherited FmMain: TFmMain\n  inherited ListView1: TListView\n    Width = 50\n  end\nend\n",
         "FmMain(Panel1(Button1),Label1,ListView1)",
         "Panel1,Button1,Label1,ListView1",
         {{"ListView1", "Columns[]", "Name,Size"}, {"ListView1", "Width", "50"}},
         {}},
        {"three levels, the most basic read first",
         {{"TBaseForm", "/p/base.dfm", BytesOf(BaseForm)},
          {"TMidForm", "/p/mid.dfm",
           BytesOf(
               "inherited MidForm: TMidForm\n  Caption = 'Mid'\n  Height = 200\n  inherited Panel1: TPanel\n"
               "    Caption = 'M'\n  end\n  object Panel2: TPanel\n  end\nend\n")}},
         {{"TFmMain", "TMidForm"}, {"TMidForm", "TBaseForm"}, {"TBaseForm", "TForm"}},
         "inherited FmMain: TFmMain\n  Caption = 'Main'\n  inherited Panel2: TPanel\n    object Edit1: "
         "TEdit\n"
         "    end\n  end\nend\n",
         "FmMain(Panel1(Button1),Label1,ListView1,Panel2(Edit1))",
         "Panel1,Button1,Label1,ListView1,Panel2,Edit1",
         {{"", "Caption", "Main"}, {"", "Width", "300"}, {"", "Height", "200"}, {"Panel1", "Caption", "M"}},
         {}},
        {"a frame used twice, each with its own overrides",
         {{"TAddressFrame", "/p/address.dfm", BytesOf(AddressFrame)}},
         {},
         "object Form1: TForm1\n  inline Frame1: TAddressFrame\n    Left = 8\n    inherited Edit1: TEdit\n"
         "      Text = 'home'\n    end\n  end\n  inline Frame2: TAddressFrame\n    Left = 100\n"
         "    inherited Label1: TLabel\n      Caption = 'Road'\n    end\n  end\nend\n",
         "Form1(Frame1(Edit1,Label1),Frame2(Edit1,Label1))",
         "Frame1{Edit1,Label1},Frame2{Edit1,Label1}",
         {{"Frame1", "<class>", "TFrame"},
          {"Frame1", "Left", "8"},
          {"Frame1", "Width", "200"},
          {"Frame2", "Left", "100"},
          {"Frame1.Edit1", "Text", "home"},
          {"Frame2.Edit1", "Text", "a"},
          {"Frame1.Label1", "Caption", "Street"},
          {"Frame2.Label1", "Caption", "Road"}},
         {}},
        {"a frame inside a frame, overridden from the form through both",
         {{"TAddressFrame", "/p/address.dfm", BytesOf(AddressFrame)},
          {"TOuterFrame", "/p/outer.dfm",
           BytesOf("object OuterFrame: TOuterFrame\n  Width = 400\n  inline Inner: TAddressFrame\n"
                   "    Top = 20\n  end\n  object Button1: TButton\n  end\nend\n")}},
         {},
         "object Form1: TForm1\n  inline Outer1: TOuterFrame\n    inherited Inner: TAddressFrame\n"
         "      inherited Edit1: TEdit\n        Text = 'deep'\n      end\n    end\n  end\nend\n",
         "Form1(Outer1(Inner(Edit1,Label1),Button1))",
         "Outer1{Inner{Edit1,Label1},Button1}",
         {{"Outer1.Inner.Edit1", "Text", "deep"}, {"Outer1.Inner", "Top", "20"}, {"Outer1", "Width", "400"}},
         {}},
        {"a frame in an inherited form, overridden by the descendant",
         {{"TAddressFrame", "/p/address.dfm", BytesOf(AddressFrame)},
          {"TBaseForm", "/p/base.dfm",
           BytesOf("object BaseForm: TBaseForm\n  inline Frame1: TAddressFrame\n  end\nend\n")}},
         {{"TFmMain", "TBaseForm"}},
         "inherited FmMain: TFmMain\n  inherited Frame1: TAddressFrame\n    inherited Label1: TLabel\n"
         "      Caption = 'Town'\n    end\n  end\nend\n",
         "FmMain(Frame1(Edit1,Label1))",
         "Frame1{Edit1,Label1}",
         {{"Frame1.Label1", "Caption", "Town"}},
         {}},
        {"a frame file that is itself inherited from another frame",
         {{"TAddressFrame", "/p/address.dfm", BytesOf(AddressFrame)},
          {"TPostFrame", "/p/post.dfm",
           BytesOf("inherited PostFrame: TPostFrame\n  inherited Edit1: TEdit\n    Text = 'b'\n  end\n"
                   "  object Edit2: TEdit\n  end\nend\n")}},
         {{"TPostFrame", "TAddressFrame"}, {"TAddressFrame", "TFrame"}},
         "object Form1: TForm1\n  inline Frame1: TPostFrame\n  end\nend\n",
         "Form1(Frame1(Edit1,Label1,Edit2))",
         "Frame1{Edit1,Label1,Edit2}",
         {{"Frame1.Edit1", "Text", "b"}, {"Frame1", "<class>", "TFrame"}},
         {}},
        {"a missing ancestor is said once and the text's own objects are built",
         {},
         {{"TFmMain", "TBaseForm"}},
         "inherited FmMain: TFmMain\n  inherited Panel1: TPanel\n    Caption = 'Q'\n  end\n"
         "  object Button1: TButton\n  end\nend\n",
         "FmMain(Panel1,Button1)",
         "Panel1,Button1",
         {{"Panel1", "Caption", "Q"}},
         {"WARN=Ancestor form TBaseForm not found; searched: /mem"}},
        {"an inherited root whose declared ancestor is the library's form needs no file",
         {},
         {{"TFmMain", "TForm"}},
         "inherited FmMain: TFmMain\n  object Button1: TButton\n  end\nend\n",
         "FmMain(Button1)",
         "Button1",
         {},
         {}},
        {"an inherited root without a declaration names its own class",
         {},
         {},
         "inherited FmMain: TFmMain\n  object Button1: TButton\n  end\nend\n",
         "FmMain(Button1)",
         "Button1",
         {},
         {"WARN=Ancestor form of TFmMain not found: its class declaration was not found; searched: /mem"}},
        {"a missing frame is said once, and the text is read as before",
         {},
         {},
         "object Form1: TForm1\n  inline Frame1: TAddressFrame\n    Width = 10\n    Height = 10\n"
         "    inherited Edit1: TEdit\n    end\n  end\n  inline Frame2: TAddressFrame\n    Width = 10\n"
         "    Height = 10\n  end\nend\n",
         "Form1(Frame1(Edit1),Frame2)",
         "Frame1{Edit1},Frame2",
         {},
         {"ERROR=Class TAddressFrame not found (2 objects)",
          "WARN=Frame TAddressFrame not found; searched: /mem"}},
        {"an ancestor's complaints name its file",
         {{"TBaseForm", "/p/base.dfm",
           BytesOf("object BaseForm: TBaseForm\n  Glyph2 = 1\n  object X: TFoo\n  end\nend\n")}},
         {{"TFmMain", "TBaseForm"}},
         "inherited FmMain: TFmMain\nend\n",
         "FmMain",
         "X",
         {},
         {"ERROR=in base.dfm: Property Glyph2 does not exist", "ERROR=in base.dfm: Class TFoo not found"}},
        {"an ancestor that does not parse keeps what the text has",
         {{"TBaseForm", "/p/base.dfm", BytesOf("object BaseForm: TBaseForm\n  Left 8\nend\n")}},
         {{"TFmMain", "TBaseForm"}},
         "inherited FmMain: TFmMain\n  object Button1: TButton\n  end\nend\n",
         "FmMain(Button1)",
         "Button1",
         {},
         {"ERROR=in base.dfm: Reader: *"}},
        {"a class that inherits from itself through a chain",
         {{"TMidForm", "/p/mid.dfm",
           BytesOf("inherited MidForm: TMidForm\n  object Panel2: TPanel\n  end\nend\n")}},
         {{"TFmMain", "TMidForm"}, {"TMidForm", "TFmMain"}},
         "inherited FmMain: TFmMain\n  object Button1: TButton\n  end\nend\n",
         "FmMain(Panel2,Button1)",
         "Panel2,Button1",
         {},
         {"ERROR=Cycle in form inheritance: TFmMain -> TMidForm -> TFmMain"}},
        {"a class declared as its own ancestor",
         {{"TFmMain", "/p/main.dfm", BytesOf("inherited FmMain: TFmMain\nend\n")}},
         {{"TFmMain", "TFmMain"}},
         "inherited FmMain: TFmMain\nend\n",
         "FmMain",
         "",
         {},
         {"ERROR=Cycle in form inheritance: TFmMain -> TFmMain"}},
        {"frames that hold each other",
         {{"TFrameA", "/p/a.dfm", BytesOf("object FrameA: TFrameA\n  inline B: TFrameB\n  end\nend\n")},
          {"TFrameB", "/p/b.dfm", BytesOf("object FrameB: TFrameB\n  inline A: TFrameA\n  end\nend\n")}},
         {},
         "object Form1: TForm1\n  inline A1: TFrameA\n  end\nend\n",
         "Form1(A1(B(A)))",
         "A1{B{A}}",
         {},
         {"ERROR=Cycle in form inheritance: TFrameA -> TFrameB -> TFrameA"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        MemorySource source(c.Files, c.Declared);
        const Built b = Build(*registry, c.Text, &source);
        EXPECT_EQ(Controls(*b.Root), c.Controls);
        EXPECT_EQ(Owned(*b.Root), c.Owned);
        for (const Check& check : c.Values)
            EXPECT_EQ(Show(At(*b.Root, check.Object), check.Property), check.Value)
                << check.Object << " " << check.Property;
        ExpectMessages(b.Messages, c.Messages);
    }
}

// Frames nested deeper than the limit stop with one message, however deep the files go.
TEST(WholeForm, FramesNestedTooDeeplyStop) {
    const auto registry = MakeBuiltinRegistry();
    std::vector<MemorySource::Entry> files;
    for (int i = 0; i < 40; ++i) {
        const std::string cls = "TF" + std::to_string(i);
        files.push_back({cls, "/p/f" + std::to_string(i) + ".dfm",
                         BytesOf("object F" + std::to_string(i) + ": " + cls + "\n  inline N: TF" +
                                 std::to_string(i + 1) + "\n  end\nend\n")});
    }
    MemorySource source(files, {});
    const Built b = Build(*registry, "object Form1: TForm1\n  inline N: TF0\n  end\nend\n", &source);
    ExpectMessages(b.Messages, {"ERROR=Forms nested too deeply (more than 16): TForm1 -> TF0 -> *"});
    int depth = 0;
    for (const Object* o = b.Root.get(); o && !o->Components().empty(); o = o->Components().front().get())
        ++depth;
    EXPECT_EQ(depth, MaxFormNesting);
}

// Ancestors in other encodings and code pages: each file's strings are decoded in the
// page its own fonts declare, whatever the descendant's page.
TEST(WholeForm, AncestorsInOtherEncodings) {
    const auto registry = MakeBuiltinRegistry();
    // "日本" in code page 932.
    const std::string japanese =
        "object BaseForm: TBaseForm\n  Caption = '\x93\xfa\x96\x7b'\n  Font.Charset = SHIFTJIS_CHARSET\n"
        "  object Panel1: TPanel\n  end\nend\n";
    const fw::Bytes text = BytesOf(japanese);
    const fw::CodePage& page932 = *fw::CodePage::Find(932);
    const struct {
        const char* What;
        fw::Bytes Content;
    } cases[] = {
        {"text", text},
        {"binary", fw::ConvertForm(text, fw::FormEncoding::Binary, page932)},
        {"resource", fw::ConvertForm(text, fw::FormEncoding::Resource, page932)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        MemorySource source({{"TBaseForm", "/p/base.dfm", c.Content}}, {{"TFmMain", "TBaseForm"}});
        const Built b =
            Build(*registry,
                  "inherited FmMain: TFmMain\n  inherited Panel1: TPanel\n    Caption = '\xe9'\n  end\nend\n",
                  &source, *fw::CodePage::Find(1252));
        ExpectMessages(b.Messages, {});
        EXPECT_EQ(Show(b.Root.get(), "Caption"), "\xe6\x97\xa5\xe6\x9c\xac");
        EXPECT_EQ(Show(At(*b.Root, "Panel1"), "Caption"), "\xc3\xa9");
    }
}

TEST(WholeForm, OriginsTellWhichFileEachObjectAndValueCameFrom) {
    const auto registry = MakeBuiltinRegistry();
    MemorySource source({{"TBaseForm", "/p/base.dfm",
                          BytesOf("object BaseForm: TBaseForm\n  Caption = 'Base'\n  Width = 300\n"
                                  "  object Panel1: TPanel\n    Caption = 'P'\n    Font.Height = -11\n  end\n"
                                  "  inline Frame1: TAddressFrame\n  end\nend\n")},
                         {"TAddressFrame", "/p/address.dfm", BytesOf(AddressFrame)}},
                        {{"TFmMain", "TBaseForm"}});
    const Built b =
        Build(*registry,
              "inherited FmMain: TFmMain\n  Caption = 'Main'\n  inherited Panel1: TPanel\n"
              "    Font.Height = -12\n  end\n  inherited Frame1: TAddressFrame\n    Left = 4\n  end\n"
              "  inline Frame2: TAddressFrame\n    inherited Edit1: TEdit\n      Text = 'x'\n    end\n"
              "  end\n  object Button1: TButton\n  end\nend\n",
              &source);
    ExpectMessages(b.Messages, {});
    // The frame read twice is listed once.
    EXPECT_EQ(b.Origins.Files, (std::vector<std::string>{"", "/p/base.dfm", "/p/address.dfm"}));
    const Object& root = *b.Root;
    const struct {
        const char* Object;
        int File;
    } objects[] = {
        {"", 0},       {"Panel1", 1},        {"Frame1", 1},  {"Frame1.Edit1", 2},
        {"Frame2", 0}, {"Frame2.Label1", 2}, {"Button1", 0},
    };
    for (const auto& o : objects) {
        ASSERT_NE(At(root, o.Object), nullptr) << o.Object;
        EXPECT_EQ(b.Origins.FileOf(*At(root, o.Object)), o.File) << o.Object;
    }
    const struct {
        const char* Object;
        const char* Property;
        int File;
    } values[] = {
        {"", "Caption", 0},           {"", "Width", 1},
        {"", "Height", -1},           {"Panel1", "Caption", 1},
        {"Panel1", "font.height", 0}, {"Panel1", "Width", -1},
        {"Frame1", "Width", 2},       {"Frame1", "Left", 0},
        {"Frame2.Edit1", "Text", 0},  {"Frame1.Edit1", "Text", 2},
        {"Button1", "Caption", -1},
    };
    for (const auto& v : values)
        EXPECT_EQ(b.Origins.FileOfProperty(*At(root, v.Object), v.Property), v.File)
            << v.Object << " " << v.Property;
    // The records are the text's own, for the editor's mapping from text to objects.
    ASSERT_EQ(b.Records.size(), 6u);
    EXPECT_EQ(b.Records[0].Live, b.Root.get());
    EXPECT_EQ(b.Records[1].Live, At(root, "Panel1"));
    EXPECT_EQ(b.Records[3].Live, At(root, "Frame2"));
    EXPECT_EQ(b.Records[4].Live, At(root, "Frame2.Edit1"));
}

// Without a source nothing is looked up: an inherited form is its text alone.
TEST(WholeForm, WithoutASourceTheTextAlone) {
    const auto registry = MakeBuiltinRegistry();
    const Built b =
        Build(*registry, "inherited FmMain: TFmMain\n  inline Frame1: TAddressFrame\n  end\nend\n", nullptr);
    EXPECT_EQ(Controls(*b.Root), "FmMain");
    EXPECT_EQ(Owned(*b.Root), "Frame1");
    ExpectMessages(b.Messages, {"ERROR=Class TAddressFrame not found"});
}

TEST(WholeForm, RootBase) {
    const auto registry = MakeBuiltinRegistry();
    const std::vector<MemorySource::Entry> files = {
        {"TBaseFrame", "/p/bf.dfm",
         BytesOf("object BaseFrame: TBaseFrame\n  Width = 10\n  TabOrder = 0\nend\n")},
        {"TBaseModule", "/p/bm.dfm",
         BytesOf("object BaseModule: TBaseModule\n  OldCreateOrder = False\nend\n")},
    };
    const std::map<std::string, std::string> declared = {
        {"TMyFrame", "TFrame"},         {"TMyModule", "TDataModule"}, {"TFromFile", "TBaseFrame"},
        {"TModuleFile", "TBaseModule"}, {"TLoopA", "TLoopB"},         {"TLoopB", "TLoopA"},
        {"TMyForm", "TForm"},
    };
    const struct {
        const char* What;
        const char* Text;
        bool WithSource;
        RootBase Base;
    } cases[] = {
        {"the registry knows the class", "object F: TFrame\n  Caption = 'x'\nend\n", false, RootBase::Frame},
        {"a declared frame, though it stores a caption", "object F: TMyFrame\n  Caption = 'x'\nend\n", true,
         RootBase::Frame},
        {"a declared data module", "inherited M: TMyModule\nend\n", true, RootBase::DataModule},
        {"a declared form, though it stores what frames store", "object F: TMyForm\n  TabOrder = 0\nend\n",
         true, RootBase::Form},
        {"the ancestor's file stores what frames store", "inherited F: TFromFile\n  Width = 5\nend\n", true,
         RootBase::Frame},
        {"the ancestor's file is a data module's", "inherited M: TModuleFile\nend\n", true,
         RootBase::DataModule},
        {"without a source, the text's own values", "object F: TMyFrame\n  TabOrder = 0\nend\n", false,
         RootBase::Frame},
        {"without a source, a form by default", "object F: TMyFrame\n  Width = 5\nend\n", false,
         RootBase::Form},
        {"a loop of declarations ends with the text's values",
         "object F: TLoopA\n  OldCreateOrder = False\nend\n", true, RootBase::DataModule},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        MemorySource source(files, declared);
        EXPECT_EQ(RootBaseOf(c.Text, *registry, c.WithSource ? &source : nullptr), c.Base);
    }
}

// The frame the preview draws follows the nearest file that stores a BorderStyle.
TEST(WholeForm, TheAskedBorderStyleComesFromTheNearestFileStoringOne) {
    MemorySource source(
        {{"TBaseForm", "/p/base.dfm", BytesOf("object BaseForm: TBaseForm\n  BorderStyle = bsDialog\nend\n")},
         {"TMidForm", "/p/mid.dfm", BytesOf("inherited MidForm: TMidForm\n  Caption = 'x'\nend\n")}},
        {{"TFmMain", "TMidForm"}, {"TMidForm", "TBaseForm"}, {"TOther", "TForm"}});
    const struct {
        const char* What;
        const char* Text;
        bool WithSource;
        const char* Style;
    } cases[] = {
        {"the most basic ancestor's", "inherited FmMain: TFmMain\nend\n", true, "bsDialog"},
        {"the text's own first", "inherited FmMain: TFmMain\n  BorderStyle = bsNone\nend\n", true, "bsNone"},
        {"the default without a source", "inherited FmMain: TFmMain\nend\n", false, "bsSizeable"},
        {"the default when no file stores one", "object Other: TOther\nend\n", true, "bsSizeable"},
    };
    const auto registry = MakeBuiltinRegistry();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        Built b = Build(*registry, c.Text, c.WithSource ? &source : nullptr);
        EXPECT_EQ(MakeNormalWindow(*b.Root), c.Style);
    }
}

// The corpus's forms whose inline frames have their files in the same folder: built
// whole, each frame holds the objects its own file stores.
class CorpusFolderSource : public FormFileSource {
public:
    explicit CorpusFolderSource(const fs::path& folder) : folder_(folder) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::string head(200, '\0');
            in.read(head.data(), static_cast<std::streamsize>(head.size()));
            head.resize(static_cast<std::size_t>(in.gcount()));
            if (head.starts_with("\xEF\xBB\xBF")) head.erase(0, 3);
            const std::string cls = RootClassOf(head);
            if (!cls.empty()) roots_.emplace_back(cls, entry.path());
        }
    }
    std::optional<FormFile> FindFormOfClass(std::string_view className) override {
        for (const auto& [cls, path] : roots_)
            if (EqualsIgnoringCase(cls, className)) {
                std::ifstream in(path, std::ios::binary);
                return FormFile{path.string(), fw::Bytes(std::istreambuf_iterator<char>(in), {})};
            }
        return std::nullopt;
    }
    std::string DeclaredAncestorOf(std::string_view) override { return {}; }
    std::string SearchedText() const override { return folder_.string(); }

private:
    fs::path folder_;
    std::vector<std::pair<std::string, fs::path>> roots_;
};

TEST(WholeForm, CorpusFramesAreBuiltFromTheirFiles) {
    const fs::path text = fs::path(FW_CORPUS_DIR) / "forms" / "text";
    if (fwtest::CorpusMissing(text)) GTEST_SKIP();
    const auto registry = MakeBuiltinRegistry();
    CorpusFolderSource source(text);
    const struct {
        const char* Form;
        const char* Frame;      // an inline object of the form
        const char* FrameFile;  // the file of its class
    } cases[] = {
        {"winscp__winscp__source__forms__CreateDirectory.dfm", "RightsFrame",
         "winscp__winscp__source__forms__Rights.dfm"},
        {"winscp__winscp__source__forms__CopyParamCustom.dfm", "CopyParamsFrame",
         "winscp__winscp__source__forms__CopyParams.dfm"},
        {"Embarcadero__Dev-Cpp__Source__CompOptionsFrm.dfm", "",
         "Embarcadero__Dev-Cpp__Source__CompOptionsFrame.dfm"},
        {"EtheaDev__SVGIconImageList__Demo__SvgViewer__SvgViewerUnit.dfm", "",
         "EtheaDev__SVGIconImageList__Demo__SvgViewer__FrameViewer.dfm"},
        {"Ex-Soft__test__CBuilder__Tests__VCL__TForms__child.dfm", "",
         "Ex-Soft__test__CBuilder__Tests__VCL__TForms__FrameTst.dfm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Form);
        auto read = [&](const char* name) {
            std::ifstream in(text / name, std::ios::binary);
            return std::string(std::istreambuf_iterator<char>(in), {});
        };
        const std::string form = read(c.Form);
        const std::string frameText = read(c.FrameFile);
        const std::vector<std::string> frameLines = fw::CopyTextLines(frameText);
        ASSERT_FALSE(form.empty());
        ASSERT_FALSE(frameLines.empty());
        const std::string frameClass = RootClassOf(frameText);
        // The objects written directly in the frame's file.
        std::vector<std::string> frameObjects;
        for (const std::string& line : frameLines)
            for (const char* keyword : {"  object ", "  inline ", "  inherited "})
                if (line.starts_with(keyword)) {
                    const std::size_t start = std::string(keyword).size();
                    frameObjects.push_back(line.substr(start, line.find(':') - start));
                }
        ASSERT_FALSE(frameObjects.empty());
        // Every inline object of the frame's class in the form.
        std::vector<std::string> inlines;
        for (const std::string& line : fw::CopyTextLines(form)) {
            const std::size_t at = line.find("inline ");
            if (at == std::string::npos || line.find_first_not_of(' ') != at) continue;
            const std::size_t colon = line.find(':');
            if (colon == std::string::npos || !EqualsIgnoringCase(RootClassOf(line), frameClass)) continue;
            inlines.push_back(line.substr(at + 7, colon - at - 7));
        }
        ASSERT_FALSE(inlines.empty());
        if (*c.Frame) EXPECT_EQ(inlines.front(), c.Frame);

        const Built b = Build(*registry, form, &source);
        for (const std::string& message : b.Messages)
            EXPECT_FALSE(message.starts_with("WARN=Frame")) << message;
        EXPECT_EQ(b.Origins.Files.size(), 2u);
        for (const std::string& name : inlines) {
            SCOPED_TRACE(name);
            const Object* frame = nullptr;
            for (const ReadObject& record : b.Records)
                if (record.Name == name && record.Live) frame = record.Live;
            ASSERT_NE(frame, nullptr);
            EXPECT_TRUE(frame->InheritsFrom("TCustomFrame"));
            for (const std::string& object : frameObjects) {
                const Object* inside = frame->FindOwnedComponent(object);
                ASSERT_NE(inside, nullptr) << object;
                EXPECT_EQ(b.Origins.FileOf(*inside), 1) << object;
            }
        }
    }
}

}  // namespace
