// The short-term loudness of the programme as a graph that scrolls to the left, the newest
// on the right, each column standing for a fixed stretch of audio time (the zoom): a point
// spans several columns when zoomed in, several points share a column when zoomed out.
// Columns are drawn once into a ring of columns in memory; each drawing draws only the
// columns of new points there and copies the ring onto the window in two pieces, oldest
// first. A point louder than the top of the graph leaves a mark along the top edge.
#pragma once

#include <cstdint>
#include <memory>

#include "gui/view.h"
#include "meter_loudness/panel_style.h"

class COffscreenContext;
class LoudnessHistory;

class HistoryGraph : public CView {
  public:
    HistoryGraph(const CRectangle& size, const LoudnessHistory& history);
    ~HistoryGraph() override;

    /// Marks the graph for drawing all over when its span, the target or the band moves.
    void setScale(double bottom, double top, double target, double tolerance);
    /// The audio time one column stands for; a change draws the graph all over.
    void setColumnSeconds(double seconds);
    /// Editor thread: marks the graph dirty when points came or went.
    void follow();
    void draw(CDrawContext* context) override;

    /// Rows of the mark a point beyond the top leaves.
    static constexpr std::int32_t kBeyondTopMark = 3;

  private:
    /// The column, counted from the programme's start, that point `index` falls in.
    std::int64_t columnOf(std::uint32_t index) const;
    /// Draws point `index` into the ring, joined to the point before it.
    void drawPoint(std::uint32_t index);
    /// Clears column `column` of the ring to the glass and the grid.
    void clearColumn(std::int64_t column);
    /// The grid in ring columns [left, right): a line every 3 or 6 LU, brighter at the
    /// target.
    void drawGrid(std::int32_t left, std::int32_t right);
    void fillRun(std::int64_t column, std::int32_t from, std::int32_t to, double level);
    void startOver(std::uint32_t currentGeneration, std::uint32_t size);

    const LoudnessHistory& history;
    std::unique_ptr<COffscreenContext> ring;
    panel_style::LevelScale scale;
    double target = -23.0;
    double tolerance = 1.0;
    double columnSeconds = 0.5;
    /// The history's points per column at the time of drawing.
    double pointsPerColumn = 1.0;
    std::uint32_t generation = 0;
    /// Points drawn into the ring so far, counted as the history counts them.
    std::uint32_t drawn = 0;
    /// The column of the point drawn last; -1 for none.
    std::int64_t lastColumn = -1;
    /// The row and level of the point drawn last; row -1 for none or an undefined one.
    std::int32_t lastRow = -1;
    double lastLevel = 0.0;
    bool redrawAll = true;
};
