// The data-aware controls: DBGrids (the grid and its columns), DBCtrls (navigator,
// text, edit, memo, image, lists, check box, radio group, lookup controls, rich
// edit), DBCGrids (the control grid), dblookup (the old lookup list and combo) and
// DbChart. Published properties and initial values as in the 10.x and 11 generations of the component
// library, the same generation as the standard controls these derive from.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "builtin.h"
#include "family_comctrls.h"
#include "family_core.h"
#include "family_db.h"
#include "metadata.h"

namespace fw::rt {

namespace cls {
extern const ClassInfo TDBGridColumns, TCustomDBGrid, TDBLookupControl, TCustomDBChart;
}  // namespace cls

namespace {

using def::EnumType;
using def::EventProp;
using def::MethodType;
using def::OwnedProp;
using def::RefProp;
using def::SetType;
using Group = std::span<const PropInfo>;

constexpr std::string_view ColumnButtonStyleNames[] = {"cbsAuto", "cbsEllipsis", "cbsNone"};
constexpr std::string_view DBGridOptionNames[] = {
    "dgEditing",       "dgAlwaysShowEditor", "dgTitles",      "dgIndicator",  "dgColumnResize",
    "dgColLines",      "dgRowLines",         "dgTabs",        "dgRowSelect",  "dgAlwaysShowSelection",
    "dgConfirmDelete", "dgCancelOnExit",     "dgMultiSelect", "dgTitleClick", "dgTitleHotTrack",
};
constexpr std::string_view NavigateBtnNames[] = {
    "nbFirst", "nbPrior", "nbNext",   "nbLast",    "nbInsert",       "nbDelete",
    "nbEdit",  "nbPost",  "nbCancel", "nbRefresh", "nbApplyUpdates", "nbCancelUpdates"};
constexpr std::string_view NavigatorKindNames[] = {"dbnHorizontal", "dbnVertical"};
constexpr std::string_view CtrlGridOrientationNames[] = {"goVertical", "goHorizontal"};
constexpr std::string_view CtrlGridBorderNames[] = {"gbNone", "gbRaised"};
constexpr std::string_view LookupListOptionNames[] = {"loColLines", "loRowLines", "loTitles"};
constexpr std::string_view LookupComboStyleNames[] = {"csDropDown", "csDropDownList"};

constexpr TypeInfo ColumnButtonStyle = EnumType("TColumnButtonStyle", ColumnButtonStyleNames);
constexpr TypeInfo DBGridOption = EnumType("TDBGridOption", DBGridOptionNames);
constexpr TypeInfo DBGridOptions = SetType("TDBGridOptions", DBGridOption);
constexpr TypeInfo NavigateBtn = EnumType("TNavigateBtn", NavigateBtnNames);
constexpr TypeInfo NavButtonSet = SetType("TNavButtonSet", NavigateBtn);
constexpr TypeInfo NavigatorKind = EnumType("TDBNavigatorKind", NavigatorKindNames);
constexpr TypeInfo CtrlGridOrientation = EnumType("TDBCtrlGridOrientation", CtrlGridOrientationNames);
constexpr TypeInfo CtrlGridBorder = EnumType("TDBCtrlGridBorder", CtrlGridBorderNames);
constexpr TypeInfo LookupListOption = EnumType("TDBLookupListOption", LookupListOptionNames);
constexpr TypeInfo LookupListOptions = SetType("TDBLookupListOptions", LookupListOption);
constexpr TypeInfo LookupComboStyle = EnumType("TDBLookupComboStyle", LookupComboStyleNames);

constexpr TypeInfo ColumnTitleType = def::ClassType("TColumnTitle", cls::TColumnTitle);
constexpr TypeInfo DBGridColumnsType = def::ClassType("TDBGridColumns", cls::TDBGridColumns);

// Events of the data-aware controls.
constexpr TypeInfo DBGridClickEvent = MethodType("TDBGridClickEvent");
constexpr TypeInfo DrawColumnCellEvent = MethodType("TDrawColumnCellEvent");
constexpr TypeInfo DrawDataCellEvent = MethodType("TDrawDataCellEvent");
constexpr TypeInfo MovedEvent = MethodType("TMovedEvent");
constexpr TypeInfo NavClick = MethodType("ENavClick");
constexpr TypeInfo PaintPanelEvent = MethodType("TPaintPanelEvent");
constexpr TypeInfo ProcessRecordEvent = MethodType("TProcessRecordEvent");

// The link every single-field control publishes.
constexpr PropInfo DataLinkProps[] = {
    {"DataField", &ty::String, dv::Str("")},
    RefProp("DataSource", ty::TDataSource),
};

// DBGrids ---------------------------------------------------------------------------

// A column's title and most of the column's own values follow the grid and the field
// until they are set, and are written only then; they have no fixed initial value.
constexpr PropInfo ColumnTitleProps[] = {
    {"Alignment", &ty::TAlignment},
    {"Caption", &ty::String},
    {"Color", &ty::TColor},
    OwnedProp("Font", ty::TFont),
};
constexpr Group ColumnTitleGroups[] = {ColumnTitleProps};

constexpr PropInfo ColumnProps[] = {
    {"Alignment", &ty::TAlignment},
    {"ButtonStyle", &ColumnButtonStyle, dv::Int(0)},
    // Colour, visibility and width follow the column's field; without one a column
    // starts in the grid's window colour, shown, 64 pixels wide.
    {"Color", &ty::TColor, dv::Int(val::clWindow)},
    {"DropDownRows", &ty::Cardinal, dv::Int(7)},
    {"Expanded", &ty::Boolean, dv::Bool(true)},
    {"FieldName", &ty::String, dv::Str("")},
    OwnedProp("Font", ty::TFont),
    {"ImeMode", &ty::TImeMode},
    {"ImeName", &ty::TImeName},
    OwnedProp("PickList", ty::TStrings),
    RefProp("PopupMenu", ty::TPopupMenu),
    {"ReadOnly", &ty::Boolean},
    OwnedProp("Title", ColumnTitleType),
    {"Visible", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(64)},
};
constexpr Group ColumnGroups[] = {ColumnProps};

// dgEditing, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs,
// dgConfirmDelete, dgCancelOnExit, dgTitleClick, dgTitleHotTrack.
constexpr DefaultValue DBGridDefaultOptions = dv::Set({0, 2, 3, 4, 5, 6, 7, 10, 11, 13, 14});

constexpr PropInfo DBGridProps[] = {
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},  // bsSingle
    OwnedProp("Columns", DBGridColumnsType),
    RefProp("DataSource", ty::TDataSource),
    {"DefaultDrawing", &ty::Boolean, dv::Bool(true)},
    {"DrawingStyle", &ty::TGridDrawingStyle, dv::Int(1)},  // gdsThemed
    {"FixedColor", &ty::TColor, dv::Int(val::clBtnFace)},
    {"GradientEndColor", &ty::TColor},
    {"GradientStartColor", &ty::TColor},
    {"Height", &ty::Integer, dv::Int(120)},
    {"Options", &DBGridOptions, DBGridDefaultOptions},
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    OwnedProp("TitleFont", ty::TFont),
    {"Width", &ty::Integer, dv::Int(320)},
    EventProp("OnCellClick", DBGridClickEvent),
    EventProp("OnColEnter", ty::TNotifyEvent),
    EventProp("OnColExit", ty::TNotifyEvent),
    EventProp("OnColumnMoved", MovedEvent),
    EventProp("OnDblClick", ty::TNotifyEvent),
    EventProp("OnDrawColumnCell", DrawColumnCellEvent),
    EventProp("OnDrawDataCell", DrawDataCellEvent),
    EventProp("OnEditButtonClick", ty::TNotifyEvent),
    EventProp("OnTitleClick", DBGridClickEvent),
};
// The grid has no OnClick: clicks come as OnCellClick and OnTitleClick.
constexpr Group DBGridGroups[] = {grp::ControlProps,     grp::ControlEvents,    grp::WinControlProps,
                                  grp::FocusEvents,      grp::Ctl3DProps,       grp::ImeProps,
                                  grp::WindowColorProps, grp::MouseWheelEvents, DBGridProps};

// DBCtrls ---------------------------------------------------------------------------

// The navigator publishes a narrower set than most controls: no font, no bidi mode.
constexpr PropInfo DBNavigatorProps[] = {
    {"Align", &ty::TAlign, dv::Int(0)},
    {"Anchors", &ty::TAnchors, dv::Set({0, 1})},
    {"ConfirmDelete", &ty::Boolean, dv::Bool(true)},
    OwnedProp("Constraints", ty::TSizeConstraints),
    RefProp("DataSource", ty::TDataSource),
    {"DragCursor", &ty::TCursor, dv::Int(val::crDrag)},
    {"DragKind", &ty::TDragKind, dv::Int(0)},
    {"DragMode", &ty::TDragMode, dv::Int(0)},
    {"Enabled", &ty::Boolean, dv::Bool(true)},
    {"Flat", &ty::Boolean, dv::Bool(false)},
    {"Height", &ty::Integer, dv::Int(25)},
    OwnedProp("Hints", ty::TStrings),
    {"Kind", &NavigatorKind, dv::Int(0)},
    {"ParentShowHint", &ty::Boolean, dv::Bool(true)},
    RefProp("PopupMenu", ty::TPopupMenu),
    {"ShowHint", &ty::Boolean, dv::Bool(false)},
    {"TabStop", &ty::Boolean, dv::Bool(false)},
    {"Visible", &ty::Boolean, dv::Bool(true)},
    {"VisibleButtons", &NavButtonSet, dv::Set({0, 1, 2, 3, 4, 5, 6, 7, 8, 9})},  // nbFirst .. nbRefresh
    {"Width", &ty::Integer, dv::Int(240)},
    EventProp("BeforeAction", NavClick),
    EventProp("OnClick", NavClick),
    EventProp("OnDblClick", ty::TNotifyEvent),
    EventProp("OnEnter", ty::TNotifyEvent),
    EventProp("OnExit", ty::TNotifyEvent),
    EventProp("OnResize", ty::TNotifyEvent),
};
constexpr Group DBNavigatorGroups[] = {grp::ControlEvents, grp::WinControlProps, grp::Ctl3DProps,
                                       DBNavigatorProps};

constexpr PropInfo DBTextProps[] = {
    {"Alignment", &ty::TAlignment, dv::Int(0)}, {"AutoSize", &ty::Boolean, dv::Bool(false)},
    {"Height", &ty::Integer, dv::Int(17)},      {"Transparent", &ty::Boolean, dv::Bool(false)},
    {"Width", &ty::Integer, dv::Int(65)},       {"WordWrap", &ty::Boolean, dv::Bool(false)},
};
constexpr Group DBTextGroups[] = {grp::ControlProps,     grp::ControlEvents, grp::ClickEvents,
                                  grp::ParentColorProps, DataLinkProps,      DBTextProps};

// What the edit-like controls (edit, memo, rich edit, list and combo boxes, lookup
// controls) take from the shared groups; each adds its own list with With().
constexpr std::array<Group, 9> EditLikeGroups = {
    grp::ControlProps, grp::ControlEvents, grp::ClickEvents, grp::FocusEvents,     grp::WinControlProps,
    grp::Ctl3DProps,   grp::WinBevelProps, grp::ImeProps,    grp::WindowColorProps};

template <std::size_t N, typename... Lists>
constexpr std::array<Group, N + sizeof...(Lists)> With(const std::array<Group, N>& base,
                                                       const Lists&... lists) {
    std::array<Group, N + sizeof...(Lists)> out{};
    std::size_t i = 0;
    for (; i < N; ++i)
        out[i] = base[i];
    ((out[i++] = Group(lists)), ...);
    return out;
}

constexpr PropInfo DBEditProps[] = {
    {"Alignment", &ty::TAlignment, dv::Int(0)},   {"AutoSelect", &ty::Boolean, dv::Bool(true)},
    {"AutoSize", &ty::Boolean, dv::Bool(true)},   {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},
    {"CharCase", &ty::TEditCharCase, dv::Int(0)}, {"Height", &ty::Integer, dv::Int(21)},
    {"MaxLength", &ty::Integer, dv::Int(0)},      {"PasswordChar", &ty::Char, dv::Int(0)},
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},  {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(121)},        EventProp("OnChange", ty::TNotifyEvent),
};
constexpr auto DBEditGroups = With(EditLikeGroups, DataLinkProps, DBEditProps);

