#pragma once
// Readings of a control's values that more than one family of factories needs.

#include "preview/vcllook.h"
#include "runtime/object.h"

namespace fw::preview {

// Whether the control's Color differs from its class's initial colour, so the form
// stored a colour of its own.
inline bool StoresOwnColor(const rt::Object& control) {
    const rt::Property* color = control.FindProperty("Color");
    if (!color || color->Info->Default.Which != rt::DefaultValue::Kind::Ordinal) return false;
    return OrdinalOf(control, "Color", color->Info->Default.Ordinal) != color->Info->Default.Ordinal;
}

// Whether a container lets its parent's background show through instead of filling its
// own colour. With themes, ParentBackground (True unless stored) shows the parent's
// background; but older forms never stored ParentBackground, and one that stores a
// colour of its own but no ParentBackground = False still means that colour, so a
// stored colour wins.
inline bool ShowsParentBackground(const rt::Object& control) {
    if (StoresOwnColor(control)) return false;
    const rt::Property* p = control.FindProperty("ParentBackground");
    return p && OrdinalOf(control, "ParentBackground", 0) != 0;
}

}  // namespace fw::preview
