// The class tables of the core units: System, Classes, Graphics, Controls, ImgList,
// Forms, Menus, ActnList and Clipbrd, and the property groups the control families
// share (family_core.h).
//
// Properties and initial values follow the 10.x generation of the component library: forms in the
// Tahoma 8 pt font (Height -11), TForm publishing PixelsPerInch, Margins and
// StyleElements on every control, StyleName and the image names of 10.4.

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
using def::SetType;

// The shared groups.
namespace grp {

constexpr PropInfo ControlProps[16] = {
    {"Align", &ty::TAlign, dv::Int(0)},
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
};

constexpr PropInfo ControlEvents[14] = {
    EventProp("OnContextPopup", ty::TContextPopupEvent),
    EventProp("OnDragDrop", ty::TDragDropEvent),
    EventProp("OnDragOver", ty::TDragOverEvent),
    EventProp("OnEndDock", ty::TEndDragEvent),
    EventProp("OnEndDrag", ty::TEndDragEvent),
    EventProp("OnGesture", ty::TGestureEvent),
    EventProp("OnMouseActivate", ty::TMouseActivateEvent),
    EventProp("OnMouseDown", ty::TMouseEvent),
    EventProp("OnMouseEnter", ty::TNotifyEvent),
    EventProp("OnMouseLeave", ty::TNotifyEvent),
    EventProp("OnMouseMove", ty::TMouseMoveEvent),
    EventProp("OnMouseUp", ty::TMouseEvent),
    EventProp("OnStartDock", ty::TStartDockEvent),
    EventProp("OnStartDrag", ty::TStartDragEvent),
};

constexpr PropInfo ClickEvents[2] = {
    EventProp("OnClick", ty::TNotifyEvent),
    EventProp("OnDblClick", ty::TNotifyEvent),
};

constexpr PropInfo WinControlProps[3] = {
    {"DoubleBuffered", &ty::Boolean, dv::Bool(false)},
    {"ParentDoubleBuffered", &ty::Boolean, dv::Bool(true)},
    {"TabOrder", &ty::TTabOrder, dv::Int(-1)},
};

constexpr PropInfo FocusEvents[5] = {
    EventProp("OnEnter", ty::TNotifyEvent), EventProp("OnExit", ty::TNotifyEvent),
    EventProp("OnKeyDown", ty::TKeyEvent),  EventProp("OnKeyPress", ty::TKeyPressEvent),
    EventProp("OnKeyUp", ty::TKeyEvent),
};

constexpr PropInfo Ctl3DProps[2] = {
    {"Ctl3D", &ty::Boolean, dv::Bool(true)},
    {"ParentCtl3D", &ty::Boolean, dv::Bool(true)},
};

constexpr PropInfo WinBevelProps[5] = {
    {"BevelEdges", &ty::TBevelEdges, dv::Set({0, 1, 2, 3})},
    {"BevelInner", &ty::TBevelCut, dv::Int(2)},  // bvRaised
    {"BevelKind", &ty::TBevelKind, dv::Int(0)},
    {"BevelOuter", &ty::TBevelCut, dv::Int(1)},  // bvLowered
    {"BevelWidth", &ty::TBevelWidth, dv::Int(1)},
};

constexpr PropInfo ImeProps[2] = {
    {"ImeMode", &ty::TImeMode, dv::Int(3)},  // imDontCare
    {"ImeName", &ty::TImeName, dv::Str("")},
};

constexpr PropInfo ParentColorProps[2] = {
    {"Color", &ty::TColor, dv::Int(clWindow)},
    {"ParentColor", &ty::Boolean, dv::Bool(true)},
};

constexpr PropInfo WindowColorProps[2] = {
    {"Color", &ty::TColor, dv::Int(clWindow)},
    {"ParentColor", &ty::Boolean, dv::Bool(false)},
};

constexpr PropInfo FaceColorProps[2] = {
    {"Color", &ty::TColor, dv::Int(clBtnFace)},
    {"ParentColor", &ty::Boolean, dv::Bool(false)},
};

constexpr PropInfo DockSiteProps[1] = {{"DockSite", &ty::Boolean, dv::Bool(false)}};

constexpr PropInfo DockSiteEvents[4] = {
    EventProp("OnDockDrop", ty::TDockDropEvent),
    EventProp("OnDockOver", ty::TDockOverEvent),
    EventProp("OnGetSiteInfo", ty::TGetSiteInfoEvent),
    EventProp("OnUnDock", ty::TUnDockEvent),
};

constexpr PropInfo ResizeEvents[3] = {
    EventProp("OnCanResize", ty::TCanResizeEvent),
    EventProp("OnConstrainedResize", ty::TConstrainedResizeEvent),
    EventProp("OnResize", ty::TNotifyEvent),
};

constexpr PropInfo MouseWheelEvents[3] = {
    EventProp("OnMouseWheel", ty::TMouseWheelEvent),
    EventProp("OnMouseWheelDown", ty::TMouseWheelUpDownEvent),
    EventProp("OnMouseWheelUp", ty::TMouseWheelUpDownEvent),
};

constexpr PropInfo PaddingProps[1] = {OwnedProp("Padding", ty::TPadding)};

constexpr PropInfo AlignEvents[2] = {
    EventProp("OnAlignInsertBefore", ty::TAlignInsertBeforeEvent),
    EventProp("OnAlignPosition", ty::TAlignPositionEvent),
};

static_assert(AllRowsFilled(ControlProps) && AllRowsFilled(ControlEvents) && AllRowsFilled(ClickEvents));
static_assert(AllRowsFilled(WinControlProps) && AllRowsFilled(FocusEvents) && AllRowsFilled(Ctl3DProps));
static_assert(AllRowsFilled(WinBevelProps) && AllRowsFilled(ImeProps) && AllRowsFilled(ParentColorProps));
static_assert(AllRowsFilled(WindowColorProps) && AllRowsFilled(FaceColorProps) &&
              AllRowsFilled(DockSiteProps));
static_assert(AllRowsFilled(DockSiteEvents) && AllRowsFilled(ResizeEvents) &&
              AllRowsFilled(MouseWheelEvents));
static_assert(AllRowsFilled(PaddingProps) && AllRowsFilled(AlignEvents));

}  // namespace grp