constexpr PropInfo DBMemoProps[] = {
    {"Alignment", &ty::TAlignment, dv::Int(0)},     {"AutoDisplay", &ty::Boolean, dv::Bool(true)},
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)}, {"Height", &ty::Integer, dv::Int(89)},
    {"MaxLength", &ty::Integer, dv::Int(0)},        {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"ScrollBars", &ty::TScrollStyle, dv::Int(0)},  {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"WantReturns", &ty::Boolean, dv::Bool(true)},  {"WantTabs", &ty::Boolean, dv::Bool(false)},
    {"Width", &ty::Integer, dv::Int(185)},          {"WordWrap", &ty::Boolean, dv::Bool(true)},
    EventProp("OnChange", ty::TNotifyEvent),
};
constexpr auto DBMemoGroups = With(EditLikeGroups, DataLinkProps, DBMemoProps);

constexpr PropInfo DBImageProps[] = {
    {"AutoDisplay", &ty::Boolean, dv::Bool(true)},   {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},
    {"Center", &ty::Boolean, dv::Bool(true)},        {"Height", &ty::Integer, dv::Int(105)},
    {"Proportional", &ty::Boolean, dv::Bool(false)}, {"QuickDraw", &ty::Boolean, dv::Bool(true)},
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},     {"Stretch", &ty::Boolean, dv::Bool(false)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},       {"Width", &ty::Integer, dv::Int(105)},
};
constexpr Group DBImageGroups[] = {grp::ControlProps,     grp::ControlEvents,   grp::ClickEvents,
                                   grp::FocusEvents,      grp::WinControlProps, grp::Ctl3DProps,
                                   grp::WindowColorProps, DataLinkProps,        DBImageProps};

