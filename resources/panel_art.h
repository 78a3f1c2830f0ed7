#pragma once

#include <string>

#include "resources/bmp_image.h"
#include "resources/font_renderer.h"

/// kPanelBitmap, the editor's front panel. Its legends are placed at the rectangles where
/// the editor puts its controls, and its scale under the meter strips' segments.
class PanelArt {
  public:
    explicit PanelArt(const FontRenderer& fonts) : fonts(fonts) {}

    BmpImage frontPanel() const;

    // The family's parts, for the other panels to draw alike.
    /// A group of controls: an engraved outline with its title set into the top line.
    void drawGroup(BmpImage& panel, int left, int top, int right, int bottom,
                   const std::string& title) const;
    /// The names of a switch's positions, each level with its lamp.
    void drawSwitchLegends(BmpImage& panel, int switchLeft, int switchRight, int switchTop,
                           int subImageHeight, const char* const* legends, int count,
                           bool onTheRight) const;
    static void drawLogo(BmpImage& panel, int left, int top, int size);
    static void drawScrew(BmpImage& panel, float centreX, float centreY, float angle);

  private:
    void drawMeterWindow(BmpImage& panel) const;
    void drawScale(BmpImage& panel) const;
    void drawTitle(BmpImage& panel) const;
    void drawDelayScale(BmpImage& panel) const;

    const FontRenderer& fonts;
};
