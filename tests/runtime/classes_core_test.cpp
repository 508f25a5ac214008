// The core class tables: Classes, Graphics, Controls, Forms, Menus, ActnList, the
// standard controls, ExtCtrls and the dialogs.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/builtin.h"
#include "runtime/family_core.h"
#include "runtime/registry.h"
#include "runtime_test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace fw::rt;

ClassRegistry& Registry() {
    static const std::unique_ptr<ClassRegistry> registry = MakeBuiltinRegistry();
    return *registry;
}

// The registered class of that name, or one of the classes forms use that are not in
// the start-up list (a form's own class stands for TForm; actions and notebook pages
// are created by their list or notebook; margins and padding by their control).
const Class& Find(std::string_view name) {
    if (const Class* c = Registry().FindClassByName(name)) return *c;
    for (const ClassInfo* info :
         {&cls::TForm, &cls::TAction, &cls::TDataModule, &cls::TPage, &cls::TMargins, &cls::TPadding})
        if (info->Name == name) return Registry().Of(*info);
    throw std::runtime_error("class not known: " + std::string(name));
}

// The words of a space-separated list.
std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

// A property's type and initial value, for the classes forms use most.
TEST(CoreClasses, PropertySpotChecks) {
    using K = TypeKind;
    struct Case {
        const char* ClassName;
        const char* Property;
        const char* TypeName;
        TypeKind Kind;
        DefaultValue Default;
    };
    const Case cases[] = {
        {"TButton", "Width", "Integer", K::tkInteger, dv::Int(75)},
        {"TButton", "Height", "Integer", K::tkInteger, dv::Int(25)},
        {"TButton", "Caption", "TCaption", K::tkLString, dv::Str("")},
        {"TButton", "Default", "Boolean", K::tkEnumeration, dv::Bool(false)},
        {"TButton", "ModalResult", "TModalResult", K::tkInteger, dv::Int(0)},
        {"TButton", "Cursor", "TCursor", K::tkInteger, dv::Int(0)},
        {"TButton", "TabStop", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TButton", "TabOrder", "TTabOrder", K::tkInteger, dv::Int(-1)},
        {"TButton", "Font", "TFont", K::tkClass, dv::None()},
        {"TButton", "PopupMenu", "TPopupMenu", K::tkClass, dv::None()},
        {"TButton", "OnClick", "TNotifyEvent", K::tkMethod, dv::None()},
        {"TButton", "Anchors", "TAnchors", K::tkSet, dv::Set({0, 1})},
        {"TButton", "Margins", "TMargins", K::tkClass, dv::None()},
        {"TButton", "StyleElements", "TStyleElements", K::tkSet, dv::Set({0, 1, 2})},
        {"TButton", "ImageName", "TImageName", K::tkLString, dv::Str("")},
        {"TBitBtn", "Width", "Integer", K::tkInteger, dv::Int(75)},
        {"TBitBtn", "Kind", "TBitBtnKind", K::tkEnumeration, dv::Int(0)},
        {"TBitBtn", "Glyph", "TBitmap", K::tkClass, dv::None()},
        {"TBitBtn", "NumGlyphs", "TNumGlyphs", K::tkInteger, dv::Int(1)},
        {"TEdit", "Width", "Integer", K::tkInteger, dv::Int(121)},
        {"TEdit", "Height", "Integer", K::tkInteger, dv::Int(21)},
        {"TEdit", "Color", "TColor", K::tkInteger, dv::Int(val::clWindow)},
        {"TEdit", "ParentColor", "Boolean", K::tkEnumeration, dv::Bool(false)},
        {"TEdit", "PasswordChar", "Char", K::tkChar, dv::Int(0)},
        {"TEdit", "CharCase", "TEditCharCase", K::tkEnumeration, dv::Int(0)},
        {"TEdit", "BevelInner", "TBevelCut", K::tkEnumeration, dv::Int(2)},
        {"TEdit", "ImeMode", "TImeMode", K::tkEnumeration, dv::Int(3)},
        {"TMaskEdit", "EditMask", "TEditMask", K::tkLString, dv::Str("")},
        {"TLabeledEdit", "EditLabel", "TBoundLabel", K::tkClass, dv::None()},
        {"TLabeledEdit", "LabelPosition", "TLabelPosition", K::tkEnumeration, dv::Int(0)},
        {"TMemo", "Lines", "TStrings", K::tkClass, dv::None()},
        {"TMemo", "ScrollBars", "TScrollStyle", K::tkEnumeration, dv::Int(0)},
        {"TMemo", "WordWrap", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TLabel", "AutoSize", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TLabel", "ParentColor", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TLabel", "FocusControl", "TWinControl", K::tkClass, dv::None()},
        {"TLabel", "Layout", "TTextLayout", K::tkEnumeration, dv::Int(0)},
        {"TCheckBox", "State", "TCheckBoxState", K::tkEnumeration, dv::Int(0)},
        {"TCheckBox", "Alignment", "TLeftRight", K::tkEnumeration, dv::Int(1)},
        {"TRadioButton", "TabStop", "Boolean", K::tkEnumeration, dv::Bool(false)},
        {"TComboBox", "Style", "TComboBoxStyle", K::tkEnumeration, dv::Int(0)},
        {"TComboBox", "ItemHeight", "Integer", K::tkInteger, dv::Int(16)},
        {"TComboBox", "ItemIndex", "Integer", K::tkInteger, dv::Int(-1)},
        {"TListBox", "Items", "TStrings", K::tkClass, dv::None()},
        {"TStaticText", "BorderStyle", "TStaticBorderStyle", K::tkEnumeration, dv::Int(0)},
        {"TPanel", "BevelOuter", "TBevelCut", K::tkEnumeration, dv::Int(2)},
        {"TPanel", "BevelInner", "TBevelCut", K::tkEnumeration, dv::Int(0)},
        {"TPanel", "Color", "TColor", K::tkInteger, dv::Int(val::clBtnFace)},
        {"TPanel", "Padding", "TPadding", K::tkClass, dv::None()},
        {"TPanel", "Alignment", "TAlignment", K::tkEnumeration, dv::Int(2)},
        {"TImage", "Picture", "TPicture", K::tkClass, dv::None()},
        {"TShape", "Shape", "TShapeType", K::tkEnumeration, dv::Int(0)},
        {"TBevel", "Shape", "TBevelShape", K::tkEnumeration, dv::Int(0)},
        {"TSplitter", "Align", "TAlign", K::tkEnumeration, dv::Int(3)},
        {"TSplitter", "Cursor", "TCursor", K::tkInteger, dv::Int(val::crHSplit)},
        {"TColorBox", "Style", "TColorBoxStyle", K::tkSet, dv::Set({0, 1, 2})},
        {"TTimer", "Interval", "Cardinal", K::tkInteger, dv::Int(1000)},
        {"TForm", "Color", "TColor", K::tkInteger, dv::Int(val::clBtnFace)},
        {"TForm", "Position", "TPosition", K::tkEnumeration, dv::Int(2)},
        {"TForm", "BorderIcons", "TBorderIcons", K::tkSet, dv::Set({0, 1, 2})},
        {"TForm", "BorderStyle", "TFormBorderStyle", K::tkEnumeration, dv::Int(2)},
        {"TForm", "ParentFont", "Boolean", K::tkEnumeration, dv::Bool(false)},
        {"TForm", "Visible", "Boolean", K::tkEnumeration, dv::Bool(false)},
        {"TForm", "PixelsPerInch", "Integer", K::tkInteger, dv::Int(96)},
        {"TForm", "OnClose", "TCloseEvent", K::tkMethod, dv::None()},
        {"TForm", "Menu", "TMainMenu", K::tkClass, dv::None()},
        {"TForm", "HorzScrollBar", "TControlScrollBar", K::tkClass, dv::None()},
        {"TFont", "Charset", "TFontCharset", K::tkInteger, dv::Int(1)},
        {"TFont", "Color", "TColor", K::tkInteger, dv::Int(val::clWindowText)},
        {"TFont", "Name", "TFontName", K::tkLString, dv::Str("Tahoma")},
        {"TFont", "Style", "TFontStyles", K::tkSet, dv::Set({})},
        {"TMargins", "Left", "TMarginSize", K::tkInteger, dv::Int(3)},
        {"TPadding", "Left", "TMarginSize", K::tkInteger, dv::Int(0)},
        {"TControlScrollBar", "Increment", "TScrollBarInc", K::tkInteger, dv::Int(8)},
        {"TMenuItem", "ShortCut", "TShortCut", K::tkInteger, dv::Int(0)},
        {"TMenuItem", "ImageIndex", "TImageIndex", K::tkInteger, dv::Int(-1)},
        {"TMenuItem", "AutoHotkeys", "TMenuItemAutoFlag", K::tkEnumeration, dv::Int(2)},
        {"TPopupMenu", "AutoPopup", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TImageList", "Width", "Integer", K::tkInteger, dv::Int(16)},
        {"TImageList", "ColorDepth", "TColorDepth", K::tkEnumeration, dv::Int(1)},
        {"TActionList", "Images", "TCustomImageList", K::tkClass, dv::None()},
        {"TOpenDialog", "Options", "TOpenOptions", K::tkSet, dv::Set({2, 19})},
        {"TOpenDialog", "FilterIndex", "Integer", K::tkInteger, dv::Int(1)},
        {"TSaveDialog", "DefaultExt", "string", K::tkLString, dv::Str("")},
        {"TFindDialog", "Options", "TFindOptions", K::tkSet, dv::Set({0})},
        {"TSpinEdit", "Increment", "Integer", K::tkInteger, dv::Int(1)},
        {"TGauge", "Kind", "TGaugeKind", K::tkEnumeration, dv::Int(1)},
        {"TCalendar", "CalendarDate", "TDateTime", K::tkFloat, dv::None()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ClassName) + "." + c.Property);
        const Property* p = Find(c.ClassName).FindProperty(c.Property);
        ASSERT_NE(p, nullptr) << "not published";
        EXPECT_EQ(p->Type().Name, c.TypeName);
        EXPECT_EQ(p->Kind(), c.Kind);
        EXPECT_EQ(p->Info->Default.Which, c.Default.Which);
        EXPECT_EQ(p->Info->Default.Ordinal, c.Default.Ordinal);
        EXPECT_EQ(p->Info->Default.Text, c.Default.Text);
    }
}

// Class-typed properties hold their object as the real component does: sub-objects
// made with the owner, or components of the form found by name.
TEST(CoreClasses, ClassTypedPropertiesHoldTheirObjects) {
    struct Case {
        const char* ClassName;
        const char* Property;
        PropHolding Holding;
        const char* ValueClass;
    };
    const Case cases[] = {
        {"TLabel", "Font", PropHolding::Owned, "TFont"},
        {"TLabel", "Constraints", PropHolding::Owned, "TSizeConstraints"},
        {"TLabel", "FocusControl", PropHolding::Reference, "TWinControl"},
        {"TMemo", "Lines", PropHolding::Owned, "TStrings"},
        {"TSpeedButton", "Glyph", PropHolding::Owned, "TBitmap"},
        {"TImage", "Picture", PropHolding::Owned, "TPicture"},
        {"TShape", "Brush", PropHolding::Owned, "TBrush"},
        {"TShape", "Pen", PropHolding::Owned, "TPen"},
        {"TForm", "Icon", PropHolding::Owned, "TIcon"},
        {"TForm", "ActiveControl", PropHolding::Reference, "TWinControl"},
        {"TForm", "PopupMenu", PropHolding::Reference, "TPopupMenu"},
        {"TButton", "Action", PropHolding::Reference, "TBasicAction"},
        {"TButton", "Images", PropHolding::Reference, "TCustomImageList"},
        {"TMenuItem", "Bitmap", PropHolding::Owned, "TBitmap"},
        {"TAction", "SecondaryShortCuts", PropHolding::Owned, "TShortCutList"},
        {"TGroupBox", "HeaderFont", PropHolding::Owned, "TFont"},
        {"TFontDialog", "Font", PropHolding::Owned, "TFont"},
        {"TColorDialog", "CustomColors", PropHolding::Owned, "TStrings"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ClassName) + "." + c.Property);
        const Property* p = Find(c.ClassName).FindProperty(c.Property);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->Info->Holding, c.Holding);
        ASSERT_NE(p->Type().ClassType, nullptr);
        EXPECT_EQ(p->Type().ClassType->Name, c.ValueClass);
    }
}