constexpr PropInfo DBListBoxProps[] = {
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},
    {"Height", &ty::Integer, dv::Int(97)},
    {"IntegralHeight", &ty::Boolean, dv::Bool(false)},
    {"ItemHeight", &ty::Integer, dv::Int(16)},
    OwnedProp("Items", ty::TStrings),
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"Style", &ty::TListBoxStyle, dv::Int(0)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(121)},
    EventProp("OnDrawItem", ty::TDrawItemEvent),
    EventProp("OnMeasureItem", ty::TMeasureItemEvent),
};
constexpr auto DBListBoxGroups = With(EditLikeGroups, DataLinkProps, DBListBoxProps);

constexpr PropInfo DBComboBoxProps[] = {
    {"AutoComplete", &ty::Boolean, dv::Bool(true)},
    {"AutoDropDown", &ty::Boolean, dv::Bool(false)},
    {"CharCase", &ty::TEditCharCase, dv::Int(0)},
    {"DropDownCount", &ty::Integer, dv::Int(8)},
    {"Height", &ty::Integer, dv::Int(21)},
    {"ItemHeight", &ty::Integer, dv::Int(16)},
    OwnedProp("Items", ty::TStrings),
    {"MaxLength", &ty::Integer, dv::Int(0)},
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"Sorted", &ty::Boolean, dv::Bool(false)},
    {"Style", &ty::TComboBoxStyle, dv::Int(0)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(145)},
    EventProp("OnChange", ty::TNotifyEvent),
    EventProp("OnCloseUp", ty::TNotifyEvent),
    EventProp("OnDrawItem", ty::TDrawItemEvent),
    EventProp("OnDropDown", ty::TNotifyEvent),
    EventProp("OnMeasureItem", ty::TMeasureItemEvent),
    EventProp("OnSelect", ty::TNotifyEvent),
};
constexpr auto DBComboBoxGroups = With(EditLikeGroups, DataLinkProps, DBComboBoxProps);

