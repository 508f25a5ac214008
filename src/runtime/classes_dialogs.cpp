// The class tables of the dialog components (Dialogs, ExtDlgs) and of the old sample
// controls that forms still carry: Spin, Gauges, ColorGrd and Calendar.
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
extern const ClassInfo TCommonDialog;
}  // namespace cls

namespace {

// ---------------------------------------------------------------------------------
// Dialogs

constexpr PropInfo CommonDialogProps[] = {
    {"Ctl3D", &ty::Boolean, dv::Bool(true)},
    {"HelpContext", &ty::THelpContext, dv::Int(0)},
    EventProp("OnClose", ty::TNotifyEvent),
    EventProp("OnShow", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> CommonDialogGroups[] = {CommonDialogProps};

constexpr std::string_view FileEditStyleNames[] = {"fsEdit", "fsComboBox"};
constexpr TypeInfo TFileEditStyle = EnumType("TFileEditStyle", FileEditStyleNames);
constexpr std::string_view OpenOptionNames[] = {
    "ofReadOnly",         "ofOverwritePrompt",    "ofHideReadOnly",        "ofNoChangeDir",
    "ofShowHelp",         "ofNoValidate",         "ofAllowMultiSelect",    "ofExtensionDifferent",
    "ofPathMustExist",    "ofFileMustExist",      "ofCreatePrompt",        "ofShareAware",
    "ofNoReadOnlyReturn", "ofNoTestFileCreate",   "ofNoNetworkButton",     "ofNoLongNames",
    "ofOldStyleDialog",   "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing",
    "ofDontAddToRecent",  "ofForceShowHidden"};
constexpr TypeInfo TOpenOption = EnumType("TOpenOption", OpenOptionNames);
constexpr TypeInfo TOpenOptions = SetType("TOpenOptions", TOpenOption);
constexpr std::string_view OpenOptionExNames[] = {"ofExNoPlacesBar"};
constexpr TypeInfo TOpenOptionEx = EnumType("TOpenOptionEx", OpenOptionExNames);
constexpr TypeInfo TOpenOptionsEx = SetType("TOpenOptionsEx", TOpenOptionEx);
constexpr TypeInfo TFileName = def::StringType("TFileName");
constexpr TypeInfo TIncludeItemEvent = MethodType("TIncludeItemEvent");

constexpr PropInfo OpenDialogProps[] = {
    {"DefaultExt", &ty::String, dv::Str("")},
    {"FileEditStyle", &TFileEditStyle, dv::Int(0)},
    {"FileName", &TFileName, dv::Str("")},
    {"Filter", &ty::String, dv::Str("")},
    {"FilterIndex", &ty::Integer, dv::Int(1)},
    OwnedProp("HistoryList", ty::TStrings),
    {"InitialDir", &ty::String, dv::Str("")},
    {"Options", &TOpenOptions, dv::Set({2, 19})},  // ofHideReadOnly, ofEnableSizing
    {"OptionsEx", &TOpenOptionsEx, dv::Set({})},
    {"Title", &ty::String, dv::Str("")},
    EventProp("OnCanClose", ty::TCloseQueryEvent),
    EventProp("OnFolderChange", ty::TNotifyEvent),
    EventProp("OnIncludeItem", TIncludeItemEvent),
    EventProp("OnSelectionChange", ty::TNotifyEvent),
    EventProp("OnTypeChange", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> OpenDialogGroups[] = {OpenDialogProps};

constexpr std::string_view FontDialogDeviceNames[] = {"fdScreen", "fdPrinter", "fdBoth"};
constexpr TypeInfo TFontDialogDevice = EnumType("TFontDialogDevice", FontDialogDeviceNames);
constexpr std::string_view FontDialogOptionNames[] = {
    "fdAnsiOnly",       "fdTrueTypeOnly", "fdEffects",       "fdFixedPitchOnly",
    "fdForceFontExist", "fdNoFaceSel",    "fdNoOEMFonts",    "fdNoSimulations",
    "fdNoSizeSel",      "fdNoStyleSel",   "fdNoVectorFonts", "fdShowHelp",
    "fdWysiwyg",        "fdLimitSize",    "fdScalableOnly",  "fdApplyButton"};
constexpr TypeInfo TFontDialogOption = EnumType("TFontDialogOption", FontDialogOptionNames);
constexpr TypeInfo TFontDialogOptions = SetType("TFontDialogOptions", TFontDialogOption);
constexpr TypeInfo TFDApplyEvent = MethodType("TFDApplyEvent");
constexpr PropInfo FontDialogProps[] = {
    {"Device", &TFontDialogDevice, dv::Int(0)},
    OwnedProp("Font", ty::TFont),
    {"MaxFontSize", &ty::Integer, dv::Int(0)},
    {"MinFontSize", &ty::Integer, dv::Int(0)},
    {"Options", &TFontDialogOptions, dv::Set({2})},  // fdEffects
    EventProp("OnApply", TFDApplyEvent),
};
constexpr std::span<const PropInfo> FontDialogGroups[] = {FontDialogProps};

constexpr std::string_view ColorDialogOptionNames[] = {"cdFullOpen", "cdPreventFullOpen", "cdShowHelp",
                                                       "cdSolidColor", "cdAnyColor"};
constexpr TypeInfo TColorDialogOption = EnumType("TColorDialogOption", ColorDialogOptionNames);
constexpr TypeInfo TColorDialogOptions = SetType("TColorDialogOptions", TColorDialogOption);
// CustomColors holds lines of the form ColorA=808022.
constexpr PropInfo ColorDialogProps[] = {
    {"Color", &ty::TColor, dv::Int(clBlack)},
    OwnedProp("CustomColors", ty::TStrings),
    {"Options", &TColorDialogOptions, dv::Set({})},
};
constexpr std::span<const PropInfo> ColorDialogGroups[] = {ColorDialogProps};

constexpr std::string_view PrintRangeNames[] = {"prAllPages", "prSelection", "prPageNums"};
constexpr TypeInfo TPrintRange = EnumType("TPrintRange", PrintRangeNames);
constexpr std::string_view PrintDialogOptionNames[] = {"poPrintToFile", "poPageNums", "poSelection",
                                                       "poWarning",     "poHelp",     "poDisablePrintToFile"};
constexpr TypeInfo TPrintDialogOption = EnumType("TPrintDialogOption", PrintDialogOptionNames);
constexpr TypeInfo TPrintDialogOptions = SetType("TPrintDialogOptions", TPrintDialogOption);
constexpr PropInfo PrintDialogProps[] = {
    {"Collate", &ty::Boolean, dv::Bool(false)}, {"Copies", &ty::Integer, dv::Int(0)},
    {"FromPage", &ty::Integer, dv::Int(0)},     {"MaxPage", &ty::Integer, dv::Int(0)},
    {"MinPage", &ty::Integer, dv::Int(0)},      {"Options", &TPrintDialogOptions, dv::Set({})},
    {"PrintRange", &TPrintRange, dv::Int(0)},   {"PrintToFile", &ty::Boolean, dv::Bool(false)},
    {"ToPage", &ty::Integer, dv::Int(0)},
};
constexpr std::span<const PropInfo> PrintDialogGroups[] = {PrintDialogProps};

constexpr std::string_view FindOptionNames[] = {
    "frDown",       "frFindNext",         "frHideMatchCase", "frHideWholeWord",    "frHideUpDown",
    "frMatchCase",  "frDisableMatchCase", "frDisableUpDown", "frDisableWholeWord", "frReplace",
    "frReplaceAll", "frWholeWord",        "frShowHelp"};
constexpr TypeInfo TFindOption = EnumType("TFindOption", FindOptionNames);
constexpr TypeInfo TFindOptions = SetType("TFindOptions", TFindOption);
constexpr PropInfo FindDialogProps[] = {
    {"FindText", &ty::String, dv::Str("")},
    {"Options", &TFindOptions, dv::Set({0})},  // frDown
    EventProp("OnFind", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> FindDialogGroups[] = {FindDialogProps};
constexpr PropInfo ReplaceDialogProps[] = {
    {"ReplaceText", &ty::String, dv::Str("")},
    EventProp("OnReplace", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> ReplaceDialogGroups[] = {ReplaceDialogProps};

// ---------------------------------------------------------------------------------
// Spin

// The number of images side by side in a glyph, 1..4.
constexpr TypeInfo TNumGlyphs = IntType("TNumGlyphs");
constexpr PropInfo SpinButtonProps[] = {
    OwnedProp("DownGlyph", ty::TBitmap),        {"DownNumGlyphs", &TNumGlyphs, dv::Int(1)},
    RefProp("FocusControl", ty::TWinControl),   {"Height", &ty::Integer, dv::Int(25)},
    {"TabStop", &ty::Boolean, dv::Bool(false)}, OwnedProp("UpGlyph", ty::TBitmap),
    {"UpNumGlyphs", &TNumGlyphs, dv::Int(1)},   {"Width", &ty::Integer, dv::Int(20)},
    EventProp("OnDownClick", ty::TNotifyEvent), EventProp("OnUpClick", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> SpinButtonGroups[] = {
    grp::ControlProps, grp::ControlEvents, grp::WinControlProps,
    grp::FocusEvents,  grp::Ctl3DProps,    SpinButtonProps,
};

// A spin edit is an edit with a spin button inside; it publishes fewer of the edit's
// properties than TEdit does.
constexpr PropInfo SpinEditProps[] = {
    {"AutoSelect", &ty::Boolean, dv::Bool(true)},
    {"AutoSize", &ty::Boolean, dv::Bool(true)},
    {"EditorEnabled", &ty::Boolean, dv::Bool(true)},
    {"Height", &ty::Integer, dv::Int(22)},
    {"Increment", &ty::Integer, dv::Int(1)},
    {"MaxLength", &ty::Integer, dv::Int(0)},
    {"MaxValue", &ty::Integer, dv::Int(0)},
    {"MinValue", &ty::Integer, dv::Int(0)},
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"Value", &ty::Integer, dv::Int(0)},
    {"Width", &ty::Integer, dv::Int(121)},
    EventProp("OnChange", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> SpinEditGroups[] = {
    grp::ControlProps, grp::ControlEvents, grp::ClickEvents,      grp::WinControlProps,
    grp::FocusEvents,  grp::Ctl3DProps,    grp::WindowColorProps, SpinEditProps,
};

// ---------------------------------------------------------------------------------
// Gauges

constexpr std::string_view GaugeKindNames[] = {"gkText", "gkHorizontalBar", "gkVerticalBar", "gkPie",
                                               "gkNeedle"};
constexpr TypeInfo TGaugeKind = EnumType("TGaugeKind", GaugeKindNames);
constexpr PropInfo GaugeProps[] = {
    {"BackColor", &ty::TColor, dv::Int(clWhite)},
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},  // bsSingle
    {"ForeColor", &ty::TColor, dv::Int(clBlack)},
    {"Height", &ty::Integer, dv::Int(100)},
    {"Kind", &TGaugeKind, dv::Int(1)},  // gkHorizontalBar
    {"MaxValue", &ty::Integer, dv::Int(100)},
    {"MinValue", &ty::Integer, dv::Int(0)},
    {"Progress", &ty::Integer, dv::Int(0)},
    {"ShowText", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(100)},
};
constexpr std::span<const PropInfo> GaugeGroups[] = {grp::ControlProps, grp::ControlEvents, grp::ClickEvents,
                                                     grp::ParentColorProps, GaugeProps};

// ---------------------------------------------------------------------------------
// ColorGrd

constexpr std::string_view GridOrderingNames[] = {"go16x1", "go8x2", "go4x4", "go2x8", "go1x16"};
constexpr TypeInfo TGridOrdering = EnumType("TGridOrdering", GridOrderingNames);
constexpr PropInfo ColorGridProps[] = {
    {"BackgroundEnabled", &ty::Boolean, dv::Bool(true)},
    {"BackgroundIndex", &ty::Integer, dv::Int(0)},
    {"ClickEnablesColor", &ty::Boolean, dv::Bool(false)},
    {"ForegroundEnabled", &ty::Boolean, dv::Bool(true)},
    {"ForegroundIndex", &ty::Integer, dv::Int(0)},
    {"GridOrdering", &TGridOrdering, dv::Int(2)},  // go4x4
    {"Height", &ty::Integer, dv::Int(100)},
    {"Selection", &ty::Integer, dv::Int(0)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(100)},
    EventProp("OnChange", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> ColorGridGroups[] = {
    grp::ControlProps, grp::ControlEvents, grp::ClickEvents, grp::WinControlProps,
    grp::FocusEvents,  grp::Ctl3DProps,    ColorGridProps,
};

// ---------------------------------------------------------------------------------
// Calendar

// TDayOfWeek: 0..6, Sunday first.
constexpr TypeInfo TDayOfWeek = IntType("TDayOfWeek");
// The date shown follows the clock while UseCurrentDate is set; CalendarDate is not
// written to forms.
constexpr PropInfo CalendarProps[] = {
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},  // bsSingle
    {"CalendarDate", &ty::TDateTime},
    {"Day", &ty::Integer},
    {"GridLineWidth", &ty::Integer, dv::Int(1)},
    {"Height", &ty::Integer, dv::Int(120)},
    {"Month", &ty::Integer},
    {"ReadOnly", &ty::Boolean, dv::Bool(false)},
    {"StartOfWeek", &TDayOfWeek, dv::Int(1)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"UseCurrentDate", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(320)},
    {"Year", &ty::Integer},
    EventProp("OnChange", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> CalendarGroups[] = {
    grp::ControlProps, grp::ControlEvents, grp::ClickEvents,      grp::WinControlProps,
    grp::FocusEvents,  grp::Ctl3DProps,    grp::WindowColorProps, CalendarProps,
};

}  // namespace

namespace cls {

// Dialogs
const ClassInfo TCommonDialog = {"TCommonDialog", &TComponent, "Dialogs", CommonDialogGroups};
const ClassInfo TOpenDialog = {"TOpenDialog", &TCommonDialog, "Dialogs", OpenDialogGroups};
const ClassInfo TSaveDialog = {"TSaveDialog", &TOpenDialog, "Dialogs"};
const ClassInfo TFontDialog = {"TFontDialog", &TCommonDialog, "Dialogs", FontDialogGroups};
const ClassInfo TColorDialog = {"TColorDialog", &TCommonDialog, "Dialogs", ColorDialogGroups};
const ClassInfo TPrintDialog = {"TPrintDialog", &TCommonDialog, "Dialogs", PrintDialogGroups};
const ClassInfo TPrinterSetupDialog = {"TPrinterSetupDialog", &TCommonDialog, "Dialogs"};
const ClassInfo TFindDialog = {"TFindDialog", &TCommonDialog, "Dialogs", FindDialogGroups};
const ClassInfo TReplaceDialog = {"TReplaceDialog", &TFindDialog, "Dialogs", ReplaceDialogGroups};

// ExtDlgs
const ClassInfo TOpenPictureDialog = {"TOpenPictureDialog", &TOpenDialog, "ExtDlgs"};
const ClassInfo TSavePictureDialog = {"TSavePictureDialog", &TOpenPictureDialog, "ExtDlgs"};

// Spin
const ClassInfo TSpinButton = {"TSpinButton", &TWinControl, "Spin", SpinButtonGroups};
const ClassInfo TSpinEdit = {"TSpinEdit", &TCustomEdit, "Spin", SpinEditGroups};

// Gauges
const ClassInfo TGauge = {"TGauge", &TGraphicControl, "Gauges", GaugeGroups};

// ColorGrd
const ClassInfo TColorGrid = {"TColorGrid", &TCustomControl, "ColorGrd", ColorGridGroups};

// Calendar
const ClassInfo TCalendar = {"TCalendar", &TCustomGrid, "Calendar", CalendarGroups};

}  // namespace cls

}  // namespace fw::rt