// The chains are the real ones, intermediate classes included.
TEST(CoreClasses, TrueAncestry) {
    struct Case {
        const char* ClassName;
        std::vector<const char*> Chain;  // from the parent up to TObject
    };
    const Case cases[] = {
        {"TButton", {"TButtonControl", "TWinControl", "TControl", "TComponent", "TPersistent", "TObject"}},
        {"TBitBtn", {"TButton", "TButtonControl", "TWinControl"}},
        {"TForm", {"TCustomForm", "TScrollingWinControl", "TWinControl", "TControl"}},
        {"TFrame", {"TCustomFrame", "TScrollingWinControl", "TWinControl"}},
        {"TListBox",
         {"TCustomListBox", "TCustomMultiSelectListControl", "TCustomListControl", "TWinControl"}},
        {"TCheckListBox", {"TCustomListBox", "TCustomMultiSelectListControl"}},
        {"TComboBox", {"TCustomComboBox", "TCustomCombo", "TCustomListControl", "TWinControl"}},
        {"TColorBox", {"TCustomColorBox", "TCustomComboBox", "TCustomCombo"}},
        {"TMemo", {"TCustomMemo", "TCustomEdit", "TWinControl"}},
        {"TMaskEdit", {"TCustomMaskEdit", "TCustomEdit", "TWinControl"}},
        {"TLabeledEdit", {"TCustomLabeledEdit", "TCustomEdit"}},
        {"TLabel", {"TCustomLabel", "TGraphicControl", "TControl"}},
        {"TRadioGroup", {"TCustomRadioGroup", "TCustomGroupBox", "TCustomControl", "TWinControl"}},
        {"TPanel", {"TCustomPanel", "TCustomControl", "TWinControl"}},
        {"TSpeedButton", {"TGraphicControl", "TControl"}},
        {"TImageList", {"TDragImageList", "TCustomImageList", "TBaseImageList", "TComponent"}},
        {"TSavePictureDialog", {"TOpenPictureDialog", "TOpenDialog", "TCommonDialog", "TComponent"}},
        {"TReplaceDialog", {"TFindDialog", "TCommonDialog"}},
        {"TAction", {"TCustomAction", "TContainedAction", "TBasicAction", "TComponent"}},
        {"TStringList", {"TStrings", "TPersistent", "TObject"}},
        {"TBitmap", {"TGraphic", "TInterfacedPersistent", "TPersistent"}},
        {"TFont", {"TGraphicsObject", "TPersistent"}},
        {"TMetafileCanvas", {"TCanvas", "TPersistent"}},
        {"TPadding", {"TMargins", "TPersistent"}},
        {"TSpinEdit", {"TCustomEdit", "TWinControl"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ClassName);
        const Class* k = Find(c.ClassName).Parent();
        for (const char* expected : c.Chain) {
            ASSERT_NE(k, nullptr) << "chain ends before " << expected;
            EXPECT_EQ(k->Name(), expected);
            k = k->Parent();
        }
    }
    EXPECT_TRUE(Find("TBitBtn").InheritsFrom("tbutton"));
    EXPECT_FALSE(Find("TSpeedButton").InheritsFrom("TWinControl"));
    EXPECT_FALSE(Find("TButton").DescendsFrom("TButton"));
}

// What kind of object a class makes, as the reader and the preview ask it.
TEST(CoreClasses, KindOfObject) {
    struct Case {
        const char* ClassName;
        std::uint32_t Has;
        std::uint32_t HasNot;
    };
    const Case cases[] = {
        {"TForm", CfForm | CfWinControl | CfControl | CfComponent, 0},
        {"TFrame", CfWinControl | CfControl, CfForm},
        {"TLabel", CfControl | CfComponent, CfWinControl},
        {"TPanel", CfWinControl, CfForm},
        {"TTimer", CfComponent, CfControl},
        {"TMainMenu", CfComponent, CfControl},
        {"TMenuItem", CfComponent, CfControl},
        {"TOpenDialog", CfComponent, CfControl},
        {"TFont", CfPersistent, CfComponent},
        {"TStringList", CfStrings | CfPersistent, CfComponent},
        {"TPicture", CfGraphic, CfComponent},
        {"TBitmap", CfGraphic, CfStrings},
        {"TIcon", CfGraphic, 0},
        {"TCollection", CfCollection, CfCollectionItem},
        {"TCollectionItem", CfCollectionItem, CfCollection},
        {"TApplication", CfAbstract | CfComponent, CfControl},
        {"TClipboard", CfAbstract, CfComponent},
        {"TImageList", CfComponent, CfAbstract},
        {"TControlScrollBar", CfPersistent, CfComponent},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ClassName);
        const Class& k = Find(c.ClassName);
        EXPECT_EQ(k.Flags() & c.Has, c.Has);
        EXPECT_EQ(k.Flags() & c.HasNot, 0u);
    }
    EXPECT_EQ(Find("TCollection").ItemClass()->Name(), "TCollectionItem");
}