// The check box stores the field values it stands for as text; a new one maps True
// and False.
constexpr PropInfo DBCheckBoxProps[] = {
    RefProp("Action", ty::TBasicAction),
    {"Alignment", &ty::TLeftRight, dv::Int(1)},  // taRightJustify
    {"AllowGrayed", &ty::Boolean, dv::Bool(false)},
    {"Caption", &ty::TCaption, dv::Str("")},
    {"Height", &ty::Integer, dv::Int(17)},
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"ValueChecked", &ty::String, dv::Str("True")},
    {"ValueUnchecked", &ty::String, dv::Str("False")},
    {"Width", &ty::Integer, dv::Int(97)},
    {"WordWrap", &ty::Boolean, dv::Bool(false)},
};
constexpr Group DBCheckBoxGroups[] = {grp::ControlProps,     grp::ControlEvents,   grp::ClickEvents,
                                      grp::FocusEvents,      grp::WinControlProps, grp::Ctl3DProps,
                                      grp::ParentColorProps, DataLinkProps,        DBCheckBoxProps};

constexpr PropInfo DBRadioGroupProps[] = {
    {"Caption", &ty::TCaption, dv::Str("")},
    {"Columns", &ty::Integer, dv::Int(1)},
    {"Height", &ty::Integer, dv::Int(105)},
    OwnedProp("Items", ty::TStrings),
    {"ParentBackground", &ty::Boolean, dv::Bool(true)},
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"TabStop", &ty::Boolean, dv::Bool(false)},
    OwnedProp("Values", ty::TStrings),
    {"Width", &ty::Integer, dv::Int(185)},
    EventProp("OnChange", ty::TNotifyEvent),
};
constexpr Group DBRadioGroupGroups[] = {grp::ControlProps,     grp::ControlEvents,   grp::ClickEvents,
                                        grp::FocusEvents,      grp::WinControlProps, grp::Ctl3DProps,
                                        grp::ParentColorProps, DataLinkProps,        DBRadioGroupProps};

