#pragma once

#include "resources/bmp_image.h"

/// The pictures of the editor: the front panel and the strips its controls draw from.
/// The panel's labels are placed at the rectangles where the editor puts its controls.
class PanelArt {
  public:
    static constexpr int kPanelWidth = 900;
    static constexpr int kPanelHeight = 202;
    static constexpr int kMeterWidth = 604;
    static constexpr int kMeterHeight = 27;
    static constexpr int kSegmentCount = 40;

    /// Bitmap 128.
    static BmpImage frontPanel();
    /// Bitmap 129.
    static BmpImage sliderTrack();
    /// Bitmap 130.
    static BmpImage sliderHandle();
    /// Bitmaps 131 (unlit) and 132 (lit).
    static BmpImage meterStrip(bool lit);
    /// Bitmaps 133 and 134: one sub-image per position, stacked, position k lit in image k.
    static BmpImage switchStrip(int positions, int width, int subImageHeight);

    /// Left edge of segment k inside a meter strip; segment k ends where k + 1 begins.
    static int segmentLeft(int segment);

  private:
    static void drawScrews(BmpImage& panel);
    static void drawSwitchWindow(BmpImage& panel, int left, int top, int right, int bottom,
                                 const char* title);
    static void drawSwitchLabels(BmpImage& panel, int switchLeft, int switchTop, int subImageHeight,
                                 const char* const* labels, int count, bool labelsRight);
    static void drawMeterWindow(BmpImage& panel);
    static void drawScale(BmpImage& panel);
    static void drawTitle(BmpImage& panel);
};
