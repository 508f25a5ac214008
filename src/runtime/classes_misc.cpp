// The remaining component units: ShellCtrls (the shell tree, list and combo box),
// MPlayer (the media player), OleCtnrs (the OLE container), DdeMan (the DDE
// conversations and items), Chart (the chart panel and the sub-objects forms set
// through it: walls, axes, titles, legend), and the action bars of ActnMan, ActnMenus
// and ActnCtrls.
//
// Published properties and initial values are those of the 10.x and 11 generations of the component library
// and of the chart edition shipped with them. An OLE container's object, a DDE client's link and an action
// manager's style are written by the components themselves (Data, LinkInfo, StyleName), not as published
// properties.

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "builtin.h"
#include "family_comctrls.h"
#include "family_core.h"
#include "metadata.h"

namespace fw::rt {

namespace cls {
extern const ClassInfo TCustomShellTreeView, TCustomShellListView, TCustomShellComboBox, TChartPen,
    TChartHiddenPen, TChartBrush, TTeeGradient, TTeeFont, TTeeShadow, TTeeMargins, TChartWall, TChartTitle,
    TChartAxisTitle, TAxisLabelsFormat, TChartAxis, TChartLegend, TChartGradient, TView3DOptions,
    TZoomPanning, TTeeZoom, TTeeZoomPen, TTeeZoomBrush, TCustomActionManager, TActionClientsCollection,
    TActionClient, TActionClients, TActionClientItem, TActionBars, TActionBarItem, TActionListCollection,
    TActionListItem, TCustomActionBarColorMap, TCustomActionBar, TCustomActionDockBar, TCustomActionMenuBar,
    TCustomActionMainMenuBar, TCustomActionToolBar;
}  // namespace cls

namespace {

using namespace val;
using def::EnumType;
using def::EventProp;
using def::MethodType;
using def::OwnedProp;
using def::RefProp;
using def::SetType;
using Group = std::span<const PropInfo>;

constexpr std::int64_t clYellow = 0x00FFFF;
constexpr std::int64_t clMenuBar = SysColorBase + 30;

// ---------------------------------------------------------------------------------
// ShellCtrls

constexpr std::string_view ShellObjectTypeNames[] = {"otFolders", "otNonFolders", "otHidden"};
constexpr TypeInfo ShellObjectType = EnumType("TShellObjectType", ShellObjectTypeNames);
constexpr TypeInfo ShellObjectTypes = SetType("TShellObjectTypes", ShellObjectType);
// The root folder: a special folder's name (rfDesktop, rfMyComputer, ...) or a path.
constexpr TypeInfo Root = def::StringType("TRoot");
constexpr TypeInfo AddFolderEvent = MethodType("TAddFolderEvent");
constexpr TypeInfo ShellTreeViewType = def::ClassType("TShellTreeView", cls::TShellTreeView);
constexpr TypeInfo ShellListViewType = def::ClassType("TShellListView", cls::TShellListView);
constexpr TypeInfo ShellComboBoxType = def::ClassType("TShellComboBox", cls::TShellComboBox);

// What the three shell controls share.
constexpr PropInfo ShellCommonProps[] = {
    {"Root", &Root, dv::Str("rfDesktop")},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"UseShellImages", &ty::Boolean, dv::Bool(true)},
    EventProp("OnAddFolder", AddFolderEvent),
};

constexpr PropInfo ShellTreeViewProps[] = {
    {"AutoContextMenus", &ty::Boolean, dv::Bool(true)},
    {"AutoRefresh", &ty::Boolean, dv::Bool(false)},
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},
    {"ChangeDelay", &ty::Integer, dv::Int(0)},
    {"HideSelection", &ty::Boolean, dv::Bool(true)},
    {"HotTrack", &ty::Boolean, dv::Bool(false)},
    {"Indent", &ty::Integer},
    {"ObjectTypes", &ShellObjectTypes, dv::Set({0})},  // otFolders
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"RightClickSelect", &ty::Boolean, dv::Bool(false)},
    {"RowSelect", &ty::Boolean, dv::Bool(false)},
    RefProp("ShellComboBox", ShellComboBoxType),
    RefProp("ShellListView", ShellListViewType),
    {"ShowButtons", &ty::Boolean, dv::Bool(true)},
    {"ShowLines", &ty::Boolean, dv::Bool(true)},
    {"ShowRoot", &ty::Boolean, dv::Bool(true)},
    {"ToolTips", &ty::Boolean, dv::Bool(true)},
    EventProp("OnChange", ty::TTVChangedEvent),
    EventProp("OnChanging", ty::TTVChangingEvent),
    EventProp("OnCollapsed", ty::TTVExpandedEvent),
    EventProp("OnCollapsing", ty::TTVCollapsingEvent),
    EventProp("OnCustomDraw", ty::TTVCustomDrawEvent),
    EventProp("OnCustomDrawItem", ty::TTVCustomDrawItemEvent),
    EventProp("OnEdited", ty::TTVEditedEvent),
    EventProp("OnEditing", ty::TTVEditingEvent),
    EventProp("OnExpanded", ty::TTVExpandedEvent),
    EventProp("OnExpanding", ty::TTVExpandingEvent),
};
constexpr Group ShellTreeViewGroups[] = {grp::ControlProps,     grp::ControlEvents, grp::ClickEvents,
                                         grp::WinControlProps,  grp::FocusEvents,   grp::Ctl3DProps,
                                         grp::WindowColorProps, ShellCommonProps,   ShellTreeViewProps};

constexpr PropInfo ShellListViewProps[] = {
    {"AutoContextMenus", &ty::Boolean, dv::Bool(true)},
    {"AutoNavigate", &ty::Boolean, dv::Bool(true)},
    {"AutoRefresh", &ty::Boolean, dv::Bool(false)},
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},
    {"Checkboxes", &ty::Boolean, dv::Bool(false)},
    {"ColumnClick", &ty::Boolean, dv::Bool(true)},
    {"FlatScrollBars", &ty::Boolean, dv::Bool(false)},
    {"GridLines", &ty::Boolean, dv::Bool(false)},
    {"HideSelection", &ty::Boolean, dv::Bool(true)},
    {"HotTrack", &ty::Boolean, dv::Bool(false)},
    OwnedProp("IconOptions", ty::TIconOptions),
    {"MultiSelect", &ty::Boolean, dv::Bool(false)},
    {"ObjectTypes", &ShellObjectTypes, dv::Set({0, 1})},  // otFolders, otNonFolders
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"RowSelect", &ty::Boolean, dv::Bool(false)},
    RefProp("ShellComboBox", ShellComboBoxType),
    RefProp("ShellTreeView", ShellTreeViewType),
    {"ShowColumnHeaders", &ty::Boolean, dv::Bool(true)},
    {"Sorted", &ty::Boolean, dv::Bool(true)},
    {"ViewStyle", &ty::TViewStyle, dv::Int(0)},
    EventProp("OnChange", ty::TLVChangeEvent),
    EventProp("OnChanging", ty::TLVChangingEvent),
    EventProp("OnColumnClick", ty::TLVColumnClickEvent),
    EventProp("OnColumnRightClick", ty::TLVColumnRClickEvent),
    EventProp("OnCustomDraw", ty::TLVCustomDrawEvent),
    EventProp("OnCustomDrawItem", ty::TLVCustomDrawItemEvent),
    EventProp("OnCustomDrawSubItem", ty::TLVCustomDrawSubItemEvent),
    EventProp("OnDeletion", ty::TLVDeletedEvent),
    EventProp("OnEdited", ty::TLVEditedEvent),
    EventProp("OnEditing", ty::TLVEditingEvent),
    EventProp("OnInfoTip", ty::TLVInfoTipEvent),
    EventProp("OnInsert", ty::TLVDeletedEvent),
    EventProp("OnResize", ty::TNotifyEvent),
    EventProp("OnSelectItem", ty::TLVSelectItemEvent),
};
constexpr Group ShellListViewGroups[] = {grp::ControlProps,     grp::ControlEvents, grp::ClickEvents,
                                         grp::WinControlProps,  grp::FocusEvents,   grp::Ctl3DProps,
                                         grp::WindowColorProps, ShellCommonProps,   ShellListViewProps};

