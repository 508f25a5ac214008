#pragma once
// The designer's rules for placing controls on the preview, without a screen: the grid
// snap, moving one or several controls by a drag or an arrow key, resizing by one of a
// control's eight handles, what an aligned control lets the designer change, and the
// path that names an object of the form text for an edit. The overlay on the preview
// only feeds pointer and key input to these and draws what they answer.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/reader.h"

namespace fw::preview {

// The grid the designer snaps positions and edges to, in pixels.
inline constexpr int DesignGrid = 8;

// A control's position and size in its parent's client area, as its Left, Top, Width
// and Height store them.
struct DesignBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    // The edges past the control, within the range of int.
    int Right() const { return Edge(Left, Width); }
    int Bottom() const { return Edge(Top, Height); }
    static int Edge(int start, int size) {
        return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{start} + size, INT32_MIN, INT32_MAX));
    }
    friend bool operator==(const DesignBounds&, const DesignBounds&) = default;
};

// Which of a control's position and size values an edit writes, as bits.
enum DesignField : unsigned {
    FieldLeft = 1,
    FieldTop = 2,
    FieldWidth = 4,
    FieldHeight = 8,
    AllFields = FieldLeft | FieldTop | FieldWidth | FieldHeight,
};

// What a press on a selected control grabs: its body, to move it, or one of the eight
// handles around it, to move that corner or edge.
enum class DesignGrip { None, Body, TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };

// The handles in drawing order, TopLeft clockwise to Left.
inline constexpr std::array<DesignGrip, 8> DesignHandles{
    DesignGrip::TopLeft,     DesignGrip::Top,    DesignGrip::TopRight,   DesignGrip::Right,
    DesignGrip::BottomRight, DesignGrip::Bottom, DesignGrip::BottomLeft, DesignGrip::Left};

// The side of a handle's square, in pixels.
inline constexpr int DesignHandleSize = 6;

// The nearest multiple of grid to value (halves rounding up), negative values included.
int SnapToGrid(int value, int grid = DesignGrid);

// The square of a handle around bounds (in the same coordinates): DesignHandleSize a
// side, centred on its corner or on the middle of its edge.
DesignBounds HandleSquare(const DesignBounds& bounds, DesignGrip handle);

// What a point grabs of a selected control's bounds: a handle whose square holds it,
// else the body when the bounds hold it, else None.
DesignGrip GripAt(const DesignBounds& bounds, int x, int y);

// The offset a drag by (dx, dy) moves a selection by: with snap, adjusted so that the
// grabbed control's Left and Top land on the grid; the other selected controls move by
// the same offset and keep their places relative to it. An axis the pointer has not
// moved along stays where it is, so a click does not pull a control onto the grid.
struct DesignOffset {
    int X = 0;
    int Y = 0;
    friend bool operator==(const DesignOffset&, const DesignOffset&) = default;
};
DesignOffset MoveOffset(const DesignBounds& grabbed, int dx, int dy, bool snap);

// The bounds a grip dragged by (dx, dy) leaves: the body moves the whole (MoveOffset),
// a handle moves its edges, each to the grid with snap. An edge is not dragged past
// the opposite one: the control keeps at least one pixel a side.
DesignBounds DragBounds(const DesignBounds& start, DesignGrip grip, int dx, int dy, bool snap);

// The bounds an arrow key leaves, (dx, dy) its direction (-1, 0 or 1 each): a move to
// the next grid line that way, or by one pixel when fine; with resize the right or
// bottom edge moves instead, keeping at least one pixel a side.
DesignBounds KeyBounds(const DesignBounds& start, int dx, int dy, bool resize, bool fine);

// The fields an alignment leaves to the designer: all for alNone and alCustom (and an
// unknown or empty name), Height for alTop and alBottom, Width for alLeft and alRight,
// none for alClient.
unsigned AlignmentAllows(std::string_view align);

// The fields of proposed that differ from start and that allowed lets the designer
// write.
unsigned ChangedFields(const DesignBounds& start, const DesignBounds& proposed, unsigned allowed);

// The path that names a record of a read for the edits of its text, as the edit
// engine writes paths: its name when no other record has it (ignoring case) and it is
// not the root's, else its parent's path and its own step joined with "."; a step is
// the name, or "#n" (the place among the records written in the parent) for a record
// without a name or with a sibling of the same name. Empty for an entry that is not
// there.
std::string EditPathOf(const std::vector<rt::ReadObject>& records, int entry);

}  // namespace fw::preview
