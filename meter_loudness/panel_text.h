// A line of text the panel changes while it runs: the target, the ceiling, integration's
// state. Drawn on its own ground, only when the text changed.
#pragma once

#include <cstdint>

#include "gui/colour.h"
#include "gui/view.h"

class PanelText : public CView {
  public:
    struct Style {
        std::int32_t height;
        CRgbColour ink;
        CRgbColour ground;
        std::int32_t alignment;
    };
    PanelText(const CRectangle& size, const Style& style);

    /// Marks the view dirty when the text differs from the one shown.
    void setText(const char* newText);
    const char* getText() const { return text; }
    void draw(CDrawContext* context) override;

  private:
    Style style;
    char text[64] = "";
};
