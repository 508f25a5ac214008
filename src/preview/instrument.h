#pragma once
// The preview's hooks on live controls: picking, pointer tracking, tooltips with each
// control's name, class and bounds, and every control enabled so that it can be picked.
// Plain C++ over the runtime's objects; the realiser reads the hooks back to route
// mouse input.

#include <string>
#include <string_view>

#include "runtime/object.h"

namespace fw::preview {

// The names the hooks carry as their method names.
inline constexpr std::string_view ObjectEnterHook = "ObjectEnter";
inline constexpr std::string_view ObjectMouseMoveHook = "ObjectMouseMove";

// For each control owner owns, in order: OnClick (else OnDblClick) set to ObjectEnter,
// OnMouseMove to ObjectMouseMove, ShowHint True, Hint "Name: Class\r\nOrigin: L, T\r\n
// Size: W x H", Enabled True; then the same for the components it owns. Components that
// are not controls are left alone.
void InstrumentControls(rt::Object& owner);

// The form's own tooltip: "Name: Class\r\nOrigin: L, T; Size: W x H".
std::string FormHint(const rt::Object& form);

// Whether an event of the control is set to the named hook.
bool HasHook(const rt::Object& control, std::string_view event, std::string_view hook);

}  // namespace fw::preview
