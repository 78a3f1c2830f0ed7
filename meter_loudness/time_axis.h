// The history graph's time axis, under the plot: "now" at the right end and a label every
// round stretch of time back from it, as many as the zoom leaves room for.
#pragma once

#include "gui/view.h"

class TimeAxis : public CView {
  public:
    /// `plot` gives the columns the labels line up with.
    TimeAxis(const CRectangle& size, const CRectangle& plot);

    /// Marks the axis dirty when the time per column changes.
    void setColumnSeconds(double seconds);
    void draw(CDrawContext* context) override;

    /// The round stretch between labels for a graph spanning `seconds`: at most four.
    static double labelStep(double seconds);
    /// "now", "-45 s", "-15 min", "-1 h 30", for `secondsAgo`.
    static void labelText(double secondsAgo, char* text, std::size_t size);

  private:
    std::int32_t plotLeft;
    std::int32_t plotRight;
    double columnSeconds = 0.5;
};
