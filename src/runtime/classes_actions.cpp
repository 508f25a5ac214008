// The standard actions of StdActns, DBActns and ExtActns: edit, dataset, file, rich
// edit format, help, window and search actions. They are actions like TAction and
// publish what it does; some add the dataset they work on or the dialog they show,
// which the form writes as a sub-object (Dialog.Filter).

#include "builtin.h"
#include "family_core.h"
#include "family_db.h"

namespace fw::rt {

using def::EventProp;
using def::OwnedProp;
using def::RefProp;

namespace {

constexpr PropInfo DataSetActionProps[] = {RefProp("DataSource", ty::TDataSource)};
constexpr std::span<const PropInfo> DataSetActionGroups[] = {DataSetActionProps};

// The actions that show a dialog: its events around the dialog's run.
constexpr PropInfo DialogActionEvents[] = {
    EventProp("BeforeExecute", ty::TNotifyEvent),
    EventProp("OnAccept", ty::TNotifyEvent),
    EventProp("OnCancel", ty::TNotifyEvent),
};
constexpr TypeInfo OpenDialogType = def::ClassType("TOpenDialog", cls::TOpenDialog);
constexpr TypeInfo SaveDialogType = def::ClassType("TSaveDialog", cls::TSaveDialog);
constexpr TypeInfo PrinterSetupDialogType = def::ClassType("TPrinterSetupDialog", cls::TPrinterSetupDialog);
constexpr TypeInfo FindDialogType = def::ClassType("TFindDialog", cls::TFindDialog);
constexpr TypeInfo ReplaceDialogType = def::ClassType("TReplaceDialog", cls::TReplaceDialog);
constexpr PropInfo OpenDialogProp[] = {OwnedProp("Dialog", OpenDialogType)};
constexpr PropInfo SaveDialogProp[] = {OwnedProp("Dialog", SaveDialogType)};
constexpr PropInfo PrinterSetupDialogProp[] = {OwnedProp("Dialog", PrinterSetupDialogType)};
constexpr PropInfo FindDialogProp[] = {OwnedProp("Dialog", FindDialogType)};
constexpr PropInfo ReplaceDialogProp[] = {OwnedProp("Dialog", ReplaceDialogType)};
constexpr std::span<const PropInfo> FileOpenGroups[] = {DialogActionEvents, OpenDialogProp};
constexpr std::span<const PropInfo> FileSaveAsGroups[] = {DialogActionEvents, SaveDialogProp};
constexpr std::span<const PropInfo> PrintSetupGroups[] = {DialogActionEvents, PrinterSetupDialogProp};
constexpr std::span<const PropInfo> SearchFindGroups[] = {DialogActionEvents, FindDialogProp};
constexpr std::span<const PropInfo> SearchReplaceGroups[] = {DialogActionEvents, ReplaceDialogProp};

// A program started by a file-run action, chosen in BrowseDlg when Browse is set.
constexpr std::string_view ShowCmdNames[] = {"scHide",          "scMaximize",       "scMinimize",
                                             "scRestore",       "scShow",           "scShowDefault",
                                             "scShowMaximized", "scShowMinimized",  "scShowMinNoActive",
                                             "scShowNA",        "scShowNoActivate", "scShowNormal"};
constexpr TypeInfo ShowCmdType = def::EnumType("TShowCmd", ShowCmdNames);
constexpr PropInfo FileRunProps[] = {
    {"Browse", &ty::Boolean, dv::Bool(false)},   OwnedProp("BrowseDlg", OpenDialogType),
    {"Directory", &ty::String, dv::Str("")},     {"FileName", &ty::String, dv::Str("")},
    {"Operation", &ty::String, dv::Str("open")}, {"Parameters", &ty::String, dv::Str("")},
    {"ShowCmd", &ShowCmdType, dv::Int(11)},  // scShowNormal
};
constexpr std::span<const PropInfo> FileRunGroups[] = {FileRunProps};

}  // namespace

namespace cls {

// StdActns
const ClassInfo THintAction = {"THintAction", &TAction, "StdActns"};
const ClassInfo TEditAction = {"TEditAction", &TAction, "StdActns"};
const ClassInfo TEditCut = {"TEditCut", &TEditAction, "StdActns"};
const ClassInfo TEditCopy = {"TEditCopy", &TEditAction, "StdActns"};
const ClassInfo TEditPaste = {"TEditPaste", &TEditAction, "StdActns"};
const ClassInfo TEditSelectAll = {"TEditSelectAll", &TEditAction, "StdActns"};
const ClassInfo TEditUndo = {"TEditUndo", &TEditAction, "StdActns"};
const ClassInfo TEditDelete = {"TEditDelete", &TEditAction, "StdActns"};
const ClassInfo TWindowAction = {"TWindowAction", &TAction, "StdActns"};
const ClassInfo TWindowClose = {"TWindowClose", &TWindowAction, "StdActns"};
const ClassInfo TWindowCascade = {"TWindowCascade", &TWindowAction, "StdActns"};
const ClassInfo TWindowTileHorizontal = {"TWindowTileHorizontal", &TWindowAction, "StdActns"};
const ClassInfo TWindowTileVertical = {"TWindowTileVertical", &TWindowAction, "StdActns"};
const ClassInfo TWindowMinimizeAll = {"TWindowMinimizeAll", &TWindowAction, "StdActns"};
const ClassInfo TWindowArrange = {"TWindowArrange", &TWindowAction, "StdActns"};
const ClassInfo THelpAction = {"THelpAction", &TAction, "StdActns"};
const ClassInfo THelpContents = {"THelpContents", &THelpAction, "StdActns"};
const ClassInfo THelpTopicSearch = {"THelpTopicSearch", &THelpAction, "StdActns"};
const ClassInfo THelpOnHelp = {"THelpOnHelp", &THelpAction, "StdActns"};
const ClassInfo THelpContextAction = {"THelpContextAction", &THelpAction, "StdActns"};
const ClassInfo TCommonDialogAction = {"TCommonDialogAction", &TAction, "StdActns"};
const ClassInfo TFileAction = {"TFileAction", &TCommonDialogAction, "StdActns"};
const ClassInfo TFileOpen = {"TFileOpen", &TFileAction, "StdActns", FileOpenGroups};
const ClassInfo TFileOpenWith = {"TFileOpenWith", &TFileOpen, "StdActns"};
const ClassInfo TFileSaveAs = {"TFileSaveAs", &TFileAction, "StdActns", FileSaveAsGroups};
const ClassInfo TFilePrintSetup = {"TFilePrintSetup", &TCommonDialogAction, "StdActns", PrintSetupGroups};
const ClassInfo TFileExit = {"TFileExit", &TAction, "StdActns"};
const ClassInfo TSearchAction = {"TSearchAction", &TCommonDialogAction, "StdActns"};
const ClassInfo TSearchFind = {"TSearchFind", &TSearchAction, "StdActns", SearchFindGroups};
const ClassInfo TSearchReplace = {"TSearchReplace", &TSearchAction, "StdActns", SearchReplaceGroups};
const ClassInfo TSearchFindFirst = {"TSearchFindFirst", &TSearchFind, "StdActns"};
const ClassInfo TSearchFindNext = {"TSearchFindNext", &TAction, "StdActns"};
// ExtActns
const ClassInfo TFileRun = {"TFileRun", &TAction, "ExtActns", FileRunGroups};
const ClassInfo TRichEditAction = {"TRichEditAction", &TEditAction, "ExtActns"};
const ClassInfo TRichEditBold = {"TRichEditBold", &TRichEditAction, "ExtActns"};
const ClassInfo TRichEditItalic = {"TRichEditItalic", &TRichEditAction, "ExtActns"};
const ClassInfo TRichEditUnderline = {"TRichEditUnderline", &TRichEditAction, "ExtActns"};
const ClassInfo TRichEditStrikeOut = {"TRichEditStrikeOut", &TRichEditAction, "ExtActns"};
const ClassInfo TRichEditBullets = {"TRichEditBullets", &TRichEditAction, "ExtActns"};
const ClassInfo TRichEditAlignLeft = {"TRichEditAlignLeft", &TRichEditAction, "ExtActns"};
const ClassInfo TRichEditAlignRight = {"TRichEditAlignRight", &TRichEditAction, "ExtActns"};
const ClassInfo TRichEditAlignCenter = {"TRichEditAlignCenter", &TRichEditAction, "ExtActns"};
// DBActns
const ClassInfo TDataSetAction = {"TDataSetAction", &TAction, "DBActns", DataSetActionGroups};
const ClassInfo TDataSetFirst = {"TDataSetFirst", &TDataSetAction, "DBActns"};
const ClassInfo TDataSetPrior = {"TDataSetPrior", &TDataSetAction, "DBActns"};
const ClassInfo TDataSetNext = {"TDataSetNext", &TDataSetAction, "DBActns"};
const ClassInfo TDataSetLast = {"TDataSetLast", &TDataSetAction, "DBActns"};
const ClassInfo TDataSetInsert = {"TDataSetInsert", &TDataSetAction, "DBActns"};
const ClassInfo TDataSetDelete = {"TDataSetDelete", &TDataSetAction, "DBActns"};
const ClassInfo TDataSetEdit = {"TDataSetEdit", &TDataSetAction, "DBActns"};
const ClassInfo TDataSetPost = {"TDataSetPost", &TDataSetAction, "DBActns"};
const ClassInfo TDataSetCancel = {"TDataSetCancel", &TDataSetAction, "DBActns"};
const ClassInfo TDataSetRefresh = {"TDataSetRefresh", &TDataSetAction, "DBActns"};

}  // namespace cls

}  // namespace fw::rt
