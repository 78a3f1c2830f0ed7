#include "meter_loudness/history_graph.h"

#include <algorithm>
#include <cmath>

#include "gui/offscreen_context.h"
#include "meter_loudness/loudness_history.h"

using namespace panel_style;

HistoryGraph::HistoryGraph(const CRectangle& size, const LoudnessHistory& history)
    : CView(size), history(history) {
    scale.highRow = 0;
    scale.lowRow = size.height();
}

HistoryGraph::~HistoryGraph() = default;

void HistoryGraph::setScale(double bottom, double top, double newTarget, double newTolerance) {
    if (bottom != scale.bottom || top != scale.top || newTarget != target ||
        newTolerance != tolerance) {
        scale.bottom = bottom;
        scale.top = top;
        target = newTarget;
        tolerance = newTolerance;
        redrawAll = true;
        setDirty(true);
    }
}

void HistoryGraph::setColumnSeconds(double seconds) {
    if (seconds != columnSeconds) {
        columnSeconds = seconds;
        redrawAll = true;
        setDirty(true);
    }
}

void HistoryGraph::follow() {
    if (history.generation() != generation || history.size() != drawn) {
        setDirty(true);
    }
}

std::int64_t HistoryGraph::columnOf(std::uint32_t index) const {
    // A hair over, so that points on a column's edge fall in it despite rounding.
    return static_cast<std::int64_t>(std::floor(index / pointsPerColumn + 1e-9));
}

void HistoryGraph::startOver(std::uint32_t currentGeneration, std::uint32_t size) {
    generation = currentGeneration;
    pointsPerColumn = columnSeconds / history.secondsPerPoint();
    ring->setFillColour(kGlass);
    fillBox(ring.get(), 0, 0, ring->getWidth(), ring->getHeight());
    drawGrid(0, ring->getWidth());
    // From the first point in the window's oldest column.
    const std::int64_t firstShown = size == 0 ? 0 : columnOf(size - 1) - ring->getWidth() + 1;
    std::uint32_t first = firstShown <= 0 ? 0
                                          : static_cast<std::uint32_t>(std::min<double>(
                                                size, std::floor(firstShown * pointsPerColumn)));
    while (first > 0 && columnOf(first - 1) >= firstShown) {
        --first;
    }
    while (first < size && columnOf(first) < firstShown) {
        ++first;
    }
    drawn = first;
    lastColumn = std::max<std::int64_t>(firstShown, 0) - 1;
    lastRow = -1;
    redrawAll = false;
}

void HistoryGraph::draw(CDrawContext* context) {
    setDirty(false);
    if (!context) {
        return;
    }
    const std::int32_t width = bounds.width();
    if (!ring || ring->getFrame() != context->getFrame()) {
        ring = std::make_unique<COffscreenContext>(context->getFrame(), width, bounds.height(),
                                                   kGlass);
        redrawAll = true;
    }
    // The generation before the size: a clear between the two then shows as fewer points
    // or as a new generation, never as old points drawn for one frame.
    const std::uint32_t currentGeneration = history.generation();
    const std::uint32_t size = history.size();
    // A clear or a merger of the history's points starts the ring over.
    if (redrawAll || currentGeneration != generation || size < drawn) {
        startOver(currentGeneration, size);
    }
    for (; drawn < size; ++drawn) {
        drawPoint(drawn);
    }
    // Oldest first: from the head to the right end, then from the left end to the head.
    const auto head = static_cast<std::int32_t>((lastColumn + 1) % width);
    const std::int32_t older = width - head;
    ring->blitTo(context, {bounds.left, bounds.top, bounds.left + older, bounds.bottom}, {head, 0});
    ring->blitTo(context, {bounds.left + older, bounds.top, bounds.right, bounds.bottom}, {0, 0});
}

void HistoryGraph::drawGrid(std::int32_t left, std::int32_t right) {
    const double step = scale.top - scale.bottom > 30.0 ? 6.0 : 3.0;
    const auto lowest = static_cast<int>(std::ceil((scale.bottom - target) / step));
    for (int k = lowest; target + k * step < scale.top; ++k) {
        const std::int32_t row = scale.rowOf(target + k * step);
        ring->setFillColour(k == 0 ? kGlassInk : kUnlit);
        fillBox(ring.get(), left, row - 1, right, row);
    }
}

void HistoryGraph::clearColumn(std::int64_t column) {
    const auto ringColumn = static_cast<std::int32_t>(column % ring->getWidth());
    ring->setFillColour(kGlass);
    fillBox(ring.get(), ringColumn, 0, ringColumn + 1, ring->getHeight());
    drawGrid(ringColumn, ringColumn + 1);
}

void HistoryGraph::fillRun(std::int64_t column, std::int32_t from, std::int32_t to, double level) {
    const auto ringColumn = static_cast<std::int32_t>(column % ring->getWidth());
    ring->setFillColour(bandColour(level, target, tolerance));
    fillBox(ring.get(), ringColumn, std::min(from, to), ringColumn + 1, std::max(from, to) + 1);
    if (level > scale.top) {
        ring->setFillColour(kRed);
        fillBox(ring.get(), ringColumn, 0, ringColumn + 1, kBeyondTopMark);
    }
}

void HistoryGraph::drawPoint(std::uint32_t index) {
    const std::int64_t column = columnOf(index);
    const std::int64_t width = ring->getWidth();
    // Columns the last point spans, up to this one: cleared, and the last point held there.
    for (std::int64_t c = std::max(lastColumn + 1, column - width + 1); c <= column; ++c) {
        clearColumn(c);
        if (c < column && lastRow >= 0) {
            fillRun(c, lastRow, lastRow, lastLevel);
        }
    }
    lastColumn = column;
    const double level = history.at(index);
    if (!(level > scale.bottom)) {
        lastRow = -1;
        return;
    }
    const std::int32_t row = std::min(scale.rowOf(level), scale.lowRow - 1);
    // A vertical run from the last point's row joins the points into a line.
    fillRun(column, lastRow < 0 ? row : lastRow, row, level);
    lastRow = row;
    lastLevel = level;
}
