// The ComCtrls unit: the common controls (tabs and pages, tree and list views, the
// status, header, tool and cool bars, track bars, progress bars, up-down buttons, hot
// keys, animations, date pickers and calendars, the rich edit, the page scroller and
// the extended combo box) with their collections and sub-objects.
//
// Published properties and initial values are those of the 10.x and 11 generations of the component library;
// forms of older versions use a subset of them. The tree's nodes and the list's items are not published: the
// classes write them themselves (Items.NodeData, Items.ItemData, or the older Items.Data).

#include <array>
#include <initializer_list>
#include <span>
#include <string_view>

#include "builtin.h"
#include "family_comctrls.h"
#include "family_core.h"
#include "metadata.h"

namespace fw::rt {

// This unit's own intermediates and collections.
namespace cls {
extern const ClassInfo TListGroup, TListGroups, TCoolBand, TCoolBands, TListControlItem, TListControlItems,
    TComboExItem, TComboExItems, TCommonCalendar, TCustomStatusBar, TCustomHeaderControl, TCustomUpDown,
    TCustomHotKey, TListColumns, TMonthCalColors;
}  // namespace cls

namespace {

using namespace val;
using def::EnumType;
using def::EventProp;
using def::IntType;
using def::MethodType;
using def::OwnedProp;
using def::RefProp;
using def::SetType;
using Group = std::span<const PropInfo>;

constexpr std::int64_t clActiveCaption = SysColorBase + 2;
constexpr std::int64_t clInactiveCaptionText = SysColorBase + 19;

// TControl's common properties with another initial alignment: bars that dock to an
// edge of their parent as soon as they are dropped on it. The status bar also keeps
// a font of its own (the system's), so ParentFont starts False there.
constexpr std::array<PropInfo, 16> AlignedControlProps(std::int64_t align, bool parentFont) {
    return {{
        {"Align", &ty::TAlign, dv::Int(align)},
        {"Anchors", &ty::TAnchors, dv::Set({0, 1})},
        {"BiDiMode", &ty::TBiDiMode, dv::Int(0)},
        OwnedProp("Constraints", ty::TSizeConstraints),
        {"DragCursor", &ty::TCursor, dv::Int(crDrag)},
        {"DragKind", &ty::TDragKind, dv::Int(0)},
        {"DragMode", &ty::TDragMode, dv::Int(0)},
        {"Enabled", &ty::Boolean, dv::Bool(true)},
        OwnedProp("Font", ty::TFont),
        {"ParentBiDiMode", &ty::Boolean, dv::Bool(true)},
        {"ParentFont", &ty::Boolean, dv::Bool(parentFont)},
        {"ParentShowHint", &ty::Boolean, dv::Bool(true)},
        RefProp("PopupMenu", ty::TPopupMenu),
        {"ShowHint", &ty::Boolean, dv::Bool(false)},
        OwnedProp("Touch", ty::TTouchManager),
        {"Visible", &ty::Boolean, dv::Bool(true)},
    }};
}
constexpr int alTop = 1, alBottom = 2;
constexpr auto TopControlProps = AlignedControlProps(alTop, true);
constexpr auto StatusBarControlProps = AlignedControlProps(alBottom, false);

// ---------------------------------------------------------------------------------
// Enumerations and sets

constexpr std::string_view TabPositionNames[] = {"tpTop", "tpBottom", "tpLeft", "tpRight"};
constexpr std::string_view TabStyleNames[] = {"tsTabs", "tsButtons", "tsFlatButtons"};
constexpr std::string_view HeaderSectionStyleNames[] = {"hsText", "hsOwnerDraw"};
constexpr std::string_view HeaderStyleNames[] = {"hsButtons", "hsFlat"};
constexpr std::string_view StatusPanelStyleNames[] = {"psText", "psOwnerDraw"};
constexpr std::string_view StatusPanelBevelNames[] = {"pbNone", "pbLowered", "pbRaised"};
constexpr std::string_view TrackBarOrientationNames[] = {"trHorizontal", "trVertical"};
constexpr std::string_view TickMarkNames[] = {"tmBottomRight", "tmTopLeft", "tmBoth"};
constexpr std::string_view TickStyleNames[] = {"tsNone", "tsAuto", "tsManual"};
constexpr std::string_view PositionToolTipNames[] = {"ptNone", "ptTop", "ptLeft", "ptBottom", "ptRight"};
constexpr std::string_view ProgressBarOrientationNames[] = {"pbHorizontal", "pbVertical"};
constexpr std::string_view ProgressBarStyleNames[] = {"pbstNormal", "pbstMarquee"};
constexpr std::string_view ProgressBarStateNames[] = {"pbsNormal", "pbsError", "pbsPaused"};
constexpr std::string_view UDAlignButtonNames[] = {"udLeft", "udRight"};
constexpr std::string_view UDOrientationNames[] = {"udHorizontal", "udVertical"};
constexpr std::string_view HKModifierNames[] = {"hkShift", "hkCtrl", "hkAlt", "hkExt"};
constexpr std::string_view HKInvalidKeyNames[] = {"hcNone",      "hcShift",    "hcCtrl",    "hcAlt",
                                                  "hcShiftCtrl", "hcShiftAlt", "hcCtrlAlt", "hcShiftCtrlAlt"};
constexpr std::string_view CommonAVINames[] = {"aviNone",         "aviFindFolder",   "aviFindFile",
                                               "aviFindComputer", "aviCopyFiles",    "aviCopyFile",
                                               "aviRecycleFile",  "aviEmptyRecycle", "aviDeleteFile"};
constexpr std::string_view CalDayOfWeekNames[] = {"dowMonday",   "dowTuesday",      "dowWednesday",
                                                  "dowThursday", "dowFriday",       "dowSaturday",
                                                  "dowSunday",   "dowLocaleDefault"};
constexpr std::string_view DTCalAlignmentNames[] = {"dtaLeft", "dtaRight"};
constexpr std::string_view DTDateModeNames[] = {"dmComboBox", "dmUpDown"};
constexpr std::string_view DTDateFormatNames[] = {"dfShort", "dfLong"};
constexpr std::string_view DateTimeKindNames[] = {"dtkDate", "dtkTime"};
constexpr std::string_view ViewStyleNames[] = {"vsIcon", "vsSmallIcon", "vsList", "vsReport"};
constexpr std::string_view IconArrangementNames[] = {"iaTop", "iaLeft"};
constexpr std::string_view SortTypeNames[] = {"stNone", "stData", "stText", "stBoth"};
constexpr std::string_view ListHotTrackStyleNames[] = {"htHandPoint", "htUnderlineCold", "htUnderlineHot"};
constexpr std::string_view MultiSelectStyleNames[] = {"msControlSelect", "msShiftSelect", "msVisibleOnly",
                                                      "msSiblingOnly"};
constexpr std::string_view ListGroupStateNames[] = {"lgsNormal",   "lgsHidden",      "lgsCollapsed",
                                                    "lgsNoHeader", "lgsCollapsible", "lgsFocused",
                                                    "lgsSelected", "lgsSubseted",    "lgsSubSetLinkFocused"};
constexpr std::string_view ToolButtonStyleNames[] = {"tbsButton",       "tbsCheck",   "tbsDropDown",
                                                     "tbsSeparator",    "tbsDivider", "tbsTextButton",
                                                     "tbsWholeDropDown"};
constexpr std::string_view EdgeBorderNames[] = {"ebLeft", "ebTop", "ebRight", "ebBottom"};
constexpr std::string_view EdgeStyleNames[] = {"esNone", "esRaised", "esLowered"};
constexpr std::string_view TBDrawingStyleNames[] = {"dsNormal", "dsGradient"};
constexpr std::string_view GradientDirectionNames[] = {"gdHorizontal", "gdVertical"};
constexpr std::string_view TBGradientDrawingOptionNames[] = {"gdoHotTrack", "gdoGradient"};
constexpr std::string_view CoolBandMaximizeNames[] = {"bmNone", "bmClick", "bmDblClick"};
constexpr std::string_view PageScrollerOrientationNames[] = {"soHorizontal", "soVertical"};
constexpr std::string_view ComboBoxExStyleNames[] = {"csExDropDown", "csExSimple", "csExDropDownList"};
constexpr std::string_view ComboBoxExStyleExNames[] = {
    "csExCaseSensitive", "csExNoEditImage", "csExNoEditImageIndent", "csExNoSizeLimit", "csExPathWordBreak"};
constexpr std::string_view AutoCompleteOptionNames[] = {
    "acoAutoSuggest", "acoAutoAppend",         "acoSearch",    "acoFilterPrefixes",
    "acoUseTab",      "acoUpDownKeyDropsList", "acoRtlReading"};

constexpr TypeInfo TabPosition = EnumType("TTabPosition", TabPositionNames);
constexpr TypeInfo TabStyle = EnumType("TTabStyle", TabStyleNames);
constexpr TypeInfo HeaderSectionStyle = EnumType("THeaderSectionStyle", HeaderSectionStyleNames);
constexpr TypeInfo HeaderStyle = EnumType("THeaderStyle", HeaderStyleNames);
constexpr TypeInfo StatusPanelStyle = EnumType("TStatusPanelStyle", StatusPanelStyleNames);
constexpr TypeInfo StatusPanelBevel = EnumType("TStatusPanelBevel", StatusPanelBevelNames);
constexpr TypeInfo TrackBarOrientation = EnumType("TTrackBarOrientation", TrackBarOrientationNames);
constexpr TypeInfo TickMark = EnumType("TTickMark", TickMarkNames);
constexpr TypeInfo TickStyle = EnumType("TTickStyle", TickStyleNames);
constexpr TypeInfo PositionToolTip = EnumType("TPositionToolTip", PositionToolTipNames);
constexpr TypeInfo ProgressBarOrientation = EnumType("TProgressBarOrientation", ProgressBarOrientationNames);
constexpr TypeInfo ProgressBarStyle = EnumType("TProgressBarStyle", ProgressBarStyleNames);
constexpr TypeInfo ProgressBarState = EnumType("TProgressBarState", ProgressBarStateNames);
constexpr TypeInfo UDAlignButton = EnumType("TUDAlignButton", UDAlignButtonNames);
constexpr TypeInfo UDOrientation = EnumType("TUDOrientation", UDOrientationNames);
constexpr TypeInfo HKModifier = EnumType("THKModifier", HKModifierNames);
constexpr TypeInfo HKModifiers = SetType("THKModifiers", HKModifier);
constexpr TypeInfo HKInvalidKey = EnumType("THKInvalidKey", HKInvalidKeyNames);
constexpr TypeInfo HKInvalidKeys = SetType("THKInvalidKeys", HKInvalidKey);
constexpr TypeInfo CommonAVI = EnumType("TCommonAVI", CommonAVINames);
constexpr TypeInfo CalDayOfWeek = EnumType("TCalDayOfWeek", CalDayOfWeekNames);
constexpr TypeInfo DTCalAlignment = EnumType("TDTCalAlignment", DTCalAlignmentNames);
constexpr TypeInfo DTDateMode = EnumType("TDTDateMode", DTDateModeNames);
constexpr TypeInfo DTDateFormat = EnumType("TDTDateFormat", DTDateFormatNames);
constexpr TypeInfo DateTimeKind = EnumType("TDateTimeKind", DateTimeKindNames);
constexpr TypeInfo IconArrangement = EnumType("TIconArrangement", IconArrangementNames);
constexpr TypeInfo ListHotTrackStyle = EnumType("TListHotTrackStyle", ListHotTrackStyleNames);
constexpr TypeInfo ListHotTrackStyles = SetType("TListHotTrackStyles", ListHotTrackStyle);
// The names are the other way round from the usual: the set is TMultiSelectStyle.
constexpr TypeInfo MultiSelectStyles = EnumType("TMultiSelectStyles", MultiSelectStyleNames);
constexpr TypeInfo MultiSelectStyle = SetType("TMultiSelectStyle", MultiSelectStyles);
constexpr TypeInfo SortType = EnumType("TSortType", SortTypeNames);
constexpr TypeInfo ListGroupState = EnumType("TListGroupState", ListGroupStateNames);
constexpr TypeInfo ListGroupStateSet = SetType("TListGroupStateSet", ListGroupState);
constexpr TypeInfo ToolButtonStyle = EnumType("TToolButtonStyle", ToolButtonStyleNames);
constexpr TypeInfo EdgeBorder = EnumType("TEdgeBorder", EdgeBorderNames);
constexpr TypeInfo TBDrawingStyle = EnumType("TTBDrawingStyle", TBDrawingStyleNames);
constexpr TypeInfo GradientDirection = EnumType("TGradientDirection", GradientDirectionNames);
constexpr TypeInfo TBGradientDrawingOption =
    EnumType("TTBGradientDrawingOption", TBGradientDrawingOptionNames);
constexpr TypeInfo TBGradientDrawingOptions = SetType("TTBGradientDrawingOptions", TBGradientDrawingOption);
constexpr TypeInfo CoolBandMaximize = EnumType("TCoolBandMaximize", CoolBandMaximizeNames);
constexpr TypeInfo PageScrollerOrientation =
    EnumType("TPageScrollerOrientation", PageScrollerOrientationNames);
constexpr TypeInfo ComboBoxExStyleEx = EnumType("TComboBoxExStyleEx", ComboBoxExStyleExNames);
constexpr TypeInfo AutoCompleteOption = EnumType("TAutoCompleteOption", AutoCompleteOptionNames);
constexpr TypeInfo AutoCompleteOptions = SetType("TAutoCompleteOptions", AutoCompleteOption);

// A column or section width; negative values ask the control to size it (-1 to the
// text, -2 to the header).
constexpr TypeInfo Width = IntType("TWidth");

// Events.
constexpr TypeInfo TabChangingEvent = MethodType("TTabChangingEvent");
constexpr TypeInfo DrawTabEvent = MethodType("TDrawTabEvent");
constexpr TypeInfo TabGetImageEvent = MethodType("TTabGetImageEvent");
constexpr TypeInfo DrawPanelEvent = MethodType("TDrawPanelEvent");
constexpr TypeInfo SBCreatePanelClassEvent = MethodType("TSBCreatePanelClassEvent");
constexpr TypeInfo DrawSectionEvent = MethodType("TDrawSectionEvent");
constexpr TypeInfo SectionNotifyEvent = MethodType("TSectionNotifyEvent");
constexpr TypeInfo SectionTrackEvent = MethodType("TSectionTrackEvent");
constexpr TypeInfo SectionDragEvent = MethodType("TSectionDragEvent");
constexpr TypeInfo HCCreateSectionClassEvent = MethodType("THCCreateSectionClassEvent");
constexpr TypeInfo RichEditLinkClickEvent = MethodType("TRichEditLinkClickEvent");
constexpr TypeInfo UDChangingEvent = MethodType("TUDChangingEvent");
constexpr TypeInfo UDChangingEventEx = MethodType("TUDChangingEventEx");
constexpr TypeInfo UDClickEvent = MethodType("TUDClickEvent");
constexpr TypeInfo GetMonthInfoEvent = MethodType("TOnGetMonthInfoEvent");
constexpr TypeInfo GetMonthBoldInfoEvent = MethodType("TOnGetMonthBoldInfoEvent");
constexpr TypeInfo DTParseInputEvent = MethodType("TDTParseInputEvent");
constexpr TypeInfo TVCreateNodeClassEvent = MethodType("TTVCreateNodeClassEvent");
constexpr TypeInfo TVHintEvent = MethodType("TTVHintEvent");
constexpr TypeInfo TVCompareEvent = MethodType("TTVCompareEvent");
constexpr TypeInfo TVAdvancedCustomDrawEvent = MethodType("TTVAdvancedCustomDrawEvent");
constexpr TypeInfo TVAdvancedCustomDrawItemEvent = MethodType("TTVAdvancedCustomDrawItemEvent");
constexpr TypeInfo LVCompareEvent = MethodType("TLVCompareEvent");
constexpr TypeInfo LVAdvancedCustomDrawEvent = MethodType("TLVAdvancedCustomDrawEvent");
constexpr TypeInfo LVAdvancedCustomDrawItemEvent = MethodType("TLVAdvancedCustomDrawItemEvent");
constexpr TypeInfo LVAdvancedCustomDrawSubItemEvent = MethodType("TLVAdvancedCustomDrawSubItemEvent");
constexpr TypeInfo LVNotifyEvent = MethodType("TLVNotifyEvent");
constexpr TypeInfo LVCheckedItemEvent = MethodType("TLVCheckedItemEvent");
constexpr TypeInfo LVDrawItemEvent = MethodType("TLVDrawItemEvent");
constexpr TypeInfo LVOwnerDataEvent = MethodType("TLVOwnerDataEvent");
constexpr TypeInfo LVOwnerDataFindEvent = MethodType("TLVOwnerDataFindEvent");
constexpr TypeInfo LVOwnerDataHintEvent = MethodType("TLVOwnerDataHintEvent");
constexpr TypeInfo LVOwnerDataStateChangeEvent = MethodType("TLVOwnerDataStateChangeEvent");
constexpr TypeInfo LVSubItemImageEvent = MethodType("TLVSubItemImageEvent");
constexpr TypeInfo LVCreateItemClassEvent = MethodType("TLVCreateItemClassEvent");
constexpr TypeInfo TBCustomDrawEvent = MethodType("TTBCustomDrawEvent");
constexpr TypeInfo TBCustomDrawBtnEvent = MethodType("TTBCustomDrawBtnEvent");
constexpr TypeInfo TBAdvancedCustomDrawEvent = MethodType("TTBAdvancedCustomDrawEvent");
constexpr TypeInfo TBAdvancedCustomDrawBtnEvent = MethodType("TTBAdvancedCustomDrawBtnEvent");
constexpr TypeInfo TBCustomizeQueryEvent = MethodType("TTBCustomizeQueryEvent");
constexpr TypeInfo TBNewButtonEvent = MethodType("TTBNewButtonEvent");
constexpr TypeInfo TBButtonEvent = MethodType("TTBButtonEvent");
constexpr TypeInfo PageScrollEvent = MethodType("TPageScrollEvent");

// The declared types of the class-typed properties of this unit.
constexpr TypeInfo HeaderSectionsType = def::ClassType("THeaderSections", cls::THeaderSections);
constexpr TypeInfo StatusPanelsType = def::ClassType("TStatusPanels", cls::TStatusPanels);
constexpr TypeInfo ListItemsType = def::ClassType("TListItems", cls::TListItems);
constexpr TypeInfo ListColumnsType = def::ClassType("TListColumns", cls::TListColumns);
constexpr TypeInfo TreeNodesType = def::ClassType("TTreeNodes", cls::TTreeNodes);
constexpr TypeInfo TabSheetType = def::ClassType("TTabSheet", cls::TTabSheet);
constexpr TypeInfo CoolBandsType = def::ClassType("TCoolBands", cls::TCoolBands);
constexpr TypeInfo ListGroupsType = def::ClassType("TListGroups", cls::TListGroups);
constexpr TypeInfo ComboExItemsType = def::ClassType("TComboExItems", cls::TComboExItems);
constexpr TypeInfo MonthCalColorsType = def::ClassType("TMonthCalColors", cls::TMonthCalColors);

}  // namespace

// The types other tables publish too (family_comctrls.h).
namespace ty {
const TypeInfo TViewStyle = EnumType("TViewStyle", ViewStyleNames);
const TypeInfo TIconOptions = def::ClassType("TIconOptions", cls::TIconOptions);

const TypeInfo TTVChangedEvent = MethodType("TTVChangedEvent");
const TypeInfo TTVChangingEvent = MethodType("TTVChangingEvent");
const TypeInfo TTVEditingEvent = MethodType("TTVEditingEvent");
const TypeInfo TTVEditedEvent = MethodType("TTVEditedEvent");
const TypeInfo TTVExpandingEvent = MethodType("TTVExpandingEvent");
const TypeInfo TTVExpandedEvent = MethodType("TTVExpandedEvent");
const TypeInfo TTVCollapsingEvent = MethodType("TTVCollapsingEvent");
const TypeInfo TTVCustomDrawEvent = MethodType("TTVCustomDrawEvent");
const TypeInfo TTVCustomDrawItemEvent = MethodType("TTVCustomDrawItemEvent");

const TypeInfo TLVChangeEvent = MethodType("TLVChangeEvent");
const TypeInfo TLVChangingEvent = MethodType("TLVChangingEvent");
const TypeInfo TLVColumnClickEvent = MethodType("TLVColumnClickEvent");
const TypeInfo TLVColumnRClickEvent = MethodType("TLVColumnRClickEvent");
const TypeInfo TLVDeletedEvent = MethodType("TLVDeletedEvent");
const TypeInfo TLVEditingEvent = MethodType("TLVEditingEvent");
const TypeInfo TLVEditedEvent = MethodType("TLVEditedEvent");
const TypeInfo TLVSelectItemEvent = MethodType("TLVSelectItemEvent");
const TypeInfo TLVInfoTipEvent = MethodType("TLVInfoTipEvent");
const TypeInfo TLVCustomDrawEvent = MethodType("TLVCustomDrawEvent");
const TypeInfo TLVCustomDrawItemEvent = MethodType("TLVCustomDrawItemEvent");
const TypeInfo TLVCustomDrawSubItemEvent = MethodType("TLVCustomDrawSubItemEvent");

const TypeInfo TComboBoxExStyle = EnumType("TComboBoxExStyle", ComboBoxExStyleNames);
const TypeInfo TComboBoxExStyles = SetType("TComboBoxExStyles", ComboBoxExStyleEx);

const TypeInfo TEdgeBorders = SetType("TEdgeBorders", EdgeBorder);
const TypeInfo TEdgeStyle = EnumType("TEdgeStyle", EdgeStyleNames);

const TypeInfo TRichEditResizeEvent = MethodType("TRichEditResizeEvent");
const TypeInfo TRichEditProtectChange = MethodType("TRichEditProtectChange");
const TypeInfo TRichEditSaveClipboard = MethodType("TRichEditSaveClipboard");
}  // namespace ty

namespace {

// ---------------------------------------------------------------------------------
// Collections and sub-objects

constexpr PropInfo HeaderSectionProps[] = {
    {"Alignment", &ty::TAlignment, dv::Int(0)},
    {"AllowClick", &ty::Boolean, dv::Bool(true)},
    {"AutoSize", &ty::Boolean, dv::Bool(false)},
    {"BiDiMode", &ty::TBiDiMode, dv::Int(0)},
    {"CheckBox", &ty::Boolean, dv::Bool(false)},
    {"Checked", &ty::Boolean, dv::Bool(false)},
    {"FixedWidth", &ty::Boolean, dv::Bool(false)},
    {"ImageIndex", &ty::TImageIndex, dv::Int(-1)},
    {"MaxWidth", &ty::Integer, dv::Int(10000)},
    {"MinWidth", &ty::Integer, dv::Int(0)},
    {"ParentBiDiMode", &ty::Boolean, dv::Bool(true)},
    {"Style", &HeaderSectionStyle, dv::Int(0)},
    {"Text", &ty::String, dv::Str("")},
    {"Width", &ty::Integer, dv::Int(50)},
};
constexpr Group HeaderSectionGroups[] = {HeaderSectionProps};

constexpr PropInfo StatusPanelProps[] = {
    {"Alignment", &ty::TAlignment, dv::Int(0)}, {"Bevel", &StatusPanelBevel, dv::Int(1)},  // pbLowered
    {"BiDiMode", &ty::TBiDiMode, dv::Int(0)},   {"ParentBiDiMode", &ty::Boolean, dv::Bool(true)},
    {"Style", &StatusPanelStyle, dv::Int(0)},   {"Text", &ty::String, dv::Str("")},
    {"Width", &ty::Integer, dv::Int(50)},
};
constexpr Group StatusPanelGroups[] = {StatusPanelProps};

// A column's width in older forms is also written as WidthType, by the column itself.
constexpr PropInfo ListColumnProps[] = {
    {"Alignment", &ty::TAlignment, dv::Int(0)}, {"AutoSize", &ty::Boolean, dv::Bool(false)},
    {"Caption", &ty::String, dv::Str("")},      {"ImageIndex", &ty::TImageIndex, dv::Int(-1)},
    {"MaxWidth", &Width, dv::Int(0)},           {"MinWidth", &Width, dv::Int(0)},
    {"Tag", &ty::Integer, dv::Int(0)},          {"Width", &Width, dv::Int(50)},
};
constexpr Group ListColumnGroups[] = {ListColumnProps};

constexpr PropInfo ListGroupProps[] = {
    {"Footer", &ty::String, dv::Str("")},         {"FooterAlign", &ty::TAlignment, dv::Int(0)},
    {"GroupID", &ty::Integer, dv::Int(0)},        {"Header", &ty::String, dv::Str("")},
    {"HeaderAlign", &ty::TAlignment, dv::Int(0)}, {"State", &ListGroupStateSet, dv::Set({0})},  // lgsNormal
    {"Subtitle", &ty::String, dv::Str("")},       {"TitleImage", &ty::TImageIndex, dv::Int(-1)},
};
constexpr Group ListGroupGroups[] = {ListGroupProps};

constexpr PropInfo IconOptionsProps[] = {
    {"Arrangement", &IconArrangement, dv::Int(0)},
    {"AutoArrange", &ty::Boolean, dv::Bool(false)},
    {"WrapText", &ty::Boolean, dv::Bool(true)},
};
constexpr Group IconOptionsGroups[] = {IconOptionsProps};

constexpr PropInfo MonthCalColorsProps[] = {
    {"BackColor", &ty::TColor, dv::Int(clWindow)},
    {"MonthBackColor", &ty::TColor, dv::Int(clWhite)},
    {"TextColor", &ty::TColor, dv::Int(clWindowText)},
    {"TitleBackColor", &ty::TColor, dv::Int(clActiveCaption)},
    {"TitleTextColor", &ty::TColor, dv::Int(clWhite)},
    {"TrailingTextColor", &ty::TColor, dv::Int(clInactiveCaptionText)},
};
constexpr Group MonthCalColorsGroups[] = {MonthCalColorsProps};

constexpr PropInfo CoolBandProps[] = {
    OwnedProp("Bitmap", ty::TBitmap),
    {"BorderStyle", &ty::TBorderStyle, dv::Int(0)},
    {"Break", &ty::Boolean, dv::Bool(true)},
    {"Color", &ty::TColor, dv::Int(clBtnFace)},
    RefProp("Control", ty::TWinControl),
    {"FixedBackground", &ty::Boolean, dv::Bool(true)},
    {"FixedSize", &ty::Boolean, dv::Bool(false)},
    {"HorizontalOnly", &ty::Boolean, dv::Bool(false)},
    // Written whatever its value, -1 included.
    {"ImageIndex", &ty::TImageIndex},
    {"MinHeight", &ty::Integer, dv::Int(25)},
    {"MinWidth", &ty::Integer, dv::Int(0)},
    {"ParentBitmap", &ty::Boolean, dv::Bool(true)},
    {"ParentColor", &ty::Boolean, dv::Bool(true)},
    {"Text", &ty::String, dv::Str("")},
    {"Visible", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer},
};
constexpr Group CoolBandGroups[] = {CoolBandProps};

constexpr PropInfo ListControlItemProps[] = {
    {"Caption", &ty::String, dv::Str("")},
    {"ImageIndex", &ty::TImageIndex, dv::Int(-1)},
};
constexpr Group ListControlItemGroups[] = {ListControlItemProps};

constexpr PropInfo ComboExItemProps[] = {
    {"Indent", &ty::Integer, dv::Int(-1)},
    {"OverlayImageIndex", &ty::TImageIndex, dv::Int(-1)},
    {"SelectedImageIndex", &ty::TImageIndex, dv::Int(-1)},
};
constexpr Group ComboExItemGroups[] = {ComboExItemProps};

// ---------------------------------------------------------------------------------
// Tabs and pages

// What the tab control and the page control both publish.
constexpr PropInfo TabControlCommonProps[] = {
    {"Height", &ty::Integer, dv::Int(193)},
    {"HotTrack", &ty::Boolean, dv::Bool(false)},
    RefProp("Images", ty::TCustomImageList),
    {"MultiLine", &ty::Boolean, dv::Bool(false)},
    {"OwnerDraw", &ty::Boolean, dv::Bool(false)},
    {"RaggedRight", &ty::Boolean, dv::Bool(false)},
    {"ScrollOpposite", &ty::Boolean, dv::Bool(false)},
    {"Style", &TabStyle, dv::Int(0)},
    {"TabHeight", &ty::SmallInt, dv::Int(0)},
    {"TabIndex", &ty::Integer, dv::Int(-1)},
    {"TabPosition", &TabPosition, dv::Int(0)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"TabWidth", &ty::SmallInt, dv::Int(0)},
    {"Width", &ty::Integer, dv::Int(289)},
    EventProp("OnChange", ty::TNotifyEvent),
    EventProp("OnChanging", TabChangingEvent),
    EventProp("OnDrawTab", DrawTabEvent),
    EventProp("OnGetImageIndex", TabGetImageEvent),
    EventProp("OnResize", ty::TNotifyEvent),
};

constexpr PropInfo TabControlProps[] = {
    {"MultiSelect", &ty::Boolean, dv::Bool(false)},
    OwnedProp("Tabs", ty::TStrings),
};
constexpr Group TabControlGroups[] = {grp::ControlProps,     grp::ControlEvents, grp::WinControlProps,
                                      grp::FocusEvents,      grp::DockSiteProps, grp::DockSiteEvents,
                                      TabControlCommonProps, TabControlProps};

constexpr PropInfo PageControlProps[] = {
    RefProp("ActivePage", TabSheetType),
};
constexpr Group PageControlGroups[] = {grp::ControlProps,     grp::ControlEvents, grp::WinControlProps,
                                       grp::FocusEvents,      grp::DockSiteProps, grp::DockSiteEvents,
                                       TabControlCommonProps, PageControlProps};

// A sheet's place and size come from its page control; it keeps them to itself and
// publishes only what a page can change.
constexpr PropInfo TabSheetProps[] = {
    {"BorderWidth", &ty::TBorderWidth, dv::Int(0)},
    {"Caption", &ty::TCaption, dv::Str("")},
    OwnedProp("Constraints", ty::TSizeConstraints),
    {"DoubleBuffered", &ty::Boolean, dv::Bool(false)},
    {"DragMode", &ty::TDragMode, dv::Int(0)},
    {"Enabled", &ty::Boolean, dv::Bool(true)},
    OwnedProp("Font", ty::TFont),
    {"Highlighted", &ty::Boolean, dv::Bool(false)},
    {"ImageIndex", &ty::TImageIndex, dv::Int(0)},
    {"ImageName", &ty::TImageName, dv::Str("")},
    {"PageIndex", &ty::Integer},
    {"ParentDoubleBuffered", &ty::Boolean, dv::Bool(true)},
    {"ParentFont", &ty::Boolean, dv::Bool(true)},
    {"ParentShowHint", &ty::Boolean, dv::Bool(true)},
    RefProp("PopupMenu", ty::TPopupMenu),
    {"ShowHint", &ty::Boolean, dv::Bool(false)},
    {"TabVisible", &ty::Boolean, dv::Bool(true)},
    OwnedProp("Touch", ty::TTouchManager),
    {"Visible", &ty::Boolean, dv::Bool(true)},
    EventProp("OnEnter", ty::TNotifyEvent),
    EventProp("OnExit", ty::TNotifyEvent),
    EventProp("OnHide", ty::TNotifyEvent),
    EventProp("OnResize", ty::TNotifyEvent),
    EventProp("OnShow", ty::TNotifyEvent),
};
constexpr Group TabSheetGroups[] = {grp::ControlEvents, grp::PaddingProps, TabSheetProps};

// ---------------------------------------------------------------------------------
// Rich edit

constexpr PropInfo RichEditProps[] = {
    {"Alignment", &ty::TAlignment, dv::Int(0)},
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},
    {"BorderWidth", &ty::TBorderWidth, dv::Int(0)},
    {"EnableURLs", &ty::Boolean, dv::Bool(false)},
    {"Height", &ty::Integer, dv::Int(89)},
    {"HideScrollBars", &ty::Boolean, dv::Bool(true)},
    {"HideSelection", &ty::Boolean, dv::Bool(true)},
    OwnedProp("Lines", ty::TStrings),
    {"MaxLength", &ty::Integer, dv::Int(0)},
    {"PlainText", &ty::Boolean, dv::Bool(false)},
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"ScrollBars", &ty::TScrollStyle, dv::Int(0)},
    {"SpellChecking", &ty::Boolean, dv::Bool(false)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"Transparent", &ty::Boolean, dv::Bool(false)},
    {"WantReturns", &ty::Boolean, dv::Bool(true)},
    {"WantTabs", &ty::Boolean, dv::Bool(false)},
    {"Width", &ty::Integer, dv::Int(185)},
    {"WordWrap", &ty::Boolean, dv::Bool(true)},
    {"Zoom", &ty::Integer, dv::Int(100)},
    EventProp("OnChange", ty::TNotifyEvent),
    EventProp("OnLinkClick", RichEditLinkClickEvent),
    EventProp("OnProtectChange", ty::TRichEditProtectChange),
    EventProp("OnResizeRequest", ty::TRichEditResizeEvent),
    EventProp("OnSaveClipboard", ty::TRichEditSaveClipboard),
    EventProp("OnSelectionChange", ty::TNotifyEvent),
};
constexpr Group RichEditGroups[] = {grp::ControlProps,     grp::ControlEvents, grp::ClickEvents,
                                    grp::WinControlProps,  grp::FocusEvents,   grp::Ctl3DProps,
                                    grp::WinBevelProps,    grp::ImeProps,      grp::WindowColorProps,
                                    grp::MouseWheelEvents, RichEditProps};