constexpr PropInfo ShellComboBoxProps[] = {
    {"DropDownCount", &ty::Integer, dv::Int(8)},
    {"ObjectTypes", &ShellObjectTypes, dv::Set({0})},  // otFolders
    RefProp("ShellListView", ShellListViewType),
    RefProp("ShellTreeView", ShellTreeViewType),
    {"Style", &ty::TComboBoxExStyle, dv::Int(0)},
    {"StyleEx", &ty::TComboBoxExStyles, dv::Set({})},
    EventProp("OnBeginEdit", ty::TNotifyEvent),
    EventProp("OnChange", ty::TNotifyEvent),
    EventProp("OnCloseUp", ty::TNotifyEvent),
    EventProp("OnDropDown", ty::TNotifyEvent),
    EventProp("OnEndEdit", ty::TNotifyEvent),
    EventProp("OnSelect", ty::TNotifyEvent),
};
constexpr Group ShellComboBoxGroups[] = {
    grp::ControlProps, grp::ControlEvents, grp::ClickEvents,      grp::WinControlProps, grp::FocusEvents,
    grp::Ctl3DProps,   grp::ImeProps,      grp::WindowColorProps, ShellCommonProps,     ShellComboBoxProps};

// ---------------------------------------------------------------------------------
// MPlayer

constexpr std::string_view MPBtnTypeNames[] = {"btPlay", "btPause", "btStop",   "btNext", "btPrev",
                                               "btStep", "btBack",  "btRecord", "btEject"};
constexpr std::string_view MPDeviceTypeNames[] = {
    "dtAutoSelect", "dtAVIVideo", "dtCDAudio",   "dtDAT", "dtDigitalVideo", "dtMMMovie",  "dtOther",
    "dtOverlay",    "dtScanner",  "dtSequencer", "dtVCR", "dtVideodisc",    "dtWaveAudio"};
constexpr TypeInfo MPBtnType = EnumType("TMPBtnType", MPBtnTypeNames);
constexpr TypeInfo ButtonSet = SetType("TButtonSet", MPBtnType);
constexpr TypeInfo MPDeviceTypes = EnumType("TMPDeviceTypes", MPDeviceTypeNames);
constexpr TypeInfo MPNotifyEvent = MethodType("EMPNotify");
constexpr TypeInfo MPPostNotifyEvent = MethodType("EMPPostNotify");
constexpr DefaultValue AllButtons = dv::Set({0, 1, 2, 3, 4, 5, 6, 7, 8});

// A row of nine buttons, each 28 pixels wide with a shared border.
constexpr PropInfo MediaPlayerProps[] = {
    {"Anchors", &ty::TAnchors, dv::Set({0, 1})},
    {"AutoEnable", &ty::Boolean, dv::Bool(true)},
    {"AutoOpen", &ty::Boolean, dv::Bool(false)},
    {"AutoRewind", &ty::Boolean, dv::Bool(true)},
    {"ColoredButtons", &ButtonSet, AllButtons},
    OwnedProp("Constraints", ty::TSizeConstraints),
    {"DeviceType", &MPDeviceTypes, dv::Int(0)},
    RefProp("Display", ty::TWinControl),
    {"DoubleBuffered", &ty::Boolean, dv::Bool(false)},
    {"DragCursor", &ty::TCursor, dv::Int(crDrag)},
    {"DragKind", &ty::TDragKind, dv::Int(0)},
    {"DragMode", &ty::TDragMode, dv::Int(0)},
    {"Enabled", &ty::Boolean, dv::Bool(true)},
    {"EnabledButtons", &ButtonSet, AllButtons},
    {"FileName", &ty::String, dv::Str("")},
    {"Height", &ty::Integer, dv::Int(30)},
    {"ParentDoubleBuffered", &ty::Boolean, dv::Bool(true)},
    {"ParentShowHint", &ty::Boolean, dv::Bool(true)},
    RefProp("PopupMenu", ty::TPopupMenu),
    {"Shareable", &ty::Boolean, dv::Bool(false)},
    {"ShowHint", &ty::Boolean, dv::Bool(false)},
    {"TabOrder", &ty::TTabOrder, dv::Int(-1)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"Visible", &ty::Boolean, dv::Bool(true)},
    {"VisibleButtons", &ButtonSet, AllButtons},
    {"Width", &ty::Integer, dv::Int(253)},
    EventProp("OnClick", MPNotifyEvent),
    EventProp("OnContextPopup", ty::TContextPopupEvent),
    EventProp("OnDragDrop", ty::TDragDropEvent),
    EventProp("OnDragOver", ty::TDragOverEvent),
    EventProp("OnEndDock", ty::TEndDragEvent),
    EventProp("OnEndDrag", ty::TEndDragEvent),
    EventProp("OnEnter", ty::TNotifyEvent),
    EventProp("OnExit", ty::TNotifyEvent),
    EventProp("OnNotify", ty::TNotifyEvent),
    EventProp("OnPostClick", MPPostNotifyEvent),
    EventProp("OnStartDock", ty::TStartDockEvent),
    EventProp("OnStartDrag", ty::TStartDragEvent),
};
constexpr Group MediaPlayerGroups[] = {MediaPlayerProps};

// ---------------------------------------------------------------------------------
// OleCtnrs

constexpr std::string_view AutoActivateNames[] = {"aaManual", "aaGetFocus", "aaDoubleClick"};
constexpr std::string_view SizeModeNames[] = {"smClip", "smCenter", "smScale", "smStretch", "smAutoSize"};
constexpr TypeInfo AutoActivate = EnumType("TAutoActivate", AutoActivateNames);
constexpr TypeInfo SizeMode = EnumType("TSizeMode", SizeModeNames);
constexpr TypeInfo ObjectMoveEvent = MethodType("TObjectMoveEvent");

constexpr PropInfo OleContainerProps[] = {
    {"AllowActiveDoc", &ty::Boolean, dv::Bool(true)},
    {"AllowInPlace", &ty::Boolean, dv::Bool(true)},
    {"AutoActivate", &AutoActivate, dv::Int(2)},  // aaDoubleClick
    {"AutoVerbMenu", &ty::Boolean, dv::Bool(true)},
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},
    {"CopyOnSave", &ty::Boolean, dv::Bool(true)},
    {"Height", &ty::Integer, dv::Int(97)},
    {"Iconic", &ty::Boolean, dv::Bool(false)},
    {"OldStreamFormat", &ty::Boolean, dv::Bool(false)},
    {"SizeMode", &SizeMode, dv::Int(0)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(121)},
    EventProp("OnActivate", ty::TNotifyEvent),
    EventProp("OnDeactivate", ty::TNotifyEvent),
    EventProp("OnObjectMove", ObjectMoveEvent),
    EventProp("OnResize", ty::TNotifyEvent),
};
constexpr Group OleContainerGroups[] = {grp::ControlProps,     grp::ControlEvents, grp::ClickEvents,
                                        grp::WinControlProps,  grp::FocusEvents,   grp::Ctl3DProps,
                                        grp::WindowColorProps, OleContainerProps};

// ---------------------------------------------------------------------------------
// DdeMan

