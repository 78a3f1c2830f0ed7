#pragma once

#include "resources/bmp_image.h"

/// The pictures the editor's controls draw from: the meter strips, the switch lamps and
/// the delay fader. Their geometry is what the panel's legends line up with.
class ControlArt {
  public:
    /// kSliderTrackBitmap: the fader's slot.
    static BmpImage sliderTrack();
    /// kSliderHandleBitmap: the fader cap; pure white is left out when it is drawn.
    static BmpImage sliderHandle();
    /// kMeterOffBitmap and kMeterOnBitmap.
    static BmpImage meterStrip(bool lit);
    /// kThreeWaySwitchBitmap and kTwoWaySwitchBitmap: one sub-image per position, stacked, position
    /// k lit in image k.
    static BmpImage switchStrip(int positions, int width, int subImageHeight);

    /// Left edge of segment k inside a meter strip; segment k ends where k + 1 begins.
    static int segmentLeft(int segment);
    /// Row of the centre of position k's lamp inside a switch sub-image.
    static int lampCentre(int position, int subImageHeight, int positions);

  private:
    static void drawSegment(BmpImage& strip, int left, int right, BmpImage::Colour colour,
                            bool lit);
    static void drawLamp(BmpImage& strip, int centreX, int centreY, int width, int height,
                         bool lit);
};