// ---------------------------------------------------------------------------------
// Track bar, progress bar, up-down, hot key, animation

constexpr PropInfo TrackBarProps[] = {
    {"BorderWidth", &ty::TBorderWidth, dv::Int(0)},
    {"Frequency", &ty::Integer, dv::Int(1)},
    {"Height", &ty::Integer, dv::Int(45)},
    {"LineSize", &ty::Integer, dv::Int(1)},
    {"Max", &ty::Integer, dv::Int(10)},
    {"Min", &ty::Integer, dv::Int(0)},
    {"Orientation", &TrackBarOrientation, dv::Int(0)},
    {"PageSize", &ty::Integer, dv::Int(2)},
    {"Position", &ty::Integer, dv::Int(0)},
    {"PositionToolTip", &PositionToolTip, dv::Int(0)},
    {"SelEnd", &ty::Integer, dv::Int(0)},
    {"SelStart", &ty::Integer, dv::Int(0)},
    {"ShowSelRange", &ty::Boolean, dv::Bool(true)},
    {"SliderVisible", &ty::Boolean, dv::Bool(true)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"ThumbLength", &ty::Integer, dv::Int(20)},
    {"TickMarks", &TickMark, dv::Int(0)},
    {"TickStyle", &TickStyle, dv::Int(1)},  // tsAuto
    {"Width", &ty::Integer, dv::Int(150)},
    EventProp("OnChange", ty::TNotifyEvent),
};
constexpr Group TrackBarGroups[] = {grp::ControlProps, grp::ControlEvents, grp::WinControlProps,
                                    grp::FocusEvents,  grp::Ctl3DProps,    TrackBarProps};