constexpr std::string_view DataModeNames[] = {"ddeAutomatic", "ddeManual"};
constexpr TypeInfo DataMode = EnumType("TDataMode", DataModeNames);
constexpr TypeInfo MacroEvent = MethodType("TMacroEvent");
constexpr TypeInfo DdeClientConvType = def::ClassType("TDdeClientConv", cls::TDdeClientConv);
constexpr TypeInfo DdeServerConvType = def::ClassType("TDdeServerConv", cls::TDdeServerConv);

constexpr PropInfo DdeClientConvProps[] = {
    {"ConnectMode", &DataMode, dv::Int(0)},
    {"DdeService", &ty::String, dv::Str("")},
    {"DdeTopic", &ty::String, dv::Str("")},
    {"FormatChars", &ty::Boolean, dv::Bool(false)},
    {"ServiceApplication", &ty::String, dv::Str("")},
    EventProp("OnClose", ty::TNotifyEvent),
    EventProp("OnOpen", ty::TNotifyEvent),
};
constexpr Group DdeClientConvGroups[] = {DdeClientConvProps};

constexpr PropInfo DdeClientItemProps[] = {
    RefProp("DdeConv", DdeClientConvType),   {"DdeItem", &ty::String, dv::Str("")},
    OwnedProp("Lines", ty::TStrings),        {"Text", &ty::String, dv::Str("")},
    EventProp("OnChange", ty::TNotifyEvent),
};
constexpr Group DdeClientItemGroups[] = {DdeClientItemProps};

constexpr PropInfo DdeServerConvProps[] = {
    EventProp("OnClose", ty::TNotifyEvent),
    EventProp("OnExecuteMacro", MacroEvent),
    EventProp("OnOpen", ty::TNotifyEvent),
};
constexpr Group DdeServerConvGroups[] = {DdeServerConvProps};

constexpr PropInfo DdeServerItemProps[] = {
    OwnedProp("Lines", ty::TStrings),          RefProp("ServerConv", DdeServerConvType),
    {"Text", &ty::String, dv::Str("")},        EventProp("OnChange", ty::TNotifyEvent),
    EventProp("OnPokeData", ty::TNotifyEvent),
};
constexpr Group DdeServerItemGroups[] = {DdeServerItemProps};

// ---------------------------------------------------------------------------------
// Chart: the sub-objects

constexpr std::string_view AxisLabelStyleNames[] = {"talAuto", "talNone", "talValue", "talMark", "talText"};
constexpr std::string_view LegendAlignmentNames[] = {"laLeft", "laRight", "laTop", "laBottom"};
constexpr std::string_view LegendStyleNames[] = {"lsAuto", "lsSeries", "lsValues", "lsLastValues"};
constexpr std::string_view LegendTextStyleNames[] = {"ltsPlain",       "ltsLeftValue",    "ltsRightValue",
                                                     "ltsLeftPercent", "ltsRightPercent", "ltsXValue"};
constexpr std::string_view ChartGradientDirectionNames[] = {
    "gdTopBottom",  "gdBottomTop",   "gdLeftRight",     "gdRightLeft",
    "gdFromCenter", "gdFromTopLeft", "gdFromBottomLeft"};
constexpr std::string_view PanningModeNames[] = {"pmNone", "pmHorizontal", "pmVertical", "pmBoth"};
constexpr std::string_view BackImageModeNames[] = {"pbmStretch", "pbmTile", "pbmCenter"};
constexpr std::string_view LegendCheckBoxesStyleNames[] = {"cbsCheck", "cbsRadio"};
constexpr std::string_view MouseButtonNames[] = {"mbLeft", "mbRight", "mbMiddle"};
constexpr std::string_view MouseWheelStyleNames[] = {"pmwNone", "pmwNormal"};
constexpr std::string_view ZoomDirectionNames[] = {"tzdHorizontal", "tzdVertical", "tzdBoth"};
constexpr std::string_view ZoomTextNames[] = {"ztManual", "ztAuto", "ztNo"};
constexpr std::string_view TeeFontQualityNames[] = {"fqDefault",          "fqDraft",       "fqProof",
                                                    "fqNonAntialiased",   "fqAntialiased", "fqClearType",
                                                    "fqClearTypeNatural", "fqBest"};
constexpr TypeInfo AxisLabelStyle = EnumType("TAxisLabelStyle", AxisLabelStyleNames);
constexpr TypeInfo LegendAlignment = EnumType("TLegendAlignment", LegendAlignmentNames);
constexpr TypeInfo LegendStyle = EnumType("TLegendStyle", LegendStyleNames);
constexpr TypeInfo LegendTextStyle = EnumType("TLegendTextStyle", LegendTextStyleNames);
// The chart's gradient has directions of its own, unlike the tool bar's.
constexpr TypeInfo ChartGradientDirection = EnumType("TGradientDirection", ChartGradientDirectionNames);
constexpr TypeInfo PanningMode = EnumType("TPanningMode", PanningModeNames);
constexpr TypeInfo BackImageMode = EnumType("TTeeBackImageMode", BackImageModeNames);
constexpr TypeInfo LegendCheckBoxesStyle = EnumType("TLegendCheckBoxesStyle", LegendCheckBoxesStyleNames);
constexpr TypeInfo MouseButton = EnumType("TMouseButton", MouseButtonNames);
constexpr TypeInfo MouseWheelStyle = EnumType("TMouseWheelStyle", MouseWheelStyleNames);
constexpr TypeInfo ZoomDirection = EnumType("TTeeZoomDirection", ZoomDirectionNames);
// Whether and how text follows the 3D zoom; it was a Boolean in older chart editions.
constexpr TypeInfo ZoomText = EnumType("TTeeZoomText", ZoomTextNames);
// The chart's fonts take the font's qualities and one more, fqBest: the best the
// chart's canvas can draw.
constexpr TypeInfo TeeFontQuality = EnumType("TTeeFontQuality", TeeFontQualityNames);
// A percentage, 0 (opaque) to 100 (invisible).
constexpr TypeInfo Transparency = def::IntType("TTeeTransparency");

constexpr TypeInfo ChartPenType = def::ClassType("TChartPen", cls::TChartPen);
constexpr TypeInfo ChartHiddenPenType = def::ClassType("TChartHiddenPen", cls::TChartHiddenPen);
constexpr TypeInfo ChartBrushType = def::ClassType("TChartBrush", cls::TChartBrush);
constexpr TypeInfo TeeGradientType = def::ClassType("TTeeGradient", cls::TTeeGradient);
constexpr TypeInfo TeeFontType = def::ClassType("TTeeFont", cls::TTeeFont);
constexpr TypeInfo TeeShadowType = def::ClassType("TTeeShadow", cls::TTeeShadow);
constexpr TypeInfo TeeMarginsType = def::ClassType("TTeeMargins", cls::TTeeMargins);
constexpr TypeInfo AxisLabelsFormatType = def::ClassType("TAxisLabelsFormat", cls::TAxisLabelsFormat);
constexpr TypeInfo ZoomPanningType = def::ClassType("TZoomPanning", cls::TZoomPanning);
constexpr TypeInfo TeeZoomType = def::ClassType("TTeeZoom", cls::TTeeZoom);
constexpr TypeInfo TeeZoomPenType = def::ClassType("TTeeZoomPen", cls::TTeeZoomPen);
constexpr TypeInfo TeeZoomBrushType = def::ClassType("TTeeZoomBrush", cls::TTeeZoomBrush);
constexpr TypeInfo ChartWallType = def::ClassType("TChartWall", cls::TChartWall);
constexpr TypeInfo ChartTitleType = def::ClassType("TChartTitle", cls::TChartTitle);
constexpr TypeInfo ChartAxisTitleType = def::ClassType("TChartAxisTitle", cls::TChartAxisTitle);
constexpr TypeInfo ChartAxisType = def::ClassType("TChartAxis", cls::TChartAxis);
constexpr TypeInfo ChartLegendType = def::ClassType("TChartLegend", cls::TChartLegend);
constexpr TypeInfo ChartGradientType = def::ClassType("TChartGradient", cls::TChartGradient);
constexpr TypeInfo View3DOptionsType = def::ClassType("TView3DOptions", cls::TView3DOptions);

