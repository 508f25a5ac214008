#pragma once
// The built-in classes and the types their properties use, as declared here and defined
// in the family tables (classes_*.cpp). This header names what more than one family
// needs; a family's own intermediate classes stay in its own file.

#include <span>

#include "metadata.h"

namespace fw::rt {

// Types, defined in types_core.cpp.
namespace ty {
// Plain types.
extern const TypeInfo Boolean, Integer, Cardinal, Byte, Word, SmallInt, ShortInt, Int64, Char, WideChar,
    String, WideString, Single, Double, Extended, Currency, TDateTime, TDate, TTime, Variant;
// Integers with names and other shared named types.
extern const TypeInfo TColor, TCursor, TShortCut, TModalResult, TFontCharset, TFontName, TCaption,
    TImageIndex, TTabOrder, THelpContext, TBevelWidth, TBorderWidth, TTranslateString;
// Enumerations and sets.
extern const TypeInfo TAlign, TAnchorKind, TAnchors, TBiDiMode, TDragKind, TDragMode, THelpType, TFontPitch,
    TFontStyle, TFontStyles, TFontQuality, TBorderStyle, TBevelCut, TBevelKind, TBevelEdge, TBevelEdges,
    TAlignment, TVerticalAlignment, TTextLayout, TScrollStyle, TScrollBarKind, TFormBorderStyle, TBorderIcon,
    TBorderIcons, TPosition, TWindowState, TFormStyle, TDefaultMonitor, TPopupMode, TStyleElement,
    TStyleElements, TEditCharCase, TCheckBoxState, TListBoxStyle, TComboBoxStyle, TPrintScale, TTileMode,
    TScrollBarInc, TEllipsisPosition, TLeftRight;
// Events (method types).
extern const TypeInfo TNotifyEvent, TKeyEvent, TKeyPressEvent, TMouseEvent, TMouseMoveEvent, TMouseWheelEvent,
    TMouseWheelUpDownEvent, TCloseEvent, TCloseQueryEvent, TContextPopupEvent, TDragDropEvent, TDragOverEvent,
    TEndDragEvent, TStartDragEvent, TStartDockEvent, TDockDropEvent, TDockOverEvent, TUnDockEvent,
    TGetSiteInfoEvent, TCanResizeEvent, TConstrainedResizeEvent, THelpEvent, TShortCutEvent, TDrawItemEvent,
    TMeasureItemEvent, TScrollEvent, TGestureEvent, TMouseActivateEvent, TActionEvent, THintEvent,
    TMenuChangeEvent, TAdvancedMenuDrawItemEvent, TMenuDrawItemEvent, TMenuMeasureItemEvent;
}  // namespace ty

// Classes. Ancestors of the built-in classes that other families build on are declared
// here too.
namespace cls {
// System, Classes
extern const ClassInfo TObject, TPersistent, TComponent, TCollection, TCollectionItem, TOwnedCollection,
    TStrings, TStringList, TBasicAction;
// Graphics
extern const ClassInfo TGraphicsObject, TFont, TBrush, TPen, TCanvas, TGraphic, TPicture, TBitmap, TIcon,
    TMetafile, TMetafileCanvas;
// Controls, ImgList
extern const ClassInfo TControl, TWinControl, TGraphicControl, TCustomControl, TSizeConstraints, TMargins,
    TPadding, TCustomImageList, TDragImageList, TImageList;
// Forms
extern const ClassInfo TScrollingWinControl, TCustomForm, TForm, TCustomFrame, TFrame, TScrollBox,
    TControlScrollBar, TApplication, TScreen, TDataModule;
// Menus, ActnList
extern const ClassInfo TMenu, TMainMenu, TPopupMenu, TMenuItem, TContainedAction, TCustomAction, TAction,
    TCustomActionList, TActionList;
// StdCtrls and the other standard units whose classes others derive from
extern const ClassInfo TCustomEdit, TEdit, TCustomMemo, TMemo, TCustomListBox, TListBox, TCustomComboBox,
    TComboBox, TButtonControl, TButton, TCustomCheckBox, TCheckBox, TRadioButton, TCustomLabel, TLabel,
    TCustomGroupBox, TGroupBox, TScrollBar, TCustomStaticText, TStaticText, TCustomMaskEdit, TMaskEdit,
    TCustomPanel, TPanel, TCustomRadioGroup, TRadioGroup, TClipboard;
// ExtCtrls, WinXPanels: the panels that arrange their children themselves
extern const ClassInfo TFlowPanel, TGridPanel, TStackPanel, TRelativePanel;
// StdActns, ExtActns, DBActns: the standard actions
extern const ClassInfo TEditCut, TEditCopy, TEditPaste, TEditSelectAll, TEditUndo, TEditDelete, TWindowClose,
    TWindowCascade, TWindowTileHorizontal, TWindowTileVertical, TWindowMinimizeAll, TWindowArrange,
    THelpContents, THelpTopicSearch, THelpOnHelp, THelpContextAction, TFileOpen, TFileOpenWith, TFileSaveAs,
    TFilePrintSetup, TFileExit, TSearchFind, TSearchReplace, TSearchFindFirst, TSearchFindNext, TFileRun,
    TRichEditBold, TRichEditItalic, TRichEditUnderline, TRichEditStrikeOut, TRichEditBullets,
    TRichEditAlignLeft, TRichEditAlignRight, TRichEditAlignCenter, TDataSetFirst, TDataSetPrior, TDataSetNext,
    TDataSetLast, TDataSetInsert, TDataSetDelete, TDataSetEdit, TDataSetPost, TDataSetCancel, TDataSetRefresh;
// AppEvnts, ImageCollection, VirtualImageList, the link label and the web browser
extern const ClassInfo TApplicationEvents, TImageCollection, TVirtualImageList, TLinkLabel, TWebBrowser,
    TButtonedEdit, TTrayIcon;
// ADODB
extern const ClassInfo TADOConnection, TADOQuery, TADOTable, TADOStoredProc, TADODataSet, TADOCommand;
// DBClient
extern const ClassInfo TClientDataSet;
// ComCtrls, Grids, Chart: ancestors of the data-aware controls
extern const ClassInfo TCustomRichEdit, TRichEdit, TCustomGrid, TCustomDrawGrid, TDrawGrid, TStringGrid,
    TCustomChart, TChart;
// The rest of the built-in classes, by declaring unit.
// ExtCtrls
extern const ClassInfo THeader, TImage, TShape, TBevel, TSplitter, TControlBar, TColorBox, TLabeledEdit,
    TNotebook, TTimer, TPaintBox;
// ComCtrls
extern const ClassInfo THeaderSection, THeaderSections, TIconOptions, TStatusPanel, TStatusPanels,
    TListColumn, TListItem, TListItems, TTreeNode, TParaAttributes, TTreeNodes, TToolButton, TTabSheet,
    TTabControl, TPageControl, TTrackBar, TProgressBar, TUpDown, THotKey, TAnimate, TDateTimePicker,
    TMonthCalendar, TTreeView, TListView, THeaderControl, TStatusBar, TToolBar, TCoolBar, TPageScroller,
    TComboBoxEx;
// Buttons
extern const ClassInfo TBitBtn, TSpeedButton;
// CheckLst
extern const ClassInfo TCheckListBox;
// ValEdit
extern const ClassInfo TValueListEditor;
// ActnMan
extern const ClassInfo TActionManager;
// ActnMenus
extern const ClassInfo TActionMainMenuBar;
// ActnCtrls
extern const ClassInfo TActionToolBar;
// Tabs
extern const ClassInfo TTabSet, TScroller;
// TabNotBk
extern const ClassInfo TTabbedNotebook;
// Outline
extern const ClassInfo TOutlineNode, TOutline;
// FileCtrl
extern const ClassInfo TFileListBox, TDirectoryListBox, TDriveComboBox, TFilterComboBox;
// Dialogs
extern const ClassInfo TOpenDialog, TSaveDialog, TFontDialog, TColorDialog, TPrintDialog, TPrinterSetupDialog,
    TFindDialog, TReplaceDialog;
// ExtDlgs
extern const ClassInfo TOpenPictureDialog, TSavePictureDialog;
// Gauges
extern const ClassInfo TGauge;
// ColorGrd
extern const ClassInfo TColorGrid;
// Spin
extern const ClassInfo TSpinButton, TSpinEdit;
// DirOutln
extern const ClassInfo TDirectoryOutline;
// Calendar
extern const ClassInfo TCalendar;
// ShellCtrls
extern const ClassInfo TShellComboBox, TShellListView, TShellTreeView;
// MPlayer
extern const ClassInfo TMediaPlayer;
// OleCtnrs
extern const ClassInfo TOleContainer;
// DdeMan
extern const ClassInfo TDdeClientConv, TDdeClientItem, TDdeServerConv, TDdeServerItem;
// DbChart
extern const ClassInfo TDBChart;
// DB
extern const ClassInfo TParams, TAutoIncField, TBCDField, TField, TBlobField, TBooleanField, TBytesField,
    TFloatField, TGraphicField, TCurrencyField, TDateField, TDateTimeField, TSmallintField, TIntegerField,
    TStringField, TMemoField, TTimeField, TVarBytesField, TWordField, TDataSource;
// DBTables
extern const ClassInfo TTable, TQuery, TStoredProc, TDatabase, TSession, TBatchMove, TUpdateSQL, TNestedTable;
// DBGrids
extern const ClassInfo TColumn, TColumnTitle, TDBGrid;
// DBCtrls
extern const ClassInfo TDBNavigator, TDBText, TDBEdit, TDBMemo, TDBImage, TDBListBox, TDBComboBox,
    TDBCheckBox, TDBRadioGroup, TDBLookupListBox, TDBLookupComboBox, TDBRichEdit;
// DBCGrids
extern const ClassInfo TDBCtrlGrid;
// dblookup
extern const ClassInfo TDBLookupList, TDBLookupCombo;

}  // namespace cls

// The 176 class references registered at start-up, in their order; TFont, TScrollBar
// and THeader stand twice.
std::span<const ClassInfo* const> BuiltinClasses();
// The classes registered beside the built-in ones because their units register them for
// the reader: actions, notebook pages, tabbed notebook pages.
std::span<const ClassInfo* const> CompanionClasses();

}  // namespace fw::rt
