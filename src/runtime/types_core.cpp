// The shared types of published properties: plain types, integers with named values,
// the enumerations and sets of the core units, the common event types, and the types
// of the class-typed properties of the core classes.
//
// Values follow the 10.x generation of the component library.

#include "builtin.h"
#include "family_core.h"

namespace fw::rt {

namespace {

using def::EnumType;
using def::FloatTypeInfo;
using def::IntType;
using def::MethodType;
using def::SetType;
using def::StringType;

constexpr std::string_view BooleanNames[] = {"False", "True"};

// A system colour: the system colour index in the low byte, $FF in the high byte. A
// TColor is a signed 32-bit integer, so these values are negative.
constexpr std::int64_t SysColor(int index) {
    return std::int64_t{-0x1000000} + index;
}

// The colour names form files use. A value with more than one name (clSilver and
// clLtGray) is written with the first name listed for it, so the aliases stay out.
constexpr IdentEntry ColorIdents[] = {
    {0x000000, "clBlack"},
    {0x000080, "clMaroon"},
    {0x008000, "clGreen"},
    {0x008080, "clOlive"},
    {0x800000, "clNavy"},
    {0x800080, "clPurple"},
    {0x808000, "clTeal"},
    {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"},
    {0x0000FF, "clRed"},
    {0x00FF00, "clLime"},
    {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"},
    {0xFF00FF, "clFuchsia"},
    {0xFFFF00, "clAqua"},
    {0xFFFFFF, "clWhite"},
    {0xC0DCC0, "clMoneyGreen"},
    {0xF0CAA6, "clSkyBlue"},
    {0xF0FBFF, "clCream"},
    {0xA4A0A0, "clMedGray"},
    {SysColor(0x00), "clScrollBar"},
    {SysColor(0x01), "clBackground"},
    {SysColor(0x02), "clActiveCaption"},
    {SysColor(0x03), "clInactiveCaption"},
    {SysColor(0x04), "clMenu"},
    {SysColor(0x05), "clWindow"},
    {SysColor(0x06), "clWindowFrame"},
    {SysColor(0x07), "clMenuText"},
    {SysColor(0x08), "clWindowText"},
    {SysColor(0x09), "clCaptionText"},
    {SysColor(0x0A), "clActiveBorder"},
    {SysColor(0x0B), "clInactiveBorder"},
    {SysColor(0x0C), "clAppWorkSpace"},
    {SysColor(0x0D), "clHighlight"},
    {SysColor(0x0E), "clHighlightText"},
    {SysColor(0x0F), "clBtnFace"},
    {SysColor(0x10), "clBtnShadow"},
    {SysColor(0x11), "clGrayText"},
    {SysColor(0x12), "clBtnText"},
    {SysColor(0x13), "clInactiveCaptionText"},
    {SysColor(0x14), "clBtnHighlight"},
    {SysColor(0x15), "cl3DDkShadow"},
    {SysColor(0x16), "cl3DLight"},
    {SysColor(0x17), "clInfoText"},
    {SysColor(0x18), "clInfoBk"},
    {SysColor(0x1A), "clHotLight"},
    {SysColor(0x1B), "clGradientActiveCaption"},
    {SysColor(0x1C), "clGradientInactiveCaption"},
    {SysColor(0x1D), "clMenuHighlight"},
    {SysColor(0x1E), "clMenuBar"},
    {0x1FFFFFFF, "clNone"},
    {0x20000000, "clDefault"},
};

// The cursor names. crSize is the old name of crSizeAll (-22) and reads as it; the
// value is written as crSizeAll.
constexpr IdentEntry CursorIdents[] = {
    {0, "crDefault"},     {-1, "crNone"},     {-2, "crArrow"},    {-3, "crCross"},     {-4, "crIBeam"},
    {-6, "crSizeNESW"},   {-7, "crSizeNS"},   {-8, "crSizeNWSE"}, {-9, "crSizeWE"},    {-10, "crUpArrow"},
    {-11, "crHourGlass"}, {-12, "crDrag"},    {-13, "crNoDrop"},  {-14, "crHSplit"},   {-15, "crVSplit"},
    {-16, "crMultiDrag"}, {-17, "crSQLWait"}, {-18, "crNo"},      {-19, "crAppStart"}, {-20, "crHelp"},
    {-21, "crHandPoint"}, {-22, "crSizeAll"}, {-22, "crSize"},
};

constexpr IdentEntry FontCharsetIdents[] = {
    {0, "ANSI_CHARSET"},      {1, "DEFAULT_CHARSET"},    {2, "SYMBOL_CHARSET"},
    {77, "MAC_CHARSET"},      {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"},
    {130, "JOHAB_CHARSET"},   {134, "GB2312_CHARSET"},   {136, "CHINESEBIG5_CHARSET"},
    {161, "GREEK_CHARSET"},   {162, "TURKISH_CHARSET"},  {163, "VIETNAMESE_CHARSET"},
    {177, "HEBREW_CHARSET"},  {178, "ARABIC_CHARSET"},   {186, "BALTIC_CHARSET"},
    {204, "RUSSIAN_CHARSET"}, {222, "THAI_CHARSET"},     {238, "EASTEUROPE_CHARSET"},
    {255, "OEM_CHARSET"},
};

constexpr std::string_view AlignNames[] = {"alNone",  "alTop",    "alBottom", "alLeft",
                                           "alRight", "alClient", "alCustom"};
constexpr std::string_view AnchorKindNames[] = {"akLeft", "akTop", "akRight", "akBottom"};
constexpr std::string_view BiDiModeNames[] = {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                                              "bdRightToLeftReadingOnly"};
constexpr std::string_view DragKindNames[] = {"dkDrag", "dkDock"};
constexpr std::string_view DragModeNames[] = {"dmManual", "dmAutomatic"};
constexpr std::string_view HelpTypeNames[] = {"htKeyword", "htContext"};
constexpr std::string_view FontPitchNames[] = {"fpDefault", "fpVariable", "fpFixed"};
constexpr std::string_view FontStyleNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
constexpr std::string_view FontQualityNames[] = {"fqDefault",         "fqDraft",       "fqProof",
                                                 "fqNonAntialiased",  "fqAntialiased", "fqClearType",
                                                 "fqClearTypeNatural"};
constexpr std::string_view BorderStyleNames[] = {"bsNone", "bsSingle"};
constexpr std::string_view BevelCutNames[] = {"bvNone", "bvLowered", "bvRaised", "bvSpace"};
constexpr std::string_view BevelKindNames[] = {"bkNone", "bkTile", "bkSoft", "bkFlat"};
constexpr std::string_view BevelEdgeNames[] = {"beLeft", "beTop", "beRight", "beBottom"};
constexpr std::string_view AlignmentNames[] = {"taLeftJustify", "taRightJustify", "taCenter"};
constexpr std::string_view VerticalAlignmentNames[] = {"taAlignTop", "taAlignBottom", "taVerticalCenter"};
constexpr std::string_view TextLayoutNames[] = {"tlTop", "tlCenter", "tlBottom"};
constexpr std::string_view ScrollStyleNames[] = {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
constexpr std::string_view ScrollBarKindNames[] = {"sbHorizontal", "sbVertical"};
constexpr std::string_view FormBorderStyleNames[] = {"bsNone",   "bsSingle",     "bsSizeable",
                                                     "bsDialog", "bsToolWindow", "bsSizeToolWin"};
constexpr std::string_view BorderIconNames[] = {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"};
constexpr std::string_view PositionNames[] = {"poDesigned",        "poDefault",        "poDefaultPosOnly",
                                              "poDefaultSizeOnly", "poScreenCenter",   "poDesktopCenter",
                                              "poMainFormCenter",  "poOwnerFormCenter"};
constexpr std::string_view WindowStateNames[] = {"wsNormal", "wsMinimized", "wsMaximized"};
constexpr std::string_view FormStyleNames[] = {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"};
constexpr std::string_view DefaultMonitorNames[] = {"dmDesktop", "dmPrimary", "dmMainForm", "dmActiveForm"};
constexpr std::string_view PopupModeNames[] = {"pmNone", "pmAuto", "pmExplicit"};
constexpr std::string_view StyleElementNames[] = {"seFont", "seClient", "seBorder"};
constexpr std::string_view EditCharCaseNames[] = {"ecNormal", "ecUpperCase", "ecLowerCase"};
constexpr std::string_view CheckBoxStateNames[] = {"cbUnchecked", "cbChecked", "cbGrayed"};
constexpr std::string_view ListBoxStyleNames[] = {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable",
                                                  "lbVirtual", "lbVirtualOwnerDraw"};
constexpr std::string_view ComboBoxStyleNames[] = {"csDropDown", "csSimple", "csDropDownList",
                                                   "csOwnerDrawFixed", "csOwnerDrawVariable"};
constexpr std::string_view PrintScaleNames[] = {"poNone", "poProportional", "poPrintToFit"};
constexpr std::string_view TileModeNames[] = {"tbHorizontal", "tbVertical"};
constexpr std::string_view EllipsisPositionNames[] = {"epNone", "epPathEllipsis", "epEndEllipsis",
                                                      "epWordEllipsis"};
// TLeftRight is the first two values of TAlignment.
constexpr std::string_view LeftRightNames[] = {"taLeftJustify", "taRightJustify"};
constexpr std::string_view ImeModeNames[] = {"imDisable", "imClose",   "imOpen",     "imDontCare",
                                             "imSAlpha",  "imAlpha",   "imHira",     "imSKata",
                                             "imKata",    "imChinese", "imSHanguel", "imHanguel"};

}  // namespace

namespace ty {

// Plain types.
const TypeInfo Boolean = EnumType("Boolean", BooleanNames);
const TypeInfo Integer = IntType("Integer");
const TypeInfo Cardinal = IntType("Cardinal");
const TypeInfo Byte = IntType("Byte");
const TypeInfo Word = IntType("Word");
const TypeInfo SmallInt = IntType("SmallInt");
const TypeInfo ShortInt = IntType("ShortInt");
const TypeInfo Int64 = {.Name = "Int64", .Kind = TypeKind::tkInt64};
const TypeInfo Char = {.Name = "Char", .Kind = TypeKind::tkChar};
const TypeInfo WideChar = {.Name = "WideChar", .Kind = TypeKind::tkWChar};
const TypeInfo String = StringType("string");
const TypeInfo WideString = {.Name = "WideString", .Kind = TypeKind::tkWString};
const TypeInfo Single = FloatTypeInfo("Single", FloatType::Single);
const TypeInfo Double = FloatTypeInfo("Double", FloatType::Double);
const TypeInfo Extended = FloatTypeInfo("Extended", FloatType::Extended);
const TypeInfo Currency = FloatTypeInfo("Currency", FloatType::Currency);
const TypeInfo TDateTime = FloatTypeInfo("TDateTime", FloatType::Double);
const TypeInfo TDate = FloatTypeInfo("TDate", FloatType::Double);
const TypeInfo TTime = FloatTypeInfo("TTime", FloatType::Double);
const TypeInfo Variant = {.Name = "Variant", .Kind = TypeKind::tkVariant};

// Integers with names and other shared named types.
const TypeInfo TColor = IntType("TColor", ColorIdents);
const TypeInfo TCursor = IntType("TCursor", CursorIdents);
// A key with its modifiers; shown as key text ("Ctrl+S"), written as a number.
const TypeInfo TShortCut = IntType("TShortCut");
// Form files write a modal result as a number (ModalResult = 1), never as mrOk: the
// names are not registered for the type, so none are given here.
const TypeInfo TModalResult = IntType("TModalResult");
const TypeInfo TFontCharset = IntType("TFontCharset", FontCharsetIdents);
const TypeInfo TFontName = StringType("TFontName");
const TypeInfo TCaption = StringType("TCaption");
const TypeInfo TImageIndex = IntType("TImageIndex");
const TypeInfo TTabOrder = IntType("TTabOrder");
const TypeInfo THelpContext = IntType("THelpContext");
const TypeInfo TBevelWidth = IntType("TBevelWidth");
const TypeInfo TBorderWidth = IntType("TBorderWidth");
const TypeInfo TTranslateString = StringType("TTranslateString");

// Enumerations and sets.
const TypeInfo TAlign = EnumType("TAlign", AlignNames);
const TypeInfo TAnchorKind = EnumType("TAnchorKind", AnchorKindNames);
const TypeInfo TAnchors = SetType("TAnchors", TAnchorKind);
const TypeInfo TBiDiMode = EnumType("TBiDiMode", BiDiModeNames);
const TypeInfo TDragKind = EnumType("TDragKind", DragKindNames);
const TypeInfo TDragMode = EnumType("TDragMode", DragModeNames);
const TypeInfo THelpType = EnumType("THelpType", HelpTypeNames);
const TypeInfo TFontPitch = EnumType("TFontPitch", FontPitchNames);
const TypeInfo TFontStyle = EnumType("TFontStyle", FontStyleNames);
const TypeInfo TFontStyles = SetType("TFontStyles", TFontStyle);
const TypeInfo TFontQuality = EnumType("TFontQuality", FontQualityNames);
const TypeInfo TBorderStyle = EnumType("TBorderStyle", BorderStyleNames);
const TypeInfo TBevelCut = EnumType("TBevelCut", BevelCutNames);
const TypeInfo TBevelKind = EnumType("TBevelKind", BevelKindNames);
const TypeInfo TBevelEdge = EnumType("TBevelEdge", BevelEdgeNames);
const TypeInfo TBevelEdges = SetType("TBevelEdges", TBevelEdge);
const TypeInfo TAlignment = EnumType("TAlignment", AlignmentNames);
const TypeInfo TVerticalAlignment = EnumType("TVerticalAlignment", VerticalAlignmentNames);
const TypeInfo TTextLayout = EnumType("TTextLayout", TextLayoutNames);
const TypeInfo TScrollStyle = EnumType("TScrollStyle", ScrollStyleNames);
const TypeInfo TScrollBarKind = EnumType("TScrollBarKind", ScrollBarKindNames);
const TypeInfo TFormBorderStyle = EnumType("TFormBorderStyle", FormBorderStyleNames);
const TypeInfo TBorderIcon = EnumType("TBorderIcon", BorderIconNames);
const TypeInfo TBorderIcons = SetType("TBorderIcons", TBorderIcon);
const TypeInfo TPosition = EnumType("TPosition", PositionNames);
const TypeInfo TWindowState = EnumType("TWindowState", WindowStateNames);
const TypeInfo TFormStyle = EnumType("TFormStyle", FormStyleNames);
const TypeInfo TDefaultMonitor = EnumType("TDefaultMonitor", DefaultMonitorNames);
const TypeInfo TPopupMode = EnumType("TPopupMode", PopupModeNames);
const TypeInfo TStyleElement = EnumType("TStyleElement", StyleElementNames);
const TypeInfo TStyleElements = SetType("TStyleElements", TStyleElement);
const TypeInfo TEditCharCase = EnumType("TEditCharCase", EditCharCaseNames);
const TypeInfo TCheckBoxState = EnumType("TCheckBoxState", CheckBoxStateNames);
const TypeInfo TListBoxStyle = EnumType("TListBoxStyle", ListBoxStyleNames);
const TypeInfo TComboBoxStyle = EnumType("TComboBoxStyle", ComboBoxStyleNames);
const TypeInfo TPrintScale = EnumType("TPrintScale", PrintScaleNames);
const TypeInfo TTileMode = EnumType("TTileMode", TileModeNames);
// A scroll step, 1..32767.
const TypeInfo TScrollBarInc = IntType("TScrollBarInc");
const TypeInfo TEllipsisPosition = EnumType("TEllipsisPosition", EllipsisPositionNames);
const TypeInfo TLeftRight = EnumType("TLeftRight", LeftRightNames);
const TypeInfo TImeMode = EnumType("TImeMode", ImeModeNames);
const TypeInfo TImeName = StringType("TImeName");
const TypeInfo TImageName = StringType("TImageName");

// Events.
const TypeInfo TNotifyEvent = MethodType("TNotifyEvent");
const TypeInfo TKeyEvent = MethodType("TKeyEvent");
const TypeInfo TKeyPressEvent = MethodType("TKeyPressEvent");
const TypeInfo TMouseEvent = MethodType("TMouseEvent");
const TypeInfo TMouseMoveEvent = MethodType("TMouseMoveEvent");
const TypeInfo TMouseWheelEvent = MethodType("TMouseWheelEvent");
const TypeInfo TMouseWheelUpDownEvent = MethodType("TMouseWheelUpDownEvent");
const TypeInfo TCloseEvent = MethodType("TCloseEvent");
const TypeInfo TCloseQueryEvent = MethodType("TCloseQueryEvent");
const TypeInfo TContextPopupEvent = MethodType("TContextPopupEvent");
const TypeInfo TDragDropEvent = MethodType("TDragDropEvent");
const TypeInfo TDragOverEvent = MethodType("TDragOverEvent");
const TypeInfo TEndDragEvent = MethodType("TEndDragEvent");
const TypeInfo TStartDragEvent = MethodType("TStartDragEvent");
const TypeInfo TStartDockEvent = MethodType("TStartDockEvent");
const TypeInfo TDockDropEvent = MethodType("TDockDropEvent");
const TypeInfo TDockOverEvent = MethodType("TDockOverEvent");
const TypeInfo TUnDockEvent = MethodType("TUnDockEvent");
const TypeInfo TGetSiteInfoEvent = MethodType("TGetSiteInfoEvent");
const TypeInfo TCanResizeEvent = MethodType("TCanResizeEvent");
const TypeInfo TConstrainedResizeEvent = MethodType("TConstrainedResizeEvent");
const TypeInfo THelpEvent = MethodType("THelpEvent");
const TypeInfo TShortCutEvent = MethodType("TShortCutEvent");
const TypeInfo TDrawItemEvent = MethodType("TDrawItemEvent");
const TypeInfo TMeasureItemEvent = MethodType("TMeasureItemEvent");
const TypeInfo TScrollEvent = MethodType("TScrollEvent");
const TypeInfo TGestureEvent = MethodType("TGestureEvent");
const TypeInfo TMouseActivateEvent = MethodType("TMouseActivateEvent");
const TypeInfo TActionEvent = MethodType("TActionEvent");
const TypeInfo THintEvent = MethodType("THintEvent");
const TypeInfo TMenuChangeEvent = MethodType("TMenuChangeEvent");
const TypeInfo TAdvancedMenuDrawItemEvent = MethodType("TAdvancedMenuDrawItemEvent");
const TypeInfo TMenuDrawItemEvent = MethodType("TMenuDrawItemEvent");
const TypeInfo TMenuMeasureItemEvent = MethodType("TMenuMeasureItemEvent");
const TypeInfo TAlignInsertBeforeEvent = MethodType("TAlignInsertBeforeEvent");
const TypeInfo TAlignPositionEvent = MethodType("TAlignPositionEvent");

// The declared types of class-typed properties.
const TypeInfo TPersistent = def::ClassType("TPersistent", cls::TPersistent);
const TypeInfo TComponent = def::ClassType("TComponent", cls::TComponent);
const TypeInfo TStrings = def::ClassType("TStrings", cls::TStrings);
const TypeInfo TFont = def::ClassType("TFont", cls::TFont);
const TypeInfo TBrush = def::ClassType("TBrush", cls::TBrush);
const TypeInfo TPen = def::ClassType("TPen", cls::TPen);
const TypeInfo TGraphic = def::ClassType("TGraphic", cls::TGraphic);
const TypeInfo TPicture = def::ClassType("TPicture", cls::TPicture);
const TypeInfo TBitmap = def::ClassType("TBitmap", cls::TBitmap);
const TypeInfo TIcon = def::ClassType("TIcon", cls::TIcon);
const TypeInfo TMetafile = def::ClassType("TMetafile", cls::TMetafile);
const TypeInfo TControl = def::ClassType("TControl", cls::TControl);
const TypeInfo TWinControl = def::ClassType("TWinControl", cls::TWinControl);
const TypeInfo TSizeConstraints = def::ClassType("TSizeConstraints", cls::TSizeConstraints);
const TypeInfo TMargins = def::ClassType("TMargins", cls::TMargins);
const TypeInfo TPadding = def::ClassType("TPadding", cls::TPadding);
const TypeInfo TCustomImageList = def::ClassType("TCustomImageList", cls::TCustomImageList);
const TypeInfo TControlScrollBar = def::ClassType("TControlScrollBar", cls::TControlScrollBar);
const TypeInfo TCustomHint = def::ClassType("TCustomHint", cls::TCustomHint);
const TypeInfo TTouchManager = def::ClassType("TTouchManager", cls::TTouchManager);
const TypeInfo TMenuItem = def::ClassType("TMenuItem", cls::TMenuItem);
const TypeInfo TMainMenu = def::ClassType("TMainMenu", cls::TMainMenu);
const TypeInfo TPopupMenu = def::ClassType("TPopupMenu", cls::TPopupMenu);
const TypeInfo TBasicAction = def::ClassType("TBasicAction", cls::TBasicAction);
const TypeInfo TCustomActionList = def::ClassType("TCustomActionList", cls::TCustomActionList);

}  // namespace ty

}  // namespace fw::rt