const IdentEntry* ByName(const TypeInfo& type, std::string_view name) {
    for (const IdentEntry& e : type.Idents)
        if (e.Name == name) return &e;
    return nullptr;
}

const IdentEntry* ByValue(const TypeInfo& type, std::int64_t value) {
    for (const IdentEntry& e : type.Idents)
        if (e.Value == value) return &e;
    return nullptr;
}

// Named integer values: forms write colours, cursors and character sets by name, and
// the number behind each name must be the platform's.
TEST(CoreTypes, NamedValues) {
    struct Case {
        const TypeInfo* Type;
        const char* Name;
        std::int64_t Value;
    };
    const Case cases[] = {
        {&ty::TColor, "clBlack", 0},
        {&ty::TColor, "clWhite", 0xFFFFFF},
        {&ty::TColor, "clRed", 0x0000FF},
        {&ty::TColor, "clBlue", 0xFF0000},
        {&ty::TColor, "clSkyBlue", 0xF0CAA6},
        {&ty::TColor, "clMoneyGreen", 0xC0DCC0},
        {&ty::TColor, "clNone", 0x1FFFFFFF},
        {&ty::TColor, "clDefault", 0x20000000},
        // A TColor is a 32-bit signed integer: $FF000000 and up are negative.
        {&ty::TColor, "clScrollBar", -16777216},
        {&ty::TColor, "clBtnFace", -16777201},
        {&ty::TColor, "clWindow", -16777211},
        {&ty::TColor, "clWindowText", -16777208},
        {&ty::TColor, "clInfoBk", -16777192},
        {&ty::TColor, "clHotLight", -16777190},
        {&ty::TColor, "clMenuBar", -16777186},
        {&ty::TCursor, "crDefault", 0},
        {&ty::TCursor, "crNone", -1},
        {&ty::TCursor, "crIBeam", -4},
        {&ty::TCursor, "crSizeNS", -7},
        {&ty::TCursor, "crHourGlass", -11},
        {&ty::TCursor, "crHSplit", -14},
        {&ty::TCursor, "crVSplit", -15},
        {&ty::TCursor, "crHandPoint", -21},
        {&ty::TCursor, "crSizeAll", -22},
        {&ty::TCursor, "crSize", -22},
        {&ty::TFontCharset, "ANSI_CHARSET", 0},
        {&ty::TFontCharset, "DEFAULT_CHARSET", 1},
        {&ty::TFontCharset, "SHIFTJIS_CHARSET", 128},
        {&ty::TFontCharset, "GB2312_CHARSET", 134},
        {&ty::TFontCharset, "RUSSIAN_CHARSET", 204},
        {&ty::TFontCharset, "EASTEUROPE_CHARSET", 238},
        {&ty::TFontCharset, "OEM_CHARSET", 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const IdentEntry* e = ByName(*c.Type, c.Name);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->Value, c.Value);
    }
    // A value with two names is written with the current one.
    EXPECT_EQ(ByValue(ty::TCursor, -22)->Name, "crSizeAll");
    EXPECT_EQ(ByValue(ty::TColor, 0xC0C0C0)->Name, "clSilver");
    // Forms write these as numbers only.
    EXPECT_TRUE(ty::TModalResult.Idents.empty());
    EXPECT_TRUE(ty::TShortCut.Idents.empty());
}

