#include "resources/panel_art.h"

#include <string>

#include "resources/pixel_font.h"

namespace {

using Colour = BmpImage::Colour;

// Panel grey, as the editor's read-out fills its box with it.
constexpr Colour kPanelGrey{232, 229, 224};
constexpr Colour kPanelLight{248, 246, 242};
constexpr Colour kPanelShade{170, 167, 162};
constexpr Colour kWindowGrey{214, 210, 204};
constexpr Colour kInk{40, 38, 36};
constexpr Colour kScrew{186, 183, 178};
constexpr Colour kScrewSlot{96, 94, 90};
constexpr Colour kMeterGround{58, 8, 8};
constexpr Colour kMeterRim{30, 4, 4};
constexpr Colour kScaleInk{226, 206, 196};
constexpr Colour kSegmentOff{96, 26, 24};
constexpr Colour kGreen{48, 222, 72};
constexpr Colour kYellow{246, 222, 40};
constexpr Colour kRed{246, 44, 32};
constexpr Colour kHousing{48, 46, 50};
constexpr Colour kHousingLight{110, 108, 114};
constexpr Colour kIndicatorOff{84, 30, 28};
constexpr Colour kIndicatorOn{255, 72, 40};

// Where the editor places its controls on the panel.
constexpr int kMeterLeft = 151;
constexpr int kMeterTops[] = {65, 115};
constexpr int kModeSwitchLeft = 83;
constexpr int kModeSwitchTop = 40;
constexpr int kHoldSwitchTop = 122;
constexpr int kSwitchSubImage = 45;
constexpr int kRmsSwitchLeft = 793;
constexpr int kRmsSwitchTop = 40;
constexpr int kRmsSwitchSubImage = 28;
constexpr int kSliderCentre = 831;
constexpr int kSliderBottom = 175;

// Segments 0..27 are green, 28..33 yellow, 34..39 red.
Colour segmentColour(int segment) {
    if (segment < 28) {
        return kGreen;
    }
    return segment < 34 ? kYellow : kRed;
}

// Centre of position k's indicator inside a switch sub-image.
int indicatorCentre(int position, int subImageHeight, int positions) {
    const int zone = subImageHeight / positions;
    return zone * position + zone / 2;
}

}  // namespace

int PanelArt::segmentLeft(int segment) {
    return segment * kMeterWidth / kSegmentCount;
}

BmpImage PanelArt::frontPanel() {
    BmpImage panel(kPanelWidth, kPanelHeight, kPanelGrey);
    panel.bevelRect(0, 0, kPanelWidth, kPanelHeight, kPanelLight, kPanelShade, true);
    drawScrews(panel);
    drawTitle(panel);

    static const char* const kModeLabels[] = {"L|R", "M|S", "MONO"};
    static const char* const kHoldLabels[] = {"OFF", "1s", "3s"};
    static const char* const kRmsLabels[] = {"SINE", "SQUARE"};
    drawSwitchWindow(panel, 22, 28, 122, 91, "MODE");
    drawSwitchLabels(panel, kModeSwitchLeft, kModeSwitchTop, kSwitchSubImage, kModeLabels, 3,
                     false);
    drawSwitchWindow(panel, 22, 110, 122, 173, "PK HOLD");
    drawSwitchLabels(panel, kModeSwitchLeft, kHoldSwitchTop, kSwitchSubImage, kHoldLabels, 3,
                     false);
    drawSwitchWindow(panel, 789, 28, 880, 74, "RMS=PK");
    drawSwitchLabels(panel, kRmsSwitchLeft, kRmsSwitchTop, kRmsSwitchSubImage, kRmsLabels, 2, true);

    drawMeterWindow(panel);
    PixelFont::drawCentred(panel, kSliderCentre, kSliderBottom + 5, "DELAY", kInk);
    return panel;
}

void PanelArt::drawScrews(BmpImage& panel) {
    const int inset = 10;
    const int xs[] = {inset, kPanelWidth - 1 - inset};
    const int ys[] = {inset, kPanelHeight - 1 - inset};
    for (const int x : xs) {
        for (const int y : ys) {
            panel.fillCircle(x, y, 6, kPanelShade);
            panel.fillCircle(x, y, 5, kScrew);
            panel.fillRect(x - 4, y - 1, x + 5, y + 1, kScrewSlot);
        }
    }
}

void PanelArt::drawSwitchWindow(BmpImage& panel, int left, int top, int right, int bottom,
                                const char* title) {
    panel.fillRect(left, top, right, bottom, kWindowGrey);
    panel.bevelRect(left, top, right, bottom, kPanelLight, kPanelShade, false);
    PixelFont::drawCentred(panel, (left + right) / 2, top - 9, title, kInk);
}