namespace cls {
extern const ClassInfo TInterfacedPersistent, TBaseImageList, TCustomGestureManager, TGlassFrame, TTitleBar,
    TCustomTitleBarPanel, TShortCutList;
}  // namespace cls

namespace {

// ---------------------------------------------------------------------------------
// Classes

constexpr PropInfo ComponentProps[] = {
    {"Name", &ty::String, dv::Str("")},
    {"Tag", &ty::Integer, dv::Int(0)},
};
constexpr std::span<const PropInfo> ComponentGroups[] = {ComponentProps};

// ---------------------------------------------------------------------------------
// Graphics

constexpr std::string_view BrushStyleNames[] = {"bsSolid",     "bsClear",     "bsHorizontal", "bsVertical",
                                                "bsFDiagonal", "bsBDiagonal", "bsCross",      "bsDiagCross"};
constexpr TypeInfo TBrushStyle = EnumType("TBrushStyle", BrushStyleNames);
constexpr std::string_view PenStyleNames[] = {"psSolid",       "psDash",       "psDot",
                                              "psDashDot",     "psDashDotDot", "psClear",
                                              "psInsideFrame", "psUserStyle",  "psAlternate"};
constexpr TypeInfo TPenStyle = EnumType("TPenStyle", PenStyleNames);
constexpr std::string_view PenModeNames[] = {"pmBlack",       "pmWhite",      "pmNop",         "pmNot",
                                             "pmCopy",        "pmNotCopy",    "pmMergePenNot", "pmMaskPenNot",
                                             "pmMergeNotPen", "pmMaskNotPen", "pmMerge",       "pmNotMerge",
                                             "pmMask",        "pmNotMask",    "pmXor",         "pmNotXor"};
constexpr TypeInfo TPenMode = EnumType("TPenMode", PenModeNames);
// A raster operation code; SRCCOPY by default.
constexpr TypeInfo TCopyMode = IntType("TCopyMode");
constexpr std::int64_t cmSrcCopy = 0x00CC0020;

constexpr PropInfo FontProps[] = {
    {"Charset", &ty::TFontCharset, dv::Int(1)},  // DEFAULT_CHARSET
    {"Color", &ty::TColor, dv::Int(clWindowText)},
    {"Height", &ty::Integer, dv::Int(-11)},
    {"Name", &ty::TFontName, dv::Str("Tahoma")},
    {"Orientation", &ty::Integer, dv::Int(0)},
    {"Pitch", &ty::TFontPitch, dv::Int(0)},
    {"Quality", &ty::TFontQuality, dv::Int(0)},
    {"Size", &ty::Integer, dv::Int(8)},
    {"Style", &ty::TFontStyles, dv::Set({})},
};
constexpr std::span<const PropInfo> FontGroups[] = {FontProps};

constexpr PropInfo BrushProps[] = {
    {"Color", &ty::TColor, dv::Int(clWhite)},
    {"Style", &TBrushStyle, dv::Int(0)},
};
constexpr std::span<const PropInfo> BrushGroups[] = {BrushProps};

constexpr PropInfo PenProps[] = {
    {"Color", &ty::TColor, dv::Int(clBlack)},
    {"Mode", &TPenMode, dv::Int(4)},  // pmCopy
    {"Style", &TPenStyle, dv::Int(0)},
    {"Width", &ty::Integer, dv::Int(1)},
};
constexpr std::span<const PropInfo> PenGroups[] = {PenProps};

constexpr PropInfo CanvasProps[] = {
    OwnedProp("Brush", ty::TBrush),
    {"CopyMode", &TCopyMode, dv::Int(cmSrcCopy)},
    OwnedProp("Font", ty::TFont),
    OwnedProp("Pen", ty::TPen),
};
constexpr std::span<const PropInfo> CanvasGroups[] = {CanvasProps};

// ---------------------------------------------------------------------------------
// Controls, ImgList

constexpr TypeInfo TCustomGestureManagerType =
    def::ClassType("TCustomGestureManager", cls::TCustomGestureManager);

constexpr PropInfo ControlOwnProps[] = {
    {"AlignWithMargins", &ty::Boolean, dv::Bool(false)},
    {"Cursor", &ty::TCursor, dv::Int(crDefault)},
    RefProp("CustomHint", ty::TCustomHint),
    {"Height", &ty::Integer, dv::Int(0)},
    {"HelpContext", &ty::THelpContext, dv::Int(0)},
    {"HelpKeyword", &ty::String, dv::Str("")},
    {"HelpType", &ty::THelpType, dv::Int(1)},  // htContext
    {"Hint", &ty::String, dv::Str("")},
    {"Left", &ty::Integer, dv::Int(0)},
    OwnedProp("Margins", ty::TMargins),
    {"ParentCustomHint", &ty::Boolean, dv::Bool(true)},
    {"StyleElements", &ty::TStyleElements, dv::Set({0, 1, 2})},
    {"StyleName", &ty::String, dv::Str("")},
    {"Top", &ty::Integer, dv::Int(0)},
    {"Width", &ty::Integer, dv::Int(0)},
};
constexpr std::span<const PropInfo> ControlGroups[] = {ControlOwnProps};

// TConstraintSize and TMarginSize: 0..MaxInt.
constexpr TypeInfo TConstraintSize = IntType("TConstraintSize");
constexpr PropInfo SizeConstraintsProps[] = {
    {"MaxHeight", &TConstraintSize, dv::Int(0)},
    {"MaxWidth", &TConstraintSize, dv::Int(0)},
    {"MinHeight", &TConstraintSize, dv::Int(0)},
    {"MinWidth", &TConstraintSize, dv::Int(0)},
};
constexpr std::span<const PropInfo> SizeConstraintsGroups[] = {SizeConstraintsProps};

constexpr TypeInfo TMarginSize = IntType("TMarginSize");
constexpr PropInfo MarginsProps[] = {
    {"Bottom", &TMarginSize, dv::Int(3)},
    {"Left", &TMarginSize, dv::Int(3)},
    {"Right", &TMarginSize, dv::Int(3)},
    {"Top", &TMarginSize, dv::Int(3)},
};
constexpr std::span<const PropInfo> MarginsGroups[] = {MarginsProps};
// Padding is a margin set that starts at 0.
constexpr PropInfo PaddingOwnProps[] = {
    {"Bottom", &TMarginSize, dv::Int(0)},
    {"Left", &TMarginSize, dv::Int(0)},
    {"Right", &TMarginSize, dv::Int(0)},
    {"Top", &TMarginSize, dv::Int(0)},
};
constexpr std::span<const PropInfo> PaddingGroups[] = {PaddingOwnProps};

constexpr std::string_view InteractiveGestureNames[] = {"igZoom", "igPan", "igRotate", "igTwoFingerTap",
                                                        "igPressAndTap"};
constexpr TypeInfo TInteractiveGesture = EnumType("TInteractiveGesture", InteractiveGestureNames);
constexpr TypeInfo TInteractiveGestures = SetType("TInteractiveGestures", TInteractiveGesture);
constexpr std::string_view InteractiveGestureOptionNames[] = {"igoPanSingleFingerHorizontal",
                                                              "igoPanSingleFingerVertical", "igoPanInertia",
                                                              "igoPanGutter", "igoParentPassthrough"};
constexpr TypeInfo TInteractiveGestureOption =
    EnumType("TInteractiveGestureOption", InteractiveGestureOptionNames);
constexpr TypeInfo TInteractiveGestureOptions =
    SetType("TInteractiveGestureOptions", TInteractiveGestureOption);
constexpr std::string_view TabletOptionNames[] = {
    "toPressAndHold",    "toPenTapFeedback", "toPenBarrelFeedback", "toFlicks",
    "toSmoothScrolling", "toTouchUIForceOn", "toTouchUIForceOff"};
constexpr TypeInfo TTabletOption = EnumType("TTabletOption", TabletOptionNames);
constexpr TypeInfo TTabletOptions = SetType("TTabletOptions", TTabletOption);
constexpr PropInfo TouchManagerProps[] = {
    RefProp("GestureManager", TCustomGestureManagerType),
    {"InteractiveGestureOptions", &TInteractiveGestureOptions, dv::Set({})},
    {"InteractiveGestures", &TInteractiveGestures, dv::Set({})},
    {"ParentTabletOptions", &ty::Boolean, dv::Bool(true)},
    {"TabletOptions", &TTabletOptions, dv::Set({0, 1, 2, 3})},
};
constexpr std::span<const PropInfo> TouchManagerGroups[] = {TouchManagerProps};

constexpr std::string_view ColorDepthNames[] = {"cdDefault", "cdDeviceDependent", "cd4Bit", "cd8Bit",
                                                "cd16Bit",   "cd24Bit",           "cd32Bit"};
constexpr TypeInfo TColorDepth = EnumType("TColorDepth", ColorDepthNames);
constexpr std::string_view DrawingStyleNames[] = {"dsFocus", "dsSelected", "dsNormal", "dsTransparent"};
constexpr TypeInfo TDrawingStyle = EnumType("TDrawingStyle", DrawingStyleNames);
constexpr std::string_view ImageTypeNames[] = {"itImage", "itMask"};
constexpr TypeInfo TImageType = EnumType("TImageType", ImageTypeNames);
// The images themselves are written by the list as Bitmap.
constexpr PropInfo ImageListProps[] = {
    {"AllocBy", &ty::Integer, dv::Int(4)},
    {"BkColor", &ty::TColor, dv::Int(clNone)},
    {"BlendColor", &ty::TColor, dv::Int(clNone)},
    {"ColorDepth", &TColorDepth, dv::Int(1)},      // cdDeviceDependent
    {"DrawingStyle", &TDrawingStyle, dv::Int(2)},  // dsNormal
    {"GrayscaleFactor", &ty::Byte, dv::Int(255)},
    {"Height", &ty::Integer, dv::Int(16)},
    {"ImageType", &TImageType, dv::Int(0)},
    {"Masked", &ty::Boolean, dv::Bool(true)},
    {"ShareImages", &ty::Boolean, dv::Bool(false)},
    {"Width", &ty::Integer, dv::Int(16)},
    EventProp("OnChange", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> ImageListGroups[] = {ImageListProps};

// ---------------------------------------------------------------------------------
// Forms

constexpr std::string_view ScrollBarStyleNames[] = {"ssRegular", "ssFlat", "ssHotTrack"};
constexpr TypeInfo TScrollBarStyle = EnumType("TScrollBarStyle", ScrollBarStyleNames);
constexpr PropInfo ControlScrollBarProps[] = {
    {"ButtonSize", &ty::Integer, dv::Int(0)},      {"Color", &ty::TColor, dv::Int(clBtnHighlight)},
    {"Increment", &ty::TScrollBarInc, dv::Int(8)}, {"Margin", &ty::Word, dv::Int(0)},
    {"ParentColor", &ty::Boolean, dv::Bool(true)}, {"Position", &ty::Integer, dv::Int(0)},
    {"Range", &ty::Integer, dv::Int(0)},           {"Size", &ty::Integer, dv::Int(0)},
    {"Smooth", &ty::Boolean, dv::Bool(false)},     {"Style", &TScrollBarStyle, dv::Int(0)},
    {"ThumbSize", &ty::Integer, dv::Int(0)},       {"Tracking", &ty::Boolean, dv::Bool(false)},
    {"Visible", &ty::Boolean, dv::Bool(true)},
};
constexpr std::span<const PropInfo> ControlScrollBarGroups[] = {ControlScrollBarProps};

// The scroll bars of a scrolling container.
constexpr PropInfo ScrollBarsProps[] = {
    OwnedProp("HorzScrollBar", ty::TControlScrollBar),
    OwnedProp("VertScrollBar", ty::TControlScrollBar),
};

constexpr PropInfo GlassFrameProps[] = {
    {"Bottom", &ty::Integer, dv::Int(0)},
    {"Enabled", &ty::Boolean, dv::Bool(false)},
    {"Left", &ty::Integer, dv::Int(0)},
    {"Right", &ty::Integer, dv::Int(0)},
    {"SheetOfGlass", &ty::Boolean, dv::Bool(false)},
    {"Top", &ty::Integer, dv::Int(0)},
};
constexpr std::span<const PropInfo> GlassFrameGroups[] = {GlassFrameProps};
constexpr TypeInfo TGlassFrameType = def::ClassType("TGlassFrame", cls::TGlassFrame);

constexpr TypeInfo TCustomTitleBarPanelType =
    def::ClassType("TCustomTitleBarPanel", cls::TCustomTitleBarPanel);
// A form's own title bar (CustomTitleBar), 10.4 and later.
constexpr PropInfo TitleBarProps[] = {
    {"BackgroundColor", &ty::TColor, dv::Int(clNone)},
    {"ButtonBackgroundColor", &ty::TColor, dv::Int(clNone)},
    {"ButtonForegroundColor", &ty::TColor, dv::Int(clNone)},
    {"ButtonHoverBackgroundColor", &ty::TColor, dv::Int(clNone)},
    {"ButtonHoverForegroundColor", &ty::TColor, dv::Int(clNone)},
    {"ButtonInactiveBackgroundColor", &ty::TColor, dv::Int(clNone)},
    {"ButtonInactiveForegroundColor", &ty::TColor, dv::Int(clNone)},
    {"ButtonPressedBackgroundColor", &ty::TColor, dv::Int(clNone)},
    {"ButtonPressedForegroundColor", &ty::TColor, dv::Int(clNone)},
    {"CaptionAlignment", &ty::TAlignment, dv::Int(2)},  // taCenter
    RefProp("Control", TCustomTitleBarPanelType),
    {"Enabled", &ty::Boolean, dv::Bool(false)},
    {"ForegroundColor", &ty::TColor, dv::Int(clNone)},
    {"Height", &ty::Integer},
    {"InactiveBackgroundColor", &ty::TColor, dv::Int(clNone)},
    {"InactiveForegroundColor", &ty::TColor, dv::Int(clNone)},
    {"ShowCaption", &ty::Boolean, dv::Bool(true)},
    {"ShowIcon", &ty::Boolean, dv::Bool(true)},
    {"SystemButtons", &ty::Boolean, dv::Bool(true)},
    {"SystemColors", &ty::Boolean, dv::Bool(true)},
    {"SystemHeight", &ty::Boolean, dv::Bool(true)},
};
constexpr std::span<const PropInfo> TitleBarGroups[] = {TitleBarProps};
constexpr TypeInfo TTitleBarType = def::ClassType("TTitleBar", cls::TTitleBar);

constexpr TypeInfo TCustomFormType = def::ClassType("TCustomForm", cls::TCustomForm);
constexpr TypeInfo TMonitorDpiChangedEvent = MethodType("TMonitorDpiChangedEvent");

// TForm lists its whole set: a form has no parent, so its Font and colour do not come
// from one (ParentFont False, Color clBtnFace), and it starts hidden.
constexpr PropInfo FormProps[] = {
    RefProp("Action", ty::TBasicAction),
    RefProp("ActiveControl", ty::TWinControl),
    {"Align", &ty::TAlign, dv::Int(0)},
    {"AlphaBlend", &ty::Boolean, dv::Bool(false)},
    {"AlphaBlendValue", &ty::Byte, dv::Int(255)},
    {"Anchors", &ty::TAnchors, dv::Set({0, 1})},
    {"AutoScroll", &ty::Boolean, dv::Bool(false)},
    {"AutoSize", &ty::Boolean, dv::Bool(false)},
    {"BiDiMode", &ty::TBiDiMode, dv::Int(0)},
    {"BorderIcons", &ty::TBorderIcons, dv::Set({0, 1, 2})},
    {"BorderStyle", &ty::TFormBorderStyle, dv::Int(2)},  // bsSizeable
    {"BorderWidth", &ty::TBorderWidth, dv::Int(0)},
    {"Caption", &ty::TCaption, dv::Str("")},
    {"ClientHeight", &ty::Integer},
    {"ClientWidth", &ty::Integer},
    {"Color", &ty::TColor, dv::Int(clBtnFace)},
    OwnedProp("Constraints", ty::TSizeConstraints),
    {"Ctl3D", &ty::Boolean, dv::Bool(true)},
    OwnedProp("CustomTitleBar", TTitleBarType),
    {"DefaultMonitor", &ty::TDefaultMonitor, dv::Int(3)},  // dmActiveForm
    {"DockSite", &ty::Boolean, dv::Bool(false)},
    {"DoubleBuffered", &ty::Boolean, dv::Bool(false)},
    {"DragKind", &ty::TDragKind, dv::Int(0)},
    {"DragMode", &ty::TDragMode, dv::Int(0)},
    {"Enabled", &ty::Boolean, dv::Bool(true)},
    OwnedProp("Font", ty::TFont),
    {"FormStyle", &ty::TFormStyle, dv::Int(0)},
    OwnedProp("GlassFrame", TGlassFrameType),
    {"Height", &ty::Integer, dv::Int(240)},
    {"HelpFile", &ty::String, dv::Str("")},
    OwnedProp("Icon", ty::TIcon),
    {"KeyPreview", &ty::Boolean, dv::Bool(false)},
    RefProp("Menu", ty::TMainMenu),
    RefProp("ObjectMenuItem", ty::TMenuItem),
    {"OldCreateOrder", &ty::Boolean, dv::Bool(false)},
    {"ParentBiDiMode", &ty::Boolean, dv::Bool(true)},
    {"ParentFont", &ty::Boolean, dv::Bool(false)},
    {"PixelsPerInch", &ty::Integer, dv::Int(96)},
    RefProp("PopupMenu", ty::TPopupMenu),
    {"PopupMode", &ty::TPopupMode, dv::Int(0)},
    RefProp("PopupParent", TCustomFormType),
    {"Position", &ty::TPosition, dv::Int(2)},      // poDefaultPosOnly
    {"PrintScale", &ty::TPrintScale, dv::Int(1)},  // poProportional
    {"Scaled", &ty::Boolean, dv::Bool(true)},
    {"ScreenSnap", &ty::Boolean, dv::Bool(false)},
    {"ShowHint", &ty::Boolean, dv::Bool(false)},
    {"SnapBuffer", &ty::Integer, dv::Int(10)},
    {"TabOrder", &ty::TTabOrder, dv::Int(-1)},
    {"TabStop", &ty::Boolean, dv::Bool(false)},
    OwnedProp("Touch", ty::TTouchManager),
    {"TransparentColor", &ty::Boolean, dv::Bool(false)},
    {"TransparentColorValue", &ty::TColor, dv::Int(clBlack)},
    {"UseDockManager", &ty::Boolean, dv::Bool(false)},
    {"Visible", &ty::Boolean, dv::Bool(false)},
    {"Width", &ty::Integer, dv::Int(320)},
    RefProp("WindowMenu", ty::TMenuItem),
    {"WindowState", &ty::TWindowState, dv::Int(0)},
};
constexpr PropInfo FormEvents[] = {
    EventProp("OnActivate", ty::TNotifyEvent),
    EventProp("OnAfterMonitorDpiChanged", TMonitorDpiChangedEvent),
    EventProp("OnBeforeMonitorDpiChanged", TMonitorDpiChangedEvent),
    EventProp("OnClose", ty::TCloseEvent),
    EventProp("OnCloseQuery", ty::TCloseQueryEvent),
    EventProp("OnContextPopup", ty::TContextPopupEvent),
    EventProp("OnCreate", ty::TNotifyEvent),
    EventProp("OnDeactivate", ty::TNotifyEvent),
    EventProp("OnDestroy", ty::TNotifyEvent),
    EventProp("OnDragDrop", ty::TDragDropEvent),
    EventProp("OnDragOver", ty::TDragOverEvent),
    EventProp("OnEndDock", ty::TEndDragEvent),
    EventProp("OnGesture", ty::TGestureEvent),
    EventProp("OnHelp", ty::THelpEvent),
    EventProp("OnHide", ty::TNotifyEvent),
    EventProp("OnKeyDown", ty::TKeyEvent),
    EventProp("OnKeyPress", ty::TKeyPressEvent),
    EventProp("OnKeyUp", ty::TKeyEvent),
    EventProp("OnMouseActivate", ty::TMouseActivateEvent),
    EventProp("OnMouseDown", ty::TMouseEvent),
    EventProp("OnMouseEnter", ty::TNotifyEvent),
    EventProp("OnMouseLeave", ty::TNotifyEvent),
    EventProp("OnMouseMove", ty::TMouseMoveEvent),
    EventProp("OnMouseUp", ty::TMouseEvent),
    EventProp("OnPaint", ty::TNotifyEvent),
    EventProp("OnShortCut", ty::TShortCutEvent),
    EventProp("OnShow", ty::TNotifyEvent),
    EventProp("OnStartDock", ty::TStartDockEvent),
};
constexpr std::span<const PropInfo> FormGroups[] = {
    FormProps,         ScrollBarsProps,     grp::PaddingProps,
    FormEvents,        grp::AlignEvents,    grp::ClickEvents,
    grp::ResizeEvents, grp::DockSiteEvents, grp::MouseWheelEvents,
};

// What frames and scroll boxes publish alike.
constexpr PropInfo ScrollingContainerProps[] = {
    {"AutoScroll", &ty::Boolean, dv::Bool(true)},
    {"AutoSize", &ty::Boolean, dv::Bool(false)},
    {"ParentBackground", &ty::Boolean, dv::Bool(true)},
    {"TabStop", &ty::Boolean, dv::Bool(false)},
};

constexpr PropInfo FrameProps[] = {
    {"Height", &ty::Integer, dv::Int(240)},
    {"Width", &ty::Integer, dv::Int(320)},
};
constexpr std::span<const PropInfo> FrameGroups[] = {
    grp::ControlProps,   grp::ControlEvents,      grp::ClickEvents,      grp::WinControlProps,
    grp::FocusEvents,    grp::Ctl3DProps,         grp::ParentColorProps, grp::DockSiteProps,
    grp::DockSiteEvents, grp::ResizeEvents,       grp::MouseWheelEvents, grp::PaddingProps,
    grp::AlignEvents,    ScrollingContainerProps, ScrollBarsProps,       FrameProps,
};

constexpr PropInfo ScrollBoxProps[] = {
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},  // bsSingle
    {"Height", &ty::Integer, dv::Int(41)},
    {"Width", &ty::Integer, dv::Int(185)},
};
constexpr std::span<const PropInfo> ScrollBoxGroups[] = {
    grp::ControlProps,  grp::ControlEvents,  grp::ClickEvents,        grp::WinControlProps,
    grp::FocusEvents,   grp::Ctl3DProps,     grp::WinBevelProps,      grp::ParentColorProps,
    grp::DockSiteProps, grp::DockSiteEvents, grp::ResizeEvents,       grp::MouseWheelEvents,
    grp::PaddingProps,  grp::AlignEvents,    ScrollingContainerProps, ScrollBarsProps,
    ScrollBoxProps,
};

// A data module's size and place in the designer are written by the module itself.
constexpr PropInfo DataModuleProps[] = {
    {"OldCreateOrder", &ty::Boolean, dv::Bool(false)},
    EventProp("OnCreate", ty::TNotifyEvent),
    EventProp("OnDestroy", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> DataModuleGroups[] = {DataModuleProps};

// ---------------------------------------------------------------------------------
// Menus

// TMenuItemAutoFlag adds maParent, "as the menu says", to TMenuAutoFlag.
constexpr std::string_view MenuAutoFlagNames[] = {"maAutomatic", "maManual"};
constexpr TypeInfo TMenuAutoFlag = EnumType("TMenuAutoFlag", MenuAutoFlagNames);
constexpr std::string_view MenuItemAutoFlagNames[] = {"maAutomatic", "maManual", "maParent"};
constexpr TypeInfo TMenuItemAutoFlag = EnumType("TMenuItemAutoFlag", MenuItemAutoFlagNames);
constexpr std::string_view MenuBreakNames[] = {"mbNone", "mbBreak", "mbBarBreak"};
constexpr TypeInfo TMenuBreak = EnumType("TMenuBreak", MenuBreakNames);
constexpr std::string_view PopupAlignmentNames[] = {"paLeft", "paRight", "paCenter"};
constexpr TypeInfo TPopupAlignment = EnumType("TPopupAlignment", PopupAlignmentNames);
constexpr std::string_view TrackButtonNames[] = {"tbRightButton", "tbLeftButton"};
constexpr TypeInfo TTrackButton = EnumType("TTrackButton", TrackButtonNames);
constexpr std::string_view MenuAnimationNames[] = {"maLeftToRight", "maRightToLeft", "maTopToBottom",
                                                   "maBottomToTop", "maNone"};
constexpr TypeInfo TMenuAnimation = EnumType("TMenuAnimation", MenuAnimationNames);
constexpr TypeInfo TMenuAnimations = SetType("TMenuAnimations", TMenuAnimation);

// Menu items are written as the menu's child objects; Items is the root item.
constexpr PropInfo MenuProps[] = {
    {"AutoHotkeys", &TMenuAutoFlag, dv::Int(0)},
    {"AutoLineReduction", &TMenuAutoFlag, dv::Int(0)},
    {"BiDiMode", &ty::TBiDiMode, dv::Int(0)},
    RefProp("Images", ty::TCustomImageList),
    OwnedProp("Items", ty::TMenuItem),
    {"OwnerDraw", &ty::Boolean, dv::Bool(false)},
    {"ParentBiDiMode", &ty::Boolean, dv::Bool(true)},
    EventProp("OnChange", ty::TMenuChangeEvent),
};
constexpr PropInfo MainMenuProps[] = {{"AutoMerge", &ty::Boolean, dv::Bool(false)}};
constexpr std::span<const PropInfo> MainMenuGroups[] = {MenuProps, MainMenuProps};
constexpr PropInfo PopupMenuProps[] = {
    {"Alignment", &TPopupAlignment, dv::Int(0)},    {"AutoPopup", &ty::Boolean, dv::Bool(true)},
    {"HelpContext", &ty::THelpContext, dv::Int(0)}, {"MenuAnimation", &TMenuAnimations, dv::Set({})},
    {"TrackButton", &TTrackButton, dv::Int(0)},     EventProp("OnClose", ty::TNotifyEvent),
    EventProp("OnPopup", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> PopupMenuGroups[] = {MenuProps, PopupMenuProps};

constexpr PropInfo MenuItemProps[] = {
    RefProp("Action", ty::TBasicAction),
    {"AutoCheck", &ty::Boolean, dv::Bool(false)},
    {"AutoHotkeys", &TMenuItemAutoFlag, dv::Int(2)},        // maParent
    {"AutoLineReduction", &TMenuItemAutoFlag, dv::Int(2)},  // maParent
    OwnedProp("Bitmap", ty::TBitmap),
    {"Break", &TMenuBreak, dv::Int(0)},
    {"Caption", &ty::String, dv::Str("")},
    {"Checked", &ty::Boolean, dv::Bool(false)},
    {"Default", &ty::Boolean, dv::Bool(false)},
    {"Enabled", &ty::Boolean, dv::Bool(true)},
    {"GroupIndex", &ty::Byte, dv::Int(0)},
    {"HelpContext", &ty::THelpContext, dv::Int(0)},
    {"Hint", &ty::String, dv::Str("")},
    {"ImageIndex", &ty::TImageIndex, dv::Int(-1)},
    {"ImageName", &ty::TImageName, dv::Str("")},
    {"RadioItem", &ty::Boolean, dv::Bool(false)},
    {"ShortCut", &ty::TShortCut, dv::Int(0)},
    RefProp("SubMenuImages", ty::TCustomImageList),
    {"Visible", &ty::Boolean, dv::Bool(true)},
    EventProp("OnAdvancedDrawItem", ty::TAdvancedMenuDrawItemEvent),
    EventProp("OnClick", ty::TNotifyEvent),
    EventProp("OnDrawItem", ty::TMenuDrawItemEvent),
    EventProp("OnMeasureItem", ty::TMenuMeasureItemEvent),
};
constexpr std::span<const PropInfo> MenuItemGroups[] = {MenuItemProps};

// ---------------------------------------------------------------------------------
// ActnList

constexpr PropInfo ContainedActionProps[] = {{"Category", &ty::String, dv::Str("")}};
constexpr std::span<const PropInfo> ContainedActionGroups[] = {ContainedActionProps};

constexpr TypeInfo TShortCutListType = def::ClassType("TShortCutList", cls::TShortCutList);
constexpr PropInfo ActionProps[] = {
    {"AutoCheck", &ty::Boolean, dv::Bool(false)}, {"Caption", &ty::String, dv::Str("")},
    {"Checked", &ty::Boolean, dv::Bool(false)},   {"Enabled", &ty::Boolean, dv::Bool(true)},
    {"GroupIndex", &ty::Integer, dv::Int(0)},     {"HelpContext", &ty::THelpContext, dv::Int(0)},
    {"HelpKeyword", &ty::String, dv::Str("")},    {"HelpType", &ty::THelpType, dv::Int(0)},  // htKeyword
    {"Hint", &ty::String, dv::Str("")},           {"ImageIndex", &ty::TImageIndex, dv::Int(-1)},
    {"ImageName", &ty::TImageName, dv::Str("")},  OwnedProp("SecondaryShortCuts", TShortCutListType),
    {"ShortCut", &ty::TShortCut, dv::Int(0)},     {"Visible", &ty::Boolean, dv::Bool(true)},
    EventProp("OnExecute", ty::TNotifyEvent),     EventProp("OnHint", ty::THintEvent),
    EventProp("OnUpdate", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> ActionGroups[] = {ActionProps};

constexpr std::string_view ActionListStateNames[] = {"asNormal", "asSuspended", "asSuspendedEnabled"};
constexpr TypeInfo TActionListState = EnumType("TActionListState", ActionListStateNames);
constexpr PropInfo ActionListProps[] = {
    RefProp("Images", ty::TCustomImageList),      {"State", &TActionListState, dv::Int(0)},
    EventProp("OnChange", ty::TNotifyEvent),      EventProp("OnExecute", ty::TActionEvent),
    EventProp("OnStateChange", ty::TNotifyEvent), EventProp("OnUpdate", ty::TActionEvent),
};
constexpr std::span<const PropInfo> ActionListGroups[] = {ActionListProps};

}  // namespace

namespace cls {

// System, Classes
const ClassInfo TObject = {"TObject", nullptr, "System"};
const ClassInfo TPersistent = {"TPersistent", &TObject, "Classes", {}, CfPersistent};
const ClassInfo TInterfacedPersistent = {"TInterfacedPersistent", &TPersistent, "Classes"};
const ClassInfo TComponent = {"TComponent", &TPersistent, "Classes", ComponentGroups, CfComponent};
const ClassInfo TCollectionItem = {"TCollectionItem", &TPersistent, "Classes", {}, CfCollectionItem};
const ClassInfo TCollection = {"TCollection", &TPersistent, "Classes", {}, CfCollection, &TCollectionItem};
const ClassInfo TOwnedCollection = {"TOwnedCollection", &TCollection, "Classes", {}, 0, &TCollectionItem};
const ClassInfo TStrings = {"TStrings", &TPersistent, "Classes", {}, CfStrings};
const ClassInfo TStringList = {"TStringList", &TStrings, "Classes"};
const ClassInfo TBasicAction = {"TBasicAction", &TComponent, "Classes"};

// Graphics
const ClassInfo TGraphicsObject = {"TGraphicsObject", &TPersistent, "Graphics"};
const ClassInfo TFont = {"TFont", &TGraphicsObject, "Graphics", FontGroups};
const ClassInfo TBrush = {"TBrush", &TGraphicsObject, "Graphics", BrushGroups};
const ClassInfo TPen = {"TPen", &TGraphicsObject, "Graphics", PenGroups};
const ClassInfo TCanvas = {"TCanvas", &TPersistent, "Graphics", CanvasGroups, CfAbstract};
const ClassInfo TMetafileCanvas = {"TMetafileCanvas", &TCanvas, "Graphics"};
const ClassInfo TGraphic = {"TGraphic", &TInterfacedPersistent, "Graphics", {}, CfGraphic};
// Not a graphic itself, but written like one: its image goes out as Data.
const ClassInfo TPicture = {"TPicture", &TInterfacedPersistent, "Graphics", {}, CfGraphic};
const ClassInfo TBitmap = {"TBitmap", &TGraphic, "Graphics"};
const ClassInfo TIcon = {"TIcon", &TGraphic, "Graphics"};
const ClassInfo TMetafile = {"TMetafile", &TGraphic, "Graphics"};

// Controls, ImgList
const ClassInfo TControl = {"TControl", &TComponent, "Controls", ControlGroups, CfControl};
const ClassInfo TWinControl = {"TWinControl", &TControl, "Controls", {}, CfWinControl};
const ClassInfo TGraphicControl = {"TGraphicControl", &TControl, "Controls"};
const ClassInfo TCustomControl = {"TCustomControl", &TWinControl, "Controls"};
const ClassInfo TCustomListControl = {"TCustomListControl", &TWinControl, "Controls"};
const ClassInfo TCustomMultiSelectListControl = {"TCustomMultiSelectListControl", &TCustomListControl,
                                                 "Controls"};
const ClassInfo TSizeConstraints = {"TSizeConstraints", &TPersistent, "Controls", SizeConstraintsGroups};
const ClassInfo TMargins = {"TMargins", &TPersistent, "Controls", MarginsGroups};
const ClassInfo TPadding = {"TPadding", &TMargins, "Controls", PaddingGroups};
const ClassInfo TTouchManager = {"TTouchManager", &TPersistent, "Controls", TouchManagerGroups};
const ClassInfo TCustomHint = {"TCustomHint", &TComponent, "Controls"};
const ClassInfo TCustomGestureManager = {"TCustomGestureManager", &TComponent, "Controls"};
const ClassInfo TBaseImageList = {"TBaseImageList", &TComponent, "ImageList"};
const ClassInfo TCustomImageList = {"TCustomImageList", &TBaseImageList, "ImgList"};
const ClassInfo TDragImageList = {"TDragImageList", &TCustomImageList, "Controls"};
const ClassInfo TImageList = {"TImageList", &TDragImageList, "Controls", ImageListGroups};

// Forms
const ClassInfo TControlScrollBar = {"TControlScrollBar", &TPersistent, "Forms", ControlScrollBarGroups};
const ClassInfo TGlassFrame = {"TGlassFrame", &TPersistent, "Forms", GlassFrameGroups};
const ClassInfo TTitleBar = {"TTitleBar", &TPersistent, "Forms", TitleBarGroups};
const ClassInfo TCustomTitleBarPanel = {"TCustomTitleBarPanel", &TCustomControl, "Forms"};
const ClassInfo TScrollingWinControl = {"TScrollingWinControl", &TWinControl, "Forms"};
const ClassInfo TCustomForm = {"TCustomForm", &TScrollingWinControl, "Forms", {}, CfForm};
const ClassInfo TForm = {"TForm", &TCustomForm, "Forms", FormGroups};
const ClassInfo TCustomFrame = {"TCustomFrame", &TScrollingWinControl, "Forms"};
const ClassInfo TFrame = {"TFrame", &TCustomFrame, "Forms", FrameGroups};
const ClassInfo TScrollBox = {"TScrollBox", &TScrollingWinControl, "Forms", ScrollBoxGroups};
const ClassInfo TApplication = {"TApplication", &TComponent, "Forms", {}, CfAbstract};
const ClassInfo TScreen = {"TScreen", &TComponent, "Forms", {}, CfAbstract};
const ClassInfo TDataModule = {"TDataModule", &TComponent, "Forms", DataModuleGroups};

// Menus
const ClassInfo TMenu = {"TMenu", &TComponent, "Menus"};
const ClassInfo TMainMenu = {"TMainMenu", &TMenu, "Menus", MainMenuGroups};
const ClassInfo TPopupMenu = {"TPopupMenu", &TMenu, "Menus", PopupMenuGroups};
const ClassInfo TMenuItem = {"TMenuItem", &TComponent, "Menus", MenuItemGroups};

// ActnList
const ClassInfo TContainedAction = {"TContainedAction", &TBasicAction, "ActnList", ContainedActionGroups};
const ClassInfo TCustomAction = {"TCustomAction", &TContainedAction, "ActnList"};
const ClassInfo TAction = {"TAction", &TCustomAction, "ActnList", ActionGroups};
const ClassInfo TCustomActionList = {"TCustomActionList", &TComponent, "ActnList"};
const ClassInfo TActionList = {"TActionList", &TCustomActionList, "ActnList", ActionListGroups};
// SecondaryShortCuts: a string list whose lines are shortcut texts.
const ClassInfo TShortCutList = {"TShortCutList", &TStringList, "ActnList"};

// Clipbrd
const ClassInfo TClipboard = {"TClipboard", &TPersistent, "Clipbrd", {}, CfAbstract};

}  // namespace cls

}  // namespace fw::rt