// The lookup list and combo show ListField of the records of ListSource and store the
// KeyField of the chosen one in DataField.
constexpr PropInfo DBLookupProps[] = {
    {"KeyField", &ty::String, dv::Str("")},       {"ListField", &ty::String, dv::Str("")},
    {"ListFieldIndex", &ty::Integer, dv::Int(0)}, RefProp("ListSource", ty::TDataSource),
    {"NullValueKey", &ty::TShortCut, dv::Int(0)}, {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
};

constexpr PropInfo DBLookupListBoxProps[] = {
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},
    {"RowCount", &ty::Integer},
    {"Width", &ty::Integer, dv::Int(121)},
};
constexpr auto DBLookupListBoxGroups =
    With(EditLikeGroups, DataLinkProps, DBLookupProps, DBLookupListBoxProps);

constexpr PropInfo DBLookupComboBoxProps[] = {
    {"DropDownAlign", &ty::TAlignment, dv::Int(0)}, {"DropDownRows", &ty::Integer, dv::Int(7)},
    {"DropDownWidth", &ty::Integer, dv::Int(0)},    {"Height", &ty::Integer, dv::Int(21)},
    {"Width", &ty::Integer, dv::Int(145)},          EventProp("OnCloseUp", ty::TNotifyEvent),
    EventProp("OnDropDown", ty::TNotifyEvent),
};
constexpr auto DBLookupComboBoxGroups =
    With(EditLikeGroups, DataLinkProps, DBLookupProps, DBLookupComboBoxProps);

