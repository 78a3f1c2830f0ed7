#include "resources/panel_art.h"

#include <cmath>

#include "resources/art_colours.h"
#include "resources/control_art.h"
#include "resources/panel_layout.h"

namespace {

using Colour = BmpImage::Colour;
using C = ArtColours;
using Align = FontRenderer::Align;
using Face = FontRenderer::Face;

using namespace layout;

constexpr int kMeterRight = kMeterLeft + kMeterWidth;
constexpr int kSliderBottom = kSliderTop + kSliderHeight;

// The meter window: the red glass around both strips, inside its bezel.
constexpr int kWindowLeft = 137;
constexpr int kWindowTop = 52;
constexpr int kWindowRight = 779;
constexpr int kWindowBottom = 155;

constexpr FontRenderer::Style kTitleStyle{Face::kBold, 18, 3.0f};
constexpr FontRenderer::Style kBrandStyle{Face::kBold, 12, 1.5f};
constexpr FontRenderer::Style kSubtitleStyle{Face::kItalic, 11};
constexpr FontRenderer::Style kGroupStyle{Face::kBold, 10, 1.0f};
constexpr FontRenderer::Style kLegendStyle{Face::kBold, 9, 0.5f};
constexpr FontRenderer::Style kScaleStyle{Face::kRegular, 9};
constexpr FontRenderer::Style kSmallStyle{Face::kRegular, 8};
constexpr FontRenderer::Style kNoteStyle{Face::kBold, 8, 1.5f};

}  // namespace

BmpImage PanelArt::frontPanel() const {
    BmpImage panel(kWidth, kHeight, C::kPanel);
    panel.frameRect(0, 0, kWidth, kHeight, C::kPanelEdge);
    panel.bevelRect(1, 1, kWidth - 1, kHeight - 1, C::kPanelLight, C::kPanelShade, true);
    drawScrew(panel, 12.5f, 12.5f, 0.35f);
    drawScrew(panel, kWidth - 12.5f, 12.5f, 1.2f);
    drawScrew(panel, 12.5f, kHeight - 12.5f, 2.0f);
    drawScrew(panel, kWidth - 12.5f, kHeight - 12.5f, 0.8f);
    drawTitle(panel);
    drawMeterWindow(panel);

    static const char* const kModeLegends[] = {"L|R", "M|S", "MONO"};
    static const char* const kHoldLegends[] = {"OFF", "1s", "3s"};
    static const char* const kRmsLegends[] = {"SINE", "SQUARE"};
    const int switchRight = kSwitchLeft + kSwitchWidth;
    drawGroup(panel, 30, 31, 126, 93, "MODE");
    drawSwitchLegends(panel, kSwitchLeft, switchRight, kModeSwitchTop, kSwitchSubImage,
                      kModeLegends, kSwitchPositions, false);
    drawGroup(panel, 30, 113, 126, 175, "PK HOLD");
    drawSwitchLegends(panel, kSwitchLeft, switchRight, kHoldSwitchTop, kSwitchSubImage,
                      kHoldLegends, kSwitchPositions, false);
    drawGroup(panel, 788, 31, 878, 77, "RMS=PK");
    drawSwitchLegends(panel, kRmsSwitchLeft, kRmsSwitchLeft + kRmsSwitchWidth, kRmsSwitchTop,
                      kRmsSwitchSubImage, kRmsLegends, kRmsSwitchPositions, true);
    drawDelayScale(panel);
    return panel;
}

void PanelArt::drawGroup(BmpImage& panel, int left, int top, int right, int bottom,
                         const std::string& title) const {
    // An engraved line: a shaded groove with a lit lower edge.
    panel.frameRect(left + 1, top + 1, right + 1, bottom + 1, C::kPanelLight);
    panel.frameRect(left, top, right, bottom, C::kPanelShade);
    const int centre = (left + right) / 2;
    const int half = fonts.measure(title, kGroupStyle).width() / 2 + 4;
    panel.fillRect(centre - half, top - 1, centre + half + 1, top + 3, C::kPanel);
    fonts.drawMiddle(panel, centre, top, title, kGroupStyle, C::kInk, Align::kCentre);
}