// The bar's height follows the system's scroll bar height, so it has no fixed initial
// value.
constexpr PropInfo ProgressBarProps[] = {
    {"BackgroundColor", &ty::TColor, dv::Int(clDefault)},
    {"BarColor", &ty::TColor, dv::Int(clDefault)},
    {"BorderWidth", &ty::TBorderWidth, dv::Int(0)},
    {"MarqueeInterval", &ty::Integer, dv::Int(10)},
    {"Max", &ty::Integer, dv::Int(100)},
    {"Min", &ty::Integer, dv::Int(0)},
    {"Orientation", &ProgressBarOrientation, dv::Int(0)},
    {"Position", &ty::Integer, dv::Int(0)},
    {"Smooth", &ty::Boolean, dv::Bool(false)},
    {"SmoothReverse", &ty::Boolean, dv::Bool(false)},
    {"State", &ProgressBarState, dv::Int(0)},
    {"Step", &ty::Integer, dv::Int(10)},
    {"Style", &ProgressBarStyle, dv::Int(0)},
    {"TabStop", &ty::Boolean, dv::Bool(false)},
    {"Width", &ty::Integer, dv::Int(150)},
};
constexpr Group ProgressBarGroups[] = {grp::ControlProps, grp::ControlEvents, grp::WinControlProps,
                                       grp::FocusEvents, ProgressBarProps};

