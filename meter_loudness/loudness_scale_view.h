// The numbers beside the bars: every few LU from the bottom of the scale to its top, in
// LUFS or in LU from the target, with a tick each.
#pragma once

#include "gui/view.h"
#include "meter_loudness/panel_style.h"

class LoudnessScaleView : public CView {
  public:
    /// `bars` gives the rows the bars span, which the ticks line up with.
    LoudnessScaleView(const CRectangle& size, const CRectangle& bars);

    /// Marks the view dirty when anything it shows changes.
    void setScale(double bottom, double top, double target, bool relative);
    void draw(CDrawContext* context) override;

  private:
    panel_style::LevelScale scale;
    double target = -23.0;
    bool relative = false;
};