// A chart pen is a pen that can be hidden.
constexpr PropInfo ChartPenProps[] = {
    {"Visible", &ty::Boolean, dv::Bool(true)},
};
constexpr Group ChartPenGroups[] = {ChartPenProps};

// A pen that starts hidden (the chart's border, the frame of axis labels).
constexpr PropInfo ChartHiddenPenProps[] = {
    {"Visible", &ty::Boolean, dv::Bool(false)},
};
constexpr Group ChartHiddenPenGroups[] = {ChartHiddenPenProps};

// A chart brush can fill with a gradient instead of its colour.
constexpr PropInfo ChartBrushProps[] = {
    OwnedProp("Gradient", TeeGradientType),
};
constexpr Group ChartBrushGroups[] = {ChartBrushProps};

// A gradient from the start colour to the end colour, through the middle colour
// unless that is clNone; the balance places the middle colour, in percent.
constexpr PropInfo TeeGradientProps[] = {
    {"Balance", &ty::Integer, dv::Int(50)},        {"Direction", &ChartGradientDirection, dv::Int(0)},
    {"EndColor", &ty::TColor, dv::Int(clYellow)},  {"MidColor", &ty::TColor, dv::Int(clNone)},
    {"StartColor", &ty::TColor, dv::Int(clWhite)}, {"Visible", &ty::Boolean, dv::Bool(false)},
};
constexpr Group TeeGradientGroups[] = {TeeGradientProps};

// A shadow's initial colour, offsets and visibility depend on what casts it, so
// forms write them whenever they are set.
constexpr PropInfo TeeShadowProps[] = {
    {"Color", &ty::TColor},
    {"HorizSize", &ty::Integer},
    {"VertSize", &ty::Integer},
    {"Visible", &ty::Boolean},
};
constexpr Group TeeShadowGroups[] = {TeeShadowProps};

// A font of the chart's texts: a font with a shadow, whose quality has one value more
// than the font's.
constexpr PropInfo TeeFontProps[] = {
    {"Quality", &TeeFontQuality, dv::Int(0)},  // fqDefault
    OwnedProp("Shadow", TeeShadowType),
};
constexpr Group TeeFontGroups[] = {TeeFontProps};

// The space between a text shape's frame and its text; the initial values depend on
// the shape.
constexpr PropInfo TeeMarginsProps[] = {
    {"Bottom", &ty::Integer},
    {"Left", &ty::Integer},
    {"Right", &ty::Integer},
    {"Top", &ty::Integer},
};
constexpr Group TeeMarginsGroups[] = {TeeMarginsProps};

constexpr PropInfo ChartWallProps[] = {
    OwnedProp("Brush", ChartBrushType),
    {"Color", &ty::TColor, dv::Int(clNone)},
    {"Dark3D", &ty::Boolean, dv::Bool(true)},
    OwnedProp("Pen", ChartPenType),
    {"Size", &ty::Integer, dv::Int(0)},
    {"Transparency", &Transparency, dv::Int(0)},
    {"Transparent", &ty::Boolean, dv::Bool(false)},
    {"Visible", &ty::Boolean, dv::Bool(true)},
};
constexpr Group ChartWallGroups[] = {ChartWallProps};

constexpr PropInfo ChartTitleProps[] = {
    {"AdjustFrame", &ty::Boolean, dv::Bool(true)},
    {"Alignment", &ty::TAlignment, dv::Int(2)},  // taCenter
    OwnedProp("Brush", ChartBrushType),
    {"Color", &ty::TColor, dv::Int(clNone)},
    {"Cursor", &ty::TCursor},
    OwnedProp("Font", TeeFontType),
    OwnedProp("Frame", ChartPenType),
    OwnedProp("Margins", TeeMarginsType),
    OwnedProp("Text", ty::TStrings),
    {"Visible", &ty::Boolean, dv::Bool(true)},
};
constexpr Group ChartTitleGroups[] = {ChartTitleProps};

constexpr PropInfo ChartAxisTitleProps[] = {
    {"Angle", &ty::Integer},
    {"Caption", &ty::String, dv::Str("")},
    {"Color", &ty::TColor},
    OwnedProp("Font", TeeFontType),
};
constexpr Group ChartAxisTitleGroups[] = {ChartAxisTitleProps};

// How an axis draws its labels: their font and a frame around each, hidden at first.
constexpr PropInfo AxisLabelsFormatProps[] = {
    OwnedProp("Font", TeeFontType),
    OwnedProp("Frame", ChartHiddenPenType),
};
constexpr Group AxisLabelsFormatGroups[] = {AxisLabelsFormatProps};

// The minimum, maximum and increment are doubles; an automatic axis works them out
// from the series.
constexpr PropInfo ChartAxisProps[] = {
    {"Automatic", &ty::Boolean, dv::Bool(true)},
    {"AutomaticMaximum", &ty::Boolean, dv::Bool(true)},
    {"AutomaticMinimum", &ty::Boolean, dv::Bool(true)},
    OwnedProp("Axis", ChartPenType),
    {"AxisValuesFormat", &ty::String, dv::Str("#,##0.###")},
    {"DateTimeFormat", &ty::String, dv::Str("")},
    {"EndPosition", &ty::Double, dv::Real(100)},
    {"ExactDateTime", &ty::Boolean, dv::Bool(true)},
    OwnedProp("Grid", ChartPenType),
    {"GridCentered", &ty::Boolean, dv::Bool(false)},
    {"Increment", &ty::Double, dv::Real(0)},
    {"Inverted", &ty::Boolean, dv::Bool(false)},
    {"Labels", &ty::Boolean, dv::Bool(true)},
    {"LabelsAlternate", &ty::Boolean, dv::Bool(false)},
    {"LabelsAngle", &ty::Integer, dv::Int(0)},
    OwnedProp("LabelsFont", TeeFontType),
    OwnedProp("LabelsFormat", AxisLabelsFormatType),
    {"LabelsMultiLine", &ty::Boolean, dv::Bool(false)},
    {"LabelsOnAxis", &ty::Boolean, dv::Bool(true)},
    {"LabelsSeparation", &ty::Integer, dv::Int(10)},
    {"LabelsSize", &ty::Integer, dv::Int(0)},
    {"LabelStyle", &AxisLabelStyle, dv::Int(0)},
    {"Logarithmic", &ty::Boolean, dv::Bool(false)},
    {"LogarithmicBase", &ty::Double, dv::Real(10)},
    {"Maximum", &ty::Double},
    {"Minimum", &ty::Double},
    OwnedProp("MinorGrid", ChartPenType),
    {"MinorTickCount", &ty::Integer, dv::Int(3)},
    {"MinorTickLength", &ty::Integer, dv::Int(2)},
    OwnedProp("MinorTicks", ChartPenType),
    {"PositionPercent", &ty::Double, dv::Real(0)},
    {"RoundFirstLabel", &ty::Boolean, dv::Bool(true)},
    {"StartPosition", &ty::Double, dv::Real(0)},
    {"TickInnerLength", &ty::Integer, dv::Int(0)},
    {"TickLength", &ty::Integer, dv::Int(4)},
    {"TickOnLabelsOnly", &ty::Boolean, dv::Bool(true)},
    OwnedProp("Ticks", ChartPenType),
    OwnedProp("TicksInner", ChartPenType),
    OwnedProp("Title", ChartAxisTitleType),
    {"TitleSize", &ty::Integer, dv::Int(0)},
    {"Visible", &ty::Boolean, dv::Bool(true)},
};
constexpr Group ChartAxisGroups[] = {ChartAxisProps};

