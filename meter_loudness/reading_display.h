// One reading as a number with one decimal and its unit after it, on the glass: "-inf"
// while the reading is undefined.
#pragma once

#include <cstdint>

#include "gui/control.h"

class ReadingDisplay : public CControl {
  public:
    /// Figures `figureHeight` pixels high, the unit `unitHeight`; with no unit height, the
    /// figures alone, centred.
    ReadingDisplay(const CRectangle& size, std::int32_t figureHeight, std::int32_t unitHeight);

    /// Marks the display dirty when the unit changes.
    void setUnit(const char* newUnit);
    /// The value is the reading in the unit shown.
    void draw(CDrawContext* context) override;

  private:
    std::int32_t figureHeight;
    std::int32_t unitHeight;
    char unit[8] = "";
};
