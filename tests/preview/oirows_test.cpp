// The inspector's rows over small forms: which lines belong to an object, values from
// the text (bold) or from the live object, nested and text-only views, events, bounded
// expansion, and what picture-valued rows preview.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec/textlines.h"
#include "picturefixtures.h"
#include "preview/drawnlook.h"
#include "preview/oirows.h"
#include "preview/vcllook.h"
#include "previewtestsupport.h"
#include "runtime/valuetext.h"

namespace {

using fw::preview::InspectorRow;
using fw::preview::test::LiveForm;
using Lines = std::vector<std::string>;
namespace pv = fw::preview;
namespace pt = fw::preview::test;

// Rows of an object of a live form, looked up in the form's own text as the pane does.
struct Inspected {
    LiveForm Form;
    Lines Text;

    explicit Inspected(const std::string& text) : Form(text), Text(fw::CopyTextLines(text)) {}

    Lines SourceLines(fw::rt::Object* object, const std::string& nodeName) const {
        return pv::CollectSourceLines(Text, object ? object->Name() : nodeName);
    }
    std::vector<InspectorRow> Properties(fw::rt::Object* object, const std::string& nodeName = {}) const {
        return pv::FillProperties(object, SourceLines(object, nodeName));
    }
    std::vector<InspectorRow> Events(fw::rt::Object& object) const {
        return pv::FillEvents(object, SourceLines(&object, {}));
    }
};

const InspectorRow& Row(const std::vector<InspectorRow>& rows, std::string_view path) {
    const InspectorRow* row = pv::FindRow(rows, path);
    if (!row) throw std::runtime_error("no row " + std::string(path));
    return *row;
}

void SetOrdinal(fw::rt::Object& object, const char* property, std::int64_t value) {
    const fw::rt::Property* p = object.FindProperty(property);
    ASSERT_NE(p, nullptr) << property;
    object.Set(*p, fw::rt::Value(value));
}

const char* const ButtonForm =
    "object Form1: TForm1\r\n"
    "  Left = 0\r\n"
    "  Caption = 'Form1'\r\n"
    "  Color = clBtnFace\r\n"
    "  Font.Charset = DEFAULT_CHARSET\r\n"
    "  Font.Height = -11\r\n"
    "  Font.Name = 'Tahoma'\r\n"
    "  object Button1: TButton\r\n"
    "    Left = 8\r\n"
    "    Top = 8\r\n"
    "    Caption = 'OK'\r\n"
    "    OnClick = Button1Click\r\n"
    "  end\r\n"
    "  object Edit1: TEdit\r\n"
    "    Left = 8\r\n"
    "    Top = 40\r\n"
    "    Text = 'It''s'\r\n"
    "  end\r\n"
    "end\r\n";

TEST(CollectSourceLines, TakesTheLinesDirectlyInsideEveryObjectOfTheName) {
    const Lines text = fw::CopyTextLines(
        "inherited Form1: TForm1\r\n"
        "  Caption = 'Main'\r\n"
        "  object ListBox1: TListBox\r\n"
        "    Items.Strings = (\r\n"
        "      'a'\r\n"
        "      'b')\r\n"
        "    Left = 8\r\n"
        "    object Inner: TPanel\r\n"
        "      Left = 1\r\n"
        "    end\r\n"
        "  end\r\n"
        "  object Panel2: TPanel\r\n"
        "    object listbox1: TListBox\r\n"
        "      Top = 5\r\n"
        "    end\r\n"
        "  end\r\n"
        "  inherited objectList: TPanel\r\n"
        "    Top = 9\r\n"
        "  end\r\n"
        "  inline Frame1: TFrame1\r\n"
        "    Left = 3\r\n"
        "    object Inner2: TButton\r\n"
        "    end\r\n"
        "  end\r\n"
        "end");
    struct Case {
        const char* Name;
        Lines Expected;
    };
    const Case cases[] = {
        // The list's entries are indented further and stay out; the direct child's
        // object line comes in. Names are compared ignoring case, and every object of
        // the name counts.
        {"LISTBOX1", {"Items.Strings = (", "Left = 8", "object Inner: TPanel", "Top = 5"}},
        // Properties come before children: once the first child opens, the form's own
        // lines are over.
        {"Form1", {"Caption = 'Main'", "object ListBox1: TListBox"}},
        {"Panel2", {"object listbox1: TListBox"}},
        // An "inherited" line with "object" in it opens no object; an "inline" line does.
        {"objectList", {}},
        {"frame1", {"Left = 3", "object Inner2: TButton"}},
        {"Missing", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(pv::CollectSourceLines(text, c.Name), c.Expected);
    }
}

// Objects without a name, and objects that share one, are told apart by their line.
TEST(CollectObjectLines, TakesTheLinesOfTheObjectOnThatLine) {
    const Lines text = fw::CopyTextLines(
        "object Form1: TForm1\r\n"  // 0
        "  object TLabel\r\n"       // 1
        "    Caption = 'First'\r\n"
        "  end\r\n"
        "  object TLabel\r\n"  // 4
        "    Caption = 'Second'\r\n"
        "    Items.Strings = (\r\n"
        "      'a')\r\n"
        "    object Panel1: TPanel\r\n"
        "      Left = 1\r\n"
        "    end\r\n"
        "  end\r\n"
        "end");  // 12
    struct Case {
        int Header;
        Lines Expected;
    };
    const Case cases[] = {
        {0, {"object TLabel"}},
        {1, {"Caption = 'First'"}},
        {4, {"Caption = 'Second'", "Items.Strings = (", "object Panel1: TPanel"}},
        // Nothing follows the last line, and nothing is there before the first.
        {12, {}},
        {-1, {}},
        {13, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Header);
        EXPECT_EQ(pv::CollectObjectLines(text, c.Header), c.Expected);
    }
    // By name there is nothing to find.
    EXPECT_EQ(pv::CollectSourceLines(text, "TLabel"), Lines{});
}

TEST(SourceValueText, PlaceholdersOnlyWithoutALiveDescription) {
    struct Case {
        const char* Text;
        const char* Live;
        const char* Expected;
    };
    const Case cases[] = {
        {"<", "", "(TCollection)"},
        {"<", "(TListColumns)", "(TListColumns)"},
        {"{", "", "(Binary data)"},
        {"{", "(TBitmap)", "(TBitmap)"},
        {"(", "", "(TStrings)"},
        {"(", "only line", "only line"},
        {"clBtnFace", "-16777201", "clBtnFace"},
        {"", "x", ""},
        // Strings show their characters, whatever codes the writer put for them.
        {"'Hello'", "", "Hello"},
        {"#12510#12473#12479", "", "\xE3\x83\x9E\xE3\x82\xB9\xE3\x82\xBF"},
        {"'A'#12510'B'", "",
         "A\xE3\x83\x9E"
         "B"},
        {"'it''s'", "", "it''s"},
        {"'a'#13#10'b'", "", "a'#13#10'b"},
        {"#9'x'", "", "#9'x'"},
        {"'unterminated", "", "'unterminated"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pv::SourceValueText(c.Text, c.Live), c.Expected) << c.Text << c.Live;
}

TEST(LiveValueText, TypedNumbersShowTheirNames) {
    struct Case {
        const char* Type;
        const char* Live;
        std::string Expected;
    };
    const Case cases[] = {
        {"TColor", "-16777201", "clBtnFace"},
        {"TColor", "1193046", "$00123456"},
        {"tcolor", "255", "clRed"},
        {"TColor", "not a number", "not a number"},
        {"TCursor", "-21", "crHandPoint"},
        {"TCursor", "0", "crDefault"},
        // Only the 22 standard cursors have names here.
        {"TCursor", "-22", "-22"},
        {"TCursor", "5", "5"},
        {"TShortCut", "16467", "Ctrl+S"},
        {"TShortcut", "0", ""},
        {"TDate", "45000", fw::rt::DateToText(45000)},
        {"TTime", "0.75", fw::rt::TimeToText(0.75)},
        {"TDateTime", "45000.5", fw::rt::DateTimeToText(45000.5)},
        // A date outside the calendar keeps the lister's text.
        {"TDateTime", "1E20", "1E20"},
        {"Integer", "-16777201", "-16777201"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pv::LiveValueText(c.Type, c.Live), c.Expected) << c.Type << " " << c.Live;
}

TEST(FillProperties, TextValuesAreBoldAndLiveValuesAreNot) {
    const Inspected form(ButtonForm);
    fw::rt::Object& button = form.Form["Button1"];
    fw::rt::Object& edit = form.Form["Edit1"];
    SetOrdinal(edit, "Cursor", -21);  // crHandPoint, not in the text
    SetOrdinal(edit, "Color", 0x123456);
    const auto buttonRows = form.Properties(&button);
    const auto editRows = form.Properties(&edit);
    struct Case {
        const std::vector<InspectorRow>* Rows;
        const char* Path;
        const char* Type;
        const char* Value;
        bool Bold;
    };
    const Case cases[] = {
        {&buttonRows, "Caption", "TCaption", "OK", true},
        {&buttonRows, "Left", "Integer", "8", true},
        {&buttonRows, "Cursor", "TCursor", "crDefault", false},
        {&buttonRows, "Default", "Boolean", "False", false},
        {&editRows, "Cursor", "TCursor", "crHandPoint", false},
        {&editRows, "Color", "TColor", "$00123456", false},
        // Only one pair of enclosing quotes goes.
        {&editRows, "Text", "TCaption", "It''s", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Path);
        const InspectorRow& row = Row(*c.Rows, c.Path);
        EXPECT_EQ(row.TypeName, c.Type);
        EXPECT_EQ(row.Value, c.Value);
        EXPECT_EQ(row.SourceIndex >= 0, c.Bold);
    }
    // Events are not properties.
    EXPECT_EQ(pv::FindRow(buttonRows, "OnClick"), nullptr);
    // The rows come in name order.
    for (std::size_t i = 1; i < buttonRows.size(); ++i)
        EXPECT_LT(QString::fromStdString(buttonRows[i - 1].Name)
                      .compare(QString::fromStdString(buttonRows[i].Name), Qt::CaseInsensitive),
                  0);
}

TEST(FillProperties, ClassTypedRowsOpenIntoTheirObjectWithDottedLookups) {
    const Inspected form(ButtonForm);
    const auto rows = form.Properties(form.Form.Form.get());
    const InspectorRow& font = Row(rows, "Font");
    EXPECT_EQ(font.TypeName, "TFont");
    EXPECT_EQ(font.Value, "(TFont)");
    EXPECT_EQ(font.SourceIndex, -1);
    EXPECT_EQ(font.Kind, static_cast<int>(fw::rt::TypeKind::tkClass));
    EXPECT_EQ(font.Object, fw::preview::ObjectOf(*form.Form.Form, "Font"));
    const InspectorRow& height = Row(rows, "Font.Height");
    EXPECT_EQ(height.Value, "-11");
    EXPECT_GE(height.SourceIndex, 0);
    EXPECT_EQ(Row(rows, "Font.Name").Value, "Tahoma");
    EXPECT_EQ(Row(rows, "Font.Style").SourceIndex, -1);
    EXPECT_EQ(Row(rows, "Color").Value, "clBtnFace");
    EXPECT_GE(Row(rows, "Color").SourceIndex, 0);
}

TEST(FillProperties, ListsAndCollectionsShowTheLiveDescription) {
    const Inspected form(
        "object Form1: TForm1\r\n"
        "  object One: TListBox\r\n"
        "    Items.Strings = (\r\n"
        "      'alpha')\r\n"
        "  end\r\n"
        "  object Two: TListBox\r\n"
        "    Items.Strings = (\r\n"
        "      'alpha'\r\n"
        "      'beta')\r\n"
        "  end\r\n"
        "  object Empty: TListBox\r\n"
        "  end\r\n"
        "  object ListView1: TListView\r\n"
        "    Columns = <\r\n"
        "      item\r\n"
        "        Caption = 'Name'\r\n"
        "      end>\r\n"
        "  end\r\n"
        "end\r\n");
    const auto one = form.Properties(&form.Form["One"]);
    EXPECT_EQ(Row(one, "Items").Value, "alpha");
    EXPECT_EQ(Row(one, "Items").SourceIndex, -1);
    EXPECT_EQ(Row(form.Properties(&form.Form["Two"]), "Items").Value, "(TStrings)");
    EXPECT_EQ(pv::FindRow(form.Properties(&form.Form["Empty"]), "Items"), nullptr);

    fw::rt::Object& listView = form.Form["ListView1"];
    const auto listViewRows = form.Properties(&listView);
    const InspectorRow& columns = Row(listViewRows, "Columns");
    EXPECT_EQ(columns.Value, "(TListColumns)");
    EXPECT_GE(columns.SourceIndex, 0);

    // Without a live object the text alone speaks: one row per property line, with the
    // name as written, no type and nothing bold.
    const auto text = form.Properties(nullptr, "ListView1");
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(text[0].Name, "Columns ");
    EXPECT_EQ(text[0].Value, "(TCollection)");
    EXPECT_EQ(text[0].TypeName, "");
    EXPECT_EQ(text[0].SourceIndex, -1);
    EXPECT_EQ(text[0].Object, nullptr);
}

TEST(FillProperties, TextOnlyViewOfAnUnknownClass) {
    const std::string text =
        "object Form1: TForm1\r\n"
        "  object Gadget1: TGadget\r\n"
        "    Left = 8\r\n"
        "    Caption = 'Hello'\r\n"
        "    Tags.Strings = (\r\n"
        "      'x')\r\n"
        "    Glyph.Data = {\r\n"
        "      0000}\r\n"
        "    Odd=1\r\n"
        "    = nameless\r\n"
        "    object Child: TPanel\r\n"
        "    end\r\n"
        "  end\r\n"
        "end\r\n";
    const auto rows = pv::FillProperties(nullptr, pv::CollectSourceLines(fw::CopyTextLines(text), "Gadget1"));
    std::vector<std::pair<std::string, std::string>> shown;
    for (const InspectorRow& row : rows) {
        shown.emplace_back(row.Name, row.Value);
        EXPECT_EQ(row.SourceIndex, -1);
        EXPECT_TRUE(row.TypeName.empty());
    }
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Left ", "8"},
        {"Caption ", "Hello"},
        {"Tags.Strings ", "(TStrings)"},
        {"Glyph.Data ", "(Binary data)"},
        {"Odd", "1"},
    };
    EXPECT_EQ(shown, expected);
}

// A stand-in shows the base properties its text sets and what it keeps raw, each
// marked as read from the text, and its class line says it is not registered.
TEST(FillProperties, StandInShowsWhatItsTextStores) {
    const std::string text =
        "object Form1: TForm1\r\n"
        "  object Gadget1: TGadget\r\n"
        "    Left = 8\r\n"
        "    Width = 50\r\n"
        "    Caption = 'Hello'\r\n"
        "    Kinds = [gkA, gkB]\r\n"
        "    Style = gsFlat\r\n"
        "    Ratio = 1.5\r\n"
        "    Tags.Strings = (\r\n"
        "      'x'\r\n"
        "      'y')\r\n"
        "    Glyph.Data = {\r\n"
        "      0102}\r\n"
        "    Columns = <\r\n"
        "      item\r\n"
        "      end>\r\n"
        "  end\r\n"
        "end\r\n";
    const LiveForm form(text);
    fw::rt::Object& gadget = form["Gadget1"];
    EXPECT_EQ(pv::ClassLineText(gadget), "TGadget (not registered)");
    EXPECT_EQ(pv::ClassLineText(*form.Form), "TForm");
    const auto lines = pv::CollectSourceLines(fw::CopyTextLines(text), "Gadget1");
    const auto rows = pv::FillProperties(&gadget, lines);
    std::vector<std::pair<std::string, std::string>> shown;
    for (const InspectorRow& row : rows) {
        shown.emplace_back(row.Name, row.Value);
        if (row.Name != "Name") EXPECT_GE(row.SourceIndex, 0) << row.Name;
    }
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Left", "8"},
        {"Name", "Gadget1"},
        {"Width", "50"},
        {"Caption", "'Hello'"},
        {"Kinds", "[gkA, gkB]"},
        {"Style", "gsFlat"},
        {"Ratio", "1.5"},
        {"Tags.Strings", "(2 values)"},
        {"Glyph.Data", "(2 bytes)"},
        {"Columns", "(1 items)"},
    };
    EXPECT_EQ(shown, expected);
}

TEST(FillEvents, HandlersFromTheTextOnly) {
    const Inspected form(ButtonForm);
    fw::rt::Object& button = form.Form["Button1"];
    const auto events = form.Events(button);
    ASSERT_FALSE(events.empty());
    const InspectorRow& click = Row(events, "OnClick");
    EXPECT_EQ(click.Value, "Button1Click");
    EXPECT_GE(click.SourceIndex, 0);
    EXPECT_EQ(click.TypeName, "TNotifyEvent");
    EXPECT_EQ(click.Kind, 8);
    const InspectorRow& enter = Row(events, "OnEnter");
    EXPECT_EQ(enter.Value, "");
    EXPECT_EQ(enter.SourceIndex, -1);
    for (const InspectorRow& row : events)
        EXPECT_EQ(row.Kind, 8) << row.Name;
    // Properties are not events.
    EXPECT_EQ(pv::FindRow(events, "Caption"), nullptr);
}

TEST(FillProperties, ReferencesShowTheNameAndAreNotOpened) {
    // The data source and the table refer to each other.
    const Inspected form(
        "object Form1: TForm1\r\n"
        "  object Button1: TButton\r\n"
        "    PopupMenu = PopupMenu1\r\n"
        "  end\r\n"
        "  object PopupMenu1: TPopupMenu\r\n"
        "  end\r\n"
        "  object DataSource1: TDataSource\r\n"
        "    DataSet = Table1\r\n"
        "  end\r\n"
        "  object Table1: TTable\r\n"
        "    MasterSource = DataSource1\r\n"
        "  end\r\n"
        "end\r\n");
    fw::rt::Object& source = form.Form["DataSource1"];
    fw::rt::Object& table = form.Form["Table1"];
    ASSERT_TRUE(form.Form.Messages.empty()) << form.Form.Messages.front();

    const auto sourceRows = form.Properties(&source);
    const InspectorRow& dataSet = Row(sourceRows, "DataSet");
    EXPECT_EQ(dataSet.Value, "Table1");
    EXPECT_GE(dataSet.SourceIndex, 0);
    EXPECT_EQ(dataSet.Object, &table);
    EXPECT_TRUE(dataSet.Children.empty());

    const auto tableRows = form.Properties(&table);
    const InspectorRow& master = Row(tableRows, "MasterSource");
    EXPECT_EQ(master.Object, &source);
    EXPECT_TRUE(master.Children.empty());

    const auto buttonRows = form.Properties(&form.Form["Button1"]);
    EXPECT_EQ(Row(buttonRows, "PopupMenu").Value, "PopupMenu1");
    EXPECT_EQ(Row(buttonRows, "PopupMenu").Object, &form.Form["PopupMenu1"]);
    EXPECT_TRUE(Row(buttonRows, "PopupMenu").Children.empty());
    // Owned sub-objects still open.
    EXPECT_FALSE(Row(buttonRows, "Font").Children.empty());
}

TEST(FillProperties, CollectionsAndItemsHaveNoLinesOfTheirOwn) {
    const Inspected form(
        "object Form1: TForm1\r\n"
        "  object ListView1: TListView\r\n"
        "    Caption = 'view'\r\n"
        "    Columns = <\r\n"
        "      item\r\n"
        "        Caption = 'Name'\r\n"
        "        Width = 80\r\n"
        "      end>\r\n"
        "  end\r\n"
        "end\r\n");
    fw::rt::Object* columns = fw::preview::ObjectOf(form.Form["ListView1"], "Columns");
    ASSERT_NE(columns, nullptr);
    ASSERT_EQ(columns->Items().size(), 1u);
    fw::rt::Object& item = *columns->Items()[0];
    // Even handed the owner's lines, an item is not matched against them.
    const auto rows = pv::FillProperties(&item, form.SourceLines(&form.Form["ListView1"], {}));
    EXPECT_EQ(Row(rows, "Caption").Value, "Name");
    EXPECT_EQ(Row(rows, "Caption").SourceIndex, -1);
    EXPECT_EQ(Row(rows, "Width").Value, "80");
}

TEST(DescribePicture, KindSizeAndFilterByGraphic) {
    const std::string text =
        "object Form1: TForm1\r\n"
        "  object Wide: TBitBtn\r\n" +
        pt::HexProperty("    ", "Glyph.Data", pt::WithSize(pt::MakeBmp(64, 16))) +
        "  end\r\n"
        "  object Plain: TBitBtn\r\n"
        "  end\r\n"
        "  object Photo: TImage\r\n" +
        pt::HexProperty("    ", "Picture.Data", pt::PictureData("TBitmap", pt::WithSize(pt::MakeBmp(5, 3)))) +
        "  end\r\n"
        "  object Drawing: TImage\r\n" +
        pt::HexProperty("    ", "Picture.Data",
                        pt::PictureData("TMetafile", pt::WithSize(pt::MakeWmf(320, 200)))) +
        "  end\r\n"
        "  object Odd: TImage\r\n" +
        pt::HexProperty("    ", "Picture.Data", pt::PictureData("TSvgImage", {1, 2, 3, 4, 5, 6, 7, 8})) +
        "  end\r\n"
        "  object Blank: TImage\r\n"
        "  end\r\n"
        "end\r\n";
    const LiveForm form(text);
    ASSERT_TRUE(form.Messages.empty()) << form.Messages.front();
    struct Case {
        fw::rt::Object* Object;
        bool Shown;
        std::string Title;
        const char* Filter;
        bool Drawable;
    };
    const Case cases[] = {
        {pv::ObjectOf(form["Wide"], "Glyph"), true, "Bitmap: 64 x 16", "Bitmaps (*.bmp)", true},
        {pv::ObjectOf(form["Plain"], "Glyph"), true, "Bitmap: 0 x 0", "Bitmaps (*.bmp)", false},
        {pv::ObjectOf(*form.Form, "Icon"), true, "Icon: 32 x 32", "Icons (*.ico)", false},
        {pv::ObjectOf(form["Photo"], "Picture"), true, "Bitmap: 5 x 3", "Bitmaps (*.bmp)", true},
        {pv::ObjectOf(form["Drawing"], "Picture"), true, "Metafile: 320 x 200", "Metafiles (*.wmf)", false},
        {pv::ObjectOf(form["Odd"], "Picture"), true, "TSvgImage: 0 x 0", "All files (*)", false},
        {pv::ObjectOf(form["Blank"], "Picture"), false, "", "", false},
        {pv::ObjectOf(*form.Form, "Font"), false, "", "", false},
        {nullptr, false, "", "", false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const Case& c = cases[i];
        const pv::PicturePreview preview = pv::DescribePicture(c.Object);
        EXPECT_EQ(preview.Shown, c.Shown);
        if (!c.Shown) continue;
        EXPECT_EQ(preview.Title(), c.Title);
        EXPECT_EQ(preview.Filter, c.Filter);
        EXPECT_EQ(preview.Drawable, c.Drawable);
    }

    // A save writes the file inside the data, not the size before it.
    const std::vector<std::uint8_t> bmp = pt::MakeBmp(64, 16);
    EXPECT_EQ(pv::GraphicFileBytes(pv::ObjectOf(form["Wide"], "Glyph")->Graphic()), bmp);
    EXPECT_EQ(pv::GraphicFileBytes(pv::ObjectOf(form["Drawing"], "Picture")->Graphic()),
              pt::MakeWmf(320, 200));
    // Data in a format not known here is written as stored; an empty graphic gives
    // nothing to write.
    EXPECT_EQ(pv::GraphicFileBytes(pv::ObjectOf(form["Odd"], "Picture")->Graphic()),
              (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_TRUE(pv::GraphicFileBytes(pv::ObjectOf(form["Plain"], "Glyph")->Graphic()).empty());
}

}  // namespace
