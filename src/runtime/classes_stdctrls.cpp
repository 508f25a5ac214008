// The class tables of the standard controls: StdCtrls, Mask, CheckLst and Buttons.
//
// Properties and initial values follow the 10.x generation of the component library: a new TEdit is
// 121x21, a TComboBox 145x21, items 16 pixels high; the image-list properties of
// buttons carry the image names of 10.4.

#include <iterator>

#include "builtin.h"
#include "family_core.h"

namespace fw::rt {

using namespace val;
using def::EnumType;
using def::EventProp;
using def::IntType;
using def::MethodType;
using def::OwnedProp;
using def::RefProp;

namespace cls {
extern const ClassInfo TImageMargins;
}  // namespace cls

namespace grp {

constexpr PropInfo EditProps[16] = {
    {"Alignment", &ty::TAlignment, dv::Int(0)},
    {"AutoSelect", &ty::Boolean, dv::Bool(true)},
    {"AutoSize", &ty::Boolean, dv::Bool(true)},
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},  // bsSingle
    {"CharCase", &ty::TEditCharCase, dv::Int(0)},
    {"Height", &ty::Integer, dv::Int(21)},
    {"HideSelection", &ty::Boolean, dv::Bool(true)},
    {"MaxLength", &ty::Integer, dv::Int(0)},
    {"OEMConvert", &ty::Boolean, dv::Bool(false)},
    {"PasswordChar", &ty::Char, dv::Int(0)},
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"Text", &ty::TCaption, dv::Str("")},
    {"TextHint", &ty::String, dv::Str("")},
    {"Width", &ty::Integer, dv::Int(121)},
    EventProp("OnChange", ty::TNotifyEvent),
};
static_assert(!EditProps[std::size(EditProps) - 1].Name.empty(), "a row of EditProps is missing");

}  // namespace grp

namespace {

using grp::EditProps;

// ---------------------------------------------------------------------------------
// Edits

constexpr PropInfo NumbersOnlyProps[] = {{"NumbersOnly", &ty::Boolean, dv::Bool(false)}};

constexpr std::span<const PropInfo> EditGroups[] = {
    grp::ControlProps,     grp::ControlEvents, grp::ClickEvents,   grp::WinControlProps,
    grp::FocusEvents,      grp::Ctl3DProps,    grp::WinBevelProps, grp::ImeProps,
    grp::WindowColorProps, EditProps,          NumbersOnlyProps,
};

// A mask of picture characters, as '!99/99/00;1;_'.
constexpr TypeInfo TEditMask = def::StringType("TEditMask");
constexpr PropInfo MaskEditProps[] = {{"EditMask", &TEditMask, dv::Str("")}};
constexpr std::span<const PropInfo> MaskEditGroups[] = {
    grp::ControlProps,     grp::ControlEvents, grp::ClickEvents,   grp::WinControlProps,
    grp::FocusEvents,      grp::Ctl3DProps,    grp::WinBevelProps, grp::ImeProps,
    grp::WindowColorProps, EditProps,          MaskEditProps,
};

constexpr PropInfo MemoProps[] = {
    {"Alignment", &ty::TAlignment, dv::Int(0)},
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},  // bsSingle
    {"CharCase", &ty::TEditCharCase, dv::Int(0)},
    {"Height", &ty::Integer, dv::Int(89)},
    {"HideSelection", &ty::Boolean, dv::Bool(true)},
    OwnedProp("Lines", ty::TStrings),
    {"MaxLength", &ty::Integer, dv::Int(0)},
    {"OEMConvert", &ty::Boolean, dv::Bool(false)},
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"ScrollBars", &ty::TScrollStyle, dv::Int(0)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"TextHint", &ty::String, dv::Str("")},
    {"WantReturns", &ty::Boolean, dv::Bool(true)},
    {"WantTabs", &ty::Boolean, dv::Bool(false)},
    {"Width", &ty::Integer, dv::Int(185)},
    {"WordWrap", &ty::Boolean, dv::Bool(true)},
    EventProp("OnChange", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> MemoGroups[] = {
    grp::ControlProps, grp::ControlEvents, grp::ClickEvents, grp::WinControlProps,  grp::FocusEvents,
    grp::Ctl3DProps,   grp::WinBevelProps, grp::ImeProps,    grp::WindowColorProps, MemoProps,
};

// ---------------------------------------------------------------------------------
// Lists

constexpr TypeInfo TLBGetDataEvent = MethodType("TLBGetDataEvent");
constexpr TypeInfo TLBFindDataEvent = MethodType("TLBFindDataEvent");
constexpr TypeInfo TLBGetDataObjectEvent = MethodType("TLBGetDataObjectEvent");

// What list boxes publish (TListBox, TCheckListBox).
constexpr PropInfo ListBoxProps[] = {
    {"AutoComplete", &ty::Boolean, dv::Bool(true)}, {"AutoCompleteDelay", &ty::Cardinal, dv::Int(500)},
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},  // bsSingle
    {"Columns", &ty::Integer, dv::Int(0)},          {"ExtendedSelect", &ty::Boolean, dv::Bool(true)},
    {"Height", &ty::Integer, dv::Int(97)},          {"IntegralHeight", &ty::Boolean, dv::Bool(false)},
    {"ItemHeight", &ty::Integer, dv::Int(16)},      OwnedProp("Items", ty::TStrings),
    {"MultiSelect", &ty::Boolean, dv::Bool(false)}, {"ScrollWidth", &ty::Integer, dv::Int(0)},
    {"Sorted", &ty::Boolean, dv::Bool(false)},      {"Style", &ty::TListBoxStyle, dv::Int(0)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},      {"TabWidth", &ty::Integer, dv::Int(0)},
    {"Width", &ty::Integer, dv::Int(121)},          EventProp("OnData", TLBGetDataEvent),
    EventProp("OnDataFind", TLBFindDataEvent),      EventProp("OnDataObject", TLBGetDataObjectEvent),
    EventProp("OnDrawItem", ty::TDrawItemEvent),    EventProp("OnMeasureItem", ty::TMeasureItemEvent),
};
constexpr std::span<const PropInfo> ListBoxGroups[] = {
    grp::ControlProps, grp::ControlEvents, grp::ClickEvents, grp::WinControlProps,  grp::FocusEvents,
    grp::Ctl3DProps,   grp::WinBevelProps, grp::ImeProps,    grp::WindowColorProps, ListBoxProps,
};

