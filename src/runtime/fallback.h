#pragma once
// The fallback classes: component classes registered after the design packages, each
// only when no class of its name is registered by then, so that forms using them read
// even when no package provides them.

#include <span>

#include "metadata.h"

namespace fw::rt {

namespace cls {
// Classes only the fallback list names, defined in classes_fallback.cpp with a small
// set of published properties: enough to read and preview the controls.
extern const ClassInfo TButtonGroup, TPopupActionBar, TCategoryButtons;
}  // namespace cls

// TGauge, TChart, TButtonGroup, TActionManager, TPopupActionBar, TActionMainMenuBar,
// TActionToolBar, TActionList, TAction, TCategoryButtons, TDBGrid, TDBEdit, in this
// order.
std::span<const ClassInfo* const> FallbackClasses();

}  // namespace fw::rt
