// The true-peak ceiling lamp: lit while the value is 0.5 or more.
#pragma once

#include "gui/control.h"

class CeilingLamp : public CControl {
  public:
    explicit CeilingLamp(const CRectangle& size);
    void draw(CDrawContext* context) override;
};