// With CheckBoxes the legend shows a box before each series that hides or shows it.
constexpr PropInfo ChartLegendProps[] = {
    {"Alignment", &LegendAlignment, dv::Int(1)},  // laRight
    OwnedProp("Brush", ChartBrushType),
    {"CheckBoxes", &ty::Boolean, dv::Bool(false)},
    {"CheckBoxesStyle", &LegendCheckBoxesStyle, dv::Int(0)},  // cbsCheck
    {"Color", &ty::TColor, dv::Int(clWhite)},
    {"ColorWidth", &ty::Integer, dv::Int(30)},
    OwnedProp("DividingLines", ChartPenType),
    OwnedProp("Font", TeeFontType),
    OwnedProp("Frame", ChartPenType),
    {"HorizMargin", &ty::Integer, dv::Int(0)},
    {"Inverted", &ty::Boolean, dv::Bool(false)},
    {"LegendStyle", &LegendStyle, dv::Int(0)},
    {"MaxNumRows", &ty::Integer, dv::Int(10)},
    {"ResizeChart", &ty::Boolean, dv::Bool(true)},
    {"ShadowColor", &ty::TColor, dv::Int(clBlack)},
    {"ShadowSize", &ty::Integer, dv::Int(3)},
    {"TextStyle", &LegendTextStyle, dv::Int(1)},  // ltsLeftValue
    {"TopPos", &ty::Integer, dv::Int(10)},
    {"VertMargin", &ty::Integer, dv::Int(0)},
    {"Visible", &ty::Boolean, dv::Bool(true)},
};
constexpr Group ChartLegendGroups[] = {ChartLegendProps};

// Angles in degrees, offsets in pixels, zoom and perspective in percent.
constexpr PropInfo View3DOptionsProps[] = {
    {"Elevation", &ty::Integer, dv::Int(345)},
    {"HorizOffset", &ty::Integer, dv::Int(0)},
    {"Orthogonal", &ty::Boolean, dv::Bool(true)},
    {"Perspective", &ty::Integer, dv::Int(15)},
    {"Rotation", &ty::Integer, dv::Int(345)},
    {"Tilt", &ty::Integer, dv::Int(0)},
    {"VertOffset", &ty::Integer, dv::Int(0)},
    {"Zoom", &ty::Integer, dv::Int(100)},
    {"ZoomText", &ZoomText},
};
constexpr Group View3DOptionsGroups[] = {View3DOptionsProps};

// Scrolling the chart: the mouse wheel scrolls it unless told otherwise.
constexpr PropInfo ZoomPanningProps[] = {
    {"MouseWheel", &MouseWheelStyle, dv::Int(1)},  // pmwNormal
};
constexpr Group ZoomPanningGroups[] = {ZoomPanningProps};

// Zooming with the mouse: dragging a rectangle with the zoom button, from the top left
// to the bottom right unless UpLeftZooms; a drag shorter than MinimumPixels undoes the
// zoom. The rectangle is drawn with the zoom's own pen and brush.
constexpr PropInfo TeeZoomProps[] = {
    {"Allow", &ty::Boolean, dv::Bool(true)},
    {"Animated", &ty::Boolean, dv::Bool(false)},
    {"AnimatedSteps", &ty::Integer, dv::Int(8)},
    OwnedProp("Brush", TeeZoomBrushType),
    {"Direction", &ZoomDirection, dv::Int(2)},  // tzdBoth
    {"KeepAspectRatio", &ty::Boolean, dv::Bool(false)},
    {"MinimumPixels", &ty::Integer, dv::Int(16)},
    {"MouseButton", &MouseButton, dv::Int(0)},     // mbLeft
    {"MouseWheel", &MouseWheelStyle, dv::Int(0)},  // pmwNone
    OwnedProp("Pen", TeeZoomPenType),
    {"UpLeftZooms", &ty::Boolean, dv::Bool(false)},
};
constexpr Group TeeZoomGroups[] = {TeeZoomProps};

// The zoom rectangle's pen can be filled like a brush.
constexpr PropInfo TeeZoomPenProps[] = {
    OwnedProp("Fill", ChartBrushType),
};
constexpr Group TeeZoomPenGroups[] = {TeeZoomPenProps};

// Chart events.
constexpr TypeInfo ChartClick = MethodType("TChartClick");
constexpr TypeInfo ChartClickAxis = MethodType("TChartClickAxis");
constexpr TypeInfo ChartClickSeries = MethodType("TChartClickSeries");
constexpr TypeInfo ChartAllowScrollEvent = MethodType("TChartAllowScrollEvent");
constexpr TypeInfo AxisOnGetLabel = MethodType("TAxisOnGetLabel");
constexpr TypeInfo AxisOnGetNextLabel = MethodType("TAxisOnGetNextLabel");
constexpr TypeInfo OnGetLegendPos = MethodType("TOnGetLegendPos");
constexpr TypeInfo OnGetLegendRect = MethodType("TOnGetLegendRect");
constexpr TypeInfo OnGetLegendText = MethodType("TOnGetLegendText");

}  // namespace

// ---------------------------------------------------------------------------------
// Chart: what a concrete chart publishes. Charts are written with their own
// properties first (walls, titles, axes), then the panel's.

