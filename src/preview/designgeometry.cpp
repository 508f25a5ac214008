#include "preview/designgeometry.h"

#include <algorithm>
#include <cstdint>

#include "base/asciitext.h"

namespace fw::preview {

namespace {

// Coordinates are worked out in 64 bits and brought back into the range of the stored
// values, so that a control at the ends of that range can neither overflow nor wrap.
using Wide = std::int64_t;

int Narrow(Wide value) {
    return static_cast<int>(std::clamp<Wide>(value, INT32_MIN, INT32_MAX));
}

// Division rounding towards minus infinity, so that the grid lines left of 0 are
// found as those right of it are.
Wide FloorDiv(Wide value, Wide grid) {
    const Wide quotient = value / grid;
    return (value % grid != 0 && value < 0) ? quotient - 1 : quotient;
}

// The grid line a key moves a coordinate to: the next one in direction, or one pixel
// when fine.
Wide KeyStep(Wide value, int direction, bool fine) {
    if (direction == 0) return value;
    if (fine) return value + direction;
    if (direction > 0) return (FloorDiv(value, DesignGrid) + 1) * DesignGrid;
    return FloorDiv(value - 1, DesignGrid) * DesignGrid;
}

// A coordinate moved by delta, onto the grid with snap; one the pointer has not moved
// stays as it is.
Wide DragCoordinate(Wide value, int delta, bool snap) {
    if (delta == 0) return value;
    return snap ? SnapToGrid(Narrow(value + delta)) : value + delta;
}

bool MovesLeftEdge(DesignGrip grip) {
    return grip == DesignGrip::TopLeft || grip == DesignGrip::Left || grip == DesignGrip::BottomLeft;
}

bool MovesRightEdge(DesignGrip grip) {
    return grip == DesignGrip::TopRight || grip == DesignGrip::Right || grip == DesignGrip::BottomRight;
}

bool MovesTopEdge(DesignGrip grip) {
    return grip == DesignGrip::TopLeft || grip == DesignGrip::Top || grip == DesignGrip::TopRight;
}

bool MovesBottomEdge(DesignGrip grip) {
    return grip == DesignGrip::BottomLeft || grip == DesignGrip::Bottom || grip == DesignGrip::BottomRight;
}

// Bounds from edges, each value brought into range.
DesignBounds FromEdges(Wide left, Wide top, Wide right, Wide bottom) {
    return {Narrow(left), Narrow(top), Narrow(right - left), Narrow(bottom - top)};
}

}  // namespace

int SnapToGrid(int value, int grid) {
    if (grid <= 1) return value;
    const Wide lines = FloorDiv(static_cast<Wide>(value) + grid / 2, grid);
    Wide snapped = lines * grid;
    // The nearest line outside the range gives way to the nearest one inside it.
    if (snapped > INT32_MAX) snapped -= grid;
    if (snapped < INT32_MIN) snapped += grid;
    return static_cast<int>(snapped);
}

DesignBounds HandleSquare(const DesignBounds& bounds, DesignGrip handle) {
    int x = bounds.Left, y = bounds.Top;
    const int midX = bounds.Left + bounds.Width / 2, midY = bounds.Top + bounds.Height / 2;
    switch (handle) {
        case DesignGrip::TopLeft:
            break;
        case DesignGrip::Top:
            x = midX;
            break;
        case DesignGrip::TopRight:
            x = bounds.Right();
            break;
        case DesignGrip::Right:
            x = bounds.Right(), y = midY;
            break;
        case DesignGrip::BottomRight:
            x = bounds.Right(), y = bounds.Bottom();
            break;
        case DesignGrip::Bottom:
            x = midX, y = bounds.Bottom();
            break;
        case DesignGrip::BottomLeft:
            y = bounds.Bottom();
            break;
        case DesignGrip::Left:
            y = midY;
            break;
        default:
            return {};
    }
    return {x - DesignHandleSize / 2, y - DesignHandleSize / 2, DesignHandleSize, DesignHandleSize};
}

DesignGrip GripAt(const DesignBounds& bounds, int x, int y) {
    for (const DesignGrip handle : DesignHandles) {
        const DesignBounds square = HandleSquare(bounds, handle);
        if (x >= square.Left && x < square.Right() && y >= square.Top && y < square.Bottom()) return handle;
    }
    if (x >= bounds.Left && x < bounds.Right() && y >= bounds.Top && y < bounds.Bottom())
        return DesignGrip::Body;
    return DesignGrip::None;
}

DesignOffset MoveOffset(const DesignBounds& grabbed, int dx, int dy, bool snap) {
    return {Narrow(DragCoordinate(grabbed.Left, dx, snap) - grabbed.Left),
            Narrow(DragCoordinate(grabbed.Top, dy, snap) - grabbed.Top)};
}

DesignBounds DragBounds(const DesignBounds& start, DesignGrip grip, int dx, int dy, bool snap) {
    if (grip == DesignGrip::None) return start;
    Wide left = start.Left, top = start.Top;
    Wide right = left + start.Width, bottom = top + start.Height;
    if (grip == DesignGrip::Body) {
        const DesignOffset offset = MoveOffset(start, dx, dy, snap);
        return {Narrow(left + offset.X), Narrow(top + offset.Y), start.Width, start.Height};
    }
    if (MovesLeftEdge(grip)) left = std::min(DragCoordinate(left, dx, snap), right - 1);
    if (MovesRightEdge(grip)) right = std::max(DragCoordinate(right, dx, snap), left + 1);
    if (MovesTopEdge(grip)) top = std::min(DragCoordinate(top, dy, snap), bottom - 1);
    if (MovesBottomEdge(grip)) bottom = std::max(DragCoordinate(bottom, dy, snap), top + 1);
    return FromEdges(left, top, right, bottom);
}

DesignBounds KeyBounds(const DesignBounds& start, int dx, int dy, bool resize, bool fine) {
    const Wide left = start.Left, top = start.Top;
    if (!resize)
        return {Narrow(KeyStep(left, dx, fine)), Narrow(KeyStep(top, dy, fine)), start.Width, start.Height};
    const Wide right = std::max(KeyStep(left + start.Width, dx, fine), left + 1);
    const Wide bottom = std::max(KeyStep(top + start.Height, dy, fine), top + 1);
    return FromEdges(left, top, right, bottom);
}

unsigned AlignmentAllows(std::string_view align) {
    if (EqualsIgnoringCase(align, "alTop") || EqualsIgnoringCase(align, "alBottom")) return FieldHeight;
    if (EqualsIgnoringCase(align, "alLeft") || EqualsIgnoringCase(align, "alRight")) return FieldWidth;
    if (EqualsIgnoringCase(align, "alClient")) return 0;
    return AllFields;
}

unsigned ChangedFields(const DesignBounds& start, const DesignBounds& proposed, unsigned allowed) {
    unsigned changed = 0;
    if (proposed.Left != start.Left) changed |= FieldLeft;
    if (proposed.Top != start.Top) changed |= FieldTop;
    if (proposed.Width != start.Width) changed |= FieldWidth;
    if (proposed.Height != start.Height) changed |= FieldHeight;
    return changed & allowed;
}

namespace {

// One step of a path: the record's name, or "#n" (its place among the records written
// in its parent) when it has none or a sibling has the same one; the root's name, or
// "#0" for a root without one.
std::string PathStep(const std::vector<rt::ReadObject>& records, std::size_t entry) {
    const rt::ReadObject& record = records[entry];
    if (record.Parent < 0) return record.Name.empty() ? "#0" : record.Name;
    // The records inside a record follow it, so its children are found after it.
    const auto parent = static_cast<std::size_t>(record.Parent);
    int place = 0, own = 0;
    bool shared = false;
    for (std::size_t i = parent + 1; i < records.size(); ++i) {
        if (records[i].Parent != record.Parent) continue;
        if (i == entry)
            own = place;
        else if (!record.Name.empty() && EqualsIgnoringCase(records[i].Name, record.Name))
            shared = true;
        ++place;
    }
    if (!record.Name.empty() && !shared) return record.Name;
    return "#" + std::to_string(own);
}

}  // namespace

std::string EditPathOf(const std::vector<rt::ReadObject>& records, int entry) {
    if (entry < 0 || static_cast<std::size_t>(entry) >= records.size()) return {};
    const std::string_view rootName = records.front().Parent < 0 ? records.front().Name : std::string_view();
    // A name no other record has (and not the root's) names its object alone; so the
    // path goes up until such a name or the root.
    std::vector<std::string> steps;
    for (auto at = static_cast<std::size_t>(entry);;) {
        const rt::ReadObject& record = records[at];
        const bool unique = !record.Name.empty() && record.Parent >= 0 &&
                            !EqualsIgnoringCase(record.Name, rootName) &&
                            std::count_if(records.begin(), records.end(), [&](const rt::ReadObject& other) {
                                return EqualsIgnoringCase(other.Name, record.Name);
                            }) == 1;
        if (unique) {
            steps.push_back(record.Name);
            break;
        }
        steps.push_back(PathStep(records, at));
        // Each record's parent comes before it, so the walk ends.
        if (record.Parent < 0 || static_cast<std::size_t>(record.Parent) >= at) break;
        at = static_cast<std::size_t>(record.Parent);
    }
    std::string path;
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        if (!path.empty()) path += '.';
        path += *step;
    }
    return path;
}

}  // namespace fw::preview
