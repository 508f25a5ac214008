// The class tables of ExtCtrls: panels, radio groups, images, shapes, bevels,
// splitters, control bars, colour boxes, labeled edits, notebooks, timers, paint boxes
// and the old THeader.
//
// Properties and initial values follow the 10.x generation of the component library.

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
using def::SetType;

namespace cls {
extern const ClassInfo TBoundLabel, TCustomLabeledEdit, TCustomColorBox, TCustomControlBar;
extern const ClassInfo TCellItem, TColumnItem, TRowItem, TColumnCollection, TRowCollection, TControlItem,
    TControlCollection, TCustomFlowPanel, TCustomGridPanel, TStackPanelControlItem,
    TStackPanelControlCollection, TCustomStackPanel, TRelativePanelControlItem,
    TRelativePanelControlCollection, TCustomRelativePanel;
}  // namespace cls

namespace {

// Where a control sits and how it is dragged, for the graphic controls that have no
// font: Align, Anchors, Constraints, the drag properties, Enabled, the hint switches,
// PopupMenu, Touch and Visible.
constexpr PropInfo PlacementProps[] = {
    {"Align", &ty::TAlign, dv::Int(0)},
    {"Anchors", &ty::TAnchors, dv::Set({0, 1})},
    OwnedProp("Constraints", ty::TSizeConstraints),
    {"DragCursor", &ty::TCursor, dv::Int(crDrag)},
    {"DragKind", &ty::TDragKind, dv::Int(0)},
    {"DragMode", &ty::TDragMode, dv::Int(0)},
    {"Enabled", &ty::Boolean, dv::Bool(true)},
    {"ParentShowHint", &ty::Boolean, dv::Bool(true)},
    RefProp("PopupMenu", ty::TPopupMenu),
    {"ShowHint", &ty::Boolean, dv::Bool(false)},
    OwnedProp("Touch", ty::TTouchManager),
    {"Visible", &ty::Boolean, dv::Bool(true)},
};

// ---------------------------------------------------------------------------------
// Panels and radio groups

// A panel's own bevels start as a single raised edge, not TWinControl's pair.
constexpr PropInfo PanelProps[] = {
    {"Alignment", &ty::TAlignment, dv::Int(2)},  // taCenter
    {"AutoSize", &ty::Boolean, dv::Bool(false)},
    {"BevelEdges", &ty::TBevelEdges, dv::Set({0, 1, 2, 3})},
    {"BevelInner", &ty::TBevelCut, dv::Int(0)},  // bvNone
    {"BevelKind", &ty::TBevelKind, dv::Int(0)},
    {"BevelOuter", &ty::TBevelCut, dv::Int(2)},  // bvRaised
    {"BevelWidth", &ty::TBevelWidth, dv::Int(1)},
    {"BorderStyle", &ty::TBorderStyle, dv::Int(0)},
    {"BorderWidth", &ty::TBorderWidth, dv::Int(0)},
    {"Caption", &ty::TCaption, dv::Str("")},
    {"FullRepaint", &ty::Boolean, dv::Bool(true)},
    {"Height", &ty::Integer, dv::Int(41)},
    {"Locked", &ty::Boolean, dv::Bool(false)},
    {"ParentBackground", &ty::Boolean, dv::Bool(true)},
    {"ShowCaption", &ty::Boolean, dv::Bool(true)},
    {"TabStop", &ty::Boolean, dv::Bool(false)},
    {"UseDockManager", &ty::Boolean, dv::Bool(true)},
    {"VerticalAlignment", &ty::TVerticalAlignment, dv::Int(2)},  // taVerticalCenter
    {"Width", &ty::Integer, dv::Int(185)},
};
constexpr std::span<const PropInfo> PanelGroups[] = {
    grp::ControlProps, grp::ControlEvents,  grp::ClickEvents,   grp::WinControlProps, grp::FocusEvents,
    grp::Ctl3DProps,   grp::FaceColorProps, grp::DockSiteProps, grp::DockSiteEvents,  grp::ResizeEvents,
    grp::PaddingProps, grp::AlignEvents,    PanelProps,
};

// Arranging panels. A flow panel places its children one after another and wraps;
// a grid panel puts each child in the cell its ControlCollection item names, with the
// column and row sizes from its ColumnCollection and RowCollection; a stack panel
// stacks them with a spacing. Their collections are written in the form.
constexpr std::string_view FlowStyleNames[] = {
    "fsLeftRightTopBottom", "fsRightLeftTopBottom", "fsLeftRightBottomTop", "fsRightLeftBottomTop",
    "fsTopBottomLeftRight", "fsBottomTopLeftRight", "fsTopBottomRightLeft", "fsBottomTopRightLeft"};
constexpr TypeInfo FlowStyleType = EnumType("TFlowStyle", FlowStyleNames);
constexpr PropInfo FlowPanelProps[] = {
    {"AutoWrap", &ty::Boolean, dv::Bool(true)},
    {"FlowStyle", &FlowStyleType, dv::Int(0)},
};
constexpr std::span<const PropInfo> FlowPanelGroups[] = {
    grp::ControlProps, grp::ControlEvents,  grp::ClickEvents,   grp::WinControlProps, grp::FocusEvents,
    grp::Ctl3DProps,   grp::FaceColorProps, grp::DockSiteProps, grp::DockSiteEvents,  grp::ResizeEvents,
    grp::PaddingProps, grp::AlignEvents,    PanelProps,         FlowPanelProps,
};

constexpr std::string_view SizeStyleNames[] = {"ssAbsolute", "ssPercent", "ssAuto"};
constexpr TypeInfo SizeStyleType = EnumType("TSizeStyle", SizeStyleNames);
constexpr std::string_view ExpandStyleNames[] = {"emAddRows", "emAddColumns", "emFixedSize"};
constexpr TypeInfo ExpandStyleType = EnumType("TExpandStyle", ExpandStyleNames);
// A column or row of a grid panel: an absolute size in pixels, a percentage of what the
// absolute and automatic ones leave, or the size of its widest/tallest control.
constexpr PropInfo CellItemProps[] = {
    {"SizeStyle", &SizeStyleType, dv::Int(1)},  // ssPercent
    {"Value", &ty::Double, dv::Real(0)},
};
constexpr std::span<const PropInfo> CellItemGroups[] = {CellItemProps};
constexpr PropInfo GridControlItemProps[] = {
    {"Column", &ty::Integer, dv::Int(-1)}, {"ColumnSpan", &ty::Integer, dv::Int(1)},
    RefProp("Control", ty::TControl),      {"Row", &ty::Integer, dv::Int(-1)},
    {"RowSpan", &ty::Integer, dv::Int(1)},
};
constexpr std::span<const PropInfo> GridControlItemGroups[] = {GridControlItemProps};
constexpr TypeInfo ColumnCollectionType = def::ClassType("TColumnCollection", cls::TColumnCollection);
constexpr TypeInfo RowCollectionType = def::ClassType("TRowCollection", cls::TRowCollection);
constexpr TypeInfo ControlCollectionType = def::ClassType("TControlCollection", cls::TControlCollection);
constexpr PropInfo GridPanelProps[] = {
    OwnedProp("ColumnCollection", ColumnCollectionType),
    OwnedProp("ControlCollection", ControlCollectionType),
    {"ExpandStyle", &ExpandStyleType, dv::Int(0)},
    OwnedProp("RowCollection", RowCollectionType),
};
constexpr std::span<const PropInfo> GridPanelGroups[] = {
    grp::ControlProps, grp::ControlEvents,  grp::ClickEvents,   grp::WinControlProps, grp::FocusEvents,
    grp::Ctl3DProps,   grp::FaceColorProps, grp::DockSiteProps, grp::DockSiteEvents,  grp::ResizeEvents,
    grp::PaddingProps, grp::AlignEvents,    PanelProps,         GridPanelProps,
};

constexpr std::string_view StackOrientationNames[] = {"spoVertical", "spoHorizontal"};
constexpr TypeInfo StackOrientationType = EnumType("TStackPanelOrientation", StackOrientationNames);
// The panel's own positioning; an item may say sphpDefault / spvpDefault to take it.
constexpr std::string_view StackHorizontalNames[] = {"sphpLeft", "sphpCenter", "sphpRight", "sphpFill",
                                                     "sphpDefault"};
constexpr TypeInfo StackHorizontalType =
    EnumType("TStackPanelControlHorizontalPositioning", StackHorizontalNames);
constexpr std::string_view StackVerticalNames[] = {"spvpTop", "spvpCenter", "spvpBottom", "spvpFill",
                                                   "spvpDefault"};
constexpr TypeInfo StackVerticalType = EnumType("TStackPanelControlVerticalPositioning", StackVerticalNames);
constexpr PropInfo StackControlItemProps[] = {
    RefProp("Control", ty::TControl),
    {"HorizontalPositioning", &StackHorizontalType, dv::Int(4)},  // sphpDefault
    {"VerticalPositioning", &StackVerticalType, dv::Int(4)},      // spvpDefault
};
constexpr std::span<const PropInfo> StackControlItemGroups[] = {StackControlItemProps};
constexpr TypeInfo StackControlCollectionType =
    def::ClassType("TStackPanelControlCollection", cls::TStackPanelControlCollection);
constexpr PropInfo StackPanelProps[] = {
    OwnedProp("ControlCollection", StackControlCollectionType),
    {"HorizontalPositioning", &StackHorizontalType, dv::Int(0)},  // sphpLeft
    {"Orientation", &StackOrientationType, dv::Int(0)},           // spoVertical
    {"Spacing", &ty::Integer, dv::Int(2)},
    {"VerticalPositioning", &StackVerticalType, dv::Int(0)},  // spvpTop
};
constexpr std::span<const PropInfo> StackPanelGroups[] = {
    grp::ControlProps, grp::ControlEvents,  grp::ClickEvents,   grp::WinControlProps, grp::FocusEvents,
    grp::Ctl3DProps,   grp::FaceColorProps, grp::DockSiteProps, grp::DockSiteEvents,  grp::ResizeEvents,
    grp::PaddingProps, grp::AlignEvents,    PanelProps,         StackPanelProps,
};

// A relative panel places each control its ControlCollection names relative to the
// panel's edges and centres or to other controls (left of, below, aligned with).
constexpr PropInfo RelativeControlItemProps[] = {
    RefProp("Above", ty::TControl),
    RefProp("AlignBottomWith", ty::TControl),
    {"AlignBottomWithPanel", &ty::Boolean, dv::Bool(false)},
    RefProp("AlignHorizontalCenterWith", ty::TControl),
    {"AlignHorizontalCenterWithPanel", &ty::Boolean, dv::Bool(false)},
    RefProp("AlignLeftWith", ty::TControl),
    {"AlignLeftWithPanel", &ty::Boolean, dv::Bool(false)},
    RefProp("AlignRightWith", ty::TControl),
    {"AlignRightWithPanel", &ty::Boolean, dv::Bool(false)},
    RefProp("AlignTopWith", ty::TControl),
    {"AlignTopWithPanel", &ty::Boolean, dv::Bool(false)},
    RefProp("AlignVerticalCenterWith", ty::TControl),
    {"AlignVerticalCenterWithPanel", &ty::Boolean, dv::Bool(false)},
    RefProp("Below", ty::TControl),
    RefProp("Control", ty::TControl),
    RefProp("LeftOf", ty::TControl),
    RefProp("RightOf", ty::TControl),
};
constexpr std::span<const PropInfo> RelativeControlItemGroups[] = {RelativeControlItemProps};
constexpr TypeInfo RelativeControlCollectionType =
    def::ClassType("TRelativePanelControlCollection", cls::TRelativePanelControlCollection);
constexpr PropInfo RelativePanelProps[] = {OwnedProp("ControlCollection", RelativeControlCollectionType)};
constexpr std::span<const PropInfo> RelativePanelGroups[] = {
    grp::ControlProps, grp::ControlEvents,  grp::ClickEvents,   grp::WinControlProps, grp::FocusEvents,
    grp::Ctl3DProps,   grp::FaceColorProps, grp::DockSiteProps, grp::DockSiteEvents,  grp::ResizeEvents,
    grp::PaddingProps, grp::AlignEvents,    PanelProps,         RelativePanelProps,
};

constexpr PropInfo RadioGroupProps[] = {
    {"Caption", &ty::TCaption, dv::Str("")},
    {"Columns", &ty::Integer, dv::Int(1)},
    {"DefaultHeaderFont", &ty::Boolean, dv::Bool(true)},
    OwnedProp("HeaderFont", ty::TFont),
    {"Height", &ty::Integer, dv::Int(105)},
    {"ItemIndex", &ty::Integer, dv::Int(-1)},
    OwnedProp("Items", ty::TStrings),
    {"ParentBackground", &ty::Boolean, dv::Bool(true)},
    {"ShowFrame", &ty::Boolean, dv::Bool(true)},
    {"TabStop", &ty::Boolean, dv::Bool(false)},
    {"Width", &ty::Integer, dv::Int(185)},
    {"WordWrap", &ty::Boolean, dv::Bool(false)},
    EventProp("OnClick", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> RadioGroupGroups[] = {
    grp::ControlProps, grp::ControlEvents,    grp::WinControlProps, grp::FocusEvents,
    grp::Ctl3DProps,   grp::ParentColorProps, RadioGroupProps,
};

// ---------------------------------------------------------------------------------
// Graphic controls

constexpr TypeInfo TProgressEvent = MethodType("TProgressEvent");
constexpr TypeInfo TFindGraphicClassEvent = MethodType("TFindGraphicClassEvent");
// The picture's image is written as Picture.Data.
constexpr PropInfo ImageProps[] = {
    {"AutoSize", &ty::Boolean, dv::Bool(false)}, {"Center", &ty::Boolean, dv::Bool(false)},
    {"Height", &ty::Integer, dv::Int(105)},      {"IncrementalDisplay", &ty::Boolean, dv::Bool(false)},
    OwnedProp("Picture", ty::TPicture),          {"Proportional", &ty::Boolean, dv::Bool(false)},
    {"Stretch", &ty::Boolean, dv::Bool(false)},  {"Transparent", &ty::Boolean, dv::Bool(false)},
    {"Width", &ty::Integer, dv::Int(105)},       EventProp("OnFindGraphicClass", TFindGraphicClassEvent),
    EventProp("OnProgress", TProgressEvent),
};
constexpr std::span<const PropInfo> ImageGroups[] = {PlacementProps, grp::ControlEvents, grp::ClickEvents,
                                                     ImageProps};

constexpr std::string_view ShapeTypeNames[] = {"stRectangle",   "stSquare",  "stRoundRect",
                                               "stRoundSquare", "stEllipse", "stCircle"};
constexpr TypeInfo TShapeType = EnumType("TShapeType", ShapeTypeNames);
constexpr PropInfo ShapeProps[] = {
    OwnedProp("Brush", ty::TBrush),     {"Height", &ty::Integer, dv::Int(65)}, OwnedProp("Pen", ty::TPen),
    {"Shape", &TShapeType, dv::Int(0)}, {"Width", &ty::Integer, dv::Int(65)},
};
constexpr std::span<const PropInfo> ShapeGroups[] = {PlacementProps, grp::ControlEvents, ShapeProps};

constexpr std::string_view BevelShapeNames[] = {"bsBox",      "bsFrame",     "bsTopLine", "bsBottomLine",
                                                "bsLeftLine", "bsRightLine", "bsSpacer"};
constexpr TypeInfo TBevelShape = EnumType("TBevelShape", BevelShapeNames);
constexpr std::string_view BevelStyleNames[] = {"bsLowered", "bsRaised"};
constexpr TypeInfo TBevelStyle = EnumType("TBevelStyle", BevelStyleNames);
constexpr PropInfo BevelProps[] = {
    {"Align", &ty::TAlign, dv::Int(0)},
    {"Anchors", &ty::TAnchors, dv::Set({0, 1})},
    OwnedProp("Constraints", ty::TSizeConstraints),
    {"Height", &ty::Integer, dv::Int(50)},
    {"ParentShowHint", &ty::Boolean, dv::Bool(true)},
    {"Shape", &TBevelShape, dv::Int(0)},
    {"ShowHint", &ty::Boolean, dv::Bool(false)},
    {"Style", &TBevelStyle, dv::Int(0)},
    {"Visible", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(50)},
};
constexpr std::span<const PropInfo> BevelGroups[] = {BevelProps};

constexpr PropInfo PaintBoxProps[] = {
    {"Height", &ty::Integer, dv::Int(105)},
    {"Width", &ty::Integer, dv::Int(105)},
    EventProp("OnPaint", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> PaintBoxGroups[] = {
    grp::ControlProps, grp::ControlEvents, grp::ClickEvents, grp::ParentColorProps, PaintBoxProps};

// ---------------------------------------------------------------------------------
// Splitters

constexpr std::string_view ResizeStyleNames[] = {"rsNone", "rsLine", "rsUpdate", "rsPattern"};
constexpr TypeInfo TResizeStyle = EnumType("TResizeStyle", ResizeStyleNames);
// 1..MaxInt.
constexpr TypeInfo TNaturalNumber = IntType("TNaturalNumber");
// A new splitter stands at the left edge, 3 pixels wide, with the sizing cursor.
constexpr PropInfo SplitterProps[] = {
    {"Align", &ty::TAlign, dv::Int(3)},  // alLeft
    {"AutoSnap", &ty::Boolean, dv::Bool(true)},
    {"Beveled", &ty::Boolean, dv::Bool(false)},
    OwnedProp("Constraints", ty::TSizeConstraints),
    {"Cursor", &ty::TCursor, dv::Int(crHSplit)},
    {"Height", &ty::Integer, dv::Int(100)},
    {"MinSize", &TNaturalNumber, dv::Int(30)},
    {"ResizeStyle", &TResizeStyle, dv::Int(3)},  // rsPattern
    {"Visible", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(3)},
    EventProp("OnCanResize", ty::TCanResizeEvent),
    EventProp("OnMoved", ty::TNotifyEvent),
    EventProp("OnPaint", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> SplitterGroups[] = {grp::ParentColorProps, SplitterProps};

// ---------------------------------------------------------------------------------
// Control bars

constexpr std::string_view BandDrawingStyleNames[] = {"dsNormal", "dsGradient"};
constexpr TypeInfo TBandDrawingStyle = EnumType("TBandDrawingStyle", BandDrawingStyleNames);
constexpr std::string_view GradientDirectionNames[] = {"gdHorizontal", "gdVertical"};
constexpr TypeInfo TGradientDirection = EnumType("TGradientDirection", GradientDirectionNames);
constexpr TypeInfo TRowSize = IntType("TRowSize");
constexpr TypeInfo TBandDragEvent = MethodType("TBandDragEvent");
constexpr TypeInfo TBandInfoEvent = MethodType("TBandInfoEvent");
constexpr TypeInfo TBandMoveEvent = MethodType("TBandMoveEvent");
constexpr TypeInfo TBandPaintEvent = MethodType("TBandPaintEvent");
constexpr TypeInfo TBeginBandMoveEvent = MethodType("TBeginBandMoveEvent");
constexpr TypeInfo TEndBandMoveEvent = MethodType("TEndBandMoveEvent");

// A control bar is a dock site with a tiled bevel from the start.
constexpr PropInfo ControlBarProps[] = {
    {"AutoDock", &ty::Boolean, dv::Bool(true)},
    {"AutoDrag", &ty::Boolean, dv::Bool(true)},
    {"AutoSize", &ty::Boolean, dv::Bool(false)},
    {"BevelEdges", &ty::TBevelEdges, dv::Set({0, 1, 2, 3})},
    {"BevelInner", &ty::TBevelCut, dv::Int(2)},  // bvRaised
    {"BevelKind", &ty::TBevelKind, dv::Int(1)},  // bkTile
    {"BevelOuter", &ty::TBevelCut, dv::Int(1)},  // bvLowered
    {"BevelWidth", &ty::TBevelWidth, dv::Int(1)},
    {"BorderWidth", &ty::TBorderWidth, dv::Int(0)},
    {"CornerEdge", &ty::Integer, dv::Int(5)},
    {"DockSite", &ty::Boolean, dv::Bool(true)},
    {"DrawingStyle", &TBandDrawingStyle, dv::Int(0)},
    {"GradientDirection", &TGradientDirection, dv::Int(1)},  // gdVertical
    {"GradientEndColor", &ty::TColor, dv::Int(clBtnFace)},
    {"GradientStartColor", &ty::TColor, dv::Int(clWhite)},
    {"Height", &ty::Integer, dv::Int(50)},
    {"ParentBackground", &ty::Boolean, dv::Bool(true)},
    OwnedProp("Picture", ty::TPicture),
    {"RowSize", &TRowSize, dv::Int(26)},
    {"RowSnap", &ty::Boolean, dv::Bool(true)},
    {"TabStop", &ty::Boolean, dv::Bool(false)},
    {"Width", &ty::Integer, dv::Int(100)},
    EventProp("OnBandDrag", TBandDragEvent),
    EventProp("OnBandInfo", TBandInfoEvent),
    EventProp("OnBandMove", TBandMoveEvent),
    EventProp("OnBandPaint", TBandPaintEvent),
    EventProp("OnBeginBandMove", TBeginBandMoveEvent),
    EventProp("OnEndBandMove", TEndBandMoveEvent),
    EventProp("OnPaint", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> ControlBarGroups[] = {
    grp::ControlProps, grp::ControlEvents, grp::ClickEvents,      grp::WinControlProps,
    grp::FocusEvents,  grp::Ctl3DProps,    grp::ParentColorProps, grp::DockSiteEvents,
    grp::ResizeEvents, grp::AlignEvents,   ControlBarProps,
};

// ---------------------------------------------------------------------------------
// Colour boxes

constexpr std::string_view ColorBoxStyleNames[] = {"cbStandardColors", "cbExtendedColors", "cbSystemColors",
                                                   "cbIncludeNone",    "cbIncludeDefault", "cbCustomColor",
                                                   "cbPrettyNames",    "cbCustomColors"};
constexpr TypeInfo TColorBoxStyles = EnumType("TColorBoxStyles", ColorBoxStyleNames);
constexpr TypeInfo TColorBoxStyle = SetType("TColorBoxStyle", TColorBoxStyles);
constexpr TypeInfo TGetColorsEvent = MethodType("TGetColorsEvent");
constexpr PropInfo ColorBoxProps[] = {
    {"AutoComplete", &ty::Boolean, dv::Bool(true)},
    {"AutoDropDown", &ty::Boolean, dv::Bool(false)},
    {"DefaultColorColor", &ty::TColor, dv::Int(clBlack)},
    {"DropDownCount", &ty::Integer, dv::Int(8)},
    {"Height", &ty::Integer, dv::Int(22)},
    {"ItemHeight", &ty::Integer, dv::Int(16)},
    {"NoneColorColor", &ty::TColor, dv::Int(clBlack)},
    {"Selected", &ty::TColor, dv::Int(clBlack)},
    {"Style", &TColorBoxStyle, dv::Set({0, 1, 2})},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(145)},
    EventProp("OnChange", ty::TNotifyEvent),
    EventProp("OnCloseUp", ty::TNotifyEvent),
    EventProp("OnDropDown", ty::TNotifyEvent),
    EventProp("OnGetColors", TGetColorsEvent),
    EventProp("OnSelect", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> ColorBoxGroups[] = {
    grp::ControlProps, grp::ControlEvents, grp::ClickEvents,      grp::WinControlProps, grp::FocusEvents,
    grp::Ctl3DProps,   grp::WinBevelProps, grp::WindowColorProps, ColorBoxProps,
};

// ---------------------------------------------------------------------------------
// Labeled edits

constexpr TypeInfo TBoundLabelType = def::ClassType("TBoundLabel", cls::TBoundLabel);
constexpr std::string_view LabelPositionNames[] = {"lpAbove", "lpBelow", "lpLeft", "lpRight"};
constexpr TypeInfo TLabelPosition = EnumType("TLabelPosition", LabelPositionNames);

// The label of a labeled edit, written as EditLabel.Caption, EditLabel.Width, ...
constexpr PropInfo BoundLabelProps[] = {
    {"AutoSize", &ty::Boolean, dv::Bool(true)},
    {"BiDiMode", &ty::TBiDiMode, dv::Int(0)},
    {"Caption", &ty::TCaption, dv::Str("")},
    {"DragCursor", &ty::TCursor, dv::Int(crDrag)},
    {"DragKind", &ty::TDragKind, dv::Int(0)},
    {"DragMode", &ty::TDragMode, dv::Int(0)},
    {"EllipsisPosition", &ty::TEllipsisPosition, dv::Int(0)},
    OwnedProp("Font", ty::TFont),
    {"Layout", &ty::TTextLayout, dv::Int(0)},
    {"ParentBiDiMode", &ty::Boolean, dv::Bool(true)},
    {"ParentFont", &ty::Boolean, dv::Bool(true)},
    {"ParentShowHint", &ty::Boolean, dv::Bool(true)},
    RefProp("PopupMenu", ty::TPopupMenu),
    {"ShowAccelChar", &ty::Boolean, dv::Bool(true)},
    {"ShowHint", &ty::Boolean, dv::Bool(false)},
    {"Transparent", &ty::Boolean, dv::Bool(false)},
    {"WordWrap", &ty::Boolean, dv::Bool(false)},
};
constexpr std::span<const PropInfo> BoundLabelGroups[] = {grp::ControlEvents, grp::ClickEvents,
                                                          grp::ParentColorProps, BoundLabelProps};

constexpr PropInfo LabeledEditProps[] = {
    OwnedProp("EditLabel", TBoundLabelType),
    {"LabelPosition", &TLabelPosition, dv::Int(0)},
    {"LabelSpacing", &ty::Integer, dv::Int(3)},
    {"NumbersOnly", &ty::Boolean, dv::Bool(false)},
};
constexpr std::span<const PropInfo> LabeledEditGroups[] = {
    grp::ControlProps,     grp::ControlEvents, grp::ClickEvents,   grp::WinControlProps,
    grp::FocusEvents,      grp::Ctl3DProps,    grp::WinBevelProps, grp::ImeProps,
    grp::WindowColorProps, grp::EditProps,     LabeledEditProps,
};

// ---------------------------------------------------------------------------------
// Notebooks

// The pages are written as the notebook's child objects, and Pages lists their captions.
constexpr PropInfo NotebookProps[] = {
    {"Height", &ty::Integer, dv::Int(150)}, {"PageIndex", &ty::Integer, dv::Int(0)},
    OwnedProp("Pages", ty::TStrings),       {"TabStop", &ty::Boolean, dv::Bool(false)},
    {"Width", &ty::Integer, dv::Int(150)},  EventProp("OnPageChanged", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> NotebookGroups[] = {
    grp::ControlProps, grp::ControlEvents, grp::ClickEvents,      grp::WinControlProps,
    grp::FocusEvents,  grp::Ctl3DProps,    grp::ParentColorProps, NotebookProps,
};

constexpr PropInfo PageProps[] = {
    {"Caption", &ty::String, dv::Str("")},
    {"TabOrder", &ty::TTabOrder, dv::Int(-1)},
    {"Visible", &ty::Boolean, dv::Bool(true)},
};
constexpr std::span<const PropInfo> PageGroups[] = {PageProps};

// ---------------------------------------------------------------------------------
// THeader (the Windows 3.1 header)

constexpr TypeInfo TSectionEvent = MethodType("TSectionEvent");
constexpr PropInfo HeaderProps[] = {
    {"AllowResize", &ty::Boolean, dv::Bool(true)},
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},  // bsSingle
    {"Height", &ty::Integer, dv::Int(25)},
    OwnedProp("Sections", ty::TStrings),
    {"TabStop", &ty::Boolean, dv::Bool(false)},
    {"Width", &ty::Integer, dv::Int(250)},
    EventProp("OnSized", TSectionEvent),
    EventProp("OnSizing", TSectionEvent),
};
constexpr std::span<const PropInfo> HeaderGroups[] = {grp::ControlProps, grp::ControlEvents,
                                                      grp::WinControlProps, HeaderProps};

// ---------------------------------------------------------------------------------
// Timers

constexpr PropInfo TimerProps[] = {
    {"Enabled", &ty::Boolean, dv::Bool(true)},
    {"Interval", &ty::Cardinal, dv::Int(1000)},
    EventProp("OnTimer", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> TimerGroups[] = {TimerProps};

}  // namespace

namespace cls {

const ClassInfo TCustomPanel = {"TCustomPanel", &TCustomControl, "ExtCtrls"};
const ClassInfo TPanel = {"TPanel", &TCustomPanel, "ExtCtrls", PanelGroups};
const ClassInfo TCustomFlowPanel = {"TCustomFlowPanel", &TCustomPanel, "ExtCtrls"};
const ClassInfo TFlowPanel = {"TFlowPanel", &TCustomFlowPanel, "ExtCtrls", FlowPanelGroups};
const ClassInfo TCellItem = {"TCellItem", &TCollectionItem, "ExtCtrls", CellItemGroups};
const ClassInfo TColumnItem = {"TColumnItem", &TCellItem, "ExtCtrls"};
const ClassInfo TRowItem = {"TRowItem", &TCellItem, "ExtCtrls"};
const ClassInfo TColumnCollection = {"TColumnCollection", &TOwnedCollection, "ExtCtrls", {}, 0, &TColumnItem};
const ClassInfo TRowCollection = {"TRowCollection", &TOwnedCollection, "ExtCtrls", {}, 0, &TRowItem};
const ClassInfo TControlItem = {"TControlItem", &TCollectionItem, "ExtCtrls", GridControlItemGroups};
const ClassInfo TControlCollection = {"TControlCollection", &TOwnedCollection, "ExtCtrls", {}, 0,
                                      &TControlItem};
const ClassInfo TCustomGridPanel = {"TCustomGridPanel", &TCustomPanel, "ExtCtrls"};
const ClassInfo TGridPanel = {"TGridPanel", &TCustomGridPanel, "ExtCtrls", GridPanelGroups};
const ClassInfo TStackPanelControlItem = {"TStackPanelControlItem", &TCollectionItem, "WinXPanels",
                                          StackControlItemGroups};
const ClassInfo TStackPanelControlCollection = {
    "TStackPanelControlCollection", &TOwnedCollection, "WinXPanels", {}, 0, &TStackPanelControlItem};
const ClassInfo TCustomStackPanel = {"TCustomStackPanel", &TCustomPanel, "WinXPanels"};
const ClassInfo TStackPanel = {"TStackPanel", &TCustomStackPanel, "WinXPanels", StackPanelGroups};
const ClassInfo TRelativePanelControlItem = {"TRelativePanelControlItem", &TCollectionItem, "WinXPanels",
                                             RelativeControlItemGroups};
const ClassInfo TRelativePanelControlCollection = {
    "TRelativePanelControlCollection", &TOwnedCollection, "WinXPanels", {}, 0, &TRelativePanelControlItem};
const ClassInfo TCustomRelativePanel = {"TCustomRelativePanel", &TCustomPanel, "WinXPanels"};
const ClassInfo TRelativePanel = {"TRelativePanel", &TCustomRelativePanel, "WinXPanels", RelativePanelGroups};
const ClassInfo TCustomRadioGroup = {"TCustomRadioGroup", &TCustomGroupBox, "ExtCtrls"};
const ClassInfo TRadioGroup = {"TRadioGroup", &TCustomRadioGroup, "ExtCtrls", RadioGroupGroups};
const ClassInfo TImage = {"TImage", &TGraphicControl, "ExtCtrls", ImageGroups};
const ClassInfo TShape = {"TShape", &TGraphicControl, "ExtCtrls", ShapeGroups};
const ClassInfo TBevel = {"TBevel", &TGraphicControl, "ExtCtrls", BevelGroups};
const ClassInfo TPaintBox = {"TPaintBox", &TGraphicControl, "ExtCtrls", PaintBoxGroups};
const ClassInfo TSplitter = {"TSplitter", &TGraphicControl, "ExtCtrls", SplitterGroups};
const ClassInfo TCustomControlBar = {"TCustomControlBar", &TCustomControl, "ExtCtrls"};
const ClassInfo TControlBar = {"TControlBar", &TCustomControlBar, "ExtCtrls", ControlBarGroups};
const ClassInfo TCustomColorBox = {"TCustomColorBox", &TCustomComboBox, "ExtCtrls"};
const ClassInfo TColorBox = {"TColorBox", &TCustomColorBox, "ExtCtrls", ColorBoxGroups};
const ClassInfo TBoundLabel = {"TBoundLabel", &TCustomLabel, "ExtCtrls", BoundLabelGroups};
const ClassInfo TCustomLabeledEdit = {"TCustomLabeledEdit", &TCustomEdit, "ExtCtrls"};
const ClassInfo TLabeledEdit = {"TLabeledEdit", &TCustomLabeledEdit, "ExtCtrls", LabeledEditGroups};
const ClassInfo TNotebook = {"TNotebook", &TCustomControl, "ExtCtrls", NotebookGroups};
const ClassInfo TPage = {"TPage", &TCustomControl, "ExtCtrls", PageGroups};
const ClassInfo THeader = {"THeader", &TCustomControl, "ExtCtrls", HeaderGroups};
const ClassInfo TTimer = {"TTimer", &TComponent, "ExtCtrls", TimerGroups};

}  // namespace cls

}  // namespace fw::rt
