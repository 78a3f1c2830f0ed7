#pragma once

#include "resources/bmp_image.h"
#include "resources/font_renderer.h"
#include "resources/loudness_layout.h"

/// The loudness meter's pictures: bitmap 200, its front panel in Pevo's paint, glass and
/// type, with the captions around the places loudness_layout gives its controls; and
/// bitmap 201, the reset button.
class LoudnessPanelArt {
  public:
    explicit LoudnessPanelArt(const FontRenderer& fonts) : fonts(fonts) {}

    BmpImage frontPanel() const;
    BmpImage resetButton() const;

  private:
    using Box = loudness_layout::Box;

    /// A dark glass behind readings, sunk into the panel.
    static void drawGlass(BmpImage& panel, const Box& glass);
    void drawTitle(BmpImage& panel) const;
    void drawCaptions(BmpImage& panel) const;
    void drawControlColumn(BmpImage& panel) const;

    const FontRenderer& fonts;
};
