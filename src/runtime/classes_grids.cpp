// The grids and the older list controls built on them or beside them: Grids (the draw
// grid and the string grid), ValEdit (the value list editor), Tabs (the tab set),
// TabNotBk (the tabbed notebook), Outline, FileCtrl (file, directory, drive and filter
// lists) and DirOutln (the directory outline).
//
// Published properties and initial values are those of the 10.x and 11 generations of the component library.
// A grid's column widths and row heights, and a string grid's cells, are not published: the grid writes them
// itself (ColWidths, RowHeights).

#include <span>
#include <string_view>

#include "builtin.h"
#include "family_comctrls.h"
#include "family_core.h"
#include "metadata.h"

namespace fw::rt {

namespace cls {
extern const ClassInfo TCustomValueListEditor, TCustomTabSet, TCustomOutline;
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

// ---------------------------------------------------------------------------------
// Grids

constexpr std::string_view GridOptionNames[] = {
    "goFixedVertLine",     "goFixedHorzLine", "goVertLine",      "goHorzLine",         "goRangeSelect",
    "goDrawFocusSelected", "goRowSizing",     "goColSizing",     "goRowMoving",        "goColMoving",
    "goEditing",           "goTabs",          "goRowSelect",     "goAlwaysShowEditor", "goThumbTracking",
    "goFixedColClick",     "goFixedRowClick", "goFixedHotTrack",
};
constexpr std::string_view GridDrawingStyleNames[] = {"gdsClassic", "gdsThemed", "gdsGradient"};

constexpr TypeInfo GridOption = EnumType("TGridOption", GridOptionNames);
constexpr TypeInfo GridOptions = SetType("TGridOptions", GridOption);

constexpr TypeInfo DrawCellEvent = MethodType("TDrawCellEvent");
constexpr TypeInfo FixedCellClickEvent = MethodType("TFixedCellClickEvent");
constexpr TypeInfo GetEditEvent = MethodType("TGetEditEvent");
constexpr TypeInfo MovedEvent = MethodType("TMovedEvent");
constexpr TypeInfo SelectCellEvent = MethodType("TSelectCellEvent");
constexpr TypeInfo SetEditEvent = MethodType("TSetEditEvent");

// What every published grid takes over from TCustomGrid.
constexpr PropInfo GridProps[] = {
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},  // bsSingle
    {"DefaultDrawing", &ty::Boolean, dv::Bool(true)},
    {"DrawingStyle", &ty::TGridDrawingStyle, dv::Int(1)},  // gdsThemed
    {"FixedColor", &ty::TColor, dv::Int(clBtnFace)},
    {"GradientEndColor", &ty::TColor},
    {"GradientStartColor", &ty::TColor},
    {"GridLineWidth", &ty::Integer, dv::Int(1)},
    {"ScrollBars", &ty::TScrollStyle, dv::Int(3)},  // ssBoth
    {"TabStop", &ty::Boolean, dv::Bool(true)},
};

constexpr PropInfo GridEvents[] = {
    EventProp("OnDrawCell", DrawCellEvent),   EventProp("OnFixedCellClick", FixedCellClickEvent),
    EventProp("OnGetEditMask", GetEditEvent), EventProp("OnGetEditText", GetEditEvent),
    EventProp("OnRowMoved", MovedEvent),      EventProp("OnSelectCell", SelectCellEvent),
    EventProp("OnSetEditText", SetEditEvent), EventProp("OnTopLeftChanged", ty::TNotifyEvent),
};

// The draw grid's own cell layout. The string grid derives from the draw grid and
// publishes nothing more.
constexpr PropInfo DrawGridProps[] = {
    {"ColCount", &ty::Integer, dv::Int(5)},
    {"DefaultColWidth", &ty::Integer, dv::Int(64)},
    {"DefaultRowHeight", &ty::Integer, dv::Int(24)},
    {"FixedCols", &ty::Integer, dv::Int(1)},
    {"FixedRows", &ty::Integer, dv::Int(1)},
    {"Height", &ty::Integer, dv::Int(120)},
    {"Options", &GridOptions, dv::Set({0, 1, 2, 3, 4})},
    {"RowCount", &ty::Integer, dv::Int(5)},
    {"Width", &ty::Integer, dv::Int(320)},
    EventProp("OnColumnMoved", MovedEvent),
};
constexpr Group DrawGridGroups[] = {
    grp::ControlProps,     grp::ControlEvents, grp::ClickEvents,   grp::WinControlProps,
    grp::FocusEvents,      grp::Ctl3DProps,    grp::WinBevelProps, grp::WindowColorProps,
    grp::MouseWheelEvents, GridProps,          GridEvents,         DrawGridProps};

// ---------------------------------------------------------------------------------
// ValEdit

constexpr std::string_view DisplayOptionNames[] = {"doColumnTitles", "doAutoColResize", "doKeyColFixed"};
constexpr std::string_view KeyOptionNames[] = {"keyEdit", "keyAdd", "keyDelete", "keyUnique"};
constexpr TypeInfo DisplayOption = EnumType("TDisplayOption", DisplayOptionNames);
constexpr TypeInfo DisplayOptions = SetType("TDisplayOptions", DisplayOption);
constexpr TypeInfo KeyOption = EnumType("TKeyOption", KeyOptionNames);
constexpr TypeInfo KeyOptions = SetType("TKeyOptions", KeyOption);
constexpr TypeInfo GetPickListEvent = MethodType("TGetPickListEvent");
constexpr TypeInfo OnValidateEvent = MethodType("TOnValidateEvent");

// Two columns, key and value; the lines themselves are the Strings list.
constexpr PropInfo ValueListEditorProps[] = {
    {"DefaultColWidth", &ty::Integer, dv::Int(150)},
    {"DefaultRowHeight", &ty::Integer, dv::Int(18)},
    {"DisplayOptions", &DisplayOptions, dv::Set({0, 1, 2})},
    {"FixedCols", &ty::Integer, dv::Int(0)},
    {"Height", &ty::Integer, dv::Int(300)},
    {"KeyOptions", &KeyOptions, dv::Set({})},
    // goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goColSizing,
    // goEditing, goAlwaysShowEditor, goThumbTracking.
    {"Options", &GridOptions, dv::Set({0, 1, 2, 3, 7, 10, 13, 14})},
    OwnedProp("Strings", ty::TStrings),
    OwnedProp("TitleCaptions", ty::TStrings),
    {"Width", &ty::Integer, dv::Int(306)},
    EventProp("OnEditButtonClick", ty::TNotifyEvent),
    EventProp("OnGetPickList", GetPickListEvent),
    EventProp("OnStringsChange", ty::TNotifyEvent),
    EventProp("OnStringsChanging", ty::TNotifyEvent),
    EventProp("OnValidate", OnValidateEvent),
};
constexpr Group ValueListEditorGroups[] = {
    grp::ControlProps, grp::ControlEvents, grp::ClickEvents,      grp::WinControlProps,
    grp::FocusEvents,  grp::Ctl3DProps,    grp::WindowColorProps, grp::MouseWheelEvents,
    GridProps,         GridEvents,         ValueListEditorProps};

// ---------------------------------------------------------------------------------
// Tabs

// The tab set has style and position types of its own, named like the tab control's.
constexpr std::string_view TabSetStyleNames[] = {"tsStandard", "tsOwnerDraw", "tsSoftTabs", "tsModernTabs",
                                                 "tsModernPopout"};
constexpr std::string_view TabSetPositionNames[] = {"tpTop", "tpBottom", "tpLeft", "tpRight"};
constexpr TypeInfo TabSetStyle = EnumType("TTabStyle", TabSetStyleNames);
constexpr TypeInfo TabSetPosition = EnumType("TTabPosition", TabSetPositionNames);
constexpr TypeInfo TabChangeEvent = MethodType("TTabChangeEvent");
constexpr TypeInfo DrawTabEvent = MethodType("TDrawTabEvent");
constexpr TypeInfo MeasureTabEvent = MethodType("TMeasureTabEvent");
constexpr TypeInfo TabGetImageEvent = MethodType("TTabGetImageEvent");

constexpr PropInfo TabSetProps[] = {
    {"AutoScroll", &ty::Boolean, dv::Bool(true)},
    {"BackgroundColor", &ty::TColor, dv::Int(clBtnFace)},
    {"DitherBackground", &ty::Boolean, dv::Bool(true)},
    {"EdgeWidth", &ty::Integer, dv::Int(9)},
    {"EndMargin", &ty::Integer, dv::Int(5)},
    {"Height", &ty::Integer, dv::Int(21)},
    RefProp("Images", ty::TCustomImageList),
    {"SelectedColor", &ty::TColor, dv::Int(clBtnFace)},
    {"SoftTop", &ty::Boolean, dv::Bool(false)},
    {"StartMargin", &ty::Integer, dv::Int(5)},
    {"Style", &TabSetStyle, dv::Int(0)},
    {"TabHeight", &ty::Integer, dv::Int(20)},
    {"TabIndex", &ty::Integer, dv::Int(-1)},
    {"TabPosition", &TabSetPosition, dv::Int(1)},  // tpBottom
    OwnedProp("Tabs", ty::TStrings),
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"TabWidth", &ty::Integer, dv::Int(0)},
    {"UnselectedColor", &ty::TColor, dv::Int(clWindow)},
    {"Width", &ty::Integer, dv::Int(185)},
    EventProp("OnChange", TabChangeEvent),
    EventProp("OnDrawTab", DrawTabEvent),
    EventProp("OnGetImageIndex", TabGetImageEvent),
    EventProp("OnMeasureTab", MeasureTabEvent),
};
constexpr Group TabSetGroups[] = {grp::ControlProps,    grp::ControlEvents, grp::ClickEvents,
                                  grp::WinControlProps, grp::FocusEvents,   TabSetProps};

