// The run-time layout of loaded forms: frames and client areas, alignment, anchors and
// the sizes controls give themselves. Each case is a small form written as text and
// the bounds its controls end up with.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/stream.h"
#include "codec/conversion.h"
#include "runtime/builtin.h"
#include "runtime/layout.h"
#include "runtime/reader.h"

namespace {

using namespace fw::rt;

ClassRegistry& Registry() {
    static const std::unique_ptr<ClassRegistry> registry = MakeBuiltinRegistry();
    return *registry;
}

// Reads form text into a new plain form; any reading error fails the test.
ObjectPtr Load(const std::string& text) {
    ObjectPtr root = CreateObject(Registry().Of(cls::TForm), Registry());
    const fw::Bytes bytes(text.begin(), text.end());
    const fw::Bytes binary = fw::ConvertForm(bytes, fw::FormEncoding::Binary);
    fw::ByteViewStream in(binary);
    ReaderHooks hooks;
    ReadFormInto(*root, in, hooks, Registry());
    return root;
}

ObjectPtr LoadAndLayOut(const std::string& text) {
    ObjectPtr root = Load(text);
    LayoutForm(*root);
    return root;
}

const Object& Named(const Object& root, const std::string& name) {
    if (root.Name() == name) return root;
    const Object* found = root.FindOwnedComponent(name);
    if (!found) throw std::runtime_error("no component " + name);
    return *found;
}

std::int64_t Int(const Object& o, std::string_view name) {
    const Property* p = o.FindProperty(name);
    return p ? o.Ordinal(*p) : -999999;
}

// Bounds as text, so that a failure shows all four at once.
std::string BoundsOf(const Object& o) {
    return "(" + std::to_string(Int(o, "Left")) + "," + std::to_string(Int(o, "Top")) + "," +
           std::to_string(Int(o, "Width")) + "," + std::to_string(Int(o, "Height")) + ")";
}

std::string Show(const Rect& r) {
    return "(" + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom) + ")";
}

std::string Show(const Insets& i) {
    return "[" + std::to_string(i.Left) + "," + std::to_string(i.Top) + "," + std::to_string(i.Right) + "," +
           std::to_string(i.Bottom) + "]";
}

struct Expected {
    const char* Name;
    const char* Bounds;  // (Left,Top,Width,Height)
};

void ExpectBounds(const Object& root, const std::vector<Expected>& expected) {
    for (const Expected& e : expected)
        EXPECT_EQ(BoundsOf(Named(root, e.Name)), e.Bounds) << e.Name;
}

// A form of 400 x 300 client pixels around the given children.
std::string Form400x300(const std::string& body) {
    return "object Form1: TForm1\n  ClientWidth = 400\n  ClientHeight = 300\n" + body + "end\n";
}

// ---------------------------------------------------------------------------------
// Forms: outer size from client size and frame

TEST(Layout, FormFrameAndClientSize) {
    const struct {
        const char* Name;
        const char* Properties;
        const char* Children;
        int Width, Height, ClientWidth, ClientHeight;
    } cases[] = {
        {"sizeable", "ClientWidth = 624\n ClientHeight = 441\n", "", 640, 480, 624, 441},
        {"single", "BorderStyle = bsSingle\n ClientWidth = 300\n ClientHeight = 200\n", "", 306, 229, 300,
         200},
        {"dialog", "BorderStyle = bsDialog\n ClientWidth = 300\n ClientHeight = 200\n", "", 306, 229, 300,
         200},
        {"tool window", "BorderStyle = bsToolWindow\n ClientWidth = 300\n ClientHeight = 200\n", "", 306, 229,
         300, 200},
        {"sizeable tool window", "BorderStyle = bsSizeToolWin\n ClientWidth = 300\n ClientHeight = 200\n", "",
         316, 239, 300, 200},
        {"no border", "BorderStyle = bsNone\n ClientWidth = 300\n ClientHeight = 200\n", "", 300, 200, 300,
         200},
        {"outer size only", "Width = 400\n Height = 300\n", "", 400, 300, 384, 261},
        {"menu bar", "ClientWidth = 300\n ClientHeight = 200\n Menu = MainMenu1\n",
         "object MainMenu1: TMainMenu\n object File1: TMenuItem\n Caption = 'File'\n end\n end\n", 316, 259,
         300, 200},
        {"menu without items", "ClientWidth = 300\n ClientHeight = 200\n Menu = MainMenu1\n",
         "object MainMenu1: TMainMenu\n end\n", 316, 239, 300, 200},
        {"menu with hidden items only", "ClientWidth = 300\n ClientHeight = 200\n Menu = MainMenu1\n",
         "object MainMenu1: TMainMenu\n object File1: TMenuItem\n Visible = False\n end\n end\n", 316, 239,
         300, 200},
        {"border width", "BorderWidth = 5\n ClientWidth = 300\n ClientHeight = 200\n", "", 326, 249, 300,
         200},
        {"constraints bound the outer size",
         "ClientWidth = 300\n ClientHeight = 200\n Constraints.MaxWidth = 200\n Constraints.MinHeight = "
         "400\n",
         "", 200, 400, 184, 361},
        {"hostile sizes saturate", "ClientWidth = 2147483647\n ClientHeight = -20\n", "", 2147483647, 240,
         2147483631, 201},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const ObjectPtr root =
            LoadAndLayOut(std::string("object Form1: TForm1\n ") + c.Properties + c.Children + "end\n");
        EXPECT_EQ(Int(*root, "Width"), c.Width);
        EXPECT_EQ(Int(*root, "Height"), c.Height);
        EXPECT_EQ(Int(*root, "ClientWidth"), c.ClientWidth);
        EXPECT_EQ(Int(*root, "ClientHeight"), c.ClientHeight);
        EXPECT_EQ(Show(ClientRect(*root)), Show(Rect{0, 0, c.ClientWidth, c.ClientHeight}));
    }
}

