// The loudness meter's panel: its bitmaps and where its controls stand, shared by the
// art generator, which draws the legends and glass around them, and by the editor.
#pragma once

namespace loudness_layout {

/// A half-open rectangle on the panel.
struct Box {
    int left, top, right, bottom;
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
};

// Bitmap resource numbers.
constexpr int kPanelBitmap = 200;
/// Two pictures stacked: the reset button up, then pressed.
constexpr int kResetBitmap = 201;
/// Pevo's two-position switch, shared for the family's look.
constexpr int kSwitchBitmap = 134;

constexpr int kWidth = 800;
constexpr int kHeight = 320;

/// The glass behind the momentary and short-term bars and their scale.
constexpr Box kBarWindow{30, 56, 190, 296};
constexpr Box kScaleLabels{34, 62, 86, 280};
constexpr Box kMomentaryBar{92, 70, 126, 272};
constexpr Box kShortTermBar{144, 70, 178, 272};

/// The glass behind the numbers.
constexpr Box kNumberWindow{206, 56, 686, 168};
constexpr Box kIntegrated{216, 76, 460, 160};
constexpr Box kRange{472, 72, 578, 112};
constexpr Box kTruePeak{580, 72, 682, 112};
constexpr Box kMaxMomentary{472, 124, 578, 164};
constexpr Box kMaxShortTerm{580, 124, 682, 164};
/// The ceiling lamp, beside "TRUE PEAK".
constexpr Box kCeilingLamp{664, 61, 674, 71};
/// Captions sit this far above a reading's box.
constexpr int kCaptionRise = 8;

/// The glass of the history graph: one column per history point.
constexpr Box kHistory{206, 184, 686, 296};

// The switches and the reset button, in the column on the right.
constexpr int kSwitchWidth = 27;
constexpr int kSwitchImageHeight = 28;
constexpr Box kScaleSwitch{712, 76, 712 + kSwitchWidth, 76 + kSwitchImageHeight};
constexpr Box kUnitSwitch{712, 160, 712 + kSwitchWidth, 160 + kSwitchImageHeight};
constexpr Box kResetButton{705, 244, 773, 272};

}  // namespace loudness_layout