// The tab set's scroll arrows.
constexpr PropInfo ScrollerProps[] = {
    {"Change", &ty::Integer, dv::Int(1)},   {"Max", &ty::Integer, dv::Int(0)},
    {"Min", &ty::Integer, dv::Int(0)},      {"Position", &ty::Integer, dv::Int(0)},
    EventProp("OnClick", ty::TNotifyEvent),
};
constexpr Group ScrollerGroups[] = {ScrollerProps};

// ---------------------------------------------------------------------------------
// TabNotBk

constexpr TypeInfo PageChangeEvent = MethodType("TPageChangeEvent");
constexpr TypeInfo TabChangingEvent = MethodType("TTabChangingEvent");

// The pages are TTabPage children; ActivePage names one by its caption.
constexpr PropInfo TabbedNotebookProps[] = {
    {"ActivePage", &ty::String},
    {"Height", &ty::Integer, dv::Int(250)},
    {"PageIndex", &ty::Integer, dv::Int(0)},
    OwnedProp("Pages", ty::TStrings),
    OwnedProp("TabFont", ty::TFont),
    {"TabsPerRow", &ty::Integer, dv::Int(3)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(300)},
    EventProp("OnChange", PageChangeEvent),
    EventProp("OnChanging", TabChangingEvent),
    EventProp("OnClick", ty::TNotifyEvent),
};
constexpr Group TabbedNotebookGroups[] = {grp::ControlProps, grp::ControlEvents, grp::WinControlProps,
                                          grp::FocusEvents, TabbedNotebookProps};