// An up-down takes the system's scroll arrow size.
constexpr PropInfo UpDownProps[] = {
    {"AlignButton", &UDAlignButton, dv::Int(1)},  // udRight
    {"ArrowKeys", &ty::Boolean, dv::Bool(true)}, RefProp("Associate", ty::TWinControl),
    {"Increment", &ty::Integer, dv::Int(1)},     {"Max", &ty::Integer, dv::Int(100)},
    {"Min", &ty::Integer, dv::Int(0)},           {"Orientation", &UDOrientation, dv::Int(1)},  // udVertical
    {"Position", &ty::Integer, dv::Int(0)},      {"TabStop", &ty::Boolean, dv::Bool(false)},
    {"Thousands", &ty::Boolean, dv::Bool(true)}, {"Wrap", &ty::Boolean, dv::Bool(false)},
    EventProp("OnChanging", UDChangingEvent),    EventProp("OnChangingEx", UDChangingEventEx),
    EventProp("OnClick", UDClickEvent),          EventProp("OnEnter", ty::TNotifyEvent),
    EventProp("OnExit", ty::TNotifyEvent),
};
constexpr Group UpDownGroups[] = {grp::ControlProps, grp::ControlEvents, grp::WinControlProps, UpDownProps};

// The default hot key is Alt+A: scAlt ($8000) plus the key code.
constexpr PropInfo HotKeyProps[] = {
    {"Height", &ty::Integer, dv::Int(19)},
    {"HotKey", &ty::TShortCut, dv::Int(0x8000 + 'A')},
    {"InvalidKeys", &HKInvalidKeys, dv::Set({0, 1})},  // hcNone, hcShift
    {"Modifiers", &HKModifiers, dv::Set({2})},         // hkAlt
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(121)},
    EventProp("OnChange", ty::TNotifyEvent),
};
constexpr Group HotKeyGroups[] = {grp::ControlProps, grp::ControlEvents, grp::WinControlProps,
                                  grp::FocusEvents, HotKeyProps};