TEST(Layout, FormFrameParts) {
    const ObjectPtr tool = Load("object Form1: TForm1\n BorderStyle = bsToolWindow\n BorderWidth = 2\nend\n");
    const FormFrame f = FrameOf(*tool);
    EXPECT_EQ(f.Frame, 3);
    EXPECT_EQ(f.Caption, 23);
    EXPECT_TRUE(f.SmallCaption);
    EXPECT_EQ(f.MenuBar, 0);
    EXPECT_EQ(Show(NonClientInsets(*tool)), "[5,28,5,5]");
    const ObjectPtr plain = Load("object Form1: TForm1\nend\n");
    EXPECT_FALSE(FrameOf(*plain).SmallCaption);
    EXPECT_EQ(Show(NonClientInsets(*plain)), "[8,31,8,8]");
}

// ---------------------------------------------------------------------------------
// Client areas

TEST(Layout, ClientRectsOfContainers) {
    const ObjectPtr root = LoadAndLayOut(Form400x300(
        "  object PanelDefault: TPanel\n  end\n"
        "  object PanelBevels: TPanel\n    BevelInner = bvLowered\n    BevelWidth = 2\n    BorderWidth = 3\n "
        " end\n"
        "  object PanelSingle: TPanel\n    BorderStyle = bsSingle\n  end\n"
        "  object PanelFlat: TPanel\n    BorderStyle = bsSingle\n    Ctl3D = False\n    BevelOuter = bvNone\n"
        "  end\n"
        "  object Group: TGroupBox\n"
        "    object GroupChild: TPanel\n      Align = alClient\n    end\n"
        "  end\n"
        "  object GroupFlat: TGroupBox\n    Ctl3D = False\n  end\n"
        "  object Radio: TRadioGroup\n  end\n"
        "  object Scroll: TScrollBox\n  end\n"
        "  object Pages: TPageControl\n"
        "    object Sheet1: TTabSheet\n      BorderWidth = 4\n    end\n"
        "  end\n"
        "  object PagesBottom: TPageControl\n    TabPosition = tpBottom\n"
        "    object Sheet2: TTabSheet\n    end\n"
        "  end\n"
        "  object PagesEmpty: TPageControl\n  end\n"
        "  object PagesTall: TPageControl\n    TabHeight = 30\n"
        "    object Sheet3: TTabSheet\n    end\n"
        "  end\n"
        "  object Tabs: TTabControl\n    Tabs.Strings = (\n      'One'\n      'Two')\n  end\n"
        "  object Edit: TEdit\n  end\n"
        "  object Button: TButton\n  end\n"
        "  object Frame: TFrame\n  end\n"
        // Bars, all aligned at the top by default.
        "  object Bar: TToolBar\n"
        "    object BarChild: TPanel\n      Align = alClient\n    end\n"
        "  end\n"
        "  object BarAllSides: TToolBar\n    EdgeBorders = [ebLeft, ebTop, ebRight, ebBottom]\n"
        "    EdgeInner = esNone\n    BorderWidth = 3\n  end\n"
        "  object Cool: TCoolBar\n  end\n"
        "  object ActionBar: TActionToolBar\n    Height = 26\n  end\n"
        "  object MenuBar: TActionMainMenuBar\n    Height = 26\n    EdgeBorders = [ebBottom]\n  end\n"
        // Rows of tabs.
        "  object PagesMulti: TPageControl\n    MultiLine = True\n    TabWidth = 100\n"
        "    object SheetM1: TTabSheet\n    end\n"
        "    object SheetM2: TTabSheet\n    end\n"
        "    object SheetM3: TTabSheet\n    end\n"
        "  end\n"
        "  object PagesOneRow: TPageControl\n    TabWidth = 100\n"
        "    object SheetO1: TTabSheet\n    end\n"
        "    object SheetO2: TTabSheet\n    end\n"
        "    object SheetO3: TTabSheet\n    end\n"
        "  end\n"
        "  object PagesHidden: TPageControl\n    MultiLine = True\n    TabWidth = 100\n"
        "    object SheetH1: TTabSheet\n    end\n"
        "    object SheetH2: TTabSheet\n    end\n"
        "    object SheetH3: TTabSheet\n      TabVisible = False\n    end\n"
        "  end\n"
        "  object PagesLeft: TPageControl\n    TabPosition = tpLeft\n    TabWidth = 100\n"
        "    object SheetL1: TTabSheet\n    end\n"
        "    object SheetL2: TTabSheet\n    end\n"
        "  end\n"
        "  object TabsMulti: TTabControl\n    MultiLine = True\n    Style = tsButtons\n"
        "    Tabs.Strings = (\n      'First tab caption'\n      'Second tab capti&on'\n"
        "      'Third tab caption')\n  end\n"
        "  object Tabbed: TTabbedNotebook\n"
        "    object TabPage1: TTabPage\n      Caption = 'One'\n    end\n"
        "    object TabPage2: TTabPage\n      Caption = 'Two'\n    end\n"
        "    object TabPage3: TTabPage\n      Caption = 'Three'\n    end\n"
        "    object TabPage4: TTabPage\n      Caption = 'Four'\n    end\n"
        "  end\n"
        "  object Book: TNotebook\n"
        "    object Page1: TPage\n      Caption = 'One'\n    end\n"
        "  end\n"));
    const struct {
        const char* Name;
        const char* ClientRect;
        const char* NonClient;
    } cases[] = {
        {"Form1", "(0,0,400,300)", "[8,31,8,8]"},
        // A panel's bevel (raised, 1 wide by default) and BorderWidth are inside.
        {"PanelDefault", "(1,1,184,40)", "[0,0,0,0]"},
        {"PanelBevels", "(7,7,178,34)", "[0,0,0,0]"},
        // bsSingle is a sunken edge outside the client area, flat without Ctl3D.
        {"PanelSingle", "(1,1,180,36)", "[2,2,2,2]"},
        {"PanelFlat", "(0,0,183,39)", "[1,1,1,1]"},
        // Group boxes: the caption band is the font's line height (13 for Tahoma 8).
        {"Group", "(2,15,183,103)", "[0,0,0,0]"},
        {"GroupFlat", "(1,14,184,104)", "[0,0,0,0]"},
        {"Radio", "(2,15,183,103)", "[0,0,0,0]"},
        {"Scroll", "(0,0,181,37)", "[2,2,2,2]"},
        // Tab rows: line height + 7, inside a 4-pixel frame.
        {"Pages", "(4,24,285,189)", "[0,0,0,0]"},
        {"PagesBottom", "(4,4,285,169)", "[0,0,0,0]"},
        {"PagesEmpty", "(4,4,285,189)", "[0,0,0,0]"},
        {"PagesTall", "(4,34,285,189)", "[0,0,0,0]"},
        {"Tabs", "(4,24,285,189)", "[0,0,0,0]"},
        {"Sheet1", "(0,0,273,157)", "[4,4,4,4]"},
        {"Edit", "(0,0,117,17)", "[2,2,2,2]"},
        {"Button", "(0,0,75,25)", "[0,0,0,0]"},
        {"Frame", "(0,0,320,240)", "[0,0,0,0]"},
        // Tool windows: a line per edge style on each side EdgeBorders lists, outside
        // the BorderWidth; a tool bar has its top edge only, an action bar none.
        {"Bar", "(0,0,400,27)", "[0,2,0,0]"},
        {"BarAllSides", "(0,0,392,21)", "[4,4,4,4]"},
        {"Cool", "(0,0,396,71)", "[2,2,2,2]"},
        {"ActionBar", "(0,0,400,26)", "[0,0,0,0]"},
        {"MenuBar", "(0,0,400,24)", "[0,0,0,2]"},
        // Tabs 100 wide in a row 285 long (inside 2 pixels at either end): three need
        // two rows when MultiLine, hidden sheets have no tab, side tabs always wrap.
        {"PagesMulti", "(4,44,285,189)", "[0,0,0,0]"},
        {"PagesOneRow", "(4,24,285,189)", "[0,0,0,0]"},
        {"PagesHidden", "(4,24,285,189)", "[0,0,0,0]"},
        {"PagesLeft", "(44,4,285,189)", "[0,0,0,0]"},
        // Buttons of caption + 16 with 3-pixel gaps: two rows of 20 + 3.
        {"TabsMulti", "(0,46,289,193)", "[0,0,0,0]"},
        // Three tabs a row (TabsPerRow).
        {"Tabbed", "(4,44,296,246)", "[0,0,0,0]"},
        {"Book", "(0,0,150,150)", "[0,0,0,0]"},
    };
    for (const auto& c : cases) {
        const Object& o = Named(*root, c.Name);
        EXPECT_EQ(Show(ClientRect(o)), c.ClientRect) << c.Name;
        EXPECT_EQ(Show(NonClientInsets(o)), c.NonClient) << c.Name;
    }
    // Sheets fill the display area; aligned children fill the client rect.
    ExpectBounds(*root, {{"Sheet1", "(4,24,281,165)"},
                         {"Sheet2", "(4,4,281,165)"},
                         {"Sheet3", "(4,34,281,155)"},
                         {"SheetM3", "(4,44,281,145)"},
                         {"SheetL2", "(44,4,241,185)"},
                         {"TabPage4", "(4,44,292,202)"},
                         {"Page1", "(0,0,150,150)"},
                         {"GroupChild", "(2,15,181,88)"},
                         {"BarChild", "(0,0,400,27)"}});
}