// A page of a tabbed notebook takes its place from the notebook.
constexpr PropInfo TabPageProps[] = {
    {"Caption", &ty::TCaption, dv::Str("")},
};
constexpr Group TabPageGroups[] = {TabPageProps};

// ---------------------------------------------------------------------------------
// Outline and DirOutln

constexpr std::string_view OutlineStyleNames[] = {"osPictureText",     "osPlusMinusPictureText",
                                                  "osPlusMinusText",   "osText",
                                                  "osTreePictureText", "osTreeText"};
constexpr std::string_view OutlineOptionNames[] = {"ooDrawTreeRoot", "ooDrawFocusRect", "ooStretchBitmaps"};
constexpr std::string_view OutlineTypeNames[] = {"otStandard", "otOwnerDraw"};
constexpr std::string_view DirTextCaseNames[] = {"tcLowerCase", "tcUpperCase", "tcAsIs"};
constexpr TypeInfo OutlineStyle = EnumType("TOutlineStyle", OutlineStyleNames);
constexpr TypeInfo OutlineOption = EnumType("TOutlineOption", OutlineOptionNames);
constexpr TypeInfo OutlineOptions = SetType("TOutlineOptions", OutlineOption);
constexpr TypeInfo OutlineType = EnumType("TOutlineType", OutlineTypeNames);
constexpr TypeInfo DirTextCase = EnumType("TTextCase", DirTextCaseNames);
constexpr TypeInfo OutlineEvent = MethodType("TOutlineEvent");

