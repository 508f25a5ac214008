// The class tables of the fallback classes that no other family declares: the button
// group, the popup action bar and the category buttons. Each has the control
// properties every control publishes and the few of its own that forms most often set;
// their item collections are not modelled, so a form's items of these controls are
// reported as unknown properties and the control previews as a framed box.

#include <array>

#include "builtin.h"
#include "fallback.h"
#include "family_core.h"

namespace fw::rt {

using def::EventProp;
using def::RefProp;
using def::SetType;

namespace {

// ButtonGroup
constexpr std::string_view ButtonOptionNames[] = {"gboAllowReorder", "gboFullSize", "gboGroupStyle",
                                                  "gboShowCaptions"};
constexpr TypeInfo TGrpButtonOption = def::EnumType("TGrpButtonOption", ButtonOptionNames);
constexpr TypeInfo TGrpButtonOptions = SetType("TGrpButtonOptions", TGrpButtonOption);
constexpr TypeInfo TGrpButtonEvent = def::MethodType("TGrpButtonEvent");
constexpr PropInfo ButtonGroupProps[] = {
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},  // bsSingle
    {"ButtonHeight", &ty::Integer, dv::Int(24)},
    {"ButtonOptions", &TGrpButtonOptions, dv::Set({3})},  // [gboShowCaptions]
    {"ButtonWidth", &ty::Integer, dv::Int(24)},
    RefProp("Images", ty::TCustomImageList),
    {"TabStop", &ty::Boolean, dv::Bool(true)},
    EventProp("OnButtonClicked", TGrpButtonEvent),
};
constexpr std::span<const PropInfo> ButtonGroupGroups[] = {grp::ControlProps, grp::ControlEvents,
                                                           grp::ClickEvents,  grp::WinControlProps,
                                                           grp::FocusEvents,  ButtonGroupProps};

// CategoryButtons
constexpr std::string_view ButtonFlowNames[] = {"cbfVertical", "cbfHorizontal"};
constexpr TypeInfo TCatButtonFlow = def::EnumType("TCatButtonFlow", ButtonFlowNames);
constexpr PropInfo CategoryButtonsProps[] = {
    {"BorderStyle", &ty::TBorderStyle, dv::Int(1)},  // bsSingle
    {"ButtonFlow", &TCatButtonFlow, dv::Int(0)},    {"ButtonHeight", &ty::Integer, dv::Int(24)},
    {"ButtonWidth", &ty::Integer, dv::Int(24)},     RefProp("Images", ty::TCustomImageList),
    {"TabStop", &ty::Boolean, dv::Bool(true)},
};
constexpr std::span<const PropInfo> CategoryButtonsGroups[] = {grp::ControlProps, grp::ControlEvents,
                                                               grp::ClickEvents,  grp::WinControlProps,
                                                               grp::FocusEvents,  CategoryButtonsProps};

}  // namespace

namespace cls {

const ClassInfo TButtonGroup = {"TButtonGroup", &TCustomControl, "ButtonGroup", ButtonGroupGroups};
// A popup menu that action bars draw; its own properties add nothing a preview shows.
const ClassInfo TPopupActionBar = {"TPopupActionBar", &TPopupMenu, "ActnPopup"};
const ClassInfo TCategoryButtons = {"TCategoryButtons", &TCustomControl, "CategoryButtons",
                                    CategoryButtonsGroups};

}  // namespace cls

namespace {

constexpr std::array<const ClassInfo*, 12> Fallbacks = {
    &cls::TGauge,           &cls::TChart,          &cls::TButtonGroup,
    &cls::TActionManager,   &cls::TPopupActionBar, &cls::TActionMainMenuBar,
    &cls::TActionToolBar,   &cls::TActionList,     &cls::TAction,
    &cls::TCategoryButtons, &cls::TDBGrid,         &cls::TDBEdit,
};

}  // namespace

std::span<const ClassInfo* const> FallbackClasses() {
    return Fallbacks;
}

}  // namespace fw::rt