constexpr PropInfo AnimateProps[] = {
    {"Active", &ty::Boolean, dv::Bool(false)},      {"AutoSize", &ty::Boolean, dv::Bool(true)},
    {"BorderWidth", &ty::TBorderWidth, dv::Int(0)}, {"Center", &ty::Boolean, dv::Bool(true)},
    {"CommonAVI", &CommonAVI, dv::Int(0)},          {"FileName", &ty::String, dv::Str("")},
    {"Height", &ty::Integer, dv::Int(80)},          {"Open", &ty::Boolean, dv::Bool(false)},
    {"Repetitions", &ty::Integer, dv::Int(0)},      {"ResId", &ty::Integer, dv::Int(0)},
    {"ResName", &ty::String, dv::Str("")},          {"StartFrame", &ty::SmallInt, dv::Int(1)},
    {"StopFrame", &ty::SmallInt, dv::Int(0)},       {"Timers", &ty::Boolean, dv::Bool(false)},
    {"Transparent", &ty::Boolean, dv::Bool(true)},  {"Width", &ty::Integer, dv::Int(100)},
    EventProp("OnClose", ty::TNotifyEvent),         EventProp("OnOpen", ty::TNotifyEvent),
    EventProp("OnStart", ty::TNotifyEvent),         EventProp("OnStop", ty::TNotifyEvent),
};
constexpr PropInfo AnimateColorProps[] = {
    {"Color", &ty::TColor, dv::Int(clBtnFace)},
    {"ParentColor", &ty::Boolean, dv::Bool(true)},
};
constexpr Group AnimateGroups[] = {grp::ControlProps, grp::ControlEvents, grp::WinControlProps,
                                   AnimateColorProps, AnimateProps};

// ---------------------------------------------------------------------------------
// Date and time picker, month calendar

// Dates are written as day numbers from 30 December 1899; MaxDate and MinDate 0 mean
// no limit.
constexpr PropInfo CommonCalendarProps[] = {
    OwnedProp("CalColors", MonthCalColorsType), {"Date", &ty::TDate},
    {"MaxDate", &ty::TDate, dv::Real(0)},       {"MinDate", &ty::TDate, dv::Real(0)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
};

constexpr PropInfo DateTimePickerProps[] = {
    {"CalAlignment", &DTCalAlignment, dv::Int(0)},
    {"Checked", &ty::Boolean, dv::Bool(true)},
    {"DateFormat", &DTDateFormat, dv::Int(0)},
    {"DateMode", &DTDateMode, dv::Int(0)},
    {"Format", &ty::String, dv::Str("")},
    {"Kind", &DateTimeKind, dv::Int(0)},
    {"ParseInput", &ty::Boolean, dv::Bool(false)},
    {"ShowCheckbox", &ty::Boolean, dv::Bool(false)},
    {"Time", &ty::TTime},
    {"Width", &ty::Integer, dv::Int(186)},
    EventProp("OnChange", ty::TNotifyEvent),
    EventProp("OnCloseUp", ty::TNotifyEvent),
    EventProp("OnDropDown", ty::TNotifyEvent),
    EventProp("OnUserInput", DTParseInputEvent),
};
constexpr Group DateTimePickerGroups[] = {
    grp::ControlProps,  grp::ControlEvents, grp::ClickEvents,      grp::WinControlProps, grp::FocusEvents,
    grp::WinBevelProps, grp::ImeProps,      grp::WindowColorProps, CommonCalendarProps,  DateTimePickerProps};

constexpr PropInfo MonthCalendarProps[] = {
    {"AutoSize", &ty::Boolean, dv::Bool(false)},
    {"BorderWidth", &ty::TBorderWidth, dv::Int(0)},
    {"EndDate", &ty::TDate},
    {"FirstDayOfWeek", &CalDayOfWeek, dv::Int(7)},  // dowLocaleDefault
    {"Height", &ty::Integer, dv::Int(160)},
    {"MaxSelectRange", &ty::Integer, dv::Int(31)},
    {"MultiSelect", &ty::Boolean, dv::Bool(false)},
    {"ShowToday", &ty::Boolean, dv::Bool(true)},
    {"ShowTodayCircle", &ty::Boolean, dv::Bool(true)},
    {"WeekNumbers", &ty::Boolean, dv::Bool(false)},
    {"Width", &ty::Integer, dv::Int(191)},
    EventProp("OnGetMonthBoldInfo", GetMonthBoldInfoEvent),
    EventProp("OnGetMonthInfo", GetMonthInfoEvent),
};
constexpr Group MonthCalendarGroups[] = {grp::ControlProps,    grp::ControlEvents, grp::ClickEvents,
                                         grp::WinControlProps, grp::FocusEvents,   grp::ImeProps,
                                         CommonCalendarProps,  MonthCalendarProps};

// ---------------------------------------------------------------------------------
// Tree view and list view

constexpr PropInfo TreeViewProps[] = {
    {"AutoExpand", &ty::Boolean, dv::Bool(false)},
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},
    {"BorderWidth", &ty::TBorderWidth, dv::Int(0)},
    {"ChangeDelay", &ty::Integer, dv::Int(0)},
    {"Height", &ty::Integer, dv::Int(97)},
    {"HideSelection", &ty::Boolean, dv::Bool(true)},
    {"HotTrack", &ty::Boolean, dv::Bool(false)},
    RefProp("Images", ty::TCustomImageList),
    // The indent comes from the window when the form does not set it.
    {"Indent", &ty::Integer},
    OwnedProp("Items", TreeNodesType),
    {"MultiSelect", &ty::Boolean, dv::Bool(false)},
    {"MultiSelectStyle", &MultiSelectStyle, dv::Set({0})},  // msControlSelect
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"RightClickSelect", &ty::Boolean, dv::Bool(false)},
    {"RowSelect", &ty::Boolean, dv::Bool(false)},
    {"ShowButtons", &ty::Boolean, dv::Bool(true)},
    {"ShowLines", &ty::Boolean, dv::Bool(true)},
    {"ShowRoot", &ty::Boolean, dv::Bool(true)},
    {"SortType", &SortType, dv::Int(0)},
    RefProp("StateImages", ty::TCustomImageList),
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"ToolTips", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(121)},
    EventProp("OnAddition", ty::TTVExpandedEvent),
    EventProp("OnAdvancedCustomDraw", TVAdvancedCustomDrawEvent),
    EventProp("OnAdvancedCustomDrawItem", TVAdvancedCustomDrawItemEvent),
    EventProp("OnCancelEdit", ty::TTVChangedEvent),
    EventProp("OnChange", ty::TTVChangedEvent),
    EventProp("OnChanging", ty::TTVChangingEvent),
    EventProp("OnCollapsed", ty::TTVExpandedEvent),
    EventProp("OnCollapsing", ty::TTVCollapsingEvent),
    EventProp("OnCompare", TVCompareEvent),
    EventProp("OnCreateNodeClass", TVCreateNodeClassEvent),
    EventProp("OnCustomDraw", ty::TTVCustomDrawEvent),
    EventProp("OnCustomDrawItem", ty::TTVCustomDrawItemEvent),
    EventProp("OnDeletion", ty::TTVExpandedEvent),
    EventProp("OnEdited", ty::TTVEditedEvent),
    EventProp("OnEditing", ty::TTVEditingEvent),
    EventProp("OnExpanded", ty::TTVExpandedEvent),
    EventProp("OnExpanding", ty::TTVExpandingEvent),
    EventProp("OnGetImageIndex", ty::TTVExpandedEvent),
    EventProp("OnGetSelectedIndex", ty::TTVExpandedEvent),
    EventProp("OnHint", TVHintEvent),
};
constexpr Group TreeViewGroups[] = {grp::ControlProps,    grp::ControlEvents,    grp::ClickEvents,
                                    grp::WinControlProps, grp::FocusEvents,      grp::Ctl3DProps,
                                    grp::WinBevelProps,   grp::WindowColorProps, TreeViewProps};

