// Newer standard components: the application's events (AppEvnts), the image
// collection and the virtual image list that draws from it (ImageCollection,
// VirtualImageList), the link label, the buttoned edit and the tray icon (ExtCtrls)
// and the web browser control (SHDocVw).

#include "builtin.h"
#include "family_core.h"

namespace fw::rt {

using def::EventProp;
using def::MethodType;
using def::OwnedProp;
using def::RefProp;

namespace cls {
extern const ClassInfo TWICImage, TImageCollectionSourceItem, TImageCollectionSourceItems,
    TImageCollectionItem, TImageCollectionItems, TVirtualImageListItem, TVirtualImageListItems,
    TCustomImageCollection, TCustomVirtualImageList, TCustomLinkLabel, TOleControl, TEditButton,
    TCustomButtonedEdit, TCustomTrayIcon;
}  // namespace cls

namespace {

// Event types only named here.
constexpr TypeInfo TImageCollectionOnGetBitmapEventType = MethodType("TImageCollectionOnGetBitmapEvent");
constexpr TypeInfo TImageCollectionOnDrawEventType = MethodType("TImageCollectionOnDrawEvent");
constexpr TypeInfo TSysLinkEventType = MethodType("TSysLinkEvent");
constexpr TypeInfo TWebBrowserBeforeNavigate2Type = MethodType("TWebBrowserBeforeNavigate2");
constexpr TypeInfo TWebBrowserDocumentCompleteType = MethodType("TWebBrowserDocumentComplete");
constexpr TypeInfo TWebBrowserNavigateComplete2Type = MethodType("TWebBrowserNavigateComplete2");
constexpr TypeInfo TWebBrowserNewWindow2Type = MethodType("TWebBrowserNewWindow2");
constexpr TypeInfo TWebBrowserStatusTextChangeType = MethodType("TWebBrowserStatusTextChange");
constexpr TypeInfo TWebBrowserTitleChangeType = MethodType("TWebBrowserTitleChange");
constexpr TypeInfo TWebBrowserProgressChangeType = MethodType("TWebBrowserProgressChange");
constexpr TypeInfo TWebBrowserCommandStateChangeType = MethodType("TWebBrowserCommandStateChange");

// ---------------------------------------------------------------------------------
// AppEvnts

constexpr TypeInfo ExceptionEvent = MethodType("TExceptionEvent");
constexpr TypeInfo IdleEvent = MethodType("TIdleEvent");
constexpr TypeInfo MessageEvent = MethodType("TMessageEvent");
constexpr TypeInfo ShowHintEvent = MethodType("TShowHintEvent");
constexpr TypeInfo SettingChangeEvent = MethodType("TSettingChangeEvent");
constexpr TypeInfo RemoteSessionChangedEvent = MethodType("TRemoteSessionChangedEvent");
constexpr PropInfo ApplicationEventsProps[] = {
    EventProp("OnActionExecute", ty::TActionEvent),
    EventProp("OnActionUpdate", ty::TActionEvent),
    EventProp("OnActivate", ty::TNotifyEvent),
    EventProp("OnDeactivate", ty::TNotifyEvent),
    EventProp("OnException", ExceptionEvent),
    EventProp("OnHelp", ty::THelpEvent),
    EventProp("OnHint", ty::TNotifyEvent),
    EventProp("OnIdle", IdleEvent),
    EventProp("OnMessage", MessageEvent),
    EventProp("OnMinimize", ty::TNotifyEvent),
    EventProp("OnModalBegin", ty::TNotifyEvent),
    EventProp("OnModalEnd", ty::TNotifyEvent),
    EventProp("OnRemoteSessionChanged", RemoteSessionChangedEvent),
    EventProp("OnRestore", ty::TNotifyEvent),
    EventProp("OnSettingChange", SettingChangeEvent),
    EventProp("OnShortCut", ty::TShortCutEvent),
    EventProp("OnShowHint", ShowHintEvent),
};
constexpr std::span<const PropInfo> ApplicationEventsGroups[] = {ApplicationEventsProps};

// ---------------------------------------------------------------------------------
// Image collections: named images, each in one or more sizes (SourceImages), the
// picture written as Image.Data.

constexpr TypeInfo WICImageType = def::ClassType("TWICImage", cls::TWICImage);
constexpr PropInfo SourceItemProps[] = {OwnedProp("Image", WICImageType)};
constexpr std::span<const PropInfo> SourceItemGroups[] = {SourceItemProps};
constexpr TypeInfo SourceItemsType =
    def::ClassType("TImageCollectionSourceItems", cls::TImageCollectionSourceItems);
constexpr PropInfo CollectionItemProps[] = {
    {"Description", &ty::String, dv::Str("")},
    {"Name", &ty::String, dv::Str("")},
    OwnedProp("SourceImages", SourceItemsType),
};
constexpr std::span<const PropInfo> CollectionItemGroups[] = {CollectionItemProps};
constexpr TypeInfo CollectionItemsType = def::ClassType("TImageCollectionItems", cls::TImageCollectionItems);
constexpr std::string_view InterpolationModeNames[] = {"icDefault", "icNearestNeighbor", "icLinear",
                                                       "icCubic", "icFant"};
constexpr TypeInfo InterpolationModeType =
    def::EnumType("TImageCollectionInterpolationMode", InterpolationModeNames);
constexpr PropInfo ImageCollectionProps[] = {
    OwnedProp("Images", CollectionItemsType),
    {"InterpolationMode", &InterpolationModeType, dv::Int(0)},
    EventProp("OnChange", ty::TNotifyEvent),
    EventProp("OnGetBitmap", TImageCollectionOnGetBitmapEventType),
    EventProp("OnDraw", TImageCollectionOnDrawEventType),
};
constexpr std::span<const PropInfo> ImageCollectionGroups[] = {ImageCollectionProps};

// A virtual image list's items name the collection's images they show.
constexpr PropInfo VirtualItemProps[] = {
    {"CollectionIndex", &ty::Integer, dv::Int(-1)},
    {"CollectionName", &ty::String, dv::Str("")},
    {"Description", &ty::String, dv::Str("")},
    {"Disabled", &ty::Boolean, dv::Bool(false)},
    {"Name", &ty::String, dv::Str("")},
};
constexpr std::span<const PropInfo> VirtualItemGroups[] = {VirtualItemProps};
constexpr TypeInfo VirtualItemsType = def::ClassType("TVirtualImageListItems", cls::TVirtualImageListItems);
constexpr TypeInfo ImageCollectionType =
    def::ClassType("TCustomImageCollection", cls::TCustomImageCollection);
constexpr PropInfo VirtualImageListProps[] = {
    {"AutoFill", &ty::Boolean, dv::Bool(false)},
    {"BkColor", &ty::TColor, dv::Int(val::clNone)},
    {"BlendColor", &ty::TColor, dv::Int(val::clNone)},
    {"DisabledGrayscale", &ty::Boolean, dv::Bool(true)},
    {"DisabledOpacity", &ty::Byte, dv::Int(125)},
    {"DisabledSuffix", &ty::String, dv::Str("")},
    {"Height", &ty::Integer, dv::Int(16)},
    {"ImageNameAvailable", &ty::Boolean, dv::Bool(true)},
    RefProp("ImageCollection", ImageCollectionType),
    OwnedProp("Images", VirtualItemsType),
    {"PreserveItems", &ty::Boolean, dv::Bool(false)},
    {"Scaled", &ty::Boolean, dv::Bool(true)},
    {"Width", &ty::Integer, dv::Int(16)},
    EventProp("OnChange", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> VirtualImageListGroups[] = {VirtualImageListProps};

// ---------------------------------------------------------------------------------
// TLinkLabel: a caption whose <a href="..."> parts are links.

constexpr PropInfo LinkLabelProps[] = {
    {"Alignment", &ty::TAlignment, dv::Int(0)},        {"AutoSize", &ty::Boolean, dv::Bool(true)},
    {"Caption", &ty::TCaption, dv::Str("")},           {"Color", &ty::TColor, dv::Int(val::clBtnFace)},
    {"ParentColor", &ty::Boolean, dv::Bool(true)},     {"TabStop", &ty::Boolean, dv::Bool(false)},
    {"UseVisualStyle", &ty::Boolean, dv::Bool(false)}, EventProp("OnLinkClick", TSysLinkEventType),
};
constexpr std::span<const PropInfo> LinkLabelGroups[] = {
    grp::ControlProps,    grp::ControlEvents, grp::ClickEvents,
    grp::WinControlProps, grp::FocusEvents,   LinkLabelProps,
};

// ---------------------------------------------------------------------------------
// TWebBrowser: an OLE control; its object's state is written as ControlData.

constexpr PropInfo WebBrowserProps[] = {
    {"Align", &ty::TAlign, dv::Int(0)},
    {"Anchors", &ty::TAnchors, dv::Set({0, 1})},
    {"Enabled", &ty::Boolean, dv::Bool(true)},
    {"ParentShowHint", &ty::Boolean, dv::Bool(true)},
    RefProp("PopupMenu", ty::TPopupMenu),
    {"SelectedEngine", &ty::String, dv::Str("")},
    {"ShowHint", &ty::Boolean, dv::Bool(false)},
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    {"Visible", &ty::Boolean, dv::Bool(true)},
    EventProp("OnEnter", ty::TNotifyEvent),
    EventProp("OnExit", ty::TNotifyEvent),
    EventProp("OnBeforeNavigate2", TWebBrowserBeforeNavigate2Type),
    EventProp("OnDocumentComplete", TWebBrowserDocumentCompleteType),
    EventProp("OnNavigateComplete2", TWebBrowserNavigateComplete2Type),
    EventProp("OnNewWindow2", TWebBrowserNewWindow2Type),
    EventProp("OnStatusTextChange", TWebBrowserStatusTextChangeType),
    EventProp("OnTitleChange", TWebBrowserTitleChangeType),
    EventProp("OnProgressChange", TWebBrowserProgressChangeType),
    EventProp("OnCommandStateChange", TWebBrowserCommandStateChangeType),
    EventProp("OnDownloadBegin", ty::TNotifyEvent),
    EventProp("OnDownloadComplete", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> WebBrowserGroups[] = {grp::WinControlProps, WebBrowserProps};

// ---------------------------------------------------------------------------------
// TButtonedEdit: an edit with a button at either end, each showing an image of Images.

constexpr PropInfo EditButtonProps[] = {
    {"DisabledImageIndex", &ty::TImageIndex, dv::Int(-1)},
    RefProp("DropDownMenu", ty::TPopupMenu),
    {"Enabled", &ty::Boolean, dv::Bool(true)},
    {"Hint", &ty::String, dv::Str("")},
    {"HotImageIndex", &ty::TImageIndex, dv::Int(-1)},
    {"ImageIndex", &ty::TImageIndex, dv::Int(-1)},
    {"ImageName", &ty::TImageName, dv::Str("")},
    {"PressedImageIndex", &ty::TImageIndex, dv::Int(-1)},
    {"Visible", &ty::Boolean, dv::Bool(false)},
};
constexpr std::span<const PropInfo> EditButtonGroups[] = {EditButtonProps};
constexpr TypeInfo EditButtonType = def::ClassType("TEditButton", cls::TEditButton);
constexpr PropInfo ButtonedEditProps[] = {
    RefProp("Images", ty::TCustomImageList),          OwnedProp("LeftButton", EditButtonType),
    {"NumbersOnly", &ty::Boolean, dv::Bool(false)},   OwnedProp("RightButton", EditButtonType),
    EventProp("OnLeftButtonClick", ty::TNotifyEvent), EventProp("OnRightButtonClick", ty::TNotifyEvent),
};
constexpr std::span<const PropInfo> ButtonedEditGroups[] = {
    grp::ControlProps,     grp::ControlEvents, grp::ClickEvents,   grp::WinControlProps,
    grp::FocusEvents,      grp::Ctl3DProps,    grp::WinBevelProps, grp::ImeProps,
    grp::WindowColorProps, grp::EditProps,     ButtonedEditProps,
};

// ---------------------------------------------------------------------------------
// TTrayIcon: the notification-area icon (Icon, or one of Icons by IconIndex).

constexpr std::string_view BalloonFlagsNames[] = {"bfNone", "bfInfo", "bfWarning", "bfError"};
constexpr TypeInfo BalloonFlagsType = def::EnumType("TBalloonFlags", BalloonFlagsNames);
constexpr PropInfo TrayIconProps[] = {
    {"Animate", &ty::Boolean, dv::Bool(false)},
    {"AnimateInterval", &ty::Cardinal, dv::Int(1000)},
    {"BalloonFlags", &BalloonFlagsType, dv::Int(0)},
    {"BalloonHint", &ty::String, dv::Str("")},
    {"BalloonTimeout", &ty::Integer, dv::Int(10000)},
    {"BalloonTitle", &ty::String, dv::Str("")},
    {"Hint", &ty::String, dv::Str("")},
    OwnedProp("Icon", ty::TIcon),
    {"IconIndex", &ty::Integer, dv::Int(0)},
    RefProp("Icons", ty::TCustomImageList),
    RefProp("PopupMenu", ty::TPopupMenu),
    {"Visible", &ty::Boolean, dv::Bool(false)},
    EventProp("OnAnimate", ty::TNotifyEvent),
    EventProp("OnBalloonClick", ty::TNotifyEvent),
    EventProp("OnClick", ty::TNotifyEvent),
    EventProp("OnDblClick", ty::TNotifyEvent),
    EventProp("OnMouseDown", ty::TMouseEvent),
    EventProp("OnMouseMove", ty::TMouseMoveEvent),
    EventProp("OnMouseUp", ty::TMouseEvent),
};
constexpr std::span<const PropInfo> TrayIconGroups[] = {TrayIconProps};

}  // namespace

namespace cls {

const ClassInfo TApplicationEvents = {"TApplicationEvents", &TComponent, "AppEvnts", ApplicationEventsGroups};

const ClassInfo TWICImage = {"TWICImage", &TGraphic, "Graphics"};
const ClassInfo TImageCollectionSourceItem = {"TImageCollectionSourceItem", &TCollectionItem,
                                              "ImageCollection", SourceItemGroups};
const ClassInfo TImageCollectionSourceItems = {
    "TImageCollectionSourceItems", &TOwnedCollection, "ImageCollection", {}, 0, &TImageCollectionSourceItem};
const ClassInfo TImageCollectionItem = {"TImageCollectionItem", &TCollectionItem, "ImageCollection",
                                        CollectionItemGroups};
const ClassInfo TImageCollectionItems = {"TImageCollectionItems", &TOwnedCollection, "ImageCollection", {}, 0,
                                         &TImageCollectionItem};
const ClassInfo TCustomImageCollection = {"TCustomImageCollection", &TComponent, "ImageCollection"};
const ClassInfo TImageCollection = {"TImageCollection", &TCustomImageCollection, "ImageCollection",
                                    ImageCollectionGroups};

const ClassInfo TVirtualImageListItem = {"TVirtualImageListItem", &TCollectionItem, "VirtualImageList",
                                         VirtualItemGroups};
const ClassInfo TVirtualImageListItems = {
    "TVirtualImageListItems", &TOwnedCollection, "VirtualImageList", {}, 0, &TVirtualImageListItem};
const ClassInfo TCustomVirtualImageList = {"TCustomVirtualImageList", &TCustomImageList, "VirtualImageList"};
const ClassInfo TVirtualImageList = {"TVirtualImageList", &TCustomVirtualImageList, "VirtualImageList",
                                     VirtualImageListGroups};

const ClassInfo TCustomLinkLabel = {"TCustomLinkLabel", &TWinControl, "ExtCtrls"};
const ClassInfo TLinkLabel = {"TLinkLabel", &TCustomLinkLabel, "ExtCtrls", LinkLabelGroups};

const ClassInfo TEditButton = {"TEditButton", &TPersistent, "ExtCtrls", EditButtonGroups};
const ClassInfo TCustomButtonedEdit = {"TCustomButtonedEdit", &TCustomEdit, "ExtCtrls"};
const ClassInfo TButtonedEdit = {"TButtonedEdit", &TCustomButtonedEdit, "ExtCtrls", ButtonedEditGroups};
const ClassInfo TCustomTrayIcon = {"TCustomTrayIcon", &TComponent, "ExtCtrls"};
const ClassInfo TTrayIcon = {"TTrayIcon", &TCustomTrayIcon, "ExtCtrls", TrayIconGroups};

const ClassInfo TOleControl = {"TOleControl", &TWinControl, "OleCtrls"};
const ClassInfo TWebBrowser = {"TWebBrowser", &TOleControl, "SHDocVw", WebBrowserGroups};

}  // namespace cls

}  // namespace fw::rt
