// The common controls and the other component units: ComCtrls, Grids, ValEdit, Tabs,
// TabNotBk, Outline, FileCtrl, DirOutln, ShellCtrls, MPlayer, OleCtnrs, DdeMan, Chart
// and the action bars.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/builtin.h"
#include "runtime/family_comctrls.h"
#include "runtime/registry.h"
#include "runtime_test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace fw::rt;

ClassRegistry& Registry() {
    static const std::unique_ptr<ClassRegistry> registry = MakeBuiltinRegistry();
    return *registry;
}

// The registered class of that name, or a class reached from the registered ones
// (collections, their items, sub-objects), or a tabbed notebook's page, which forms
// hold without the start-up list naming it.
const Class& Find(std::string_view name) {
    if (const Class* c = Registry().FindClassByName(name)) return *c;
    if (name == cls::TTabPage.Name) return Registry().Of(cls::TTabPage);
    std::set<const ClassInfo*> seen;
    std::vector<const ClassInfo*> todo(BuiltinClasses().begin(), BuiltinClasses().end());
    while (!todo.empty()) {
        const ClassInfo* c = todo.back();
        todo.pop_back();
        if (!c || !seen.insert(c).second) continue;
        if (c->Name == name) return Registry().Of(*c);
        todo.push_back(c->Parent);
        todo.push_back(c->ItemClass);
        for (const auto& group : c->Published)
            for (const PropInfo& p : group)
                if (p.Type->ClassType) todo.push_back(p.Type->ClassType);
    }
    throw std::runtime_error("class not known: " + std::string(name));
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

std::string Joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& w : words)
        text += (text.empty() ? "" : " ") + w;
    return text;
}

constexpr std::int64_t clWindow = -16777211, clBtnFace = -16777201;