namespace grp {

constexpr PropInfo ChartPanelProps[8] = {
    {"BevelInner", &ty::TBevelCut, dv::Int(0)},  // bvNone
    {"BevelOuter", &ty::TBevelCut, dv::Int(2)},  // bvRaised
    {"BevelWidth", &ty::TBevelWidth, dv::Int(1)},   {"BorderStyle", &ty::TBorderStyle, dv::Int(0)},
    {"BorderWidth", &ty::TBorderWidth, dv::Int(0)}, {"Color", &ty::TColor, dv::Int(clBtnFace)},
    {"ParentColor", &ty::Boolean, dv::Bool(false)}, {"TabStop", &ty::Boolean, dv::Bool(false)},
};

constexpr PropInfo ChartProps[43] = {
    {"AllowPanning", &PanningMode, dv::Int(3)},  // pmBoth
    {"AllowZoom", &ty::Boolean, dv::Bool(true)},
    {"AnimatedZoom", &ty::Boolean, dv::Bool(false)},
    {"AnimatedZoomSteps", &ty::Integer, dv::Int(8)},
    {"BackColor", &ty::TColor},
    OwnedProp("BackImage", ty::TPicture),
    {"BackImageInside", &ty::Boolean, dv::Bool(false)},
    {"BackImageMode", &BackImageMode, dv::Int(0)},
    OwnedProp("BackWall", ChartWallType),
    OwnedProp("Border", ChartHiddenPenType),
    OwnedProp("BottomAxis", ChartAxisType),
    OwnedProp("BottomWall", ChartWallType),
    {"Chart3DPercent", &ty::Integer, dv::Int(15)},
    {"ClipPoints", &ty::Boolean, dv::Bool(true)},
    OwnedProp("DepthAxis", ChartAxisType),
    OwnedProp("DepthTopAxis", ChartAxisType),
    OwnedProp("Foot", ChartTitleType),
    OwnedProp("Frame", ChartPenType),
    OwnedProp("Gradient", ChartGradientType),
    OwnedProp("LeftAxis", ChartAxisType),
    OwnedProp("LeftWall", ChartWallType),
    OwnedProp("Legend", ChartLegendType),
    {"MarginBottom", &ty::Integer, dv::Int(4)},
    {"MarginLeft", &ty::Integer, dv::Int(3)},
    {"MarginRight", &ty::Integer, dv::Int(3)},
    {"MarginTop", &ty::Integer, dv::Int(4)},
    {"MaxPointsPerPage", &ty::Integer, dv::Int(0)},
    {"Page", &ty::Integer, dv::Int(1)},
    OwnedProp("Panning", ZoomPanningType),
    {"PrintProportional", &ty::Boolean, dv::Bool(true)},
    OwnedProp("RightAxis", ChartAxisType),
    OwnedProp("RightWall", ChartWallType),
    {"ScaleLastPage", &ty::Boolean, dv::Bool(true)},
    {"ScrollMouseButton", &MouseButton, dv::Int(1)},  // mbRight
    OwnedProp("Shadow", TeeShadowType),
    OwnedProp("SubFoot", ChartTitleType),
    OwnedProp("SubTitle", ChartTitleType),
    OwnedProp("Title", ChartTitleType),
    OwnedProp("TopAxis", ChartAxisType),
    {"View3D", &ty::Boolean, dv::Bool(true)},
    OwnedProp("View3DOptions", View3DOptionsType),
    {"View3DWalls", &ty::Boolean, dv::Bool(true)},
    OwnedProp("Zoom", TeeZoomType),
};

constexpr PropInfo ChartEvents[16] = {
    EventProp("OnAfterDraw", ty::TNotifyEvent),
    EventProp("OnAllowScroll", ChartAllowScrollEvent),
    EventProp("OnBeforeDrawAxes", ty::TNotifyEvent),
    EventProp("OnBeforeDrawSeries", ty::TNotifyEvent),
    EventProp("OnClickAxis", ChartClickAxis),
    EventProp("OnClickBackground", ChartClick),
    EventProp("OnClickLegend", ChartClick),
    EventProp("OnClickSeries", ChartClickSeries),
    EventProp("OnGetAxisLabel", AxisOnGetLabel),
    EventProp("OnGetLegendPos", OnGetLegendPos),
    EventProp("OnGetLegendRect", OnGetLegendRect),
    EventProp("OnGetLegendText", OnGetLegendText),
    EventProp("OnGetNextAxisLabel", AxisOnGetNextLabel),
    EventProp("OnPageChange", ty::TNotifyEvent),
    EventProp("OnUndoZoom", ty::TNotifyEvent),
    EventProp("OnZoom", ty::TNotifyEvent),
};

static_assert(AllRowsFilled(ChartPanelProps) && AllRowsFilled(ChartProps) && AllRowsFilled(ChartEvents));

}  // namespace grp