constexpr PropInfo ListViewProps[] = {
    RefProp("Action", ty::TBasicAction),
    {"AllocBy", &ty::Integer, dv::Int(0)},
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},
    {"BorderWidth", &ty::TBorderWidth, dv::Int(0)},
    {"Checkboxes", &ty::Boolean, dv::Bool(false)},
    {"ColumnClick", &ty::Boolean, dv::Bool(true)},
    OwnedProp("Columns", ListColumnsType),
    {"FlatScrollBars", &ty::Boolean, dv::Bool(false)},
    {"FullDrag", &ty::Boolean, dv::Bool(false)},
    {"GridLines", &ty::Boolean, dv::Bool(false)},
    RefProp("GroupHeaderImages", ty::TCustomImageList),
    OwnedProp("Groups", ListGroupsType),
    {"GroupView", &ty::Boolean, dv::Bool(false)},
    {"Height", &ty::Integer, dv::Int(150)},
    {"HideSelection", &ty::Boolean, dv::Bool(true)},
    {"HotTrack", &ty::Boolean, dv::Bool(false)},
    {"HotTrackStyles", &ListHotTrackStyles, dv::Set({})},
    {"HoverTime", &ty::Integer, dv::Int(-1)},
    OwnedProp("IconOptions", ty::TIconOptions),
    OwnedProp("Items", ListItemsType),
    RefProp("LargeImages", ty::TCustomImageList),
    {"MultiSelect", &ty::Boolean, dv::Bool(false)},
    {"OwnerData", &ty::Boolean, dv::Bool(false)},
    {"OwnerDraw", &ty::Boolean, dv::Bool(false)},
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"RowSelect", &ty::Boolean, dv::Bool(false)},
    {"ShowColumnHeaders", &ty::Boolean, dv::Bool(true)},
    {"ShowWorkAreas", &ty::Boolean, dv::Bool(false)},
    RefProp("SmallImages", ty::TCustomImageList),
    {"SortType", &SortType, dv::Int(0)},
    RefProp("StateImages", ty::TCustomImageList),
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"ViewStyle", &ty::TViewStyle, dv::Int(0)},
    {"Width", &ty::Integer, dv::Int(250)},
    EventProp("OnAdvancedCustomDraw", LVAdvancedCustomDrawEvent),
    EventProp("OnAdvancedCustomDrawItem", LVAdvancedCustomDrawItemEvent),
    EventProp("OnAdvancedCustomDrawSubItem", LVAdvancedCustomDrawSubItemEvent),
    EventProp("OnChange", ty::TLVChangeEvent),
    EventProp("OnChanging", ty::TLVChangingEvent),
    EventProp("OnColumnClick", ty::TLVColumnClickEvent),
    EventProp("OnColumnDragged", ty::TNotifyEvent),
    EventProp("OnColumnRightClick", ty::TLVColumnRClickEvent),
    EventProp("OnCompare", LVCompareEvent),
    EventProp("OnCreateItemClass", LVCreateItemClassEvent),
    EventProp("OnCustomDraw", ty::TLVCustomDrawEvent),
    EventProp("OnCustomDrawItem", ty::TLVCustomDrawItemEvent),
    EventProp("OnCustomDrawSubItem", ty::TLVCustomDrawSubItemEvent),
    EventProp("OnData", LVOwnerDataEvent),
    EventProp("OnDataFind", LVOwnerDataFindEvent),
    EventProp("OnDataHint", LVOwnerDataHintEvent),
    EventProp("OnDataStateChange", LVOwnerDataStateChangeEvent),
    EventProp("OnDeletion", ty::TLVDeletedEvent),
    EventProp("OnDrawItem", LVDrawItemEvent),
    EventProp("OnEdited", ty::TLVEditedEvent),
    EventProp("OnEditing", ty::TLVEditingEvent),
    EventProp("OnGetImageIndex", LVNotifyEvent),
    EventProp("OnGetSubItemImage", LVSubItemImageEvent),
    EventProp("OnInfoTip", ty::TLVInfoTipEvent),
    EventProp("OnInsert", ty::TLVDeletedEvent),
    EventProp("OnItemChecked", LVCheckedItemEvent),
    EventProp("OnResize", ty::TNotifyEvent),
    EventProp("OnSelectItem", ty::TLVSelectItemEvent),
};
constexpr Group ListViewGroups[] = {grp::ControlProps,    grp::ControlEvents,    grp::ClickEvents,
                                    grp::WinControlProps, grp::FocusEvents,      grp::Ctl3DProps,
                                    grp::WinBevelProps,   grp::WindowColorProps, ListViewProps};

// ---------------------------------------------------------------------------------
// Status bar and header control

constexpr PropInfo StatusBarProps[] = {
    RefProp("Action", ty::TBasicAction),
    {"AutoHint", &ty::Boolean, dv::Bool(false)},
    {"BorderWidth", &ty::TBorderWidth, dv::Int(0)},
    {"Height", &ty::Integer, dv::Int(19)},
    OwnedProp("Panels", StatusPanelsType),
    {"SimplePanel", &ty::Boolean, dv::Bool(false)},
    {"SimpleText", &ty::String, dv::Str("")},
    {"SizeGrip", &ty::Boolean, dv::Bool(true)},
    {"UseSystemFont", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(150)},
    EventProp("OnCreatePanelClass", SBCreatePanelClassEvent),
    EventProp("OnDrawPanel", DrawPanelEvent),
    EventProp("OnHint", ty::TNotifyEvent),
    EventProp("OnResize", ty::TNotifyEvent),
};
constexpr Group StatusBarGroups[] = {StatusBarControlProps, grp::ControlEvents,  grp::ClickEvents,
                                     grp::WinControlProps,  grp::FaceColorProps, StatusBarProps};