void PanelArt::drawSwitchLegends(BmpImage& panel, int switchLeft, int switchRight, int switchTop,
                                 int subImageHeight, const char* const* legends, int count,
                                 bool onTheRight) const {
    for (int position = 0; position < count; ++position) {
        const int y = switchTop + ControlArt::lampCentre(position, subImageHeight, count);
        const float x = onTheRight ? switchRight + 6.0f : switchLeft - 6.0f;
        fonts.drawMiddle(panel, x, y, legends[position], kLegendStyle, C::kInk,
                         onTheRight ? Align::kLeft : Align::kRight);
    }
}

void PanelArt::drawMeterWindow(BmpImage& panel) const {
    // A sunken bezel around the glass.
    panel.bevelRect(kWindowLeft - 3, kWindowTop - 3, kWindowRight + 3, kWindowBottom + 3,
                    C::kPanelLight, C::kPanelShade, false);
    panel.bevelRect(kWindowLeft - 2, kWindowTop - 2, kWindowRight + 2, kWindowBottom + 2,
                    C::kPanelLight, C::kPanelEdge, false);
    panel.fillRect(kWindowLeft - 1, kWindowTop - 1, kWindowRight + 1, kWindowBottom + 1,
                   C::kMeterRim);
    panel.fillRect(kWindowLeft, kWindowTop, kWindowRight, kWindowBottom, C::kMeterGround);
    const char* const channels[] = {"1", "2"};
    for (int channel = 0; channel < 2; ++channel) {
        const int middle = kMeterTops[channel] + kMeterHeight / 2;
        fonts.drawMiddle(panel, (kWindowLeft + kMeterLeft) / 2.0f + 1, middle, channels[channel],
                         kScaleStyle, C::kScaleInk, Align::kCentre);
    }
    drawScale(panel);
}

void PanelArt::drawScale(BmpImage& panel) const {
    const int upperEdge = kMeterTops[0] + kMeterHeight;
    const int lowerEdge = kMeterTops[1];
    const int middle = (upperEdge + lowerEdge) / 2;
    for (int segment = 0; segment < kSegmentCount; ++segment) {
        const int left = kMeterLeft + ControlArt::segmentLeft(segment);
        const int right = kMeterLeft + ControlArt::segmentLeft(segment + 1);
        const float centre = (left + right) / 2.0f;
        const int decibels = segment - (kSegmentCount - 1);
        fonts.drawMiddle(panel, centre, middle, std::to_string(decibels), kScaleStyle, C::kScaleInk,
                         Align::kCentre);
    }
    fonts.drawMiddle(panel, kMeterRight - 2.0f, middle, "dbFS", kScaleStyle, C::kScaleInk,
                     Align::kLeft);
}

void PanelArt::drawTitle(BmpImage& panel) const {
    const int baseline = 37;
    drawLogo(panel, kWindowLeft, 18, 20);
    fonts.draw(panel, kWindowLeft + 27.0f, baseline, "QUELLMARK", kBrandStyle, C::kInk,
               Align::kLeft);
    fonts.draw(panel, (kMeterLeft + kMeterRight) / 2.0f, baseline, "PEVO LEVEL METER", kTitleStyle,
               C::kInk, Align::kCentre);
    fonts.draw(panel, kWindowRight, baseline, "Microprocessor Controlled", kSubtitleStyle, C::kInk,
               Align::kRight);
    fonts.draw(panel, (kMeterLeft + kMeterRight) / 2.0f, kWindowBottom + 20,
               "RMS BAR   \xb7   PEAK MARK   \xb7   HELD PEAK MARK", kNoteStyle, C::kNote,
               Align::kCentre);
}