constexpr PropInfo DBRichEditProps[] = {
    {"Alignment", &ty::TAlignment, dv::Int(0)},
    {"AutoDisplay", &ty::Boolean, dv::Bool(true)},
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},
    {"BorderWidth", &ty::TBorderWidth, dv::Int(0)},
    {"Height", &ty::Integer, dv::Int(89)},
    {"HideScrollBars", &ty::Boolean, dv::Bool(true)},
    {"HideSelection", &ty::Boolean, dv::Bool(true)},
    {"MaxLength", &ty::Integer, dv::Int(0)},
    {"PlainText", &ty::Boolean, dv::Bool(false)},
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"ScrollBars", &ty::TScrollStyle, dv::Int(0)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"WantReturns", &ty::Boolean, dv::Bool(true)},
    {"WantTabs", &ty::Boolean, dv::Bool(false)},
    {"Width", &ty::Integer, dv::Int(185)},
    {"WordWrap", &ty::Boolean, dv::Bool(true)},
    EventProp("OnChange", ty::TNotifyEvent),
    EventProp("OnProtectChange", ty::TRichEditProtectChange),
    EventProp("OnResizeRequest", ty::TRichEditResizeEvent),
    EventProp("OnSaveClipboard", ty::TRichEditSaveClipboard),
    EventProp("OnSelectionChange", ty::TNotifyEvent),
};
constexpr auto DBRichEditGroups = With(EditLikeGroups, DataLinkProps, DBRichEditProps);

// DBCGrids --------------------------------------------------------------------------

// The panels' size is worked out from the grid's when it is placed, so PanelHeight
// and PanelWidth have no fixed initial value; the grid writes them.
constexpr PropInfo DBCtrlGridProps[] = {
    {"AllowDelete", &ty::Boolean, dv::Bool(true)},
    {"AllowInsert", &ty::Boolean, dv::Bool(true)},
    {"ColCount", &ty::Integer, dv::Int(1)},
    RefProp("DataSource", ty::TDataSource),
    {"Orientation", &CtrlGridOrientation, dv::Int(0)},
    {"PanelBorder", &CtrlGridBorder, dv::Int(1)},  // gbRaised
    {"PanelHeight", &ty::Integer},
    {"PanelWidth", &ty::Integer},
    {"RowCount", &ty::Integer, dv::Int(3)},
    {"SelectedColor", &ty::TColor},
    {"ShowFocus", &ty::Boolean, dv::Bool(true)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    EventProp("OnPaintPanel", PaintPanelEvent),
};
constexpr Group DBCtrlGridGroups[] = {grp::ControlProps,   grp::ControlEvents,   grp::ClickEvents,
                                      grp::FocusEvents,    grp::WinControlProps, grp::Ctl3DProps,
                                      grp::FaceColorProps, DBCtrlGridProps};

// dblookup --------------------------------------------------------------------------

constexpr PropInfo OldLookupProps[] = {
    {"LookupDisplay", &ty::String, dv::Str("")}, {"LookupField", &ty::String, dv::Str("")},
    RefProp("LookupSource", ty::TDataSource),    {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
};

constexpr PropInfo DBLookupComboProps[] = {
    {"AutoSelect", &ty::Boolean, dv::Bool(true)}, {"DropDownCount", &ty::Integer, dv::Int(8)},
    {"DropDownWidth", &ty::Integer, dv::Int(0)},  {"Options", &LookupListOptions, dv::Set({})},
    {"Style", &LookupComboStyle, dv::Int(0)},     EventProp("OnChange", ty::TNotifyEvent),
    EventProp("OnDropDown", ty::TNotifyEvent),
};
constexpr Group DBLookupComboGroups[] = {
    grp::ControlProps, grp::ControlEvents,    grp::ClickEvents, grp::FocusEvents, grp::WinControlProps,
    grp::Ctl3DProps,   grp::WindowColorProps, DataLinkProps,    OldLookupProps,   DBLookupComboProps};

constexpr PropInfo DBLookupListProps[] = {
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},
    {"Options", &LookupListOptions, dv::Set({})},
};
constexpr Group DBLookupListGroups[] = {grp::ControlProps, grp::ControlEvents,    grp::ClickEvents,
                                        grp::FocusEvents,  grp::WinControlProps,  grp::Ctl3DProps,
                                        grp::ImeProps,     grp::WindowColorProps, DataLinkProps,
                                        OldLookupProps,    DBLookupListProps};

// DbChart ---------------------------------------------------------------------------

// A chart fed from datasets: the series name their data sources, the chart refreshes
// itself when the data changes and, with RefreshInterval, on a timer.
constexpr PropInfo DBChartProps[] = {
    {"AutoRefresh", &ty::Boolean, dv::Bool(true)}, {"Height", &ty::Integer, dv::Int(250)},
    {"RefreshInterval", &ty::Integer, dv::Int(0)}, {"ShowGlassCursor", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(400)},         EventProp("OnEnter", ty::TNotifyEvent),
    EventProp("OnExit", ty::TNotifyEvent),         EventProp("OnProcessRecord", ProcessRecordEvent),
    EventProp("OnResize", ty::TNotifyEvent),       EventProp("OnScroll", ty::TNotifyEvent),
};
// What a plain chart publishes, and the data link's own settings.
constexpr Group DBChartGroups[] = {grp::ControlProps,    grp::ControlEvents,   grp::ClickEvents,
                                   grp::WinControlProps, grp::ChartPanelProps, grp::ChartProps,
                                   grp::ChartEvents,     DBChartProps};

}  // namespace