// ---------------------------------------------------------------------------------
// Alignment

TEST(Layout, AlignsByKindOrderMarginsAndPadding) {
    const ObjectPtr root = LoadAndLayOut(Form400x300(
        "  Padding.Left = 10\n  Padding.Top = 10\n  Padding.Right = 10\n  Padding.Bottom = 10\n"
        // Written first but lower down: goes below Top1.
        "  object Top2: TPanel\n    Top = 100\n    Height = 30\n    Align = alTop\n  end\n"
        "  object Top1: TPanel\n    Height = 50\n    Align = alTop\n  end\n"
        "  object Bottom1: TPanel\n    Height = 40\n    Align = alBottom\n"
        "    AlignWithMargins = True\n  end\n"
        "  object Left1: TPanel\n    Width = 60\n    Align = alLeft\n  end\n"
        "  object Hidden1: TPanel\n    Left = 5\n    Top = 5\n    Width = 70\n    Height = 20\n"
        "    Align = alRight\n    Visible = False\n  end\n"
        "  object Right1: TPanel\n    Width = 80\n    Align = alRight\n  end\n"
        "  object Client1: TPanel\n    Align = alClient\n    BorderWidth = 2\n    Padding.Left = 4\n"
        "    object Inner1: TPanel\n      Align = alClient\n    end\n"
        "  end\n"));
    ExpectBounds(*root, {
                            {"Top1", "(10,10,380,50)"},
                            {"Top2", "(10,60,380,30)"},
                            {"Bottom1", "(13,247,374,40)"},  // 3-pixel margins all round
                            {"Left1", "(10,90,60,154)"},
                            {"Hidden1", "(5,5,70,20)"},  // takes no place, keeps its bounds
                            {"Right1", "(310,90,80,154)"},
                            {"Client1", "(70,90,240,154)"},
                            {"Inner1", "(7,3,230,148)"},  // bevel 1 + border 2, padding 4 on the left
                        });
}