// The shared groups can be combined freely: no two of them list the same property.
TEST(CoreGroups, NeverShareAPropertyName) {
    const std::pair<const char*, std::span<const PropInfo>> groups[] = {
        {"ControlProps", grp::ControlProps},   {"ControlEvents", grp::ControlEvents},
        {"ClickEvents", grp::ClickEvents},     {"WinControlProps", grp::WinControlProps},
        {"FocusEvents", grp::FocusEvents},     {"Ctl3DProps", grp::Ctl3DProps},
        {"WinBevelProps", grp::WinBevelProps}, {"ImeProps", grp::ImeProps},
        {"DockSiteProps", grp::DockSiteProps}, {"DockSiteEvents", grp::DockSiteEvents},
        {"ResizeEvents", grp::ResizeEvents},   {"MouseWheelEvents", grp::MouseWheelEvents},
        {"PaddingProps", grp::PaddingProps},   {"AlignEvents", grp::AlignEvents},
        {"EditProps", grp::EditProps},         {"ParentColorProps", grp::ParentColorProps},
    };
    std::map<std::string, std::string> seen;
    for (const auto& [groupName, group] : groups)
        for (const PropInfo& p : group) {
            auto [it, added] = seen.emplace(std::string(p.Name), groupName);
            EXPECT_TRUE(added) << p.Name << " is in " << it->second << " and " << groupName;
        }
    // The three colour groups are alternatives: the same two properties, other values.
    for (std::span<const PropInfo> colours :
         {std::span<const PropInfo>(grp::WindowColorProps), std::span<const PropInfo>(grp::FaceColorProps)}) {
        ASSERT_EQ(colours.size(), std::size(grp::ParentColorProps));
        for (std::size_t i = 0; i < colours.size(); ++i) {
            EXPECT_EQ(colours[i].Name, grp::ParentColorProps[i].Name);
            EXPECT_EQ(colours[i].Type, grp::ParentColorProps[i].Type);
        }
    }
}

