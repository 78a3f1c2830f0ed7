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
constexpr int kHeight = 360;

/// The glass behind the momentary and short-term bars, their scale and their figures.
constexpr Box kBarWindow{30, 56, 190, 336};
constexpr Box kScaleLabels{34, 62, 86, 292};
constexpr Box kMomentaryBar{92, 70, 126, 284};
constexpr Box kShortTermBar{144, 70, 178, 284};
constexpr Box kMomentaryFigures{84, 292, 132, 310};
constexpr Box kShortTermFigures{136, 292, 184, 310};
/// The bars' names, under their figures.
constexpr int kBarNameRow = 324;

/// The glass behind the numbers.
constexpr Box kNumberWindow{206, 56, 686, 168};
constexpr Box kIntegrated{216, 74, 460, 140};
constexpr Box kRange{472, 72, 578, 112};
constexpr Box kTruePeak{580, 72, 682, 112};
constexpr Box kMaxMomentary{472, 124, 578, 164};
constexpr Box kMaxShortTerm{580, 124, 682, 164};
/// The ceiling lamp, beside "TRUE PEAK", and the ceiling's value left of it.
constexpr Box kCeilingLamp{672, 61, 682, 71};
constexpr Box kCeilingValue{646, 59, 669, 73};
/// Whether integration runs, and for how long it has, right of "INTEGRATED".
constexpr Box kIntegrationStatus{300, 59, 460, 73};
/// The active target's name, loudness and tolerance, under the integrated loudness.
constexpr Box kTargetLine{216, 144, 460, 162};
/// Captions sit this far above a reading's box.
constexpr int kCaptionRise = 8;

/// The history graph's header: its title, then the zoom and range switches.
constexpr int kGraphHeaderTop = 173;
constexpr int kGraphHeaderBottom = 189;
constexpr Box kZoomSwitch{436, kGraphHeaderTop, 606, kGraphHeaderBottom};
constexpr Box kGraphRangeSwitch{612, kGraphHeaderTop, 686, kGraphHeaderBottom};
/// The glass of the history graph, its loudness axis, the plot and the time axis.
constexpr Box kHistory{206, 196, 686, 336};
constexpr Box kHistoryAxis{208, 198, 240, 324};
constexpr Box kHistoryPlot{244, 204, 682, 318};
constexpr Box kHistoryTime{244, 322, 682, 335};

// The switches and buttons, in the column on the right.
constexpr int kSwitchWidth = 27;
constexpr int kSwitchImageHeight = 28;
constexpr Box kScaleSwitch{712, 76, 712 + kSwitchWidth, 76 + kSwitchImageHeight};
constexpr Box kUnitSwitch{712, 160, 712 + kSwitchWidth, 160 + kSwitchImageHeight};
/// Integration's run/pause toggle, above the reset button.
constexpr Box kPauseSwitch{705, 246, 773, 264};
constexpr Box kResetButton{705, 284, 773, 312};

}  // namespace loudness_layout
