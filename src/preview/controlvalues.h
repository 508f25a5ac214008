#pragma once
// Readings of a control's values that more than one family of factories needs: the
// colours they draw parts with, clamped integers, colour and string-list properties,
// alignments.

#include <QColor>
#include <QStringList>
#include <Qt>
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "preview/vcllook.h"
#include "runtime/object.h"

namespace fw::preview {

// TColor values the factories draw with. A system colour is $FF000000 plus the system
// colour index; TColor is a signed 32-bit integer, so the value is negative.
constexpr std::int64_t SysColor(int index) {
    return -0x1000000 + index;
}
inline constexpr std::int64_t clWindow = SysColor(5);
inline constexpr std::int64_t clWindowFrame = SysColor(6);
inline constexpr std::int64_t clWindowText = SysColor(8);
inline constexpr std::int64_t clHighlight = SysColor(13);
inline constexpr std::int64_t clHighlightText = SysColor(14);
inline constexpr std::int64_t clBtnFace = SysColor(15);
inline constexpr std::int64_t clBtnShadow = SysColor(16);
inline constexpr std::int64_t clGrayText = SysColor(17);
inline constexpr std::int64_t clBtnHighlight = SysColor(20);
inline constexpr std::int64_t cl3DDkShadow = SysColor(21);
inline constexpr std::int64_t cl3DLight = SysColor(22);
inline constexpr std::int64_t clNone = 0x1FFFFFFF;
inline constexpr std::int64_t clDefault = 0x20000000;

// A stored integer narrowed to int within [low, high]: stored values are 64-bit and
// may be anything, Qt's geometry and ranges take int.
inline int ClampInt(std::int64_t value, int low = INT_MIN, int high = INT_MAX) {
    return static_cast<int>(std::clamp<std::int64_t>(value, low, high));
}

// A colour property, or fallback when the class has none or it holds clNone or
// clDefault.
QColor ColorProperty(const rt::Object& object, std::string_view name, const QColor& fallback);

// The lines a string-list property holds, at most MaxListLines of them: a list of a
// million lines would only stall the preview, and nobody scrolls that far in it.
inline constexpr std::size_t MaxListLines = 10000;
QStringList LinesOf(const rt::Object& object, std::string_view name);

// The horizontal alignment a TAlignment value names (taLeftJustify, taRightJustify,
// taCenter), fallback for none.
Qt::Alignment HorizontalAlignment(const std::string& alignment, Qt::Alignment fallback = Qt::AlignLeft);

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