namespace {

// The chart's remaining events and its initial size.
constexpr PropInfo ChartOwnProps[] = {
    {"Height", &ty::Integer, dv::Int(250)},  {"Width", &ty::Integer, dv::Int(400)},
    EventProp("OnEnter", ty::TNotifyEvent),  EventProp("OnExit", ty::TNotifyEvent),
    EventProp("OnResize", ty::TNotifyEvent), EventProp("OnScroll", ty::TNotifyEvent),
};
constexpr Group ChartGroups[] = {grp::ControlProps,    grp::ControlEvents,   grp::ClickEvents,
                                 grp::WinControlProps, grp::ChartPanelProps, grp::ChartProps,
                                 grp::ChartEvents,     ChartOwnProps};

// ---------------------------------------------------------------------------------
// ActnMan, ActnMenus, ActnCtrls

constexpr std::string_view ActionListStateNames[] = {"asNormal", "asSuspended", "asSuspendedEnabled"};
constexpr std::string_view BackgroundLayoutNames[] = {"blNormal", "blStretch", "blTile", "blLeftBanner",
                                                      "blRightBanner"};
constexpr std::string_view ChangesAllowedNames[] = {"caModify", "caMove", "caDelete"};
constexpr std::string_view ButtonLayoutNames[] = {"blGlyphLeft", "blGlyphRight", "blGlyphTop",
                                                  "blGlyphBottom"};
constexpr std::string_view CaptionOptionsNames[] = {"coNone", "coSelective", "coAll"};
constexpr std::string_view BarOrientationNames[] = {"boLeftToRight", "boRightToLeft", "boTopToBottom",
                                                    "boBottomToTop"};
constexpr std::string_view AnimationStyleNames[] = {"asNone", "asDefault", "asUnFold", "asSlide", "asFade"};
constexpr TypeInfo ActionListState = EnumType("TActionListState", ActionListStateNames);
constexpr TypeInfo BackgroundLayout = EnumType("TBackgroundLayout", BackgroundLayoutNames);
constexpr TypeInfo ChangesAllowed = EnumType("TChangesAllowed", ChangesAllowedNames);
constexpr TypeInfo ChangesAllowedSet = SetType("TChangesAllowedSet", ChangesAllowed);
constexpr TypeInfo ButtonLayout = EnumType("TButtonLayout", ButtonLayoutNames);
constexpr TypeInfo CaptionOptions = EnumType("TCaptionOptions", CaptionOptionsNames);
constexpr TypeInfo BarOrientation = EnumType("TBarOrientation", BarOrientationNames);
constexpr TypeInfo AnimationStyle = EnumType("TAnimationStyle", AnimationStyleNames);

constexpr TypeInfo ControlCreatedEvent = MethodType("TControlCreatedEvent");
constexpr TypeInfo GetControlClassEvent = MethodType("TGetControlClassEvent");
constexpr TypeInfo BarPaintEvent = MethodType("TBarPaintEvent");
constexpr TypeInfo ActionPopupEvent = MethodType("TActionPopupEvent");
constexpr TypeInfo ExitMenuEvent = MethodType("TExitMenuEvent");

constexpr TypeInfo ActionBarsType = def::ClassType("TActionBars", cls::TActionBars);
constexpr TypeInfo ActionClientsType = def::ClassType("TActionClients", cls::TActionClients);
constexpr TypeInfo ActionListCollectionType =
    def::ClassType("TActionListCollection", cls::TActionListCollection);
constexpr TypeInfo CustomActionBarType = def::ClassType("TCustomActionBar", cls::TCustomActionBar);
constexpr TypeInfo CustomActionManagerType =
    def::ClassType("TCustomActionManager", cls::TCustomActionManager);
constexpr TypeInfo ColorMapType = def::ClassType("TCustomActionBarColorMap", cls::TCustomActionBarColorMap);

// An action manager keeps its actions as children, like an action list, and the
// layout of its menus and tool bars in ActionBars.
constexpr PropInfo ActionManagerProps[] = {
    OwnedProp("ActionBars", ActionBarsType),
    RefProp("DisabledImages", ty::TCustomImageList),
    {"FileName", &ty::String, dv::Str("")},
    RefProp("Images", ty::TCustomImageList),
    RefProp("LargeDisabledImages", ty::TCustomImageList),
    RefProp("LargeImages", ty::TCustomImageList),
    OwnedProp("LinkedActionLists", ActionListCollectionType),
    OwnedProp("PrioritySchedule", ty::TStrings),
    {"State", &ActionListState, dv::Int(0)},
    EventProp("OnChange", ty::TNotifyEvent),
    EventProp("OnExecute", ty::TActionEvent),
    EventProp("OnStateChange", ty::TNotifyEvent),
    EventProp("OnUpdate", ty::TActionEvent),
};
constexpr Group ActionManagerGroups[] = {ActionManagerProps};

// What a menu or tool bar entry and a whole bar have in common: nested items, and the
// look of the bar or drop-down they open.
constexpr PropInfo ActionClientProps[] = {
    OwnedProp("Background", ty::TPicture),
    {"BackgroundLayout", &BackgroundLayout, dv::Int(0)},
    {"ChangesAllowed", &ChangesAllowedSet, dv::Set({0, 1, 2})},
    {"Color", &ty::TColor, dv::Int(clDefault)},
    OwnedProp("ContextItems", ActionClientsType),
    OwnedProp("Items", ActionClientsType),
    {"Tag", &ty::Integer, dv::Int(0)},
    {"Visible", &ty::Boolean, dv::Bool(true)},
};
constexpr Group ActionClientGroups[] = {ActionClientProps};

constexpr PropInfo ActionBarItemProps[] = {
    RefProp("ActionBar", CustomActionBarType),
    {"AutoSize", &ty::Boolean, dv::Bool(true)},
    {"GlyphLayout", &ButtonLayout, dv::Int(0)},
};
constexpr Group ActionBarItemGroups[] = {ActionBarItemProps};

constexpr PropInfo ActionClientItemProps[] = {
    RefProp("Action", ty::TBasicAction),
    {"Caption", &ty::String, dv::Str("")},
    {"ImageIndex", &ty::TImageIndex, dv::Int(-1)},
    {"LastSession", &ty::Integer, dv::Int(0)},
    {"MergeIndex", &ty::Integer, dv::Int(0)},
    {"ShortCut", &ty::TShortCut, dv::Int(0)},
    {"ShowCaption", &ty::Boolean, dv::Bool(true)},
    {"ShowGlyph", &ty::Boolean, dv::Bool(true)},
    {"ShowShortCut", &ty::Boolean, dv::Bool(true)},
    {"UsageCount", &ty::Integer, dv::Int(0)},
};
constexpr Group ActionClientItemGroups[] = {ActionClientItemProps};

// The item lists of a bar or entry carry their own display options.
constexpr PropInfo ActionClientsProps[] = {
    {"CaptionOptions", &CaptionOptions, dv::Int(1)},  // coSelective
    {"HideUnused", &ty::Boolean, dv::Bool(true)},
    {"SmallIcons", &ty::Boolean, dv::Bool(true)},
};
constexpr Group ActionClientsGroups[] = {ActionClientsProps};

constexpr PropInfo ActionBarsProps[] = {
    {"HintShortCuts", &ty::Boolean, dv::Bool(true)},
    {"SessionCount", &ty::Integer, dv::Int(0)},
    {"ShowHints", &ty::Boolean, dv::Bool(true)},
};
constexpr Group ActionBarsGroups[] = {ActionBarsProps};

constexpr PropInfo ActionListItemProps[] = {
    RefProp("ActionList", ty::TCustomActionList),
    {"Caption", &ty::String, dv::Str("")},
};
constexpr Group ActionListItemGroups[] = {ActionListItemProps};

// A bar's colours come from its style's colour map; forms set single colours on the
// bar's own map (ColorMap.HighlightColor), so the map's colours are published here.
constexpr PropInfo ColorMapProps[] = {
    {"BtnFrameColor", &ty::TColor},
    {"BtnSelectedColor", &ty::TColor},
    {"BtnSelectedFont", &ty::TColor},
    {"Color", &ty::TColor},
    {"DisabledColor", &ty::TColor},
    {"DisabledFontColor", &ty::TColor},
    {"DisabledFontShadow", &ty::TColor},
    {"FontColor", &ty::TColor},
    {"FrameBottomRightInner", &ty::TColor},
    {"FrameBottomRightOuter", &ty::TColor},
    {"FrameTopLeftInner", &ty::TColor},
    {"FrameTopLeftOuter", &ty::TColor},
    {"HighlightColor", &ty::TColor},
    {"HotColor", &ty::TColor},
    {"HotFontColor", &ty::TColor},
    {"MenuColor", &ty::TColor},
    {"SelectedColor", &ty::TColor},
    {"SelectedFontColor", &ty::TColor},
    {"ShadowColor", &ty::TColor},
    {"UnusedColor", &ty::TColor},
    EventProp("OnColorChange", ty::TNotifyEvent),
};
constexpr Group ColorMapGroups[] = {ColorMapProps};

constexpr std::array<PropInfo, 16> TopAlignedControlProps = {{
    {"Align", &ty::TAlign, dv::Int(1)},  // alTop
    {"Anchors", &ty::TAnchors, dv::Set({0, 1})},
    {"BiDiMode", &ty::TBiDiMode, dv::Int(0)},
    OwnedProp("Constraints", ty::TSizeConstraints),
    {"DragCursor", &ty::TCursor, dv::Int(crDrag)},
    {"DragKind", &ty::TDragKind, dv::Int(0)},
    {"DragMode", &ty::TDragMode, dv::Int(0)},
    {"Enabled", &ty::Boolean, dv::Bool(true)},
    OwnedProp("Font", ty::TFont),
    {"ParentBiDiMode", &ty::Boolean, dv::Bool(true)},
    {"ParentFont", &ty::Boolean, dv::Bool(true)},
    {"ParentShowHint", &ty::Boolean, dv::Bool(true)},
    RefProp("PopupMenu", ty::TPopupMenu),
    {"ShowHint", &ty::Boolean, dv::Bool(false)},
    OwnedProp("Touch", ty::TTouchManager),
    {"Visible", &ty::Boolean, dv::Bool(true)},
}};

// What the action tool bar and the action menu bar share. The spacing is always
// written: its initial value depends on the style.
constexpr PropInfo ActionBarProps[] = {
    RefProp("ActionManager", CustomActionManagerType),
    {"AllowHiding", &ty::Boolean, dv::Bool(false)},
    {"Caption", &ty::TCaption, dv::Str("")},
    OwnedProp("ColorMap", ColorMapType),
    {"EdgeBorders", &ty::TEdgeBorders, dv::Set({})},
    {"EdgeInner", &ty::TEdgeStyle, dv::Int(1)},  // esRaised
    {"EdgeOuter", &ty::TEdgeStyle, dv::Int(2)},  // esLowered
    {"HorzMargin", &ty::Integer, dv::Int(1)},
    {"Orientation", &BarOrientation, dv::Int(0)},
    {"PersistentHotKeys", &ty::Boolean, dv::Bool(false)},
    {"Shadows", &ty::Boolean, dv::Bool(true)},
    {"Spacing", &ty::Integer},
    {"VertMargin", &ty::Integer, dv::Int(1)},
    EventProp("OnControlCreated", ControlCreatedEvent),
    EventProp("OnGetControlClass", GetControlClassEvent),
    EventProp("OnPaint", BarPaintEvent),
};

constexpr PropInfo ActionToolBarProps[] = {
    {"HorzSeparator", &ty::Boolean, dv::Bool(true)},
    {"VertSeparator", &ty::Boolean, dv::Bool(true)},
};
constexpr Group ActionToolBarGroups[] = {TopAlignedControlProps, grp::ControlEvents,  grp::ClickEvents,
                                         grp::WinControlProps,   grp::FaceColorProps, grp::DockSiteEvents,
                                         grp::ResizeEvents,      ActionBarProps,      ActionToolBarProps};

constexpr PropInfo ActionMainMenuBarProps[] = {
    {"AnimationStyle", &AnimationStyle, dv::Int(1)},  // asDefault
    {"Color", &ty::TColor, dv::Int(clMenuBar)},      {"ExpandDelay", &ty::Integer, dv::Int(4000)},
    {"ParentColor", &ty::Boolean, dv::Bool(false)},  {"UseSystemFont", &ty::Boolean, dv::Bool(true)},
    EventProp("OnExitMenuLoop", ExitMenuEvent),      EventProp("OnPopup", ActionPopupEvent),
};
constexpr Group ActionMainMenuBarGroups[] = {TopAlignedControlProps, grp::ControlEvents,    grp::ClickEvents,
                                             grp::WinControlProps,   grp::DockSiteEvents,   grp::ResizeEvents,
                                             ActionBarProps,         ActionMainMenuBarProps};

}  // namespace