constexpr PropInfo CheckListBoxProps[] = {
    {"AllowGrayed", &ty::Boolean, dv::Bool(false)},
    {"Flat", &ty::Boolean, dv::Bool(true)},
    {"HeaderBackgroundColor", &ty::TColor, dv::Int(clInfoBk)},
    {"HeaderColor", &ty::TColor, dv::Int(clInfoText)},
    EventProp("OnClickCheck", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> CheckListBoxGroups[] = {
    grp::ControlProps,     grp::ControlEvents, grp::ClickEvents,   grp::WinControlProps,
    grp::FocusEvents,      grp::Ctl3DProps,    grp::WinBevelProps, grp::ImeProps,
    grp::WindowColorProps, ListBoxProps,       CheckListBoxProps,
};

constexpr PropInfo ComboBoxProps[] = {
    {"AutoCloseUp", &ty::Boolean, dv::Bool(false)},
    {"AutoComplete", &ty::Boolean, dv::Bool(true)},
    {"AutoCompleteDelay", &ty::Cardinal, dv::Int(500)},
    {"AutoDropDown", &ty::Boolean, dv::Bool(false)},
    {"AutoDropDownWidth", &ty::Boolean, dv::Bool(false)},
    {"CharCase", &ty::TEditCharCase, dv::Int(0)},
    {"DropDownCount", &ty::Integer, dv::Int(8)},
    {"DropDownWidth", &ty::Integer, dv::Int(0)},
    // Always written by the forms that have it, whatever its value.
    {"ExtendedUI", &ty::Boolean},
    {"Height", &ty::Integer, dv::Int(21)},
    {"ItemHeight", &ty::Integer, dv::Int(16)},
    {"ItemIndex", &ty::Integer, dv::Int(-1)},
    OwnedProp("Items", ty::TStrings),
    {"MaxLength", &ty::Integer, dv::Int(0)},
    {"Sorted", &ty::Boolean, dv::Bool(false)},
    {"Style", &ty::TComboBoxStyle, dv::Int(0)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"Text", &ty::TCaption, dv::Str("")},
    {"TextHint", &ty::String, dv::Str("")},
    {"Width", &ty::Integer, dv::Int(145)},
    EventProp("OnChange", ty::TNotifyEvent),
    EventProp("OnCloseUp", ty::TNotifyEvent),
    EventProp("OnDrawItem", ty::TDrawItemEvent),
    EventProp("OnDropDown", ty::TNotifyEvent),
    EventProp("OnMeasureItem", ty::TMeasureItemEvent),
    EventProp("OnSelect", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> ComboBoxGroups[] = {
    grp::ControlProps, grp::ControlEvents, grp::ClickEvents, grp::WinControlProps,  grp::FocusEvents,
    grp::Ctl3DProps,   grp::WinBevelProps, grp::ImeProps,    grp::WindowColorProps, ComboBoxProps,
};

// ---------------------------------------------------------------------------------
// Buttons

constexpr std::string_view ButtonStyleNames[] = {"bsPushButton", "bsCommandLink", "bsSplitButton"};
constexpr TypeInfo TButtonStyle = EnumType("TButtonStyle", ButtonStyleNames);
constexpr std::string_view ImageAlignmentNames[] = {"iaLeft", "iaRight", "iaTop", "iaBottom", "iaCenter"};
constexpr TypeInfo TImageAlignment = EnumType("TImageAlignment", ImageAlignmentNames);
constexpr TypeInfo TImageMarginsType = def::ClassType("TImageMargins", cls::TImageMargins);

constexpr PropInfo ImageMarginsProps[] = {
    {"Bottom", &ty::Integer, dv::Int(0)},
    {"Left", &ty::Integer, dv::Int(0)},
    {"Right", &ty::Integer, dv::Int(0)},
    {"Top", &ty::Integer, dv::Int(0)},
};
constexpr std::span<const PropInfo> ImageMarginsGroups[] = {ImageMarginsProps};

// The images a button shows in its states, by index into Images and, since 10.4, by
// name in an image collection.
constexpr PropInfo ButtonImageProps[] = {
    {"DisabledImageIndex", &ty::TImageIndex, dv::Int(-1)},
    {"DisabledImageName", &ty::TImageName, dv::Str("")},
    {"HotImageIndex", &ty::TImageIndex, dv::Int(-1)},
    {"HotImageName", &ty::TImageName, dv::Str("")},
    {"ImageIndex", &ty::TImageIndex, dv::Int(-1)},
    {"ImageName", &ty::TImageName, dv::Str("")},
    RefProp("Images", ty::TCustomImageList),
    {"PressedImageIndex", &ty::TImageIndex, dv::Int(-1)},
    {"PressedImageName", &ty::TImageName, dv::Str("")},
    {"SelectedImageIndex", &ty::TImageIndex, dv::Int(-1)},
    {"SelectedImageName", &ty::TImageName, dv::Str("")},
};

constexpr PropInfo ButtonProps[] = {
    RefProp("Action", ty::TBasicAction),
    {"Cancel", &ty::Boolean, dv::Bool(false)},
    {"Caption", &ty::TCaption, dv::Str("")},
    {"CommandLinkHint", &ty::String, dv::Str("")},
    {"Default", &ty::Boolean, dv::Bool(false)},
    RefProp("DropDownMenu", ty::TPopupMenu),
    {"ElevationRequired", &ty::Boolean, dv::Bool(false)},
    {"Height", &ty::Integer, dv::Int(25)},
    {"ImageAlignment", &TImageAlignment, dv::Int(0)},
    OwnedProp("ImageMargins", TImageMarginsType),
    {"ModalResult", &ty::TModalResult, dv::Int(0)},
    {"Style", &TButtonStyle, dv::Int(0)},
    {"StylusHotImageIndex", &ty::TImageIndex, dv::Int(-1)},
    {"StylusHotImageName", &ty::TImageName, dv::Str("")},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(75)},
    {"WordWrap", &ty::Boolean, dv::Bool(false)},
    EventProp("OnClick", ty::TNotifyEvent),
    EventProp("OnDropDownClick", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> ButtonGroups[] = {
    grp::ControlProps, grp::ControlEvents, grp::WinControlProps,
    grp::FocusEvents,  ButtonImageProps,   ButtonProps,
};

constexpr std::string_view ButtonLayoutNames[] = {"blGlyphLeft", "blGlyphRight", "blGlyphTop",
                                                  "blGlyphBottom"};
constexpr TypeInfo TButtonLayout = EnumType("TButtonLayout", ButtonLayoutNames);
// The number of images side by side in a glyph, 1..4.
constexpr TypeInfo TNumGlyphs = IntType("TNumGlyphs");
constexpr std::string_view BitBtnKindNames[] = {"bkCustom", "bkOK",     "bkCancel", "bkHelp",
                                                "bkYes",    "bkNo",     "bkClose",  "bkAbort",
                                                "bkRetry",  "bkIgnore", "bkAll"};
constexpr TypeInfo TBitBtnKind = EnumType("TBitBtnKind", BitBtnKindNames);

// The glyph bitmap's pixels are written as Glyph.Data.
constexpr PropInfo GlyphProps[] = {
    OwnedProp("Glyph", ty::TBitmap),       {"Layout", &TButtonLayout, dv::Int(0)},
    {"Margin", &ty::Integer, dv::Int(-1)}, {"NumGlyphs", &TNumGlyphs, dv::Int(1)},
    {"Spacing", &ty::Integer, dv::Int(4)},
};
// TBitBtn hides its ancestor's Style with a look of its own, a type of the same name
// from its own unit.
constexpr std::string_view BitBtnStyleNames[] = {"bsAutoDetect", "bsWin31", "bsNew"};
constexpr TypeInfo TBitBtnStyle = EnumType("TButtonStyle", BitBtnStyleNames);
constexpr PropInfo BitBtnProps[] = {{"Kind", &TBitBtnKind, dv::Int(0)}, {"Style", &TBitBtnStyle, dv::Int(0)}};
constexpr std::span<const PropInfo> BitBtnGroups[] = {GlyphProps, BitBtnProps};

constexpr PropInfo SpeedButtonProps[] = {
    RefProp("Action", ty::TBasicAction),       {"AllowAllUp", &ty::Boolean, dv::Bool(false)},
    {"Caption", &ty::TCaption, dv::Str("")},   {"Down", &ty::Boolean, dv::Bool(false)},
    {"Flat", &ty::Boolean, dv::Bool(false)},   {"GroupIndex", &ty::Integer, dv::Int(0)},
    {"Height", &ty::Integer, dv::Int(22)},     {"Transparent", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(23)},      EventProp("OnClick", ty::TNotifyEvent),
    EventProp("OnDblClick", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> SpeedButtonGroups[] = {
    grp::ControlProps, grp::ControlEvents, ButtonImageProps, GlyphProps, SpeedButtonProps,
};

// ---------------------------------------------------------------------------------
// Check boxes and radio buttons

constexpr PropInfo CheckBoxProps[] = {
    RefProp("Action", ty::TBasicAction),
    {"Alignment", &ty::TLeftRight, dv::Int(1)},  // taRightJustify: the box on the left
    {"AllowGrayed", &ty::Boolean, dv::Bool(false)},
    {"Caption", &ty::TCaption, dv::Str("")},
    {"Checked", &ty::Boolean, dv::Bool(false)},
    {"Height", &ty::Integer, dv::Int(17)},
    {"State", &ty::TCheckBoxState, dv::Int(0)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(97)},
    {"WordWrap", &ty::Boolean, dv::Bool(false)},
    EventProp("OnClick", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> CheckBoxGroups[] = {
    grp::ControlProps, grp::ControlEvents,    grp::WinControlProps, grp::FocusEvents,
    grp::Ctl3DProps,   grp::ParentColorProps, CheckBoxProps,
};

constexpr PropInfo RadioButtonProps[] = {
    RefProp("Action", ty::TBasicAction),     {"Alignment", &ty::TLeftRight, dv::Int(1)},  // taRightJustify
    {"Caption", &ty::TCaption, dv::Str("")}, {"Checked", &ty::Boolean, dv::Bool(false)},
    {"Height", &ty::Integer, dv::Int(17)},   {"TabStop", &ty::Boolean, dv::Bool(false)},
    {"Width", &ty::Integer, dv::Int(113)},   {"WordWrap", &ty::Boolean, dv::Bool(false)},
};
constexpr std::span<const PropInfo> RadioButtonGroups[] = {
    grp::ControlProps, grp::ControlEvents, grp::ClickEvents,      grp::WinControlProps,
    grp::FocusEvents,  grp::Ctl3DProps,    grp::ParentColorProps, RadioButtonProps,
};

// ---------------------------------------------------------------------------------
// Labels, group boxes, scroll bars, static text

constexpr PropInfo LabelProps[] = {
    {"Alignment", &ty::TAlignment, dv::Int(0)},
    {"AutoSize", &ty::Boolean, dv::Bool(true)},
    {"Caption", &ty::TCaption, dv::Str("")},
    {"EllipsisPosition", &ty::TEllipsisPosition, dv::Int(0)},
    RefProp("FocusControl", ty::TWinControl),
    {"GlowSize", &ty::Integer, dv::Int(0)},
    {"Height", &ty::Integer, dv::Int(17)},
    {"Layout", &ty::TTextLayout, dv::Int(0)},
    {"ShowAccelChar", &ty::Boolean, dv::Bool(true)},
    {"Transparent", &ty::Boolean, dv::Bool(false)},
    {"Width", &ty::Integer, dv::Int(65)},
    {"WordWrap", &ty::Boolean, dv::Bool(false)},
};
constexpr std::span<const PropInfo> LabelGroups[] = {
    grp::ControlProps, grp::ControlEvents, grp::ClickEvents, grp::ParentColorProps, LabelProps,
};

constexpr PropInfo GroupBoxProps[] = {
    {"Caption", &ty::TCaption, dv::Str("")},
    {"DefaultHeaderFont", &ty::Boolean, dv::Bool(true)},
    OwnedProp("HeaderFont", ty::TFont),
    {"Height", &ty::Integer, dv::Int(105)},
    {"ParentBackground", &ty::Boolean, dv::Bool(true)},
    {"ShowFrame", &ty::Boolean, dv::Bool(true)},
    {"TabStop", &ty::Boolean, dv::Bool(false)},
    {"Width", &ty::Integer, dv::Int(185)},
};
constexpr std::span<const PropInfo> GroupBoxGroups[] = {
    grp::ControlProps,   grp::ControlEvents, grp::ClickEvents,      grp::WinControlProps,
    grp::FocusEvents,    grp::Ctl3DProps,    grp::ParentColorProps, grp::DockSiteProps,
    grp::DockSiteEvents, grp::PaddingProps,  grp::AlignEvents,      GroupBoxProps,
};

constexpr PropInfo ScrollBarProps[] = {
    {"Height", &ty::Integer, dv::Int(17)},
    {"Kind", &ty::TScrollBarKind, dv::Int(0)},
    {"LargeChange", &ty::TScrollBarInc, dv::Int(1)},
    {"Max", &ty::Integer, dv::Int(100)},
    {"Min", &ty::Integer, dv::Int(0)},
    {"PageSize", &ty::Integer, dv::Int(0)},
    {"Position", &ty::Integer, dv::Int(0)},
    {"SmallChange", &ty::TScrollBarInc, dv::Int(1)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(121)},
    EventProp("OnChange", ty::TNotifyEvent),
    EventProp("OnScroll", ty::TScrollEvent),
};
constexpr std::span<const PropInfo> ScrollBarGroups[] = {
    grp::ControlProps, grp::ControlEvents, grp::WinControlProps,
    grp::FocusEvents,  grp::Ctl3DProps,    ScrollBarProps,
};

constexpr std::string_view StaticBorderStyleNames[] = {"sbsNone", "sbsSingle", "sbsSunken"};
constexpr TypeInfo TStaticBorderStyle = EnumType("TStaticBorderStyle", StaticBorderStyleNames);
constexpr PropInfo StaticTextProps[] = {
    {"Alignment", &ty::TAlignment, dv::Int(0)},       {"AutoSize", &ty::Boolean, dv::Bool(true)},
    {"BorderStyle", &TStaticBorderStyle, dv::Int(0)}, {"Caption", &ty::TCaption, dv::Str("")},
    RefProp("FocusControl", ty::TWinControl),         {"Height", &ty::Integer, dv::Int(17)},
    {"ShowAccelChar", &ty::Boolean, dv::Bool(true)},  {"TabStop", &ty::Boolean, dv::Bool(false)},
    {"Transparent", &ty::Boolean, dv::Bool(true)},    {"Width", &ty::Integer, dv::Int(65)},
};
constexpr std::span<const PropInfo> StaticTextGroups[] = {
    grp::ControlProps,  grp::ControlEvents,    grp::ClickEvents, grp::WinControlProps,
    grp::WinBevelProps, grp::ParentColorProps, StaticTextProps,
};

}  // namespace

namespace cls {

// StdCtrls
const ClassInfo TCustomEdit = {"TCustomEdit", &TWinControl, "StdCtrls"};
const ClassInfo TEdit = {"TEdit", &TCustomEdit, "StdCtrls", EditGroups};
const ClassInfo TCustomMemo = {"TCustomMemo", &TCustomEdit, "StdCtrls"};
const ClassInfo TMemo = {"TMemo", &TCustomMemo, "StdCtrls", MemoGroups};
const ClassInfo TCustomListBox = {"TCustomListBox", &TCustomMultiSelectListControl, "StdCtrls"};
const ClassInfo TListBox = {"TListBox", &TCustomListBox, "StdCtrls", ListBoxGroups};
const ClassInfo TCustomCombo = {"TCustomCombo", &TCustomListControl, "StdCtrls"};
const ClassInfo TCustomComboBox = {"TCustomComboBox", &TCustomCombo, "StdCtrls"};
const ClassInfo TComboBox = {"TComboBox", &TCustomComboBox, "StdCtrls", ComboBoxGroups};
const ClassInfo TButtonControl = {"TButtonControl", &TWinControl, "StdCtrls"};
// TButton derives from TButtonControl directly, as the class tree users know shows it;
// TCustomButton stands beside it for classes of packages that derive from it.
const ClassInfo TCustomButton = {"TCustomButton", &TButtonControl, "StdCtrls"};
const ClassInfo TButton = {"TButton", &TButtonControl, "StdCtrls", ButtonGroups};
const ClassInfo TImageMargins = {"TImageMargins", &TPersistent, "StdCtrls", ImageMarginsGroups};
const ClassInfo TCustomCheckBox = {"TCustomCheckBox", &TButtonControl, "StdCtrls"};
const ClassInfo TCheckBox = {"TCheckBox", &TCustomCheckBox, "StdCtrls", CheckBoxGroups};
const ClassInfo TRadioButton = {"TRadioButton", &TButtonControl, "StdCtrls", RadioButtonGroups};
const ClassInfo TCustomLabel = {"TCustomLabel", &TGraphicControl, "StdCtrls"};
const ClassInfo TLabel = {"TLabel", &TCustomLabel, "StdCtrls", LabelGroups};
const ClassInfo TCustomGroupBox = {"TCustomGroupBox", &TCustomControl, "StdCtrls"};
const ClassInfo TGroupBox = {"TGroupBox", &TCustomGroupBox, "StdCtrls", GroupBoxGroups};
const ClassInfo TScrollBar = {"TScrollBar", &TWinControl, "StdCtrls", ScrollBarGroups};
const ClassInfo TCustomStaticText = {"TCustomStaticText", &TWinControl, "StdCtrls"};
const ClassInfo TStaticText = {"TStaticText", &TCustomStaticText, "StdCtrls", StaticTextGroups};

// Mask
const ClassInfo TCustomMaskEdit = {"TCustomMaskEdit", &TCustomEdit, "Mask"};
const ClassInfo TMaskEdit = {"TMaskEdit", &TCustomMaskEdit, "Mask", MaskEditGroups};

// CheckLst
const ClassInfo TCheckListBox = {"TCheckListBox", &TCustomListBox, "CheckLst", CheckListBoxGroups};

// Buttons
const ClassInfo TBitBtn = {"TBitBtn", &TButton, "Buttons", BitBtnGroups};
const ClassInfo TSpeedButton = {"TSpeedButton", &TGraphicControl, "Buttons", SpeedButtonGroups};

}  // namespace cls

}  // namespace fw::rt