TEST(Layout, AlignOrderTiesAndConstraints) {
    const ObjectPtr root = LoadAndLayOut(
        "object Form1: TForm1\n  ClientWidth = 200\n  ClientHeight = 100\n"
        // Bottom ones go from the bottom up by their bottom edge.
        "  object B1: TPanel\n    Top = 10\n    Height = 10\n    Align = alBottom\n  end\n"
        "  object B2: TPanel\n    Top = 50\n    Height = 20\n    Align = alBottom\n  end\n"
        // Equal right edges: the later one goes further right.
        "  object R1: TPanel\n    Width = 30\n    Align = alRight\n  end\n"
        "  object R2: TPanel\n    Width = 30\n    Align = alRight\n  end\n"
        // A control that cannot take the offered size moves the remaining area.
        "  object L1: TPanel\n    Width = 20\n    Align = alLeft\n    Constraints.MinWidth = 40\n  end\n"
        "  object C1: TPanel\n    Align = alClient\n    Constraints.MaxWidth = 50\n  end\n"
        "  object Custom1: TPanel\n    Left = 7\n    Top = 8\n    Width = 9\n    Height = 10\n"
        "    Align = alCustom\n  end\n"
        "end\n");
    ExpectBounds(*root, {
                            {"B2", "(0,80,200,20)"},
                            {"B1", "(0,70,200,10)"},
                            {"R2", "(170,0,30,70)"},
                            {"R1", "(140,0,30,70)"},
                            {"L1", "(0,0,40,70)"},
                            {"C1", "(40,0,50,70)"},
                            {"Custom1", "(7,8,9,10)"},
                        });
}

// ---------------------------------------------------------------------------------
// Anchors

TEST(Layout, AnchorsFollowTheParentsChangeFromItsDesignSize) {
    // The panel was designed at 200 x 100 (its bounds as loaded) and fills the form.
    const ObjectPtr resized = LoadAndLayOut(Form400x300(
        "  object P: TPanel\n    Width = 200\n    Height = 100\n    Align = alClient\n    BevelOuter = "
        "bvNone\n"
        "    object A: TPanel\n      Left = 10\n      Top = 10\n      Width = 20\n"
        "      Height = 20\n    end\n"
        "    object R: TPanel\n      Left = 150\n      Top = 10\n      Width = 30\n      Height = 20\n"
        "      Anchors = [akTop, akRight]\n    end\n"
        "    object S: TPanel\n      Left = 10\n      Top = 40\n      Width = 180\n      Height = 50\n"
        "      Anchors = [akLeft, akTop, akRight, akBottom]\n    end\n"
        "    object C: TPanel\n      Left = 80\n      Top = 40\n      Width = 40\n      Height = 20\n"
        "      Anchors = []\n    end\n"
        "    object B: TPanel\n      Left = 10\n      Top = 70\n      Width = 20\n      Height = 20\n"
        "      Anchors = [akLeft, akBottom]\n      Visible = False\n    end\n"
        "    object Al: TPanel\n      Width = 200\n      Height = 5\n      Align = alTop\n"
        "      Anchors = [akLeft, akTop, akRight, akBottom]\n    end\n"
        "  end\n"));
    ExpectBounds(*resized, {
                               {"P", "(0,0,400,300)"},
                               {"A", "(10,10,20,20)"},
                               {"R", "(350,10,30,20)"},   // keeps 20 to the right edge
                               {"S", "(10,40,380,250)"},  // stretches both ways
                               {"C", "(180,140,40,20)"},  // centre stays proportional
                               {"B", "(10,270,20,20)"},   // hidden controls are anchored too
                               {"Al", "(0,0,400,5)"},     // aligned: anchors ignored
                           });

    // A stored DesignSize wins over the bounds: this form was designed with thinner
    // frames, so its client area is smaller at run time.
    const ObjectPtr designed = LoadAndLayOut(
        "object Form1: TForm1\n  Width = 416\n  Height = 339\n  DesignSize = (\n    408\n    312)\n"
        "  object Btn: TButton\n    Left = 300\n    Top = 200\n    Width = 100\n    Height = 25\n"
        "    Anchors = [akRight, akBottom]\n  end\n"
        "end\n");
    ExpectBounds(*designed, {{"Btn", "(292,188,100,25)"}});
}

// ---------------------------------------------------------------------------------
// AutoSize

// A 3 x 2 bitmap as a picture's data: the class name, the file's size, the file.
std::string BitmapPictureData() {
    std::vector<std::uint8_t> bmp(54 + 8, 0);
    const auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bmp[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bmp.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, 3);
    put32(22, 2);
    bmp[26] = 1;
    bmp[28] = 24;
    std::vector<std::uint8_t> data{7, 'T', 'B', 'i', 't', 'm', 'a', 'p'};
    const auto size = static_cast<std::uint32_t>(bmp.size());
    for (int i = 0; i < 4; ++i)
        data.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
    data.insert(data.end(), bmp.begin(), bmp.end());
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const std::uint8_t b : data) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return hex;
}

