#include "resources/control_art.h"

#include "resources/art_colours.h"
#include "resources/panel_layout.h"

namespace {

using Colour = BmpImage::Colour;
using C = ArtColours;

constexpr Colour kTransparent{255, 255, 255};
constexpr Colour kBlack{0, 0, 0};

// The lit part of an LED: rows [kLedTop, kLedBottom) of a strip.
constexpr int kLedTop = 4;
constexpr int kLedBottom = layout::kMeterHeight - 4;

Colour segmentColour(int segment) {
    if (segment < 28) {
        return C::kGreen;
    }
    return segment < 34 ? C::kYellow : C::kRed;
}

// Rounds a rectangle's corners by half blending them into the colour around it.
void softenCorners(BmpImage& image, int left, int top, int right, int bottom, Colour around) {
    const int xs[] = {left, right - 1};
    const int ys[] = {top, bottom - 1};
    for (const int x : xs) {
        for (const int y : ys) {
            image.blendPixel(x, y, around, 0.5f);
        }
    }
}

}  // namespace

int ControlArt::segmentLeft(int segment) {
    return segment * layout::kMeterWidth / layout::kSegmentCount;
}

int ControlArt::lampCentre(int position, int subImageHeight, int positions) {
    const int zone = subImageHeight / positions;
    return zone * position + zone / 2;
}

BmpImage ControlArt::meterStrip(bool lit) {
    BmpImage strip(layout::kMeterWidth, layout::kMeterHeight, C::kMeterGround);
    // Each LED leaves three columns of ground around the cut between segments, so a
    // segment copied on its own never carries a neighbour's edge.
    for (int segment = 0; segment < layout::kSegmentCount; ++segment) {
        drawSegment(strip, segmentLeft(segment) + 2, segmentLeft(segment + 1) - 1,
                    segmentColour(segment), lit);
    }
    return strip;
}

void ControlArt::drawSegment(BmpImage& strip, int left, int right, Colour colour, bool lit) {
    // An unlit LED behind the red glass shows only a trace of its colour.
    const Colour face = lit ? colour : C::kMeterGround.towards(colour, 0.2f);
    const Colour glint = lit ? face.towards(C::kLampGlint, 0.55f) : face.towards(colour, 0.12f);
    const Colour foot = face.towards(kBlack, lit ? 0.18f : 0.25f);
    const int middle = (kLedTop + kLedBottom) / 2;
    strip.fillGradient(left, kLedTop, right, middle, glint, face);
    strip.fillGradient(left, middle, right, kLedBottom, face, foot);
    softenCorners(strip, left, kLedTop, right, kLedBottom, C::kMeterGround);
}

BmpImage ControlArt::switchStrip(int positions, int width, int subImageHeight) {
    BmpImage strip(width, positions * subImageHeight, C::kHousingBottom);
    const int zone = positions > 0 ? subImageHeight / positions : subImageHeight;
    for (int image = 0; image < positions; ++image) {
        const int top = image * subImageHeight;
        const int bottom = top + subImageHeight;
        strip.fillGradient(0, top, width, bottom, C::kHousingTop, C::kHousingBottom);
        strip.bevelRect(0, top, width, bottom, C::kHousingLight, C::kHousingDark, true);
        for (int position = 0; position < positions; ++position) {
            drawLamp(strip, width / 2, top + lampCentre(position, subImageHeight, positions),
                     width - 14, zone - 6, position == image);
        }
    }
    return strip;
}

void ControlArt::drawLamp(BmpImage& strip, int centreX, int centreY, int width, int height,
                          bool lit) {
    const int left = centreX - width / 2;
    const int top = centreY - height / 2;
    const int right = left + width;
    const int bottom = top + height;
    // The lens sits in a dark recess; a lit one glows onto the housing around it.
    strip.frameRect(left - 1, top - 1, right + 1, bottom + 1, C::kHousingDark);
    if (lit) {
        for (int ring = 2; ring <= 3; ++ring) {
            const Colour glow = C::kLampOn;
            const float strength = ring == 2 ? 0.35f : 0.15f;
            for (int x = left - ring; x < right + ring; ++x) {
                strip.blendPixel(x, top - ring, glow, strength);
                strip.blendPixel(x, bottom + ring - 1, glow, strength);
            }
            for (int y = top - ring + 1; y < bottom + ring - 1; ++y) {
                strip.blendPixel(left - ring, y, glow, strength);
                strip.blendPixel(right + ring - 1, y, glow, strength);
            }
        }
    }
    const Colour face = lit ? C::kLampOn : C::kLampOff;
    const Colour glint = face.towards(C::kLampGlint, lit ? 0.7f : 0.18f);
    strip.fillGradient(left, top, right, bottom, glint, face.towards(kBlack, lit ? 0.1f : 0.3f));
    strip.fillRect(left, top + height / 2, right, bottom - 1, face);
    softenCorners(strip, left, top, right, bottom, C::kHousingDark);
}

BmpImage ControlArt::sliderTrack() {
    BmpImage track(layout::kSliderWidth, layout::kSliderHeight, C::kPanel);
    // A slot cut into the panel: shaded on its upper left, lit on its lower right.
    const Colour shade{124, 120, 115};
    const Colour slot{30, 29, 32};
    track.fillRect(6, 3, 7, 67, shade);
    track.fillRect(7, 3, 9, 67, slot);
    track.fillRect(9, 3, 10, 67, C::kPanelLight);
    track.fillRect(7, 2, 9, 3, shade);
    track.fillRect(7, 67, 9, 68, C::kPanelLight);
    return track;
}

BmpImage ControlArt::sliderHandle() {
    constexpr int kWidth = layout::kHandleWidth, kHeight = layout::kHandleHeight;
    BmpImage handle(kWidth, kHeight, kTransparent);
    const Colour rim{72, 70, 68};
    handle.fillGradient(1, 1, kWidth - 1, kHeight - 1, {236, 234, 230}, {150, 147, 142});
    handle.frameRect(0, 0, kWidth, kHeight, rim);
    handle.fillRect(1, 1, kWidth - 1, 2, {244, 242, 238});
    // Grip ridges above and below the index line.
    for (const int y : {3, 8}) {
        handle.fillRect(2, y, kWidth - 2, y + 1, {176, 173, 168});
    }
    handle.fillRect(1, 5, kWidth - 1, 7, {26, 25, 28});
    // Cut corners: left out when drawn, so the cap looks rounded.
    for (const int x : {0, kWidth - 1}) {
        for (const int y : {0, kHeight - 1}) {
            handle.setPixel(x, y, kTransparent);
        }
    }
    return handle;
}