constexpr PropInfo HeaderControlProps[] = {
    {"BorderWidth", &ty::TBorderWidth, dv::Int(0)},
    {"DragReorder", &ty::Boolean, dv::Bool(false)},
    {"FullDrag", &ty::Boolean, dv::Bool(true)},
    {"Height", &ty::Integer, dv::Int(17)},
    {"HotTrack", &ty::Boolean, dv::Bool(false)},
    RefProp("Images", ty::TCustomImageList),
    {"NoSizing", &ty::Boolean, dv::Bool(false)},
    OwnedProp("Sections", HeaderSectionsType),
    {"Style", &HeaderStyle, dv::Int(0)},
    {"Width", &ty::Integer, dv::Int(170)},
    EventProp("OnCreateSectionClass", HCCreateSectionClassEvent),
    EventProp("OnDrawSection", DrawSectionEvent),
    EventProp("OnResize", ty::TNotifyEvent),
    EventProp("OnSectionCheck", SectionNotifyEvent),
    EventProp("OnSectionClick", SectionNotifyEvent),
    EventProp("OnSectionDrag", SectionDragEvent),
    EventProp("OnSectionEndDrag", ty::TNotifyEvent),
    EventProp("OnSectionResize", SectionNotifyEvent),
    EventProp("OnSectionTrack", SectionTrackEvent),
};
constexpr Group HeaderControlGroups[] = {TopControlProps, grp::ControlEvents, grp::WinControlProps,
                                         HeaderControlProps};

// ---------------------------------------------------------------------------------
// Tool bar and its buttons, cool bar, page scroller

// The edges a tool window draws around itself: all four to begin with, only the top
// one on a tool bar.
constexpr std::array<PropInfo, 3> ToolWindowEdgeProps(std::initializer_list<int> borders) {
    return {{
        {"EdgeBorders", &ty::TEdgeBorders, dv::Set(borders)},
        {"EdgeInner", &ty::TEdgeStyle, dv::Int(1)},  // esRaised
        {"EdgeOuter", &ty::TEdgeStyle, dv::Int(2)},  // esLowered
    }};
}
constexpr auto ToolBarEdgeProps = ToolWindowEdgeProps({1});  // ebTop
constexpr auto CoolBarEdgeProps = ToolWindowEdgeProps({0, 1, 2, 3});

constexpr PropInfo ToolBarProps[] = {
    {"AllowTextButtons", &ty::Boolean, dv::Bool(false)},
    {"AutoSize", &ty::Boolean, dv::Bool(false)},
    {"BorderWidth", &ty::TBorderWidth, dv::Int(0)},
    {"ButtonHeight", &ty::Integer, dv::Int(22)},
    {"ButtonWidth", &ty::Integer, dv::Int(23)},
    {"Caption", &ty::TCaption, dv::Str("")},
    {"Customizable", &ty::Boolean, dv::Bool(false)},
    RefProp("DisabledImages", ty::TCustomImageList),
    {"DrawingStyle", &TBDrawingStyle, dv::Int(0)},
    {"Flat", &ty::Boolean, dv::Bool(true)},
    {"GradientDirection", &GradientDirection, dv::Int(1)},  // gdVertical
    {"GradientDrawingOptions", &TBGradientDrawingOptions, dv::Set({0, 1})},
    {"GradientEndColor", &ty::TColor},
    {"GradientStartColor", &ty::TColor, dv::Int(clWindow)},
    {"Height", &ty::Integer, dv::Int(29)},
    {"HideClippedButtons", &ty::Boolean, dv::Bool(false)},
    RefProp("HotImages", ty::TCustomImageList),
    {"HotTrackColor", &ty::TColor},
    RefProp("Images", ty::TCustomImageList),
    {"Indent", &ty::Integer, dv::Int(0)},
    {"List", &ty::Boolean, dv::Bool(false)},
    RefProp("Menu", ty::TMainMenu),
    {"ShowCaptions", &ty::Boolean, dv::Bool(false)},
    {"TabStop", &ty::Boolean, dv::Bool(false)},
    {"Transparent", &ty::Boolean},
    {"Width", &ty::Integer, dv::Int(150)},
    {"Wrapable", &ty::Boolean, dv::Bool(true)},
    EventProp("OnAdvancedCustomDraw", TBAdvancedCustomDrawEvent),
    EventProp("OnAdvancedCustomDrawButton", TBAdvancedCustomDrawBtnEvent),
    EventProp("OnCustomDraw", TBCustomDrawEvent),
    EventProp("OnCustomDrawButton", TBCustomDrawBtnEvent),
    EventProp("OnCustomizeAdded", TBButtonEvent),
    EventProp("OnCustomizeCanDelete", TBCustomizeQueryEvent),
    EventProp("OnCustomizeCanInsert", TBCustomizeQueryEvent),
    EventProp("OnCustomizeDelete", TBButtonEvent),
    EventProp("OnCustomized", ty::TNotifyEvent),
    EventProp("OnCustomizeNewButton", TBNewButtonEvent),
    EventProp("OnCustomizeReset", ty::TNotifyEvent),
    EventProp("OnCustomizing", ty::TNotifyEvent),
    EventProp("OnEnter", ty::TNotifyEvent),
    EventProp("OnExit", ty::TNotifyEvent),
};
constexpr Group ToolBarGroups[] = {
    TopControlProps,    grp::ControlEvents,  grp::ClickEvents,  grp::WinControlProps, grp::FaceColorProps,
    grp::DockSiteProps, grp::DockSiteEvents, grp::ResizeEvents, ToolBarEdgeProps,     ToolBarProps};

// A button's height follows its tool bar; separators take their own width.
constexpr PropInfo ToolButtonProps[] = {
    RefProp("Action", ty::TBasicAction),
    {"AllowAllUp", &ty::Boolean, dv::Bool(false)},
    {"AutoSize", &ty::Boolean, dv::Bool(false)},
    {"Caption", &ty::TCaption, dv::Str("")},
    {"Down", &ty::Boolean, dv::Bool(false)},
    {"DragCursor", &ty::TCursor, dv::Int(crDrag)},
    {"DragKind", &ty::TDragKind, dv::Int(0)},
    {"DragMode", &ty::TDragMode, dv::Int(0)},
    RefProp("DropdownMenu", ty::TPopupMenu),
    {"EnableDropdown", &ty::Boolean, dv::Bool(false)},
    {"Enabled", &ty::Boolean, dv::Bool(true)},
    {"Grouped", &ty::Boolean, dv::Bool(false)},
    {"Height", &ty::Integer, dv::Int(22)},
    {"ImageIndex", &ty::TImageIndex, dv::Int(-1)},
    {"ImageName", &ty::TImageName, dv::Str("")},
    {"Indeterminate", &ty::Boolean, dv::Bool(false)},
    {"Marked", &ty::Boolean, dv::Bool(false)},
    RefProp("MenuItem", ty::TMenuItem),
    {"ParentShowHint", &ty::Boolean, dv::Bool(true)},
    RefProp("PopupMenu", ty::TPopupMenu),
    {"ShowHint", &ty::Boolean, dv::Bool(false)},
    {"Style", &ToolButtonStyle, dv::Int(0)},
    {"Visible", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(23)},
    {"Wrap", &ty::Boolean, dv::Bool(false)},
    EventProp("OnClick", ty::TNotifyEvent),
};
constexpr Group ToolButtonGroups[] = {grp::ControlEvents, ToolButtonProps};

constexpr PropInfo CoolBarProps[] = {
    {"AutoSize", &ty::Boolean, dv::Bool(false)},
    {"BandBorderStyle", &ty::TBorderStyle, dv::Int(1)},
    {"BandMaximize", &CoolBandMaximize, dv::Int(1)},  // bmClick
    OwnedProp("Bands", CoolBandsType),
    OwnedProp("Bitmap", ty::TBitmap),
    {"BorderWidth", &ty::TBorderWidth, dv::Int(0)},
    {"FixedOrder", &ty::Boolean, dv::Bool(false)},
    {"FixedSize", &ty::Boolean, dv::Bool(false)},
    {"Height", &ty::Integer, dv::Int(75)},
    RefProp("Images", ty::TCustomImageList),
    {"ShowText", &ty::Boolean, dv::Bool(true)},
    {"Vertical", &ty::Boolean, dv::Bool(false)},
    {"Width", &ty::Integer, dv::Int(150)},
    EventProp("OnChange", ty::TNotifyEvent),
};
constexpr Group CoolBarGroups[] = {TopControlProps,      grp::ControlEvents,  grp::ClickEvents,
                                   grp::WinControlProps, grp::Ctl3DProps,     grp::FaceColorProps,
                                   grp::DockSiteProps,   grp::DockSiteEvents, grp::ResizeEvents,
                                   CoolBarEdgeProps,     CoolBarProps};