TEST(Layout, ControlsSizeThemselvesFromTheirContent) {
    // The default measurer: Tahoma 8 (Height -11) is 5.5 pixels a character, 13 a line.
    const ObjectPtr root = LoadAndLayOut(Form400x300(
        "  object Plain: TLabel\n    Left = 10\n    Top = 10\n    Width = 100\n    Height = 40\n"
        "    Caption = 'Hello'\n  end\n"
        "  object RightJ: TLabel\n    Left = 100\n    Top = 60\n    Width = 50\n    Height = 13\n"
        "    Alignment = taRightJustify\n    Caption = 'Hi'\n  end\n"
        "  object Accel: TLabel\n    Left = 10\n    Top = 80\n    Caption = '&Save && Exit'\n  end\n"
        "  object Empty: TLabel\n    Left = 10\n    Top = 100\n  end\n"
        "  object Fixed: TLabel\n    Left = 10\n    Top = 120\n    Width = 100\n    Height = 40\n"
        "    AutoSize = False\n    Caption = 'Hello'\n  end\n"
        "  object Wrapped: TLabel\n    Left = 10\n    Top = 170\n    Width = 60\n    Height = 13\n"
        "    WordWrap = True\n    Caption = 'aaaa bbbb cccc'\n  end\n"
        "  object MinW: TLabel\n    Left = 10\n    Top = 200\n    Caption = 'Hi'\n"
        "    Constraints.MinWidth = 40\n  end\n"
        "  object OwnFont: TLabel\n    Left = 10\n    Top = 220\n    Font.Height = -20\n"
        "    Caption = 'Hello'\n  end\n"
        "  object Big: TPanel\n    Left = 200\n    Top = 10\n    Width = 150\n    Height = 100\n"
        "    Font.Height = -20\n    ParentFont = False\n    BevelOuter = bvNone\n"
        "    object InBig: TLabel\n      Left = 5\n      Top = 5\n      Caption = 'Hello'\n    end\n"
        "  end\n"
        "  object Edit1: TEdit\n    Left = 200\n    Top = 120\n    Height = 50\n  end\n"
        "  object Edit2: TEdit\n    Left = 200\n    Top = 180\n    Height = 50\n    Ctl3D = False\n  end\n"
        "  object Edit3: TEdit\n    Left = 200\n    Top = 240\n    Height = 50\n    AutoSize = False\n  end\n"
        "  object Edit4: TEdit\n    Left = 330\n    Top = 120\n    Height = 10\n    Font.Height = -16\n"
        "    ParentFont = False\n  end\n"
        "  object Combo1: TComboBox\n    Left = 330\n    Top = 150\n    Height = 40\n    Style = "
        "csDropDownList\n"
        "  end\n"
        "  object Combo2: TComboBox\n    Left = 330\n    Top = 200\n    Height = 40\n    Style = "
        "csOwnerDrawFixed\n"
        "    ItemHeight = 20\n  end\n"
        "  object Combo3: TComboBox\n    Left = 330\n    Top = 250\n    Height = 100\n    Style = csSimple\n "
        " end\n"
        "  object Image1: TImage\n    Left = 0\n    Top = 250\n    AutoSize = True\n    Picture.Data = {" +
        BitmapPictureData() + "}\n  end\n"));
    ExpectBounds(*root, {
                            {"Plain", "(10,10,28,13)"},
                            {"RightJ", "(139,60,11,13)"},  // keeps its right edge
                            {"Accel", "(10,80,61,13)"},    // drawn as "Save & Exit"
                            {"Empty", "(10,100,6,13)"},    // measured as one space
                            {"Fixed", "(10,120,100,40)"},
                            {"Wrapped", "(10,170,50,26)"},  // "aaaa bbbb" / "cccc"
                            {"MinW", "(10,200,40,13)"},
                            {"OwnFont", "(10,220,50,22)"},  // a font written is the label's own
                            {"InBig", "(5,5,50,22)"},       // the parent's 20-pixel font
                            {"Edit1", "(200,120,121,21)"},
                            {"Edit2", "(200,180,121,19)"},
                            {"Edit3", "(200,240,121,50)"},
                            {"Edit4", "(330,120,121,26)"},
                            {"Combo1", "(330,150,145,21)"},
                            {"Combo2", "(330,200,145,26)"},
                            {"Combo3", "(330,250,145,100)"},
                            {"Image1", "(0,250,3,2)"},
                        });
}

TEST(Layout, WrappingLabelAlignedTopTakesItsHeightFromTheGivenWidth) {
    const ObjectPtr root = LoadAndLayOut(
        "object Form1: TForm1\n  ClientWidth = 100\n  ClientHeight = 100\n"
        "  object W1: TLabel\n    Align = alTop\n    WordWrap = True\n"
        "    Caption = 'aaaa bbbb cccc dddd'\n  end\n"
        "  object W2: TLabel\n    Top = 50\n    Align = alTop\n    Caption = 'x'\n  end\n"
        "end\n");
    ExpectBounds(*root, {{"W1", "(0,0,100,26)"}, {"W2", "(0,26,100,13)"}});
}

TEST(Layout, ContainersFitTheirChildren) {
    const ObjectPtr root = LoadAndLayOut(Form400x300(
        // Fits its visible children, moving them to its client origin (inside the bevel).
        "  object Fit1: TPanel\n    Left = 20\n    Top = 20\n    Width = 300\n    Height = 200\n"
        "    AutoSize = True\n"
        "    object Btn1: TButton\n      Left = 30\n      Top = 40\n    end\n"
        "    object Btn2: TButton\n      Left = 120\n      Top = 80\n    end\n"
        "    object Gone: TButton\n      Left = 250\n      Top = 150\n      Visible = False\n    end\n"
        "  end\n"
        // Top-aligned children stack up its height; its width has nothing to fit.
        "  object Fit2: TPanel\n    Left = 200\n    Top = 200\n    Width = 200\n    Height = 300\n"
        "    AutoSize = True\n    BevelOuter = bvNone\n"
        "    Padding.Left = 5\n    Padding.Top = 5\n    Padding.Right = 5\n    Padding.Bottom = 5\n"
        "    object T1: TPanel\n      Height = 20\n      Align = alTop\n    end\n"
        "    object T2: TPanel\n      Top = 50\n      Height = 30\n      Align = alTop\n"
        "      AlignWithMargins = True\n    end\n"
        "  end\n"));
    ExpectBounds(*root, {
                            {"Fit1", "(20,20,167,67)"},
                            {"Btn1", "(1,1,75,25)"},
                            {"Btn2", "(91,41,75,25)"},
                            {"Fit2", "(200,200,200,66)"},
                            {"T1", "(5,5,190,20)"},
                            {"T2", "(8,28,184,30)"},
                        });

    // Nested: the inner panel fits its button, the outer one the inner panel, the form
    // the outer panel.
    const ObjectPtr nested = LoadAndLayOut(
        "object Form1: TForm1\n  BorderStyle = bsDialog\n  AutoSize = True\n"
        "  ClientWidth = 400\n  ClientHeight = 300\n"
        "  object Outer: TPanel\n    Left = 10\n    Top = 10\n    Width = 300\n    Height = 300\n"
        "    AutoSize = True\n    BevelOuter = bvNone\n"
        "    object Inner: TPanel\n      Left = 20\n      Top = 20\n      Width = 200\n      Height = 200\n"
        "      AutoSize = True\n"
        "      object Btn: TButton\n        Left = 10\n        Top = 10\n      end\n"
        "    end\n"
        "  end\n"
        "end\n");
    ExpectBounds(*nested, {
                              {"Form1", "(0,0,83,56)"},
                              {"Outer", "(0,0,77,27)"},
                              {"Inner", "(0,0,77,27)"},
                              {"Btn", "(1,1,75,25)"},
                          });
    EXPECT_EQ(Int(*nested, "ClientWidth"), 77);
    EXPECT_EQ(Int(*nested, "ClientHeight"), 27);
}

