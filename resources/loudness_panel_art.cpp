#include "resources/loudness_panel_art.h"

#include "resources/art_colours.h"
#include "resources/panel_art.h"

namespace {

using namespace loudness_layout;
using C = ArtColours;
using Align = FontRenderer::Align;
using Face = FontRenderer::Face;

constexpr FontRenderer::Style kTitleStyle{Face::kBold, 18, 3.0f};
constexpr FontRenderer::Style kBrandStyle{Face::kBold, 12, 1.5f};
constexpr FontRenderer::Style kSubtitleStyle{Face::kItalic, 11};
constexpr FontRenderer::Style kCaptionStyle{Face::kBold, 9, 1.0f};
constexpr FontRenderer::Style kNoteStyle{Face::kBold, 8, 1.5f};
constexpr FontRenderer::Style kButtonStyle{Face::kBold, 11, 1.5f};

int centreOf(const Box& box) {
    return (box.left + box.right) / 2;
}

}  // namespace

BmpImage LoudnessPanelArt::frontPanel() const {
    BmpImage panel(kWidth, kHeight, C::kPanel);
    panel.frameRect(0, 0, kWidth, kHeight, C::kPanelEdge);
    panel.bevelRect(1, 1, kWidth - 1, kHeight - 1, C::kPanelLight, C::kPanelShade, true);
    PanelArt::drawScrew(panel, 12.5f, 12.5f, 0.35f);
    PanelArt::drawScrew(panel, kWidth - 12.5f, 12.5f, 1.2f);
    PanelArt::drawScrew(panel, 12.5f, kHeight - 12.5f, 2.0f);
    PanelArt::drawScrew(panel, kWidth - 12.5f, kHeight - 12.5f, 0.8f);
    drawTitle(panel);
    for (const Box& glass : {kBarWindow, kNumberWindow, kHistory}) {
        drawGlass(panel, glass);
    }
    drawCaptions(panel);
    drawControlColumn(panel);
    return panel;
}

void LoudnessPanelArt::drawGlass(BmpImage& panel, const Box& glass) {
    panel.bevelRect(glass.left - 3, glass.top - 3, glass.right + 3, glass.bottom + 3,
                    C::kPanelLight, C::kPanelShade, false);
    panel.bevelRect(glass.left - 2, glass.top - 2, glass.right + 2, glass.bottom + 2,
                    C::kPanelLight, C::kPanelEdge, false);
    panel.fillRect(glass.left - 1, glass.top - 1, glass.right + 1, glass.bottom + 1, C::kMeterRim);
    panel.fillRect(glass.left, glass.top, glass.right, glass.bottom, C::kMeterGround);
}

void LoudnessPanelArt::drawTitle(BmpImage& panel) const {
    const int baseline = 38;
    PanelArt::drawLogo(panel, kBarWindow.left, 19, 20);
    fonts.draw(panel, kBarWindow.left + 27.0f, baseline, "QUELLMARK", kBrandStyle, C::kInk,
               Align::kLeft);
    fonts.draw(panel, centreOf(kNumberWindow), baseline, "PEVO LOUDNESS METER", kTitleStyle,
               C::kInk, Align::kCentre);
    fonts.draw(panel, kNumberWindow.right, baseline, "EBU Mode", kSubtitleStyle, C::kInk,
               Align::kRight);
}

void LoudnessPanelArt::drawCaptions(BmpImage& panel) const {
    // Bar names under the bars, on the glass.
    const int barNames = kBarNameRow;
    fonts.drawMiddle(panel, centreOf(kMomentaryBar), barNames, "M", kCaptionStyle, C::kScaleInk,
                     Align::kCentre);
    fonts.drawMiddle(panel, centreOf(kShortTermBar), barNames, "S", kCaptionStyle, C::kScaleInk,
                     Align::kCentre);
    struct Caption {
        const Box& box;
        const char* text;
    };
    const Caption captions[] = {{kIntegrated, "INTEGRATED"},
                                {kRange, "RANGE"},
                                {kTruePeak, "TRUE PEAK"},
                                {kMaxMomentary, "MAX MOMENTARY"},
                                {kMaxShortTerm, "MAX SHORT-TERM"}};
    for (const Caption& caption : captions) {
        fonts.drawMiddle(panel, caption.box.left + 2.0f, caption.box.top - kCaptionRise,
                         caption.text, kCaptionStyle, C::kScaleInk, Align::kLeft);
    }
    // The graph's title in its header, left of its switches.
    fonts.drawMiddle(panel, kHistory.left + 2.0f, (kGraphHeaderTop + kGraphHeaderBottom) / 2,
                     "SHORT-TERM LOUDNESS HISTORY", kCaptionStyle, C::kInk, Align::kLeft);
}

void LoudnessPanelArt::drawControlColumn(BmpImage& panel) const {
    const PanelArt family(fonts);
    static const char* const kScaleLegends[] = {"+9", "+18"};
    static const char* const kUnitLegends[] = {"LUFS", "LU"};
    family.drawGroup(panel, 700, kScaleSwitch.top - 20, 778, kScaleSwitch.bottom + 12, "EBU SCALE");
    family.drawSwitchLegends(panel, kScaleSwitch.left, kScaleSwitch.right, kScaleSwitch.top,
                             kSwitchImageHeight, kScaleLegends, 2, true);
    family.drawGroup(panel, 700, kUnitSwitch.top - 20, 778, kUnitSwitch.bottom + 12, "UNIT");
    family.drawSwitchLegends(panel, kUnitSwitch.left, kUnitSwitch.right, kUnitSwitch.top,
                             kSwitchImageHeight, kUnitLegends, 2, true);
    fonts.drawMiddle(panel, centreOf(kPauseSwitch), kPauseSwitch.top - 10, "INTEGRATION",
                     kCaptionStyle, C::kInk, Align::kCentre);
    fonts.drawMiddle(panel, centreOf(kResetButton), kResetButton.bottom + 12, "CLEARS ALL",
                     kNoteStyle, C::kNote, Align::kCentre);
}

BmpImage LoudnessPanelArt::resetButton() const {
    const int width = kResetButton.width();
    const int height = kResetButton.height();
    BmpImage button(width, 2 * height, C::kPanel);
    for (int pressed = 0; pressed < 2; ++pressed) {
        const int top = pressed * height;
        button.fillGradient(0, top, width, top + height,
                            pressed ? C::kHousingBottom : C::kHousingTop,
                            pressed ? C::kHousingTop : C::kHousingBottom);
        button.bevelRect(0, top, width, top + height, C::kHousingLight, C::kHousingDark,
                         pressed == 0);
        fonts.drawMiddle(button, width / 2.0f + pressed, top + height / 2 + pressed, "RESET",
                         kButtonStyle, pressed ? C::kLampOn : C::kPanelLight, Align::kCentre);
    }
    return button;
}
