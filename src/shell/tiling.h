#pragma once
// Where windows go: tiling and cascading document windows inside the MDI area, and
// the main window's first place on the screen.

#include <QRect>
#include <vector>

namespace fw {

enum class TileMode {
    Horizontal,  // windows one above the other, in rows as wide as the area
    Vertical,    // windows side by side, in columns as tall as the area
};

// The geometries of `count` windows tiled over `area`, without gaps or overlaps. Up to
// three windows form a single column (Horizontal) or row (Vertical); more form a grid
// of floor(sqrt(count)) columns (rows), the later ones taking one window more when the
// count does not divide. Windows fill the first column (row) first. Empty for a count
// below 1 or an empty area.
std::vector<QRect> TileRects(const QRect& area, int count, TileMode mode);

// The geometries of `count` cascaded windows: all of one size, each `step` pixels
// right of and below the one before, the last on top. The size leaves room for the
// offsets but is at least two thirds of the area; when the next window would leave
// the area, the run starts again at the top left. Empty for a count below 1, an empty
// area or a step below 1.
std::vector<QRect> CascadeRects(const QRect& area, int count, int step);

// The main window's bounds at a first start, when no layout is stored: two thirds of
// the screen's available area each way, but not below 718 x 469 where the area has
// room for that, centred in the area.
QRect InitialMainWindowRect(const QRect& available);

}  // namespace fw