// ---------------------------------------------------------------------------------
// Bars

TEST(Layout, ToolBarsPutTheirButtonsInRows) {
    const ObjectPtr root = LoadAndLayOut(Form400x300(
        // 100 wide: the combo box does not fit after the drop-down button and starts a
        // row; a button with Wrap ends one whatever the room.
        "  object Bar1: TToolBar\n    Left = 0\n    Top = 100\n    Width = 100\n    Height = 80\n"
        "    Align = alNone\n    Indent = 5\n"
        "    object B1: TToolButton\n      Left = 60\n      Top = 30\n    end\n"
        "    object Sep1: TToolButton\n      Style = tbsSeparator\n    end\n"
        "    object Drop1: TToolButton\n      Style = tbsDropDown\n    end\n"
        "    object Gone1: TToolButton\n      Left = 1\n      Top = 2\n      Visible = False\n    end\n"
        "    object Combo1: TComboBox\n      Width = 50\n    end\n"
        "    object B2: TToolButton\n      Wrap = True\n    end\n"
        "    object Div1: TToolButton\n      Width = 12\n      Style = tbsDivider\n    end\n"
        "    object Tall1: TPanel\n      Width = 30\n      Height = 30\n    end\n"
        "    object B3: TToolButton\n    end\n"
        "  end\n"
        // Not wrapable: one row past the edge. Captions below the images widen the
        // buttons that need it; AutoSize takes the row's height inside the top edge.
        "  object Bar2: TToolBar\n    Left = 150\n    Top = 100\n    Width = 60\n"
        "    Align = alNone\n    AutoSize = True\n    Wrapable = False\n    ShowCaptions = True\n"
        "    ButtonHeight = 36\n"
        "    object C1: TToolButton\n      Caption = '&Open'\n    end\n"
        "    object C2: TToolButton\n      Caption = 'A'\n    end\n"
        "    object C3: TToolButton\n      Caption = 'Save'\n      Style = tbsDropDown\n    end\n"
        "  end\n"));
    ExpectBounds(*root, {
                            {"B1", "(5,0,23,22)"},
                            {"Sep1", "(28,0,8,22)"},  // written without a width
                            {"Drop1", "(36,0,38,22)"},
                            {"Gone1", "(1,2,23,22)"},
                            {"Combo1", "(0,22,50,21)"},
                            {"B2", "(50,22,23,22)"},
                            {"Div1", "(0,44,12,22)"},
                            {"Tall1", "(12,44,30,30)"},
                            {"B3", "(42,44,23,22)"},
                            {"Bar1", "(0,100,100,80)"},  // no AutoSize
                            {"C1", "(0,0,30,36)"},       // "Open" is 22 wide, + 8
                            {"C2", "(30,0,23,36)"},
                            {"C3", "(53,0,45,36)"},  // 30 + the arrow
                            {"Bar2", "(150,100,60,38)"},
                        });

    // AutoSize with the width alignment gives: four buttons fit in 100 pixels, the
    // fifth goes on a second row, and the panel below follows the bar's height. With
    // List the captions stand beside the images and do not widen the buttons. The
    // combo box's row counts with the height the combo box gives itself.
    const ObjectPtr aligned = LoadAndLayOut(
        "object Form1: TForm1\n  ClientWidth = 100\n  ClientHeight = 100\n"
        "  object Bar: TToolBar\n    AutoSize = True\n    ShowCaptions = True\n    List = True\n"
        "    object T1: TToolButton\n      Caption = 'Open file'\n    end\n"
        "    object T2: TToolButton\n    end\n"
        "    object T3: TToolButton\n    end\n"
        "    object T4: TToolButton\n    end\n"
        "    object T5: TToolButton\n    end\n"
        "    object Combo: TComboBox\n      Width = 40\n      Height = 40\n    end\n"
        "  end\n"
        "  object Below: TPanel\n    Top = 50\n    Height = 10\n    Align = alTop\n  end\n"
        "end\n");
    ExpectBounds(*aligned, {
                               {"Bar", "(0,0,100,46)"},
                               {"T1", "(0,0,23,22)"},
                               {"T4", "(69,0,23,22)"},
                               {"T5", "(0,22,23,22)"},
                               {"Combo", "(23,22,40,21)"},
                               {"Below", "(0,46,100,10)"},
                           });
}