// What the outline and the directory outline both publish.
constexpr PropInfo OutlineCommonProps[] = {
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)}, {"ItemHeight", &ty::Integer},
    {"Options", &OutlineOptions, dv::Set({0, 1})},  // ooDrawTreeRoot, ooDrawFocusRect
    OwnedProp("PictureClosed", ty::TBitmap),        OwnedProp("PictureLeaf", ty::TBitmap),
    OwnedProp("PictureOpen", ty::TBitmap),          {"ScrollBars", &ty::TScrollStyle, dv::Int(3)},  // ssBoth
    {"TabStop", &ty::Boolean, dv::Bool(true)},      EventProp("OnCollapse", OutlineEvent),
    EventProp("OnDrawItem", ty::TDrawItemEvent),    EventProp("OnExpand", OutlineEvent),
};

// The lines hold the items, their depth given by leading tabs.
constexpr PropInfo OutlineProps[] = {
    {"ItemSeparator", &ty::String, dv::Str("\\")}, OwnedProp("Lines", ty::TStrings),
    {"OutlineStyle", &OutlineStyle, dv::Int(4)},  // osTreePictureText
    OwnedProp("PictureMinus", ty::TBitmap),        OwnedProp("PicturePlus", ty::TBitmap),
    {"Style", &OutlineType, dv::Int(0)},
};
constexpr Group OutlineGroups[] = {grp::ControlProps,     grp::ControlEvents, grp::ClickEvents,
                                   grp::WinControlProps,  grp::FocusEvents,   grp::Ctl3DProps,
                                   grp::WindowColorProps, OutlineCommonProps, OutlineProps};

// The drive and directory are read from the system, not stored.
constexpr PropInfo DirectoryOutlineProps[] = {
    {"Directory", &ty::String},
    {"Drive", &ty::Char},
    {"TextCase", &DirTextCase, dv::Int(0)},
    EventProp("OnChange", ty::TNotifyEvent),
};
constexpr Group DirectoryOutlineGroups[] = {grp::ControlProps,     grp::ControlEvents, grp::ClickEvents,
                                            grp::WinControlProps,  grp::FocusEvents,   grp::Ctl3DProps,
                                            grp::WindowColorProps, OutlineCommonProps, DirectoryOutlineProps};

// ---------------------------------------------------------------------------------
// FileCtrl

constexpr std::string_view FileAttrNames[] = {"ftReadOnly",  "ftHidden",  "ftSystem", "ftVolumeID",
                                              "ftDirectory", "ftArchive", "ftNormal"};
constexpr std::string_view FileTextCaseNames[] = {"tcLowerCase", "tcUpperCase"};
constexpr TypeInfo FileAttr = EnumType("TFileAttr", FileAttrNames);
constexpr TypeInfo FileType = SetType("TFileType", FileAttr);
constexpr TypeInfo FileTextCase = EnumType("TTextCase", FileTextCaseNames);
constexpr TypeInfo EditType = def::ClassType("TEdit", cls::TEdit);
constexpr TypeInfo LabelType = def::ClassType("TLabel", cls::TLabel);
constexpr TypeInfo FileListBoxType = def::ClassType("TFileListBox", cls::TFileListBox);
constexpr TypeInfo DirectoryListBoxType = def::ClassType("TDirectoryListBox", cls::TDirectoryListBox);

