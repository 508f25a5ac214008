// The built-in class references registered at start-up, grouped by declaring unit.

#include <array>

#include "builtin.h"
#include "family_comctrls.h"
#include "family_core.h"

namespace fw::rt {

namespace {

// One line per unit of the library, as its classes are grouped there.
// clang-format off
constexpr std::array<const ClassInfo*, 238> Builtins = {
    // Graphics
    &cls::TBrush, &cls::TCanvas, &cls::TPen, &cls::TIcon, &cls::TPicture, &cls::TMetafile, &cls::TMetafileCanvas, &cls::TFont, &cls::TBitmap, &cls::TGraphic, &cls::TGraphicsObject, &cls::TFont,
    // Classes
    &cls::TCollection, &cls::TCollectionItem, &cls::TStringList, &cls::TStrings,
    // Forms
    &cls::TControlScrollBar, &cls::TApplication, &cls::TScreen, &cls::TFrame, &cls::TScrollBox,
    // Controls
    &cls::TImageList,
    // Clipbrd
    &cls::TClipboard,
    // StdCtrls
    &cls::TScrollBar, &cls::TLabel, &cls::TEdit, &cls::TMemo, &cls::TButton, &cls::TCheckBox, &cls::TRadioButton, &cls::TListBox, &cls::TComboBox, &cls::TScrollBar, &cls::TGroupBox, &cls::TStaticText,
    // ExtCtrls
    &cls::THeader, &cls::TRadioGroup, &cls::TPanel, &cls::TImage, &cls::TShape, &cls::TBevel, &cls::TSplitter, &cls::TControlBar, &cls::TColorBox, &cls::TLabeledEdit, &cls::TNotebook, &cls::THeader, &cls::TTimer, &cls::TPaintBox, &cls::TFlowPanel, &cls::TGridPanel,
    // WinXPanels
    &cls::TStackPanel, &cls::TRelativePanel,
    // ComCtrls
    &cls::THeaderSection, &cls::THeaderSections, &cls::TIconOptions, &cls::TStatusPanel, &cls::TStatusPanels, &cls::TListColumn, &cls::TListItem, &cls::TListItems, &cls::TTreeNode, &cls::TParaAttributes, &cls::TTreeNodes, &cls::TToolButton, &cls::TTabSheet, &cls::TTabControl, &cls::TPageControl, &cls::TRichEdit, &cls::TTrackBar, &cls::TProgressBar, &cls::TUpDown, &cls::THotKey, &cls::TAnimate, &cls::TDateTimePicker, &cls::TMonthCalendar, &cls::TTreeView, &cls::TListView, &cls::THeaderControl, &cls::TStatusBar, &cls::TToolBar, &cls::TCoolBar, &cls::TPageScroller, &cls::TComboBoxEx,
    // Menus
    &cls::TMenuItem, &cls::TMainMenu, &cls::TPopupMenu,
    // Buttons
    &cls::TBitBtn, &cls::TSpeedButton,
    // Mask
    &cls::TMaskEdit,
    // Grids
    &cls::TStringGrid, &cls::TDrawGrid,
    // CheckLst
    &cls::TCheckListBox,
    // ValEdit
    &cls::TValueListEditor,
    // ActnList
    &cls::TActionList,
    // ActnMan
    &cls::TActionManager,
    // ActnMenus
    &cls::TActionMainMenuBar,
    // ActnCtrls
    &cls::TActionToolBar,
    // Tabs
    &cls::TTabSet, &cls::TScroller,
    // TabNotBk
    &cls::TTabbedNotebook,
    // Outline
    &cls::TOutlineNode, &cls::TOutline,
    // FileCtrl
    &cls::TFileListBox, &cls::TDirectoryListBox, &cls::TDriveComboBox, &cls::TFilterComboBox,
    // Dialogs
    &cls::TOpenDialog, &cls::TSaveDialog, &cls::TFontDialog, &cls::TColorDialog, &cls::TPrintDialog, &cls::TPrinterSetupDialog, &cls::TFindDialog, &cls::TReplaceDialog,
    // ExtDlgs
    &cls::TOpenPictureDialog, &cls::TSavePictureDialog,
    // Gauges
    &cls::TGauge,
    // ColorGrd
    &cls::TColorGrid,
    // Spin
    &cls::TSpinButton, &cls::TSpinEdit,
    // DirOutln
    &cls::TDirectoryOutline,
    // Calendar
    &cls::TCalendar,
    // ShellCtrls
    &cls::TShellComboBox, &cls::TShellListView, &cls::TShellTreeView,
    // MPlayer
    &cls::TMediaPlayer,
    // OleCtnrs
    &cls::TOleContainer,
    // DdeMan
    &cls::TDdeClientConv, &cls::TDdeClientItem, &cls::TDdeServerConv, &cls::TDdeServerItem,
    // Chart
    &cls::TChart,
    // DbChart
    &cls::TDBChart,
    // DB
    &cls::TParams, &cls::TAutoIncField, &cls::TBCDField, &cls::TField, &cls::TBlobField, &cls::TBooleanField, &cls::TBytesField, &cls::TFloatField, &cls::TGraphicField, &cls::TCurrencyField, &cls::TDateField, &cls::TDateTimeField, &cls::TSmallintField, &cls::TIntegerField, &cls::TStringField, &cls::TMemoField, &cls::TTimeField, &cls::TVarBytesField, &cls::TWordField, &cls::TDataSource,
    // DBTables
    &cls::TTable, &cls::TQuery, &cls::TStoredProc, &cls::TDatabase, &cls::TSession, &cls::TBatchMove, &cls::TUpdateSQL, &cls::TNestedTable,
    // DBGrids
    &cls::TColumn, &cls::TColumnTitle, &cls::TDBGrid,
    // DBCtrls
    &cls::TDBNavigator, &cls::TDBText, &cls::TDBEdit, &cls::TDBMemo, &cls::TDBImage, &cls::TDBListBox, &cls::TDBComboBox, &cls::TDBCheckBox, &cls::TDBRadioGroup, &cls::TDBLookupListBox, &cls::TDBLookupComboBox, &cls::TDBRichEdit,
    // DBCGrids
    &cls::TDBCtrlGrid,
    // dblookup
    &cls::TDBLookupList, &cls::TDBLookupCombo,
    // StdActns, ExtActns, DBActns
    &cls::TEditCut, &cls::TEditCopy, &cls::TEditPaste, &cls::TEditSelectAll, &cls::TEditUndo, &cls::TEditDelete, &cls::TWindowClose, &cls::TWindowCascade, &cls::TWindowTileHorizontal, &cls::TWindowTileVertical, &cls::TWindowMinimizeAll, &cls::TWindowArrange, &cls::THelpContents, &cls::THelpTopicSearch, &cls::THelpOnHelp, &cls::THelpContextAction, &cls::TFileOpen, &cls::TFileOpenWith, &cls::TFileSaveAs, &cls::TFilePrintSetup, &cls::TFileExit, &cls::TSearchFind, &cls::TSearchReplace, &cls::TSearchFindFirst, &cls::TSearchFindNext, &cls::TFileRun, &cls::TRichEditBold, &cls::TRichEditItalic, &cls::TRichEditUnderline, &cls::TRichEditStrikeOut, &cls::TRichEditBullets, &cls::TRichEditAlignLeft, &cls::TRichEditAlignRight, &cls::TRichEditAlignCenter, &cls::TDataSetFirst, &cls::TDataSetPrior, &cls::TDataSetNext, &cls::TDataSetLast, &cls::TDataSetInsert, &cls::TDataSetDelete, &cls::TDataSetEdit, &cls::TDataSetPost, &cls::TDataSetCancel, &cls::TDataSetRefresh,
    // AppEvnts, ImageCollection, VirtualImageList, ExtCtrls, SHDocVw
    &cls::TApplicationEvents, &cls::TImageCollection, &cls::TVirtualImageList, &cls::TLinkLabel, &cls::TWebBrowser, &cls::TButtonedEdit, &cls::TTrayIcon,
    // ADODB
    &cls::TADOConnection, &cls::TADOQuery, &cls::TADOTable, &cls::TADOStoredProc, &cls::TADODataSet, &cls::TADOCommand,
    // DBClient
    &cls::TClientDataSet,
};
// clang-format on

// Classes that the units of built-in classes register for the form reader themselves:
// the parts their containers hold as child objects. A program that links an action
// list, a notebook or a tabbed notebook can read these by name, so forms that use the
// containers carry them.
constexpr std::array<const ClassInfo*, 3> Companions = {
    &cls::TAction,   // ActnList: the actions of an action list
    &cls::TPage,     // ExtCtrls: the pages of a notebook
    &cls::TTabPage,  // TabNotBk: the pages of a tabbed notebook
};

}  // namespace

std::span<const ClassInfo* const> BuiltinClasses() {
    return Builtins;
}

std::span<const ClassInfo* const> CompanionClasses() {
    return Companions;
}

}  // namespace fw::rt