// A flow panel fills lines in its FlowStyle's order and wraps with AutoWrap; a stack
// panel stacks with its spacing and each item's positioning across; a grid panel puts
// the controls its items name into cells sized absolute, automatic or by percent.
TEST(Layout, ArrangingPanelsPlaceTheirChildren) {
    auto box = [](const char* name, int w, int h, const char* extra = "") {
        return std::string("    object ") + name + ": TPanel\n      Width = " + std::to_string(w) +
               "\n      Height = " + std::to_string(h) + "\n" + extra + "    end\n";
    };
    const ObjectPtr root = LoadAndLayOut(Form400x300(
        "  object Flow1: TFlowPanel\n    Width = 100\n    Height = 100\n    BevelOuter = bvNone\n" +
        box("P1", 40, 20) + box("P2", 40, 30) + box("Gone", 40, 40, "      Visible = False\n") +
        box("P3", 40, 10, "      AlignWithMargins = True\n") +
        "  end\n"
        "  object Flow2: TFlowPanel\n    Left = 100\n    Width = 100\n    Height = 100\n"
        "    BevelOuter = bvNone\n    AutoWrap = False\n    FlowStyle = fsRightLeftBottomTop\n" +
        box("Q1", 40, 20) + box("Q2", 40, 30) + box("Q3", 40, 10) +
        "  end\n"
        "  object Flow3: TFlowPanel\n    Left = 200\n    Width = 100\n    Height = 100\n"
        "    BevelOuter = bvNone\n    FlowStyle = fsTopBottomLeftRight\n" +
        box("R1", 40, 60) + box("R2", 30, 50) +
        "  end\n"
        "  object Stack1: TStackPanel\n    Top = 100\n    Width = 100\n    Height = 100\n"
        "    BevelOuter = bvNone\n    Spacing = 5\n"
        "    ControlCollection = <\n      item\n        Control = A\n        HorizontalPositioning = "
        "sphpFill\n"
        "      end\n      item\n        Control = B\n        HorizontalPositioning = sphpCenter\n      "
        "end>\n" +
        box("A", 30, 20) + box("B", 40, 10) + box("C", 20, 10) +
        "  end\n"
        "  object Stack2: TStackPanel\n    Left = 100\n    Top = 100\n    Width = 100\n    Height = 100\n"
        "    BevelOuter = bvNone\n    Orientation = spoHorizontal\n    Spacing = 0\n"
        "    VerticalPositioning = spvpBottom\n"
        "    ControlCollection = <\n      item\n        Control = E\n        VerticalPositioning = "
        "spvpDefault\n"
        "      end>\n" +
        box("D", 30, 20) + box("E", 20, 10) +
        "  end\n"
        "  object Grid1: TGridPanel\n    Left = 200\n    Top = 100\n    Width = 200\n    Height = 100\n"
        "    BevelOuter = bvNone\n"
        "    ColumnCollection = <\n      item\n        SizeStyle = ssAbsolute\n        Value = "
        "50.000000000000000000\n"
        "      end\n      item\n        Value = 25.000000000000000000\n      end\n"
        "      item\n        Value = 75.000000000000000000\n      end>\n"
        "    RowCollection = <\n      item\n        SizeStyle = ssAuto\n      end\n"
        "      item\n        Value = 100.000000000000000000\n      end>\n"
        "    ControlCollection = <\n"
        "      item\n        Column = 0\n        Control = X\n        Row = 0\n      end\n"
        "      item\n        Column = 1\n        ColumnSpan = 2\n        Control = Y\n        Row = 1\n      "
        "end\n"
        "      item\n        Column = 2\n        Control = Z\n        Row = 0\n      end>\n" +
        box("X", 30, 20) + box("Y", 40, 20, "      Anchors = []\n") +
        box("Z", 10, 10, "      Align = alClient\n") +
        box("Loose", 10, 10, "      Left = 7\n      Top = 8\n") + "  end\n"));
    ExpectBounds(*root, {
                            {"P1", "(0,0,40,20)"},
                            {"P2", "(40,0,40,30)"},
                            {"P3", "(3,33,40,10)"},  // wrapped below the thickest, inside its margins
                            {"Q1", "(60,80,40,20)"},
                            {"Q2", "(20,70,40,30)"},
                            {"Q3", "(-20,90,40,10)"},  // no wrapping: past the start
                            {"R1", "(0,0,40,60)"},
                            {"R2", "(40,0,30,50)"},
                            {"A", "(0,0,100,20)"},
                            {"B", "(30,25,40,10)"},
                            {"C", "(0,40,20,10)"},  // no item: the panel's positioning
                            {"D", "(0,80,30,20)"},
                            {"E", "(30,90,20,10)"},
                            {"X", "(0,0,30,20)"},     // the automatic row is as tall as X
                            {"Y", "(105,50,40,20)"},  // centred in two columns of 37 and 113
                            {"Z", "(87,0,113,20)"},
                            {"Loose", "(7,8,10,10)"},
                        });
}