void PanelArt::drawSwitchLabels(BmpImage& panel, int switchLeft, int switchTop, int subImageHeight,
                                const char* const* labels, int count, bool labelsRight) {
    for (int position = 0; position < count; ++position) {
        const std::string label = labels[position];
        const int y = switchTop + indicatorCentre(position, subImageHeight, count) -
                      PixelFont::kGlyphHeight / 2;
        const int x = labelsRight ? switchLeft + 33 : switchLeft - 6 - PixelFont::textWidth(label);
        PixelFont::drawText(panel, x, y, label, kInk);
    }
}

void PanelArt::drawMeterWindow(BmpImage& panel) {
    const int left = kMeterLeft - 12;
    const int right = kMeterLeft + kMeterWidth + 30;
    const int top = kMeterTops[0] - 14;
    const int bottom = kMeterTops[1] + kMeterHeight + 14;
    panel.fillRect(left, top, right, bottom, kMeterGround);
    panel.frameRect(left, top, right, bottom, kMeterRim);
    panel.bevelRect(left - 1, top - 1, right + 1, bottom + 1, kPanelLight, kPanelShade, false);
    for (const int meterTop : kMeterTops) {
        const BmpImage strip = meterStrip(false);
        for (int y = 0; y < kMeterHeight; ++y) {
            for (int x = 0; x < kMeterWidth; ++x) {
                panel.setPixel(kMeterLeft + x, meterTop + y, strip.pixel(x, y));
            }
        }
    }
    drawScale(panel);
}

void PanelArt::drawScale(BmpImage& panel) {
    // Labels alternate between two rows so that three characters fit a 15-pixel pitch.
    const int scaleTop = kMeterTops[0] + kMeterHeight + 2;
    for (int segment = 0; segment < kSegmentCount; ++segment) {
        const int centre = kMeterLeft + (segmentLeft(segment) + segmentLeft(segment + 1)) / 2;
        const int decibels = segment - (kSegmentCount - 1);
        const int row = (kSegmentCount - 1 - segment) % 2;
        const int labelTop = scaleTop + 1 + row * 10;
        panel.fillRect(centre, scaleTop, centre + 1, labelTop, kScaleInk);
        PixelFont::drawCentred(panel, centre + 1, labelTop, std::to_string(decibels), kScaleInk);
    }
    PixelFont::drawText(panel, kMeterLeft + kMeterWidth + 4, scaleTop + 6, "dbFS", kScaleInk);
}

void PanelArt::drawTitle(BmpImage& panel) {
    const int centre = kMeterLeft + kMeterWidth / 2;
    PixelFont::drawCentred(panel, centre, 12, "PEVO LEVEL METER", kInk, 2);
    PixelFont::drawCentred(panel, centre, 32, "Microprocessor Controlled", kInk);
    // The logo: a lit segment between two dark ones.
    const int logoLeft = kMeterLeft;
    panel.fillRect(logoLeft, 14, logoLeft + 10, 26, kSegmentOff);
    panel.fillRect(logoLeft + 13, 14, logoLeft + 23, 26, kRed);
    panel.fillRect(logoLeft + 26, 14, logoLeft + 36, 26, kSegmentOff);
    PixelFont::drawText(panel, logoLeft + 42, 17, "QUELLMARK", kInk);
}

BmpImage PanelArt::sliderTrack() {
    BmpImage track(16, 70, kWindowGrey);
    track.bevelRect(0, 0, 16, 70, kPanelLight, kPanelShade, true);
    track.fillRect(7, 4, 9, 66, kHousing);
    track.fillRect(9, 4, 10, 66, kPanelLight);
    return track;
}

BmpImage PanelArt::sliderHandle() {
    BmpImage handle(14, 12, kScrew);
    handle.bevelRect(0, 0, 14, 12, kPanelLight, kScrewSlot, true);
    handle.fillRect(2, 5, 12, 7, kHousing);
    return handle;
}

BmpImage PanelArt::meterStrip(bool lit) {
    BmpImage strip(kMeterWidth, kMeterHeight, kMeterGround);
    for (int segment = 0; segment < kSegmentCount; ++segment) {
        const int left = segmentLeft(segment) + 1;
        const int right = segmentLeft(segment + 1) - 2;
        strip.fillRect(left, 3, right, kMeterHeight - 3,
                       lit ? segmentColour(segment) : kSegmentOff);
    }
    return strip;
}

BmpImage PanelArt::switchStrip(int positions, int width, int subImageHeight) {
    BmpImage strip(width, positions * subImageHeight, kHousing);
    for (int image = 0; image < positions; ++image) {
        const int top = image * subImageHeight;
        strip.bevelRect(0, top, width, top + subImageHeight, kHousingLight, kMeterRim, true);
        for (int position = 0; position < positions; ++position) {
            const int centre = top + indicatorCentre(position, subImageHeight, positions);
            strip.fillRect(width / 2 - 7, centre - 4, width / 2 + 7, centre + 5,
                           position == image ? kIndicatorOn : kIndicatorOff);
        }
    }
    return strip;
}