// A property's type and initial value, for the classes forms use most.
TEST(ComCtrlsClasses, PropertySpotChecks) {
    using K = TypeKind;
    struct Case {
        const char* ClassName;
        const char* Property;
        const char* TypeName;
        TypeKind Kind;
        DefaultValue Default;
    };
    const Case cases[] = {
        {"TListView", "ViewStyle", "TViewStyle", K::tkEnumeration, dv::Int(0)},
        {"TListView", "Columns", "TListColumns", K::tkClass, dv::None()},
        {"TListView", "Width", "Integer", K::tkInteger, dv::Int(250)},
        {"TListView", "Height", "Integer", K::tkInteger, dv::Int(150)},
        {"TListView", "ColumnClick", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TListView", "ShowColumnHeaders", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TListView", "HideSelection", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TListView", "ReadOnly", "Boolean", K::tkEnumeration, dv::Bool(false)},
        {"TListView", "BorderStyle", "TBorderStyle", K::tkEnumeration, dv::Int(1)},
        {"TListView", "Color", "TColor", K::tkInteger, dv::Int(clWindow)},
        {"TListView", "ParentColor", "Boolean", K::tkEnumeration, dv::Bool(false)},
        {"TListView", "SortType", "TSortType", K::tkEnumeration, dv::Int(0)},
        {"TListView", "HoverTime", "Integer", K::tkInteger, dv::Int(-1)},
        {"TListView", "TabStop", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TListView", "OnSelectItem", "TLVSelectItemEvent", K::tkMethod, dv::None()},
        {"TListView", "OnCustomDrawItem", "TLVCustomDrawItemEvent", K::tkMethod, dv::None()},
        {"TListView", "StyleElements", "TStyleElements", K::tkSet, dv::Set({0, 1, 2})},
        {"TListColumn", "Width", "TWidth", K::tkInteger, dv::Int(50)},
        {"TListColumn", "Alignment", "TAlignment", K::tkEnumeration, dv::Int(0)},
        {"TTreeView", "Indent", "Integer", K::tkInteger, dv::None()},
        {"TTreeView", "ShowRoot", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TTreeView", "ShowLines", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TTreeView", "ToolTips", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TTreeView", "Width", "Integer", K::tkInteger, dv::Int(121)},
        {"TTreeView", "Height", "Integer", K::tkInteger, dv::Int(97)},
        {"TTreeView", "MultiSelectStyle", "TMultiSelectStyle", K::tkSet, dv::Set({0})},
        {"TTreeView", "Items", "TTreeNodes", K::tkClass, dv::None()},
        {"TTreeView", "OnChange", "TTVChangedEvent", K::tkMethod, dv::None()},
        {"TTreeView", "OnExpanding", "TTVExpandingEvent", K::tkMethod, dv::None()},
        {"TPageControl", "TabPosition", "TTabPosition", K::tkEnumeration, dv::Int(0)},
        {"TPageControl", "Style", "TTabStyle", K::tkEnumeration, dv::Int(0)},
        {"TPageControl", "TabIndex", "Integer", K::tkInteger, dv::Int(-1)},
        {"TPageControl", "Width", "Integer", K::tkInteger, dv::Int(289)},
        {"TPageControl", "Height", "Integer", K::tkInteger, dv::Int(193)},
        {"TPageControl", "TabStop", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TPageControl", "OnChanging", "TTabChangingEvent", K::tkMethod, dv::None()},
        {"TTabControl", "Tabs", "TStrings", K::tkClass, dv::None()},
        {"TTabSheet", "ImageIndex", "TImageIndex", K::tkInteger, dv::Int(0)},
        {"TTabSheet", "TabVisible", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TTabSheet", "Caption", "TCaption", K::tkLString, dv::Str("")},
        {"TTabSheet", "ImageName", "TImageName", K::tkLString, dv::Str("")},
        {"TStringGrid", "Options", "TGridOptions", K::tkSet, dv::Set({0, 1, 2, 3, 4})},
        {"TStringGrid", "ColCount", "Integer", K::tkInteger, dv::Int(5)},
        {"TStringGrid", "RowCount", "Integer", K::tkInteger, dv::Int(5)},
        {"TStringGrid", "FixedCols", "Integer", K::tkInteger, dv::Int(1)},
        {"TStringGrid", "FixedRows", "Integer", K::tkInteger, dv::Int(1)},
        {"TStringGrid", "DefaultColWidth", "Integer", K::tkInteger, dv::Int(64)},
        {"TStringGrid", "DefaultRowHeight", "Integer", K::tkInteger, dv::Int(24)},
        {"TStringGrid", "ScrollBars", "TScrollStyle", K::tkEnumeration, dv::Int(3)},
        {"TStringGrid", "DrawingStyle", "TGridDrawingStyle", K::tkEnumeration, dv::Int(1)},
        {"TStringGrid", "FixedColor", "TColor", K::tkInteger, dv::Int(clBtnFace)},
        {"TStringGrid", "OnDrawCell", "TDrawCellEvent", K::tkMethod, dv::None()},
        {"TStringGrid", "OnSelectCell", "TSelectCellEvent", K::tkMethod, dv::None()},
        {"TDrawGrid", "DefaultDrawing", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TValueListEditor", "FixedCols", "Integer", K::tkInteger, dv::Int(0)},
        {"TValueListEditor", "DefaultColWidth", "Integer", K::tkInteger, dv::Int(150)},
        {"TValueListEditor", "Strings", "TStrings", K::tkClass, dv::None()},
        {"TValueListEditor", "KeyOptions", "TKeyOptions", K::tkSet, dv::Set({})},
        {"TStatusBar", "Align", "TAlign", K::tkEnumeration, dv::Int(2)},  // alBottom
        {"TStatusBar", "ParentFont", "Boolean", K::tkEnumeration, dv::Bool(false)},
        {"TStatusBar", "UseSystemFont", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TStatusBar", "SimplePanel", "Boolean", K::tkEnumeration, dv::Bool(false)},
        {"TStatusBar", "SizeGrip", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TStatusBar", "Color", "TColor", K::tkInteger, dv::Int(clBtnFace)},
        {"TStatusBar", "OnDrawPanel", "TDrawPanelEvent", K::tkMethod, dv::None()},
        {"TStatusPanel", "Bevel", "TStatusPanelBevel", K::tkEnumeration, dv::Int(1)},
        {"TStatusPanel", "Width", "Integer", K::tkInteger, dv::Int(50)},
        {"TToolBar", "Align", "TAlign", K::tkEnumeration, dv::Int(1)},  // alTop
        {"TToolBar", "ButtonWidth", "Integer", K::tkInteger, dv::Int(23)},
        {"TToolBar", "ButtonHeight", "Integer", K::tkInteger, dv::Int(22)},
        {"TToolBar", "Flat", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TToolBar", "Wrapable", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TToolBar", "EdgeInner", "TEdgeStyle", K::tkEnumeration, dv::Int(1)},
        {"TToolButton", "Style", "TToolButtonStyle", K::tkEnumeration, dv::Int(0)},
        {"TToolButton", "ImageIndex", "TImageIndex", K::tkInteger, dv::Int(-1)},
        {"TToolButton", "Width", "Integer", K::tkInteger, dv::Int(23)},
        {"TToolButton", "Height", "Integer", K::tkInteger, dv::Int(22)},
        {"THeaderControl", "Align", "TAlign", K::tkEnumeration, dv::Int(1)},
        {"THeaderSection", "Style", "THeaderSectionStyle", K::tkEnumeration, dv::Int(0)},
        {"THeaderSection", "AllowClick", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TTrackBar", "Max", "Integer", K::tkInteger, dv::Int(10)},
        {"TTrackBar", "TickStyle", "TTickStyle", K::tkEnumeration, dv::Int(1)},
        {"TTrackBar", "Orientation", "TTrackBarOrientation", K::tkEnumeration, dv::Int(0)},
        {"TProgressBar", "Max", "Integer", K::tkInteger, dv::Int(100)},
        {"TProgressBar", "Step", "Integer", K::tkInteger, dv::Int(10)},
        {"TUpDown", "Max", "Integer", K::tkInteger, dv::Int(100)},
        {"TUpDown", "Orientation", "TUDOrientation", K::tkEnumeration, dv::Int(1)},
        {"TUpDown", "Thousands", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TUpDown", "Associate", "TWinControl", K::tkClass, dv::None()},
        {"THotKey", "HotKey", "TShortCut", K::tkInteger, dv::Int(0x8041)},  // Alt+A
        {"TAnimate", "CommonAVI", "TCommonAVI", K::tkEnumeration, dv::Int(0)},
        {"TDateTimePicker", "Kind", "TDateTimeKind", K::tkEnumeration, dv::Int(0)},
        {"TDateTimePicker", "Date", "TDate", K::tkFloat, dv::None()},
        {"TDateTimePicker", "Time", "TTime", K::tkFloat, dv::None()},
        {"TDateTimePicker", "DateMode", "TDTDateMode", K::tkEnumeration, dv::Int(0)},
        {"TDateTimePicker", "Checked", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TMonthCalendar", "FirstDayOfWeek", "TCalDayOfWeek", K::tkEnumeration, dv::Int(7)},
        {"TRichEdit", "Lines", "TStrings", K::tkClass, dv::None()},
        {"TRichEdit", "Width", "Integer", K::tkInteger, dv::Int(185)},
        {"TRichEdit", "Height", "Integer", K::tkInteger, dv::Int(89)},
        {"TRichEdit", "WordWrap", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TRichEdit", "HideScrollBars", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TRichEdit", "OnSelectionChange", "TNotifyEvent", K::tkMethod, dv::None()},
        {"TComboBoxEx", "Style", "TComboBoxExStyle", K::tkEnumeration, dv::Int(0)},
        {"TComboBoxEx", "ItemsEx", "TComboExItems", K::tkClass, dv::None()},
        {"TCoolBand", "MinHeight", "Integer", K::tkInteger, dv::Int(25)},
        {"TTabSet", "TabPosition", "TTabPosition", K::tkEnumeration, dv::Int(1)},  // tpBottom
        {"TTabSet", "DitherBackground", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TTabbedNotebook", "TabsPerRow", "Integer", K::tkInteger, dv::Int(3)},
        {"TTabbedNotebook", "TabFont", "TFont", K::tkClass, dv::None()},
        {"TOutline", "OutlineStyle", "TOutlineStyle", K::tkEnumeration, dv::Int(4)},
        {"TOutline", "ItemSeparator", "string", K::tkLString, dv::Str("\\")},
        {"TFileListBox", "Mask", "string", K::tkLString, dv::Str("*.*")},
        {"TFilterComboBox", "Filter", "string", K::tkLString, dv::Str("All files (*.*)|*.*")},
        {"TDriveComboBox", "Drive", "Char", K::tkChar, dv::None()},
        {"TDirectoryOutline", "TextCase", "TTextCase", K::tkEnumeration, dv::Int(0)},
        {"TShellTreeView", "Root", "TRoot", K::tkLString, dv::Str("rfDesktop")},
        {"TShellListView", "ViewStyle", "TViewStyle", K::tkEnumeration, dv::Int(0)},
        {"TMediaPlayer", "DeviceType", "TMPDeviceTypes", K::tkEnumeration, dv::Int(0)},
        {"TMediaPlayer", "VisibleButtons", "TButtonSet", K::tkSet, dv::Set({0, 1, 2, 3, 4, 5, 6, 7, 8})},
        {"TOleContainer", "AutoActivate", "TAutoActivate", K::tkEnumeration, dv::Int(2)},
        {"TDdeClientConv", "ConnectMode", "TDataMode", K::tkEnumeration, dv::Int(0)},
        {"TDdeServerConv", "OnExecuteMacro", "TMacroEvent", K::tkMethod, dv::None()},
        {"TChart", "View3D", "Boolean", K::tkEnumeration, dv::Bool(true)},
        {"TChart", "BevelOuter", "TBevelCut", K::tkEnumeration, dv::Int(2)},
        {"TChart", "Legend", "TChartLegend", K::tkClass, dv::None()},
        {"TActionManager", "State", "TActionListState", K::tkEnumeration, dv::Int(0)},
        {"TActionMainMenuBar", "Align", "TAlign", K::tkEnumeration, dv::Int(1)},
        {"TActionMainMenuBar", "UseSystemFont", "Boolean", K::tkEnumeration, dv::Bool(true)},
        // Written whatever its value: the style decides the initial one.
        {"TActionToolBar", "Spacing", "Integer", K::tkInteger, dv::None()},
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

// The names of the elements of a set-typed property's initial value, in ordinal order.
std::string DefaultSetNames(const Property& p) {
    std::vector<std::string> names;
    const auto& enumNames = p.Type().ElementType->EnumNames;
    for (std::size_t i = 0; i < enumNames.size(); ++i)
        if (p.Info->Default.Ordinal & (std::int64_t{1} << i)) names.emplace_back(enumNames[i]);
    return Joined(names);
}

// A set's initial value is a bit mask over the element ordinals; a value name out of
// its place would change which options a new control starts with.
TEST(ComCtrlsClasses, InitialSetsNameTheRightElements) {
    struct Case {
        const char* ClassName;
        const char* Property;
        const char* Names;
    };
    const Case cases[] = {
        {"TStringGrid", "Options", "goFixedVertLine goFixedHorzLine goVertLine goHorzLine goRangeSelect"},
        {"TValueListEditor", "Options",
         "goFixedVertLine goFixedHorzLine goVertLine goHorzLine goColSizing goEditing goAlwaysShowEditor "
         "goThumbTracking"},
        {"TValueListEditor", "DisplayOptions", "doColumnTitles doAutoColResize doKeyColFixed"},
        {"THotKey", "InvalidKeys", "hcNone hcShift"},
        {"THotKey", "Modifiers", "hkAlt"},
        {"TToolBar", "EdgeBorders", "ebTop"},
        {"TCoolBar", "EdgeBorders", "ebLeft ebTop ebRight ebBottom"},
        {"TComboBoxEx", "AutoCompleteOptions", "acoAutoSuggest acoUpDownKeyDropsList"},
        {"TTreeView", "MultiSelectStyle", "msControlSelect"},
        {"TFileListBox", "FileType", "ftNormal"},
        {"TOutline", "Options", "ooDrawTreeRoot ooDrawFocusRect"},
        {"TShellListView", "ObjectTypes", "otFolders otNonFolders"},
        {"TShellTreeView", "ObjectTypes", "otFolders"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ClassName) + "." + c.Property);
        const Property* p = Find(c.ClassName).FindProperty(c.Property);
        ASSERT_NE(p, nullptr);
        ASSERT_EQ(p->Kind(), TypeKind::tkSet);
        EXPECT_EQ(DefaultSetNames(*p), c.Names);
    }
}

// Enumerations whose values forms write by name: every name in its ordinal place,
// the ones later versions added at the end.
TEST(ComCtrlsTypes, EnumerationNamesInOrdinalOrder) {
    struct Case {
        const char* ClassName;
        const char* Property;
        const char* Names;
    };
    const Case cases[] = {
        {"TStringGrid", "Options",
         "goFixedVertLine goFixedHorzLine goVertLine goHorzLine goRangeSelect goDrawFocusSelected "
         "goRowSizing "
         "goColSizing goRowMoving goColMoving goEditing goTabs goRowSelect goAlwaysShowEditor "
         "goThumbTracking "
         "goFixedColClick goFixedRowClick goFixedHotTrack"},
        {"TListView", "ViewStyle", "vsIcon vsSmallIcon vsList vsReport"},
        {"TListView", "SortType", "stNone stData stText stBoth"},
        {"TPageControl", "TabPosition", "tpTop tpBottom tpLeft tpRight"},
        {"TPageControl", "Style", "tsTabs tsButtons tsFlatButtons"},
        {"TToolButton", "Style",
         "tbsButton tbsCheck tbsDropDown tbsSeparator tbsDivider tbsTextButton tbsWholeDropDown"},
        {"TToolBar", "EdgeOuter", "esNone esRaised esLowered"},
        {"TStatusPanel", "Bevel", "pbNone pbLowered pbRaised"},
        {"TTrackBar", "TickMarks", "tmBottomRight tmTopLeft tmBoth"},
        {"TTrackBar", "PositionToolTip", "ptNone ptTop ptLeft ptBottom ptRight"},
        {"TDateTimePicker", "CalAlignment", "dtaLeft dtaRight"},
        {"TMonthCalendar", "FirstDayOfWeek",
         "dowMonday dowTuesday dowWednesday dowThursday dowFriday dowSaturday dowSunday dowLocaleDefault"},
        {"TTabSet", "Style", "tsStandard tsOwnerDraw tsSoftTabs tsModernTabs tsModernPopout"},
        {"TMediaPlayer", "EnabledButtons",
         "btPlay btPause btStop btNext btPrev btStep btBack btRecord btEject"},
        {"TOutline", "OutlineStyle",
         "osPictureText osPlusMinusPictureText osPlusMinusText osText osTreePictureText osTreeText"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ClassName) + "." + c.Property);
        const Property* p = Find(c.ClassName).FindProperty(c.Property);
        ASSERT_NE(p, nullptr);
        const TypeInfo& t = p->Kind() == TypeKind::tkSet ? *p->Type().ElementType : p->Type();
        std::vector<std::string> names(t.EnumNames.begin(), t.EnumNames.end());
        EXPECT_EQ(Joined(names), c.Names);
    }
}

// Class-typed properties hold their object as the real component does: sub-objects
// made with the owner, or components of the form found by name.
TEST(ComCtrlsClasses, ClassTypedPropertiesHoldTheirObjects) {
    struct Case {
        const char* ClassName;
        const char* Property;
        PropHolding Holding;
        const char* ValueClass;
    };
    const Case cases[] = {
        {"TListView", "Columns", PropHolding::Owned, "TListColumns"},
        {"TListView", "Items", PropHolding::Owned, "TListItems"},
        {"TListView", "IconOptions", PropHolding::Owned, "TIconOptions"},
        {"TListView", "SmallImages", PropHolding::Reference, "TCustomImageList"},
        {"TListView", "PopupMenu", PropHolding::Reference, "TPopupMenu"},
        {"TTreeView", "Items", PropHolding::Owned, "TTreeNodes"},
        {"TTreeView", "Images", PropHolding::Reference, "TCustomImageList"},
        {"TPageControl", "ActivePage", PropHolding::Reference, "TTabSheet"},
        {"TStatusBar", "Panels", PropHolding::Owned, "TStatusPanels"},
        {"THeaderControl", "Sections", PropHolding::Owned, "THeaderSections"},
        {"TToolButton", "DropdownMenu", PropHolding::Reference, "TPopupMenu"},
        {"TToolButton", "MenuItem", PropHolding::Reference, "TMenuItem"},
        {"TToolButton", "Action", PropHolding::Reference, "TBasicAction"},
        {"TCoolBar", "Bands", PropHolding::Owned, "TCoolBands"},
        {"TCoolBand", "Control", PropHolding::Reference, "TWinControl"},
        {"TUpDown", "Associate", PropHolding::Reference, "TWinControl"},
        {"TDateTimePicker", "CalColors", PropHolding::Owned, "TMonthCalColors"},
        {"TRichEdit", "Lines", PropHolding::Owned, "TStrings"},
        {"TValueListEditor", "TitleCaptions", PropHolding::Owned, "TStrings"},
        {"TDriveComboBox", "DirList", PropHolding::Reference, "TDirectoryListBox"},
        {"TDirectoryListBox", "FileList", PropHolding::Reference, "TFileListBox"},
        {"TShellTreeView", "ShellListView", PropHolding::Reference, "TShellListView"},
        {"TMediaPlayer", "Display", PropHolding::Reference, "TWinControl"},
        {"TDdeClientItem", "DdeConv", PropHolding::Reference, "TDdeClientConv"},
        {"TChart", "BackWall", PropHolding::Owned, "TChartWall"},
        {"TChart", "Title", PropHolding::Owned, "TChartTitle"},
        {"TChart", "LeftAxis", PropHolding::Owned, "TChartAxis"},
        {"TActionManager", "ActionBars", PropHolding::Owned, "TActionBars"},
        {"TActionToolBar", "ActionManager", PropHolding::Reference, "TCustomActionManager"},
        {"TActionToolBar", "ColorMap", PropHolding::Owned, "TCustomActionBarColorMap"},
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

// A collection property's items: the collection's item class, and what real forms set
// on the items (from the collections of the corpus's text forms).
TEST(ComCtrlsClasses, CollectionsMakeTheirItems) {
    struct Case {
        const char* ClassName;
        const char* Property;
        const char* ItemClass;
        const char* ItemProperties;
    };
    const Case cases[] = {
        {"TListView", "Columns", "TListColumn", "Alignment AutoSize Caption MaxWidth MinWidth Width"},
        {"TListView", "Groups", "TListGroup",
         "Footer FooterAlign GroupID Header HeaderAlign State Subtitle TitleImage"},
        {"TStatusBar", "Panels", "TStatusPanel", "Alignment Bevel Style Text Width"},
        {"THeaderControl", "Sections", "THeaderSection",
         "Alignment AllowClick AutoSize FixedWidth ImageIndex Style Text Width"},
        {"TCoolBar", "Bands", "TCoolBand", "Break Control ImageIndex MinHeight ParentColor Text Width"},
        {"TComboBoxEx", "ItemsEx", "TComboExItem", "Caption ImageIndex Indent SelectedImageIndex"},
        {"TActionManager", "ActionBars", "TActionBarItem", "ActionBar ChangesAllowed Items"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ClassName) + "." + c.Property);
        const Property* p = Find(c.ClassName).FindProperty(c.Property);
        ASSERT_NE(p, nullptr);
        const Class& collection = Registry().Of(*p->Type().ClassType);
        EXPECT_TRUE(collection.Has(CfCollection));
        ASSERT_NE(collection.ItemClass(), nullptr);
        EXPECT_EQ(collection.ItemClass()->Name(), c.ItemClass);
        EXPECT_TRUE(collection.ItemClass()->Has(CfCollectionItem));
        for (const std::string& name : Words(c.ItemProperties))
            EXPECT_NE(collection.ItemClass()->FindProperty(name), nullptr) << name;
    }
    // An action bar's items nest: each entry holds its own item list, with the list's
    // display options.
    const Property* bars = Find("TActionManager").FindProperty("ActionBars");
    ASSERT_NE(bars, nullptr);
    const Class& bar = *Registry().Of(*bars->Type().ClassType).ItemClass();
    const Class& clients = Registry().Of(*bar.FindProperty("Items")->Type().ClassType);
    EXPECT_NE(clients.FindProperty("CaptionOptions"), nullptr);
    ASSERT_NE(clients.ItemClass(), nullptr);
    for (const char* name : {"Action", "Caption", "ImageIndex", "ShortCut", "UsageCount", "Items"})
        EXPECT_NE(clients.ItemClass()->FindProperty(name), nullptr) << name;
}

// The chains are the real ones, intermediate classes included.
TEST(ComCtrlsClasses, TrueAncestry) {
    struct Case {
        const char* ClassName;
        std::vector<const char*> Chain;  // from the parent up
    };
    const Case cases[] = {
        {"TListView",
         {"TCustomListView", "TCustomMultiSelectListControl", "TCustomListControl", "TWinControl", "TControl",
          "TComponent", "TPersistent", "TObject"}},
        {"TTreeView", {"TCustomTreeView", "TWinControl", "TControl"}},
        {"TPageControl", {"TCustomTabControl", "TWinControl"}},
        {"TTabbedNotebook", {"TCustomTabControl", "TWinControl"}},
        {"TRichEdit", {"TCustomRichEdit", "TCustomMemo", "TCustomEdit", "TWinControl"}},
        {"TStringGrid", {"TDrawGrid", "TCustomDrawGrid", "TCustomGrid", "TCustomControl", "TWinControl"}},
        {"TValueListEditor", {"TCustomValueListEditor", "TCustomDrawGrid", "TCustomGrid"}},
        {"TOutline", {"TCustomOutline", "TCustomGrid"}},
        {"TDirectoryOutline", {"TCustomOutline", "TCustomGrid"}},
        {"TComboBoxEx", {"TCustomComboBoxEx", "TCustomComboBox"}},
        {"TUpDown", {"TCustomUpDown", "TWinControl"}},
        {"TDateTimePicker", {"TCommonCalendar", "TWinControl"}},
        {"TToolBar", {"TToolWindow", "TWinControl"}},
        {"TToolButton", {"TGraphicControl", "TControl"}},
        {"TFileListBox", {"TCustomListBox", "TCustomMultiSelectListControl"}},
        {"TDriveComboBox", {"TCustomComboBox"}},
        {"TShellTreeView", {"TCustomShellTreeView", "TCustomTreeView"}},
        {"TShellListView", {"TCustomShellListView", "TCustomListView"}},
        {"TShellComboBox", {"TCustomShellComboBox", "TCustomComboBoxEx"}},
        {"TChart",
         {"TCustomChart", "TCustomAxisPanel", "TCustomTeePanelExtended", "TCustomTeePanel", "TCustomPanel"}},
        {"TActionMainMenuBar",
         {"TCustomActionMainMenuBar", "TCustomActionMenuBar", "TCustomActionDockBar", "TCustomActionBar",
          "TToolWindow", "TWinControl"}},
        {"TActionToolBar",
         {"TCustomActionToolBar", "TCustomActionDockBar", "TCustomActionBar", "TToolWindow"}},
        {"TActionManager", {"TCustomActionManager", "TCustomActionList", "TComponent"}},
        {"TListColumns", {"TCollection", "TPersistent"}},
        {"TListColumn", {"TCollectionItem", "TPersistent"}},
        {"TComboExItems", {"TListControlItems", "TOwnedCollection", "TCollection"}},
        {"TTreeNodes", {"TPersistent"}},
        {"TDdeClientConv", {"TComponent"}},
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
}

// What kind of object a class makes, as the reader and the preview ask it.
TEST(ComCtrlsClasses, KindOfObject) {
    struct Case {
        const char* ClassName;
        std::uint32_t Has;
        std::uint32_t HasNot;
    };
    const Case cases[] = {
        {"TPageControl", CfWinControl, CfForm},
        {"TTabSheet", CfWinControl, 0},
        {"TToolButton", CfControl, CfWinControl},
        {"TStringGrid", CfWinControl, 0},
        {"TChart", CfWinControl, 0},
        {"TActionManager", CfComponent, CfControl},
        {"TDdeServerItem", CfComponent, CfControl},
        {"TStatusPanels", CfCollection, CfComponent},
        {"TListColumn", CfCollectionItem, CfComponent},
        {"TTreeNodes", CfPersistent, CfCollection | CfComponent},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ClassName);
        const Class& k = Find(c.ClassName);
        EXPECT_EQ(k.Flags() & c.Has, c.Has);
        EXPECT_EQ(k.Flags() & c.HasNot, 0u);
    }
}

// Follows a property path (BackWall.Brush.Color) through owned sub-objects. Returns
// an empty string when the path resolves, or the part that does not.
std::string Resolve(const Class& start, const std::string& path) {
    const Class* cls = &start;
    std::istringstream parts(path);
    for (std::string part; std::getline(parts, part, '.');) {
        if (!cls) return part;
        // What lists, pictures and item lists write of themselves.
        if (cls->Has(CfStrings) && part == "Strings") return "";
        if ((cls->InheritsFrom("TGraphic") || cls->InheritsFrom("TPicture")) && part == "Data") return "";
        if ((cls->InheritsFrom("TTreeNodes") || cls->InheritsFrom("TListItems")) &&
            (part == "Data" || part == "NodeData" || part == "ItemData"))
            return "";
        const Property* p = cls->FindProperty(part);
        if (!p) return part;
        cls = p->Info->Holding == PropHolding::Owned && p->Type().ClassType
                  ? &Registry().Of(*p->Type().ClassType)
                  : nullptr;
    }
    return "";
}

// What real forms set on these classes must be found on them, down to the
// sub-objects' properties (IconOptions.AutoArrange, BackWall.Brush.Color,
// ColorMap.HighlightColor), except for what a class writes itself and what only
// .lfm forms carry.
TEST(ComCtrlsClasses, KnowWhatRealFormsSet) {
    const fs::path forms = fs::path(FW_CORPUS_DIR) / "forms";
    if (fwtest::CorpusMissing(forms)) return;
    const std::vector<std::string> classList = Words(
        "TListView TTreeView TStringGrid TDrawGrid TToolBar TPageControl TStatusBar TRichEdit TTabSheet "
        "TToolButton TProgressBar TTabControl TDateTimePicker TTrackBar TUpDown TComboBoxEx TActionToolBar "
        "TActionMainMenuBar THeaderControl TTabSet TValueListEditor TTabbedNotebook TFileListBox TCoolBar "
        "TChart TDirectoryListBox TDriveComboBox TAnimate TActionManager THotKey TDdeServerConv "
        "TMonthCalendar TPageScroller TShellTreeView TShellListView TShellComboBox TMediaPlayer "
        "TOleContainer TOutline TDirectoryOutline TFilterComboBox TDdeClientConv TDdeClientItem "
        "TDdeServerItem");
    const std::set<std::string> classes(classList.begin(), classList.end());
    // Written by the class itself: the sizes before anchoring, a container's design
    // size, a grid's column widths and row heights, an action manager's style.
    const std::set<std::string> writtenByClass = {"ExplicitLeft",   "ExplicitTop", "ExplicitWidth",
                                                  "ExplicitHeight", "DesignSize",  "ColWidths",
                                                  "RowHeights"};
    const std::set<std::pair<std::string, std::string>> writtenByClassOn = {{"TActionManager", "StyleName"}};
    // .lfm forms only: its layout helpers, and what its grids, trees, combo boxes,
    // list boxes and sheets publish beyond these.
    const std::set<std::string> lfmOnly = {"AnchorSideLeft",   "AnchorSideRight", "AnchorSideTop",
                                           "AnchorSideBottom", "BorderSpacing",   "ChildSizing",
                                           "OnEditingDone"};
    const std::set<std::pair<std::string, std::string>> lfmOnlyOn = {
        {"TStringGrid", "AutoAdvance"},
        {"TStringGrid", "AutoFillColumns"},
        {"TStringGrid", "Cells"},
        {"TStringGrid", "Columns"},
        {"TStringGrid", "ExtendedSelect"},
        {"TStringGrid", "HeaderPushZones"},
        {"TStringGrid", "MouseWheelOption"},
        {"TStringGrid", "TitleFont"},
        {"TStringGrid", "TitleStyle"},
        {"TStringGrid", "UseXORFeatures"},
        {"TDrawGrid", "ExtendedSelect"},
        {"TDrawGrid", "TitleFont"},
        {"TTreeView", "DefaultItemHeight"},
        {"TTreeView", "Options"},
        {"TTreeView", "OnSelectionChanged"},
        {"TComboBoxEx", "ItemHeight"},
        {"TComboBoxEx", "ItemIndex"},
        {"TComboBoxEx", "ReadOnly"},
        {"TTabSheet", "ClientHeight"},
        {"TTabSheet", "ClientWidth"},
    };

    const auto rows = fwtest::PropertyRows(forms);
    ASSERT_FALSE(rows.empty()) << "PROPERTIES.tsv is missing";
    int checked = 0;
    for (const auto& [className, path] : rows) {
        if (!classes.count(className)) continue;
        const std::string first = path.substr(0, path.find('.'));
        if (writtenByClass.count(first) || writtenByClassOn.count({className, first}) ||
            lfmOnly.count(first) || lfmOnlyOn.count({className, first}))
            continue;
        const Class& cls = Find(className);
        // A non-visual component's place on the design surface.
        if (!cls.Has(CfControl) && (first == "Left" || first == "Top")) continue;
        EXPECT_EQ(Resolve(cls, path), "") << className << "." << path;
        ++checked;
    }
    EXPECT_GT(checked, 500) << "PROPERTIES.tsv was not read through";
}

}  // namespace