TEST(Layout, ControlBarKeepsEachChildInABand) {
    const ObjectPtr root = LoadAndLayOut(Form400x300(
        "  object CB: TControlBar\n    Left = 10\n    Top = 10\n    Width = 300\n    Height = 100\n"
        // One row (their vertical ranges overlap): the first moves clear of its grabber
        // and below the band's top edge, the second clear of the first band.
        "    object First: TPanel\n      Left = 0\n      Top = 0\n      Width = 100\n"
        "      Height = 22\n    end\n"
        "    object Second: TPanel\n      Left = 50\n      Top = 5\n      Width = 80\n"
        "      Height = 22\n      Align = alTop\n    end\n"
        // The second row: Third and Fourth overlap. Third, written first but further
        // right, stays where it was; its Align is ignored. Fourth moves down into its
        // band below the first row's.
        "    object Third: TPanel\n      Left = 150\n      Top = 40\n      Width = 60\n"
        "      Height = 20\n      Align = alClient\n    end\n"
        "    object Fourth: TPanel\n      Left = 20\n      Top = 27\n      Width = 60\n"
        "      Height = 20\n      Anchors = [akLeft, akTop, akRight]\n    end\n"
        // Touches the second row without overlapping it: a third row, below its bands.
        "    object Fifth: TPanel\n      Left = 90\n      Top = 60\n      Width = 10\n"
        "      Height = 10\n    end\n"
        "    object Hidden: TPanel\n      Left = 0\n      Top = 0\n      Width = 5\n"
        "      Height = 5\n      Visible = False\n    end\n"
        "  end\n"));
    ExpectBounds(*root, {
                            {"CB", "(10,10,300,100)"},
                            {"First", "(11,2,100,22)"},
                            {"Second", "(124,5,80,22)"},
                            {"Third", "(150,40,60,20)"},
                            {"Fourth", "(20,31,60,20)"},
                            {"Fifth", "(90,64,10,10)"},
                            {"Hidden", "(0,0,5,5)"},
                        });
}

// ---------------------------------------------------------------------------------
// Hostile values and structure

TEST(Layout, HostileValuesClampAndSaturate) {
    const ObjectPtr root = LoadAndLayOut(Form400x300(
        "  object Negative: TPanel\n    Left = 5\n    Top = 5\n    Width = -50\n    Height = -1\n  end\n"
        "  object WideMargin: TPanel\n    Height = 10\n    Align = alTop\n    AlignWithMargins = True\n"
        "    Margins.Left = 2147483647\n  end\n"
        "  object Huge: TLabel\n    Left = 1\n    Top = 1\n    Font.Height = -2147483648\n"
        "    ParentFont = False\n    Caption = 'Hello'\n  end\n"
        "  object Far: TPanel\n    Left = 2147483647\n    Top = 10\n    Width = 2147483647\n"
        "    Anchors = []\n  end\n"));
    ExpectBounds(*root, {
                            {"Negative", "(5,5,0,0)"},
                            {"WideMargin", "(2147483647,3,0,10)"},
                            {"Huge", "(1,1,2147483647,2147483647)"},
                        });
    // Centred in a parent that did not change: where it was, its centre past 2^31.
    ExpectBounds(*root, {{"Far", "(2147483647,10,2147483647,41)"}});
}

TEST(Layout, DeepNestingAndLoopsEnd) {
    // 500 client-aligned panels, each inside the previous one's 1-pixel bevel.
    std::string text = "object Form1: TForm1\n  ClientWidth = 2000\n  ClientHeight = 2000\n";
    const int depth = 500;
    for (int i = 1; i <= depth; ++i)
        text += "object P" + std::to_string(i) + ": TPanel\nAlign = alClient\n";
    for (int i = 0; i <= depth; ++i)
        text += "end\n";
    const ObjectPtr root = LoadAndLayOut(text);
    ExpectBounds(*root, {{"P1", "(0,0,2000,2000)"}, {"P500", "(1,1,1002,1002)"}});

    // Parent chains that loop (which the reader never makes) do not hang.
    const ObjectPtr looped =
        Load(Form400x300("  object A: TPanel\n    Align = alClient\n  end\n"
                         "  object B: TPanel\n    object C: TPanel\n    end\n  end\n"));
    Object& a = const_cast<Object&>(Named(*looped, "A"));
    Object& b = const_cast<Object&>(Named(*looped, "B"));
    Object& c = const_cast<Object&>(Named(*looped, "C"));
    looped->SetParent(&a);  // Form1 -> A -> Form1
    b.SetParent(&c);        // B -> C -> B, fonts from the parent all round
    LayoutForm(*looped);
    EXPECT_EQ(BoundsOf(a), "(0,0,400,300)");
    EXPECT_EQ(EffectiveFont(c), c.SubObject("Font"));
    looped->SetParent(nullptr);
    b.SetParent(nullptr);
}

// ---------------------------------------------------------------------------------
// The default measurer

TEST(Layout, EstimatingMeasurer) {
    const EstimatingTextMeasurer m;
    const ObjectPtr form = Load("object Form1: TForm1\n  Font.Height = 16\nend\n");
    const Object* cellFont = form->SubObject("Font");
    const struct {
        const char* Text;
        const Object* Font;
        TextSize Size;
    } cases[] = {
        {"Hello", nullptr, {28, 13}},
        {"", nullptr, {0, 13}},
        {"ab\r\nabcd\nx", nullptr, {22, 39}},      // widest line, three lines
        {"\xC3\xA9t\xC3\xA9", nullptr, {17, 13}},  // characters, not bytes
        {"a\tb", nullptr, {55, 13}},               // a tab is 8 characters
        {"Hello", cellFont, {35, 16}},             // a positive height is the cell: em 14
    };
    for (const auto& c : cases)
        EXPECT_EQ(m.Measure(c.Text, c.Font), c.Size) << c.Text;
    EXPECT_EQ(m.LineHeight(nullptr), 13);
    EXPECT_EQ(m.MeasureWrapped("aaaa bbbb cccc", nullptr, 60), (TextSize{50, 26}));
    EXPECT_EQ(m.MeasureWrapped("aaaa bbbb", nullptr, 10), (TextSize{22, 26}));  // words are not broken
    EXPECT_EQ(m.MeasureWrapped("aa\n\nbb", nullptr, 100), (TextSize{11, 39}));

    // Size stands in for Height when only Size was written.
    const ObjectPtr sized = Load("object Form1: TForm1\n  Font.Size = 12\nend\n");
    EXPECT_EQ(FontPixelHeight(sized->SubObject("Font")), -16);
    EXPECT_EQ(FontPixelHeight(nullptr), -11);
}

}  // namespace