// What the form files of the corpus set on a form's root object, as written by the
// form designers of the versions in use.
TEST(CoreClasses, FormPublishesWhatRootObjectsSet) {
    const std::vector<std::string> names = Words(
        "Action ActiveControl Align AlphaBlend Anchors AutoScroll AutoSize BiDiMode BorderIcons "
        "BorderStyle BorderWidth Caption ClientHeight ClientWidth Color Constraints Ctl3D "
        "CustomTitleBar DefaultMonitor DockSite DoubleBuffered DragKind DragMode Font FormStyle "
        "GlassFrame Height HelpContext HelpKeyword HelpType Hint HorzScrollBar Icon KeyPreview "
        "Left Margins Menu OldCreateOrder ParentBiDiMode ParentFont PixelsPerInch PopupMenu "
        "PopupMode Position Scaled ScreenSnap ShowHint StyleElements TabOrder TabStop Top Touch "
        "TransparentColorValue VertScrollBar Visible Width WindowMenu WindowState OnActivate "
        "OnAfterMonitorDpiChanged OnBeforeMonitorDpiChanged OnCanResize OnClose OnCloseQuery "
        "OnConstrainedResize OnContextPopup OnCreate OnDeactivate OnDestroy OnHelp OnHide "
        "OnKeyDown OnKeyPress OnKeyUp OnMouseWheel OnMouseWheelDown OnMouseWheelUp OnPaint "
        "OnResize OnShortCut OnShow");
    const Class& form = Find("TForm");
    for (const std::string& name : names)
        EXPECT_NE(form.FindProperty(name), nullptr) << name;
    const Class& titleBar = Registry().Of(*form.FindProperty("CustomTitleBar")->Type().ClassType);
    for (const char* name : {"Control", "Enabled", "Height"})
        EXPECT_NE(titleBar.FindProperty(name), nullptr) << "CustomTitleBar." << name;
}