void PanelArt::drawLogo(BmpImage& panel, int left, int top, int size) {
    // Three rising bars in the meter's colours on a dark badge.
    panel.fillRect(left, top, left + size, top + size, C::kHousingBottom);
    panel.bevelRect(left, top, left + size, top + size, C::kHousingLight, C::kHousingDark, true);
    const Colour colours[] = {C::kGreen, C::kYellow, C::kRed};
    const int bar = (size - 6) / 3;
    for (int i = 0; i < 3; ++i) {
        const int x = left + 3 + i * (bar + 1);
        const int height = (size - 6) * (i + 2) / 4;
        panel.fillRect(x, top + size - 3 - height, x + bar - 1, top + size - 3, colours[i]);
    }
}

void PanelArt::drawDelayScale(BmpImage& panel) const {
    const int centre = kSliderLeft + kSliderWidth / 2;
    fonts.draw(panel, centre, kSliderBottom + 13, "DELAY", kGroupStyle, C::kInk, Align::kCentre);
    fonts.drawMiddle(panel, kReadOutRight + 3.0f, (kReadOutTop + kReadOutBottom) / 2, "ms",
                     kSmallStyle, C::kInk, Align::kLeft);
    // Marks where the cap's index line stands at 0, 100, 200 and 300 ms.
    const char* const marks[] = {"0", "100", "200", "300"};
    for (int mark = 0; mark < 4; ++mark) {
        const int top = kHandleLowest - (kHandleLowest - kSliderTop) * mark / 3;
        // Two rows, as thick as the cap's index line.
        const int y = top + kHandleHeight / 2;
        panel.fillRect(kSliderLeft - 6, y - 1, kSliderLeft - 1, y + 1, C::kNote);
        panel.fillRect(kSliderLeft + kSliderWidth + 1, y - 1, kSliderLeft + kSliderWidth + 6, y + 1,
                       C::kNote);
        fonts.drawMiddle(panel, kSliderLeft - 9.0f, y, marks[mark], kSmallStyle, C::kInk,
                         Align::kRight);
    }
}

void PanelArt::drawScrew(BmpImage& panel, float centreX, float centreY, float angle) {
    // A recessed cross-head screw lit from the upper left, sampled 4 x 4 per pixel.
    constexpr float kRadius = 6.5f;
    constexpr int kGrid = 4;
    const float cosine = std::cos(angle), sine = std::sin(angle);
    panel.fillCircle(centreX + 0.5f, centreY + 0.5f, kRadius + 1.0f, C::kPanelLight);
    panel.fillCircle(centreX - 0.3f, centreY - 0.3f, kRadius + 0.8f, C::kPanelShade);
    for (int y = int(centreY - kRadius) - 1; y <= int(centreY + kRadius) + 1; ++y) {
        for (int x = int(centreX - kRadius) - 1; x <= int(centreX + kRadius) + 1; ++x) {
            float red = 0, green = 0, blue = 0;
            int inside = 0;
            for (int s = 0; s < kGrid * kGrid; ++s) {
                const float dx = x + (s % kGrid + 0.5f) / kGrid - centreX;
                const float dy = y + (s / kGrid + 0.5f) / kGrid - centreY;
                if (dx * dx + dy * dy > kRadius * kRadius) {
                    continue;
                }
                const float u = dx * cosine + dy * sine, v = dy * cosine - dx * sine;
                const bool slot = (std::fabs(u) < 0.9f || std::fabs(v) < 0.9f) &&
                                  std::fabs(u) < 4.6f && std::fabs(v) < 4.6f;
                const Colour lit = Colour{220, 217, 212}.towards({128, 125, 120},
                                                                 (dx + dy) / (4 * kRadius) + 0.5f);
                const Colour colour = slot ? Colour{66, 64, 62} : lit;
                red += colour.red;
                green += colour.green;
                blue += colour.blue;
                ++inside;
            }
            if (inside > 0) {
                const Colour mean{uint8_t(red / inside + 0.5f), uint8_t(green / inside + 0.5f),
                                  uint8_t(blue / inside + 0.5f)};
                panel.blendPixel(x, y, mean, float(inside) / (kGrid * kGrid));
            }
        }
    }
}