// The file and directory lists are list boxes that fill themselves.
constexpr PropInfo FileListProps[] = {
    {"Directory", &ty::String},
    {"IntegralHeight", &ty::Boolean, dv::Bool(false)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    EventProp("OnChange", ty::TNotifyEvent),
};

constexpr PropInfo FileListBoxProps[] = {
    {"ExtendedSelect", &ty::Boolean, dv::Bool(true)},
    RefProp("FileEdit", EditType),
    {"FileType", &FileType, dv::Set({6})},  // ftNormal
    {"ItemHeight", &ty::Integer},
    {"Mask", &ty::String, dv::Str("*.*")},
    {"MultiSelect", &ty::Boolean, dv::Bool(false)},
    {"ShowGlyphs", &ty::Boolean, dv::Bool(false)},
};
constexpr Group FileListBoxGroups[] = {
    grp::ControlProps, grp::ControlEvents, grp::ClickEvents,      grp::WinControlProps, grp::FocusEvents,
    grp::Ctl3DProps,   grp::ImeProps,      grp::WindowColorProps, FileListProps,        FileListBoxProps};

constexpr PropInfo DirectoryListBoxProps[] = {
    {"Columns", &ty::Integer, dv::Int(0)},
    RefProp("DirLabel", LabelType),
    RefProp("FileList", FileListBoxType),
    {"ItemHeight", &ty::Integer, dv::Int(16)},
};
constexpr Group DirectoryListBoxGroups[] = {grp::ControlProps,    grp::ControlEvents,    grp::ClickEvents,
                                            grp::WinControlProps, grp::FocusEvents,      grp::Ctl3DProps,
                                            grp::ImeProps,        grp::WindowColorProps, FileListProps,
                                            DirectoryListBoxProps};

// The drive combo box shows the current drive, which is not stored.
constexpr PropInfo DriveComboBoxProps[] = {
    RefProp("DirList", DirectoryListBoxType),  {"Drive", &ty::Char},
    {"TabStop", &ty::Boolean, dv::Bool(true)}, {"TextCase", &FileTextCase, dv::Int(0)},
    EventProp("OnChange", ty::TNotifyEvent),   EventProp("OnDropDown", ty::TNotifyEvent),
};
constexpr Group DriveComboBoxGroups[] = {grp::ControlProps,    grp::ControlEvents,    grp::ClickEvents,
                                         grp::WinControlProps, grp::FocusEvents,      grp::Ctl3DProps,
                                         grp::ImeProps,        grp::WindowColorProps, DriveComboBoxProps};

constexpr PropInfo FilterComboBoxProps[] = {
    RefProp("FileList", FileListBoxType),      {"Filter", &ty::String, dv::Str("All files (*.*)|*.*")},
    {"TabStop", &ty::Boolean, dv::Bool(true)}, EventProp("OnChange", ty::TNotifyEvent),
    EventProp("OnDropDown", ty::TNotifyEvent),
};
constexpr Group FilterComboBoxGroups[] = {grp::ControlProps,    grp::ControlEvents,    grp::ClickEvents,
                                          grp::WinControlProps, grp::FocusEvents,      grp::Ctl3DProps,
                                          grp::ImeProps,        grp::WindowColorProps, FilterComboBoxProps};

}  // namespace

namespace ty {
const TypeInfo TGridDrawingStyle = EnumType("TGridDrawingStyle", GridDrawingStyleNames);
}  // namespace ty

namespace cls {

// Grids
const ClassInfo TCustomGrid = {"TCustomGrid", &TCustomControl, "Grids"};
const ClassInfo TCustomDrawGrid = {"TCustomDrawGrid", &TCustomGrid, "Grids"};
const ClassInfo TDrawGrid = {"TDrawGrid", &TCustomDrawGrid, "Grids", DrawGridGroups};
const ClassInfo TStringGrid = {"TStringGrid", &TDrawGrid, "Grids"};

// ValEdit
const ClassInfo TCustomValueListEditor = {"TCustomValueListEditor", &TCustomDrawGrid, "ValEdit"};
const ClassInfo TValueListEditor = {"TValueListEditor", &TCustomValueListEditor, "ValEdit",
                                    ValueListEditorGroups};

// Tabs
const ClassInfo TCustomTabSet = {"TCustomTabSet", &TCustomControl, "Tabs"};
const ClassInfo TTabSet = {"TTabSet", &TCustomTabSet, "Tabs", TabSetGroups};
const ClassInfo TScroller = {"TScroller", &TCustomControl, "Tabs", ScrollerGroups};

// TabNotBk
const ClassInfo TTabbedNotebook = {"TTabbedNotebook", &TCustomTabControl, "TabNotBk", TabbedNotebookGroups};
const ClassInfo TTabPage = {"TTabPage", &TWinControl, "TabNotBk", TabPageGroups};

// Outline
const ClassInfo TOutlineNode = {"TOutlineNode", &TPersistent, "Outline"};
const ClassInfo TCustomOutline = {"TCustomOutline", &TCustomGrid, "Outline"};
const ClassInfo TOutline = {"TOutline", &TCustomOutline, "Outline", OutlineGroups};

// FileCtrl
const ClassInfo TFileListBox = {"TFileListBox", &TCustomListBox, "FileCtrl", FileListBoxGroups};
const ClassInfo TDirectoryListBox = {"TDirectoryListBox", &TCustomListBox, "FileCtrl",
                                     DirectoryListBoxGroups};
const ClassInfo TDriveComboBox = {"TDriveComboBox", &TCustomComboBox, "FileCtrl", DriveComboBoxGroups};
const ClassInfo TFilterComboBox = {"TFilterComboBox", &TCustomComboBox, "FileCtrl", FilterComboBoxGroups};

// DirOutln
const ClassInfo TDirectoryOutline = {"TDirectoryOutline", &TCustomOutline, "DirOutln",
                                     DirectoryOutlineGroups};

}  // namespace cls

}  // namespace fw::rt
