// A vertical bar of one loudness reading on the panel's scale: one segment per LU, lit up
// to the reading in the colour of the target's tolerance band it lies in, with the target
// marked.
#pragma once

#include "gui/control.h"
#include "meter_loudness/panel_style.h"

class LoudnessBar : public CControl {
  public:
    explicit LoudnessBar(const CRectangle& size);

    /// Marks the bar dirty when the scale, the target or its tolerance moves.
    void setScale(double bottom, double top, double target, double tolerance);
    /// The value is the reading in LUFS, minus infinity while undefined.
    void draw(CDrawContext* context) override;

  private:
    panel_style::LevelScale scale;
    double target = -23.0;
    double tolerance = 1.0;
};
