// A push button for a parameter that acts when set: a press sets the value to 1 and
// reports it, the release sets it back to 0 and reports that, both inside one begin-edit
// and end-edit bracket. The bitmap holds the button up, then pressed, stacked.
#pragma once

#include "gui/control.h"

class ResetButton : public CControl {
  public:
    ResetButton(const CRectangle& size, CControlListener* listener, std::int32_t tag,
                CResourceBitmap* pictures);

    void draw(CDrawContext* context) override;
    void mouseDown(CDrawContext* context, const CPosition& where) override;

  private:
    /// Sets the value and reports it.
    void press(CDrawContext* context, float newValue);
};
