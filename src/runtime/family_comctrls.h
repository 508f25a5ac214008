#pragma once
// What the tables of the common controls, the grids and the other component units
// (classes_comctrls.cpp, classes_grids.cpp, classes_misc.cpp) share with each other and
// with the data-aware tables: the intermediate classes that descendants in other
// units build on, the types those descendants publish too, and the chart's published
// groups, which every concrete chart class (TChart, TDBChart) publishes.
//
// The group arrays carry their sizes in the declaration so that a span over one can
// be formed in a constant expression, as with the core groups.

#include "builtin.h"
#include "metadata.h"

namespace fw::rt {

namespace cls {
// ComCtrls intermediates: the shell controls derive from the tree, list and
// extended combo box; the action bars from the tool window.
extern const ClassInfo TCustomTabControl, TCustomTreeView, TCustomListView, TCustomComboBoxEx, TToolWindow;
// TabNotBk: a page of a tabbed notebook, which forms hold as the notebook's children.
extern const ClassInfo TTabPage;
// Chart: the chart panel's ancestry between TCustomPanel and TCustomChart.
extern const ClassInfo TCustomTeePanel, TCustomTeePanelExtended, TCustomAxisPanel;
}  // namespace cls

namespace ty {
// Tree and list view types that the shell views publish too.
extern const TypeInfo TViewStyle, TIconOptions;
extern const TypeInfo TTVChangedEvent, TTVChangingEvent, TTVEditingEvent, TTVEditedEvent, TTVExpandingEvent,
    TTVExpandedEvent, TTVCollapsingEvent, TTVCustomDrawEvent, TTVCustomDrawItemEvent;
extern const TypeInfo TLVChangeEvent, TLVChangingEvent, TLVColumnClickEvent, TLVColumnRClickEvent,
    TLVDeletedEvent, TLVEditingEvent, TLVEditedEvent, TLVSelectItemEvent, TLVInfoTipEvent, TLVCustomDrawEvent,
    TLVCustomDrawItemEvent, TLVCustomDrawSubItemEvent;
// Extended combo box types that the shell combo box publishes too.
extern const TypeInfo TComboBoxExStyle, TComboBoxExStyles;
// The tool window's edge types, which the action bars publish too.
extern const TypeInfo TEdgeBorders, TEdgeStyle;
// The rich edit's events and the grid's drawing style, which the data-aware rich edit
// and grid publish too.
extern const TypeInfo TRichEditResizeEvent, TRichEditProtectChange, TRichEditSaveClipboard, TGridDrawingStyle;
}  // namespace ty

namespace grp {
// What a concrete chart publishes of TCustomChart's properties, defined in
// classes_misc.cpp: the walls, axes, titles, legend, gradient, border, shadow, 3D
// view, margins, paging, panning and zoom settings, with their initial values. A
// chart class takes them with grp::ControlProps, grp::ControlEvents,
// grp::ClickEvents, grp::WinControlProps and ChartPanelProps.
extern const PropInfo ChartProps[43];

// The chart's events: the clicks on its parts, the drawing, legend and paging hooks,
// zoom and scroll permission.
extern const PropInfo ChartEvents[16];

// The panel properties a chart publishes, with the chart's initial values:
// BevelInner bvNone, BevelOuter bvRaised, BevelWidth 1, BorderStyle bsNone,
// BorderWidth 0, Color clBtnFace, ParentColor False, TabStop False.
extern const PropInfo ChartPanelProps[8];
}  // namespace grp

}  // namespace fw::rt