constexpr PropInfo PageScrollerProps[] = {
    {"AutoScroll", &ty::Boolean, dv::Bool(false)}, {"BorderWidth", &ty::TBorderWidth, dv::Int(0)},
    {"ButtonSize", &ty::Integer, dv::Int(12)},     RefProp("Control", ty::TWinControl),
    {"DragScroll", &ty::Boolean, dv::Bool(true)},  {"Height", &ty::Integer, dv::Int(45)},
    {"Margin", &ty::Integer, dv::Int(0)},          {"Orientation", &PageScrollerOrientation, dv::Int(0)},
    {"Position", &ty::Integer, dv::Int(0)},        {"TabStop", &ty::Boolean, dv::Bool(false)},
    {"Width", &ty::Integer, dv::Int(150)},         EventProp("OnResize", ty::TNotifyEvent),
    EventProp("OnScroll", PageScrollEvent),
};
constexpr Group PageScrollerGroups[] = {grp::ControlProps,    grp::ControlEvents, grp::ClickEvents,
                                        grp::WinControlProps, grp::FocusEvents,   grp::FaceColorProps,
                                        PageScrollerProps};

// ---------------------------------------------------------------------------------
// Extended combo box

constexpr PropInfo ComboBoxExProps[] = {
    {"AutoCompleteOptions", &AutoCompleteOptions, dv::Set({0, 5})},  // acoAutoSuggest, acoUpDownKeyDropsList
    {"DropDownCount", &ty::Integer, dv::Int(8)},
    {"Height", &ty::Integer, dv::Int(22)},
    RefProp("Images", ty::TCustomImageList),
    {"ItemHeight", &ty::Integer},
    OwnedProp("ItemsEx", ComboExItemsType),
    {"MaxLength", &ty::Integer, dv::Int(0)},
    {"Style", &ty::TComboBoxExStyle, dv::Int(0)},
    {"StyleEx", &ty::TComboBoxExStyles, dv::Set({})},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"Text", &ty::TCaption, dv::Str("")},
    {"TextHint", &ty::String, dv::Str("")},
    {"Width", &ty::Integer, dv::Int(145)},
    EventProp("OnBeginEdit", ty::TNotifyEvent),
    EventProp("OnChange", ty::TNotifyEvent),
    EventProp("OnCloseUp", ty::TNotifyEvent),
    EventProp("OnDropDown", ty::TNotifyEvent),
    EventProp("OnEndEdit", ty::TNotifyEvent),
    EventProp("OnSelect", ty::TNotifyEvent),
};
constexpr Group ComboBoxExGroups[] = {grp::ControlProps,    grp::ControlEvents,    grp::ClickEvents,
                                      grp::WinControlProps, grp::FocusEvents,      grp::Ctl3DProps,
                                      grp::ImeProps,        grp::WindowColorProps, ComboBoxExProps};

}  // namespace

namespace cls {

// Sub-objects and collections.
const ClassInfo THeaderSection = {"THeaderSection", &TCollectionItem, "ComCtrls", HeaderSectionGroups};
const ClassInfo THeaderSections = {"THeaderSections", &TCollection, "ComCtrls", {}, 0, &THeaderSection};
const ClassInfo TStatusPanel = {"TStatusPanel", &TCollectionItem, "ComCtrls", StatusPanelGroups};
const ClassInfo TStatusPanels = {"TStatusPanels", &TCollection, "ComCtrls", {}, 0, &TStatusPanel};
const ClassInfo TListColumn = {"TListColumn", &TCollectionItem, "ComCtrls", ListColumnGroups};
const ClassInfo TListColumns = {"TListColumns", &TCollection, "ComCtrls", {}, 0, &TListColumn};
const ClassInfo TListGroup = {"TListGroup", &TCollectionItem, "ComCtrls", ListGroupGroups};
const ClassInfo TListGroups = {"TListGroups", &TCollection, "ComCtrls", {}, 0, &TListGroup};
const ClassInfo TCoolBand = {"TCoolBand", &TCollectionItem, "ComCtrls", CoolBandGroups};
const ClassInfo TCoolBands = {"TCoolBands", &TCollection, "ComCtrls", {}, 0, &TCoolBand};
const ClassInfo TListControlItem = {"TListControlItem", &TCollectionItem, "ComCtrls", ListControlItemGroups};
const ClassInfo TListControlItems = {"TListControlItems", &TOwnedCollection, "ComCtrls", {}, 0,
                                     &TListControlItem};
const ClassInfo TComboExItem = {"TComboExItem", &TListControlItem, "ComCtrls", ComboExItemGroups};
const ClassInfo TComboExItems = {"TComboExItems", &TListControlItems, "ComCtrls", {}, 0, &TComboExItem};
const ClassInfo TIconOptions = {"TIconOptions", &TPersistent, "ComCtrls", IconOptionsGroups};
const ClassInfo TMonthCalColors = {"TMonthCalColors", &TPersistent, "ComCtrls", MonthCalColorsGroups};
// Items and nodes are written by their lists, never as published properties.
const ClassInfo TListItem = {"TListItem", &TPersistent, "ComCtrls"};
const ClassInfo TListItems = {"TListItems", &TPersistent, "ComCtrls"};
const ClassInfo TTreeNode = {"TTreeNode", &TPersistent, "ComCtrls"};
const ClassInfo TTreeNodes = {"TTreeNodes", &TPersistent, "ComCtrls"};
const ClassInfo TParaAttributes = {"TParaAttributes", &TPersistent, "ComCtrls"};

// Tabs and pages.
const ClassInfo TCustomTabControl = {"TCustomTabControl", &TWinControl, "ComCtrls"};
const ClassInfo TTabControl = {"TTabControl", &TCustomTabControl, "ComCtrls", TabControlGroups};
const ClassInfo TPageControl = {"TPageControl", &TCustomTabControl, "ComCtrls", PageControlGroups};
const ClassInfo TTabSheet = {"TTabSheet", &TWinControl, "ComCtrls", TabSheetGroups};

// Rich edit.
const ClassInfo TCustomRichEdit = {"TCustomRichEdit", &TCustomMemo, "ComCtrls"};
const ClassInfo TRichEdit = {"TRichEdit", &TCustomRichEdit, "ComCtrls", RichEditGroups};

// Small controls.
const ClassInfo TTrackBar = {"TTrackBar", &TWinControl, "ComCtrls", TrackBarGroups};
const ClassInfo TProgressBar = {"TProgressBar", &TWinControl, "ComCtrls", ProgressBarGroups};
const ClassInfo TCustomUpDown = {"TCustomUpDown", &TWinControl, "ComCtrls"};
const ClassInfo TUpDown = {"TUpDown", &TCustomUpDown, "ComCtrls", UpDownGroups};
const ClassInfo TCustomHotKey = {"TCustomHotKey", &TWinControl, "ComCtrls"};
const ClassInfo THotKey = {"THotKey", &TCustomHotKey, "ComCtrls", HotKeyGroups};
const ClassInfo TAnimate = {"TAnimate", &TWinControl, "ComCtrls", AnimateGroups};

// Dates.
const ClassInfo TCommonCalendar = {"TCommonCalendar", &TWinControl, "ComCtrls"};
const ClassInfo TDateTimePicker = {"TDateTimePicker", &TCommonCalendar, "ComCtrls", DateTimePickerGroups};
const ClassInfo TMonthCalendar = {"TMonthCalendar", &TCommonCalendar, "ComCtrls", MonthCalendarGroups};

// Trees and lists.
const ClassInfo TCustomTreeView = {"TCustomTreeView", &TWinControl, "ComCtrls"};
const ClassInfo TTreeView = {"TTreeView", &TCustomTreeView, "ComCtrls", TreeViewGroups};
const ClassInfo TCustomListView = {"TCustomListView", &TCustomMultiSelectListControl, "ComCtrls"};
const ClassInfo TListView = {"TListView", &TCustomListView, "ComCtrls", ListViewGroups};

// Bars.
const ClassInfo TCustomStatusBar = {"TCustomStatusBar", &TWinControl, "ComCtrls"};
const ClassInfo TStatusBar = {"TStatusBar", &TCustomStatusBar, "ComCtrls", StatusBarGroups};
const ClassInfo TCustomHeaderControl = {"TCustomHeaderControl", &TWinControl, "ComCtrls"};
const ClassInfo THeaderControl = {"THeaderControl", &TCustomHeaderControl, "ComCtrls", HeaderControlGroups};
const ClassInfo TToolWindow = {"TToolWindow", &TWinControl, "ComCtrls"};
const ClassInfo TToolBar = {"TToolBar", &TToolWindow, "ComCtrls", ToolBarGroups};
const ClassInfo TToolButton = {"TToolButton", &TGraphicControl, "ComCtrls", ToolButtonGroups};
const ClassInfo TCoolBar = {"TCoolBar", &TToolWindow, "ComCtrls", CoolBarGroups};
const ClassInfo TPageScroller = {"TPageScroller", &TWinControl, "ComCtrls", PageScrollerGroups};

// Extended combo box.
const ClassInfo TCustomComboBoxEx = {"TCustomComboBoxEx", &TCustomComboBox, "ComCtrls"};
const ClassInfo TComboBoxEx = {"TComboBoxEx", &TCustomComboBoxEx, "ComCtrls", ComboBoxExGroups};

}  // namespace cls

}  // namespace fw::rt
