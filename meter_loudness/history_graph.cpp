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

void HistoryGraph::setScale(double bottom, double top, double newTarget) {
    if (bottom != scale.bottom || top != scale.top || newTarget != target) {
        scale.bottom = bottom;
        scale.top = top;
        target = newTarget;
        redrawAll = true;
        setDirty(true);
    }
}

void HistoryGraph::follow() {
    if (history.generation() != generation || history.size() != drawn) {
        setDirty(true);
    }
}

void HistoryGraph::startOver(std::uint32_t currentGeneration, std::uint32_t size) {
    ring->setFillColour(kGlass);
    fillBox(ring.get(), 0, 0, ring->getWidth(), ring->getHeight());
    for (std::int32_t column = 0; column < ring->getWidth(); ++column) {
        drawGrid(column);
    }
    generation = currentGeneration;
    const auto width = static_cast<std::uint32_t>(ring->getWidth());
    drawn = size > width ? size - width : 0;
    head = 0;
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
    // Points the ring has no room for, or that a clear took away, start it over.
    if (redrawAll || currentGeneration != generation || size < drawn ||
        size - drawn > LoudnessHistory::kCapacity / 2) {
        startOver(currentGeneration, size);
    }
    for (; drawn < size; ++drawn) {
        drawColumn(drawn);
    }
    // Oldest first: from the head to the right end, then from the left end to the head.
    const std::int32_t older = width - head;
    ring->blitTo(context, {bounds.left, bounds.top, bounds.left + older, bounds.bottom}, {head, 0});
    ring->blitTo(context, {bounds.left + older, bounds.top, bounds.right, bounds.bottom}, {0, 0});
}

void HistoryGraph::drawGrid(std::int32_t column) {
    const double step = scale.top - scale.bottom > 30.0 ? 6.0 : 3.0;
    const auto lowest = static_cast<int>(std::ceil((scale.bottom - target) / step));
    for (int k = lowest; target + k * step < scale.top; ++k) {
        const std::int32_t row = scale.rowOf(target + k * step);
        ring->setFillColour(k == 0 ? kGlassInk : kUnlit);
        fillBox(ring.get(), column, row - 1, column + 1, row);
    }
}

void HistoryGraph::drawColumn(std::uint32_t index) {
    const std::int32_t column = head;
    ring->setFillColour(kGlass);
    fillBox(ring.get(), column, 0, column + 1, ring->getHeight());
    drawGrid(column);
    const double level = history.at(index);
    if (level > scale.bottom) {
        const std::int32_t row = std::min(scale.rowOf(level), scale.lowRow - 1);
        // A vertical run from the last point's row joins the points into a line.
        const std::int32_t from = lastRow < 0 ? row : lastRow;
        const std::int32_t top = std::min(from, row);
        const std::int32_t bottom = std::max(from, row) + 1;
        ring->setFillColour(levelColour(level - target));
        fillBox(ring.get(), column, top, column + 1, bottom + 1);
        lastRow = row;
    } else {
        lastRow = -1;
    }
    head = (head + 1) % ring->getWidth();
}