// What real forms set on the core classes must be found on them. PROPERTIES.tsv in the
// corpus lists, per class, the property paths forms set; the first part of a path
// (Font of Font.Height) must be a published property, except for the values a class
// writes itself and the properties only .lfm forms carry.
TEST(CoreClasses, KnowWhatRealFormsSet) {
    const fs::path forms = fs::path(FW_CORPUS_DIR) / "forms";
    if (fwtest::CorpusMissing(forms)) return;
    const std::vector<std::string> classList = Words(
        "TScrollBox TFrame TImageList TMainMenu TPopupMenu TMenuItem TActionList TAction TEdit "
        "TMemo TListBox TComboBox TButton TCheckBox TRadioButton TLabel TGroupBox TScrollBar "
        "TStaticText TMaskEdit TCheckListBox TBitBtn TSpeedButton THeader TRadioGroup TPanel "
        "TImage TShape TBevel TSplitter TControlBar TColorBox TLabeledEdit TNotebook TPage TTimer "
        "TPaintBox TOpenDialog TSaveDialog TFontDialog TColorDialog TPrintDialog "
        "TPrinterSetupDialog TFindDialog TReplaceDialog TOpenPictureDialog TSavePictureDialog "
        "TSpinButton TSpinEdit TGauge TColorGrid TCalendar TFlowPanel TGridPanel TStackPanel "
        "TLinkLabel TWebBrowser TApplicationEvents TImageCollection TVirtualImageList TEditCut TEditCopy "
        "TEditPaste TEditSelectAll TEditUndo TEditDelete TFileOpen TFileSaveAs TFileExit TFileRun "
        "TSearchFind "
        "THelpContents TWindowCascade TWindowClose TDataSetFirst TDataSetPost TDataSetRefresh TRichEditBold "
        "TRelativePanel TButtonedEdit TTrayIcon");
    const std::set<std::string> classes(classList.begin(), classList.end());
    // Written by the class itself, not published: the sizes a control had before it was
    // anchored or aligned, the design size of anchored children, the label's IsControl,
    // a form's text height, and an image list's images. (Lines.Strings, Glyph.Data and
    // the like start with a published property and are checked as such.)
    const std::set<std::string> writtenByClass = {"ExplicitLeft",   "ExplicitTop", "ExplicitWidth",
                                                  "ExplicitHeight", "DesignSize",  "IsControl",
                                                  "TextHeight"};
    const std::set<std::pair<std::string, std::string>> writtenByClassOn = {{"TImageList", "Bitmap"},
                                                                            {"TWebBrowser", "ControlData"}};
    // .lfm forms only: the layout helpers of its controls, and what its controls
    // publish beyond the ones here.
    const std::set<std::string> lfmOnly = {
        "AnchorSideLeft", "AnchorSideRight", "AnchorSideTop",  "AnchorSideBottom", "BorderSpacing",
        "ChildSizing",    "OnEditingDone",   "OnChangeBounds", "AutoFill",         "DefaultCaption",
        "GlyphShowMode",  "SpaceChar",       "ResizeAnchor",   "EchoMode",         "AutoCompleteText",
        "RightJustify",   "DesignTimePPI"};
    const std::set<std::pair<std::string, std::string>> lfmOnlyOn = {
        {"TRadioGroup", "ClientHeight"}, {"TRadioGroup", "ClientWidth"}, {"TGroupBox", "ClientHeight"},
        {"TGroupBox", "ClientWidth"},    {"TPanel", "ClientHeight"},     {"TPanel", "ClientWidth"},
        {"TOpenDialog", "Height"},       {"TOpenDialog", "Width"},       {"TButton", "AutoSize"},
        {"TCheckBox", "AutoSize"},       {"TComboBox", "AutoSize"},      {"TCheckBox", "OnChange"},
        {"TImageList", "Scaled"},        {"TCheckListBox", "Data"},
    };
    // Multi-device image lists share the name with this one; their Source and
    // Destination collections are not its.
    const std::set<std::pair<std::string, std::string>> otherLibrary = {
        {"TImageList", "Source"},
        {"TImageList", "Destination"},
    };

    const auto rows = fwtest::PropertyRows(forms);
    ASSERT_FALSE(rows.empty()) << "PROPERTIES.tsv is missing";
    int checked = 0;
    for (const auto& [className, path] : rows) {
        if (!classes.count(className)) continue;
        const std::string first = path.substr(0, path.find('.'));
        if (writtenByClass.count(first) || writtenByClassOn.count({className, first}) ||
            lfmOnly.count(first) || lfmOnlyOn.count({className, first}) ||
            otherLibrary.count({className, first}))
            continue;
        const Class* cls = &Find(className);
        // A non-visual component's place on the design surface.
        if (!cls->Has(CfControl) && (first == "Left" || first == "Top" || first == "left" || first == "top"))
            continue;
        EXPECT_NE(cls->FindProperty(first), nullptr) << className << "." << path;
        ++checked;
    }
    EXPECT_GT(checked, 500) << "PROPERTIES.tsv was not read through";
}

}  // namespace