namespace cls {
// DBGrids
const ClassInfo TColumnTitle = {"TColumnTitle", &TPersistent, "DBGrids", ColumnTitleGroups};
const ClassInfo TColumn = {"TColumn", &TCollectionItem, "DBGrids", ColumnGroups};
const ClassInfo TDBGridColumns = {"TDBGridColumns", &TCollection, "DBGrids", {}, 0, &TColumn};
const ClassInfo TCustomDBGrid = {"TCustomDBGrid", &TCustomGrid, "DBGrids"};
const ClassInfo TDBGrid = {"TDBGrid", &TCustomDBGrid, "DBGrids", DBGridGroups};

// DBCtrls
const ClassInfo TDBNavigator = {"TDBNavigator", &TCustomPanel, "DBCtrls", DBNavigatorGroups};
const ClassInfo TDBText = {"TDBText", &TCustomLabel, "DBCtrls", DBTextGroups};
const ClassInfo TDBEdit = {"TDBEdit", &TCustomMaskEdit, "DBCtrls", DBEditGroups};
const ClassInfo TDBMemo = {"TDBMemo", &TCustomMemo, "DBCtrls", DBMemoGroups};
const ClassInfo TDBImage = {"TDBImage", &TCustomControl, "DBCtrls", DBImageGroups};
const ClassInfo TDBListBox = {"TDBListBox", &TCustomListBox, "DBCtrls", DBListBoxGroups};
const ClassInfo TDBComboBox = {"TDBComboBox", &TCustomComboBox, "DBCtrls", DBComboBoxGroups};
const ClassInfo TDBCheckBox = {"TDBCheckBox", &TCustomCheckBox, "DBCtrls", DBCheckBoxGroups};
const ClassInfo TDBRadioGroup = {"TDBRadioGroup", &TCustomRadioGroup, "DBCtrls", DBRadioGroupGroups};
const ClassInfo TDBLookupControl = {"TDBLookupControl", &TCustomControl, "DBCtrls"};
const ClassInfo TDBLookupListBox = {"TDBLookupListBox", &TDBLookupControl, "DBCtrls", DBLookupListBoxGroups};
const ClassInfo TDBLookupComboBox = {"TDBLookupComboBox", &TDBLookupControl, "DBCtrls",
                                     DBLookupComboBoxGroups};
const ClassInfo TDBRichEdit = {"TDBRichEdit", &TCustomRichEdit, "DBCtrls", DBRichEditGroups};

// DBCGrids
const ClassInfo TDBCtrlGrid = {"TDBCtrlGrid", &TWinControl, "DBCGrids", DBCtrlGridGroups};

// dblookup: the old lookup controls, an edit with a drop-down grid and a grid.
const ClassInfo TDBLookupCombo = {"TDBLookupCombo", &TCustomEdit, "dblookup", DBLookupComboGroups};
const ClassInfo TDBLookupList = {"TDBLookupList", &TCustomDBGrid, "dblookup", DBLookupListGroups};

// DbChart
const ClassInfo TCustomDBChart = {"TCustomDBChart", &TCustomChart, "DbChart"};
const ClassInfo TDBChart = {"TDBChart", &TCustomDBChart, "DbChart", DBChartGroups};
}  // namespace cls

}  // namespace fw::rt
