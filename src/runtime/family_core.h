#pragma once
// What the core component families (Classes, Graphics, Controls, Forms, Menus,
// ActnList, StdCtrls, ExtCtrls, the dialogs) share with the other family tables: the
// types of class-typed properties, a few more shared types and intermediate classes,
// and the published-property groups that most controls repeat.
//
// A group is a constant array defined once, in the family file named beside it; a
// class table takes it by address into its list of groups, e.g.
//   constexpr std::span<const PropInfo> TreeViewGroups[] = {grp::ControlProps,
//       grp::ControlEvents, grp::WinControlProps, ..., TreeViewProps};
// The array sizes are part of the declaration so that a span over a group can be
// formed in a constant expression; the defining file checks that no entry is left
// empty. Groups never share a property name, so a class may take any of them
// together; a class that takes a group must not list one of its properties again.

#include <cstdint>
#include <span>
#include <string_view>

#include "builtin.h"
#include "metadata.h"

namespace fw::rt {

// Classes of the core units that other families derive from or refer to, beyond the
// ones builtin.h names.
namespace cls {
// Controls
extern const ClassInfo TCustomHint, TTouchManager, TCustomListControl, TCustomMultiSelectListControl;
// StdCtrls
extern const ClassInfo TCustomCombo, TCustomButton;
// ExtCtrls: the pages of a TNotebook, written as its child objects ("object TPage").
extern const ClassInfo TPage;
}  // namespace cls

namespace ty {
// The declared types of class-typed properties, one per class: a property holding a
// TFont is typed ty::TFont (kind tkClass, ClassType &cls::TFont). Defined in
// types_core.cpp.
extern const TypeInfo TPersistent, TComponent, TStrings, TFont, TBrush, TPen, TGraphic, TPicture, TBitmap,
    TIcon, TMetafile, TControl, TWinControl, TSizeConstraints, TMargins, TPadding, TCustomImageList,
    TControlScrollBar, TCustomHint, TTouchManager, TMenuItem, TMainMenu, TPopupMenu, TBasicAction,
    TCustomActionList;
// TImeMode (imDisable .. imHanguel), TImeName (a string), TImageName (a string: the
// name of an image in an image collection).
extern const TypeInfo TImeMode, TImeName, TImageName;
// The alignment events of containers (OnAlignInsertBefore, OnAlignPosition).
extern const TypeInfo TAlignInsertBeforeEvent, TAlignPositionEvent;
}  // namespace ty

// Named values that initial values are written with.
namespace val {
// A system colour is $FF000000 plus the system colour index; a TColor is a signed
// 32-bit integer, so these values are negative.
constexpr std::int64_t SysColorBase = -0x1000000;
constexpr std::int64_t clBlack = 0x000000, clMaroon = 0x000080, clNavy = 0x800000, clGray = 0x808080,
                       clSilver = 0xC0C0C0, clWhite = 0xFFFFFF, clNone = 0x1FFFFFFF, clDefault = 0x20000000;
constexpr std::int64_t clMenu = SysColorBase + 4, clWindow = SysColorBase + 5, clMenuText = SysColorBase + 7,
                       clWindowText = SysColorBase + 8, clCaptionText = SysColorBase + 9,
                       clAppWorkSpace = SysColorBase + 12, clHighlight = SysColorBase + 13,
                       clHighlightText = SysColorBase + 14, clBtnFace = SysColorBase + 15,
                       clBtnShadow = SysColorBase + 16, clGrayText = SysColorBase + 17,
                       clBtnText = SysColorBase + 18, clBtnHighlight = SysColorBase + 20,
                       clInfoText = SysColorBase + 23, clInfoBk = SysColorBase + 24,
                       clHotLight = SysColorBase + 26;
constexpr std::int64_t crDefault = 0, crArrow = -2, crIBeam = -4, crDrag = -12, crHSplit = -14,
                       crVSplit = -15, crHandPoint = -21;
}  // namespace val

// Shorthands for writing type and property rows.
namespace def {
constexpr TypeInfo IntType(std::string_view name, std::span<const IdentEntry> idents = {}) {
    return {.Name = name, .Kind = TypeKind::tkInteger, .Idents = idents};
}
constexpr TypeInfo StringType(std::string_view name) {
    return {.Name = name, .Kind = TypeKind::tkLString};
}
constexpr TypeInfo EnumType(std::string_view name, std::span<const std::string_view> names) {
    return {.Name = name, .Kind = TypeKind::tkEnumeration, .EnumNames = names};
}
constexpr TypeInfo SetType(std::string_view name, const TypeInfo& element) {
    return {.Name = name, .Kind = TypeKind::tkSet, .ElementType = &element};
}
constexpr TypeInfo FloatTypeInfo(std::string_view name, FloatType representation) {
    return {.Name = name, .Kind = TypeKind::tkFloat, .Float = representation};
}
constexpr TypeInfo MethodType(std::string_view name) {
    return {.Name = name, .Kind = TypeKind::tkMethod};
}
constexpr TypeInfo ClassType(std::string_view name, const ClassInfo& cls) {
    return {.Name = name, .Kind = TypeKind::tkClass, .ClassType = &cls};
}
// A sub-object created with its owner (Font, Lines, Picture).
constexpr PropInfo OwnedProp(std::string_view name, const TypeInfo& type) {
    return {name, &type, dv::None(), PropHolding::Owned};
}
// A component of the form, named in the property's value (PopupMenu, Images, Action).
constexpr PropInfo RefProp(std::string_view name, const TypeInfo& type) {
    return {name, &type, dv::None(), PropHolding::Reference};
}
// An event: the name of a method of the form's class.
constexpr PropInfo EventProp(std::string_view name, const TypeInfo& type) {
    return {name, &type};
}
}  // namespace def

// The shared property groups, defined in classes_core.cpp.
namespace grp {

// Whether every row of a property group with a declared size was written: a row left
// out would be an empty entry. Only the name is checked: with sanitizers on, comparing
// the address of an extern type with null is no constant expression; the table test
// checks the types.
template <std::size_t N>
constexpr bool AllRowsFilled(const PropInfo (&rows)[N]) {
    for (const PropInfo& row : rows)
        if (row.Name.empty()) return false;
    return true;
}

// The properties nearly every control publishes, with TControl's initial values:
// Align alNone, Anchors [akLeft,akTop], BiDiMode bdLeftToRight, Constraints (owned
// TSizeConstraints), DragCursor crDrag, DragKind dkDrag, DragMode dmManual, Enabled
// True, Font (owned TFont), ParentBiDiMode True, ParentFont True, ParentShowHint True,
// PopupMenu (a TPopupMenu reference), ShowHint False, Touch (owned TTouchManager),
// Visible True. Left/Top/Width/Height, Cursor, Hint, the help properties, Margins,
// AlignWithMargins, CustomHint, ParentCustomHint, StyleElements and StyleName are
// published by TControl itself and need no group.
extern const PropInfo ControlProps[16];

// The mouse, drag-and-drop and docking events nearly every control publishes:
// OnContextPopup, OnDragDrop, OnDragOver, OnEndDock, OnEndDrag, OnGesture,
// OnMouseActivate, OnMouseDown, OnMouseEnter, OnMouseLeave, OnMouseMove, OnMouseUp,
// OnStartDock, OnStartDrag.
extern const PropInfo ControlEvents[14];

// OnClick and OnDblClick (TNotifyEvent).
extern const PropInfo ClickEvents[2];

// What a windowed control publishes besides ControlProps: DoubleBuffered False,
// ParentDoubleBuffered True, TabOrder -1. TabStop is left to each class, its initial
// value differs (True for edits and buttons, False for panels).
extern const PropInfo WinControlProps[3];

// The focus and keyboard events of windowed controls: OnEnter, OnExit, OnKeyDown,
// OnKeyPress, OnKeyUp.
extern const PropInfo FocusEvents[5];

// Ctl3D True and ParentCtl3D True.
extern const PropInfo Ctl3DProps[2];

// TWinControl's window bevel, as edits, lists, trees and grids publish it: BevelEdges
// [beLeft,beTop,beRight,beBottom], BevelInner bvRaised, BevelKind bkNone, BevelOuter
// bvLowered, BevelWidth 1. (TPanel and TBevel have bevels of their own.)
extern const PropInfo WinBevelProps[5];

// The input-method properties of text controls: ImeMode imDontCare, ImeName ''.
extern const PropInfo ImeProps[2];

// Color and ParentColor for controls that show the parent's colour until told
// otherwise (labels, check boxes, group boxes): Color clWindow, ParentColor True.
extern const PropInfo ParentColorProps[2];

// Color and ParentColor for controls with a content area of their own (edits, lists,
// trees, grids): Color clWindow, ParentColor False.
extern const PropInfo WindowColorProps[2];

// Color and ParentColor for controls painted in the face colour (panels, bars):
// Color clBtnFace, ParentColor False.
extern const PropInfo FaceColorProps[2];

// A dock site's property: DockSite False. UseDockManager, whose initial value differs
// between classes, is listed by each class.
extern const PropInfo DockSiteProps[1];

// A dock site's events: OnDockDrop, OnDockOver, OnGetSiteInfo, OnUnDock.
extern const PropInfo DockSiteEvents[4];

// The resize events of containers: OnCanResize, OnConstrainedResize, OnResize.
extern const PropInfo ResizeEvents[3];

// The mouse wheel events: OnMouseWheel, OnMouseWheelDown, OnMouseWheelUp.
extern const PropInfo MouseWheelEvents[3];

// Padding (an owned TPadding), published by containers.
extern const PropInfo PaddingProps[1];

// The alignment events of containers: OnAlignInsertBefore, OnAlignPosition.
extern const PropInfo AlignEvents[2];

// What single-line edits publish beyond the groups above (defined in
// classes_stdctrls.cpp): Alignment taLeftJustify, AutoSelect True, AutoSize True,
// BorderStyle bsSingle, CharCase ecNormal, Height 21, HideSelection True, MaxLength 0,
// OEMConvert False, PasswordChar #0, ReadOnly False, TabStop True, Text '', TextHint '',
// Width 121, OnChange.
extern const PropInfo EditProps[16];
}  // namespace grp

}  // namespace fw::rt
