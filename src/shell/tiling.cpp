#include "shell/tiling.h"

#include <algorithm>
#include <cmath>

namespace fw {

namespace {

// Start of part `index` of `parts` equal parts of `length`; consecutive parts meet
// exactly, so rounding never leaves a gap.
int PartStart(int length, int index, int parts) {
    return static_cast<int>(static_cast<long long>(length) * index / parts);
}

}  // namespace

std::vector<QRect> TileRects(const QRect& area, int count, TileMode mode) {
    std::vector<QRect> rects;
    if (count < 1 || area.isEmpty()) return rects;
    rects.reserve(static_cast<std::size_t>(count));

    // Work in "lanes" (columns for Horizontal, rows for Vertical), each split into
    // cells along the other axis.
    const int lanes = count <= 3 ? 1 : static_cast<int>(std::sqrt(static_cast<double>(count)));
    const int perLane = count / lanes;
    const int longerLanes = count % lanes;  // the last lanes take one cell more

    const bool horizontal = mode == TileMode::Horizontal;
    const int laneLength = horizontal ? area.width() : area.height();
    const int cellLength = horizontal ? area.height() : area.width();

    for (int lane = 0; lane < lanes; ++lane) {
        const int cells = perLane + (lane >= lanes - longerLanes ? 1 : 0);
        const int laneStart = PartStart(laneLength, lane, lanes);
        const int laneEnd = PartStart(laneLength, lane + 1, lanes);
        for (int cell = 0; cell < cells; ++cell) {
            const int cellStart = PartStart(cellLength, cell, cells);
            const int cellEnd = PartStart(cellLength, cell + 1, cells);
            if (horizontal) {
                rects.emplace_back(area.left() + laneStart, area.top() + cellStart, laneEnd - laneStart,
                                   cellEnd - cellStart);
            } else {
                rects.emplace_back(area.left() + cellStart, area.top() + laneStart, cellEnd - cellStart,
                                   laneEnd - laneStart);
            }
        }
    }
    return rects;
}

std::vector<QRect> CascadeRects(const QRect& area, int count, int step) {
    std::vector<QRect> rects;
    if (count < 1 || area.isEmpty() || step < 1) return rects;
    rects.reserve(static_cast<std::size_t>(count));
    const int offsets = step * (count - 1);
    const int width = std::max(area.width() * 2 / 3, area.width() - offsets);
    const int height = std::max(area.height() * 2 / 3, area.height() - offsets);
    // How many windows fit diagonally before one would stick out of the area.
    const int perRun = 1 + std::min(area.width() - width, area.height() - height) / step;
    for (int i = 0; i < count; ++i) {
        const int offset = (i % perRun) * step;
        rects.emplace_back(area.left() + offset, area.top() + offset, width, height);
    }
    return rects;
}

QRect InitialMainWindowRect(const QRect& available) {
    constexpr int kMinimumWidth = 718;
    constexpr int kMinimumHeight = 469;
    const int width = std::min(std::max(available.width() * 2 / 3, kMinimumWidth), available.width());
    const int height = std::min(std::max(available.height() * 2 / 3, kMinimumHeight), available.height());
    QRect rect(0, 0, width, height);
    rect.moveCenter(available.center());
    return rect;
}

}  // namespace fw