namespace cls {

// ShellCtrls
const ClassInfo TCustomShellTreeView = {"TCustomShellTreeView", &TCustomTreeView, "ShellCtrls"};
const ClassInfo TShellTreeView = {"TShellTreeView", &TCustomShellTreeView, "ShellCtrls", ShellTreeViewGroups};
const ClassInfo TCustomShellListView = {"TCustomShellListView", &TCustomListView, "ShellCtrls"};
const ClassInfo TShellListView = {"TShellListView", &TCustomShellListView, "ShellCtrls", ShellListViewGroups};
const ClassInfo TCustomShellComboBox = {"TCustomShellComboBox", &TCustomComboBoxEx, "ShellCtrls"};
const ClassInfo TShellComboBox = {"TShellComboBox", &TCustomShellComboBox, "ShellCtrls", ShellComboBoxGroups};

// MPlayer
const ClassInfo TMediaPlayer = {"TMediaPlayer", &TCustomControl, "MPlayer", MediaPlayerGroups};

// OleCtnrs
const ClassInfo TOleContainer = {"TOleContainer", &TCustomControl, "OleCtnrs", OleContainerGroups};

// DdeMan
const ClassInfo TDdeClientConv = {"TDdeClientConv", &TComponent, "DdeMan", DdeClientConvGroups};
const ClassInfo TDdeClientItem = {"TDdeClientItem", &TComponent, "DdeMan", DdeClientItemGroups};
const ClassInfo TDdeServerConv = {"TDdeServerConv", &TComponent, "DdeMan", DdeServerConvGroups};
const ClassInfo TDdeServerItem = {"TDdeServerItem", &TComponent, "DdeMan", DdeServerItemGroups};

// Chart: the panel's ancestry, the chart, and its sub-objects.
const ClassInfo TCustomTeePanel = {"TCustomTeePanel", &TCustomPanel, "TeeProcs"};
const ClassInfo TCustomTeePanelExtended = {"TCustomTeePanelExtended", &TCustomTeePanel, "TeeProcs"};
const ClassInfo TCustomAxisPanel = {"TCustomAxisPanel", &TCustomTeePanelExtended, "TeEngine"};
const ClassInfo TCustomChart = {"TCustomChart", &TCustomAxisPanel, "Chart"};
const ClassInfo TChart = {"TChart", &TCustomChart, "Chart", ChartGroups};
const ClassInfo TChartPen = {"TChartPen", &TPen, "TeCanvas", ChartPenGroups};
const ClassInfo TChartHiddenPen = {"TChartHiddenPen", &TChartPen, "TeCanvas", ChartHiddenPenGroups};
const ClassInfo TChartBrush = {"TChartBrush", &TBrush, "TeCanvas", ChartBrushGroups};
const ClassInfo TTeeGradient = {"TTeeGradient", &TPersistent, "TeCanvas", TeeGradientGroups};
const ClassInfo TTeeFont = {"TTeeFont", &TFont, "TeCanvas", TeeFontGroups};
const ClassInfo TTeeShadow = {"TTeeShadow", &TPersistent, "TeCanvas", TeeShadowGroups};
const ClassInfo TTeeMargins = {"TTeeMargins", &TPersistent, "TeCanvas", TeeMarginsGroups};
const ClassInfo TChartWall = {"TChartWall", &TPersistent, "TeEngine", ChartWallGroups};
const ClassInfo TChartTitle = {"TChartTitle", &TPersistent, "TeEngine", ChartTitleGroups};
const ClassInfo TChartAxisTitle = {"TChartAxisTitle", &TPersistent, "TeEngine", ChartAxisTitleGroups};
const ClassInfo TAxisLabelsFormat = {"TAxisLabelsFormat", &TPersistent, "TeEngine", AxisLabelsFormatGroups};
const ClassInfo TChartAxis = {"TChartAxis", &TPersistent, "TeEngine", ChartAxisGroups};
const ClassInfo TChartLegend = {"TChartLegend", &TPersistent, "TeEngine", ChartLegendGroups};
const ClassInfo TChartGradient = {"TChartGradient", &TTeeGradient, "TeeProcs"};
const ClassInfo TView3DOptions = {"TView3DOptions", &TPersistent, "TeeProcs", View3DOptionsGroups};
const ClassInfo TZoomPanning = {"TZoomPanning", &TPersistent, "TeeProcs", ZoomPanningGroups};
const ClassInfo TTeeZoom = {"TTeeZoom", &TPersistent, "TeeProcs", TeeZoomGroups};
const ClassInfo TTeeZoomPen = {"TTeeZoomPen", &TChartPen, "TeeProcs", TeeZoomPenGroups};
const ClassInfo TTeeZoomBrush = {"TTeeZoomBrush", &TChartBrush, "TeeProcs"};

// ActnMan
const ClassInfo TCustomActionManager = {"TCustomActionManager", &TCustomActionList, "ActnMan"};
const ClassInfo TActionManager = {"TActionManager", &TCustomActionManager, "ActnMan", ActionManagerGroups};
const ClassInfo TActionClient = {"TActionClient", &TCollectionItem, "ActnMan", ActionClientGroups};
const ClassInfo TActionClientItem = {"TActionClientItem", &TActionClient, "ActnMan", ActionClientItemGroups};
const ClassInfo TActionBarItem = {"TActionBarItem", &TActionClient, "ActnMan", ActionBarItemGroups};
const ClassInfo TActionClientsCollection = {
    "TActionClientsCollection", &TOwnedCollection, "ActnMan", {}, 0, &TActionClient};
const ClassInfo TActionClients = {
    "TActionClients", &TActionClientsCollection, "ActnMan", ActionClientsGroups, 0, &TActionClientItem};
const ClassInfo TActionBars = {"TActionBars",  &TActionClientsCollection, "ActnMan", ActionBarsGroups, 0,
                               &TActionBarItem};
const ClassInfo TActionListItem = {"TActionListItem", &TCollectionItem, "ActnMan", ActionListItemGroups};
const ClassInfo TActionListCollection = {"TActionListCollection", &TOwnedCollection, "ActnMan", {}, 0,
                                         &TActionListItem};
const ClassInfo TCustomActionBarColorMap = {"TCustomActionBarColorMap", &TComponent, "ActnMan",
                                            ColorMapGroups};
const ClassInfo TCustomActionBar = {"TCustomActionBar", &TToolWindow, "ActnMan"};
const ClassInfo TCustomActionDockBar = {"TCustomActionDockBar", &TCustomActionBar, "ActnMan"};

// ActnMenus
const ClassInfo TCustomActionMenuBar = {"TCustomActionMenuBar", &TCustomActionDockBar, "ActnMenus"};
const ClassInfo TCustomActionMainMenuBar = {"TCustomActionMainMenuBar", &TCustomActionMenuBar, "ActnMenus"};
const ClassInfo TActionMainMenuBar = {"TActionMainMenuBar", &TCustomActionMainMenuBar, "ActnMenus",
                                      ActionMainMenuBarGroups};

// ActnCtrls
const ClassInfo TCustomActionToolBar = {"TCustomActionToolBar", &TCustomActionDockBar, "ActnCtrls"};
const ClassInfo TActionToolBar = {"TActionToolBar", &TCustomActionToolBar, "ActnCtrls", ActionToolBarGroups};

}  // namespace cls

}  // namespace fw::rt
