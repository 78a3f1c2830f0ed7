// The short-term loudness of the last minutes as a graph that scrolls to the left, one
// column per history point, the newest on the right. Columns are drawn once into a ring
// of columns in memory; each drawing draws only the columns of new points there and
// copies the ring onto the window in two pieces, oldest first.
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

    /// Marks the graph for drawing all over when the scale or the target moves.
    void setScale(double bottom, double top, double target);
    /// Editor thread: marks the graph dirty when points came or went.
    void follow();
    void draw(CDrawContext* context) override;

  private:
    /// Draws point `index` into the ring's next column.
    void drawColumn(std::uint32_t index);
    /// The scale's grid in a column: a line every 3 or 6 LU, brighter at the target.
    void drawGrid(std::int32_t column);
    /// Clears the ring for the history as read: its generation and size.
    void startOver(std::uint32_t currentGeneration, std::uint32_t size);

    const LoudnessHistory& history;
    std::unique_ptr<COffscreenContext> ring;
    panel_style::LevelScale scale;
    double target = -23.0;
    std::uint32_t generation = 0;
    /// Points drawn into the ring so far, counted as the history counts them.
    std::uint32_t drawn = 0;
    /// The ring's column for the next point.
    std::int32_t head = 0;
    /// The row of the point drawn last, -1 for none.
    std::int32_t lastRow = -1;
    bool redrawAll = true;
};
