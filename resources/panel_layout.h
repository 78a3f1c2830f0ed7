// The front panel as the editor and the art generator both see it: the bitmaps by resource
// number, the sizes they are drawn at, and the points where the editor puts its controls.
// The generator draws each legend around the same point the editor places its control at.
#pragma once

#include <cstdint>

/// The editor's bitmaps. pevo-make-bitmaps writes bitmap N as resources/bitmaps/bmp00N.bmp;
/// the build makes each file the resource with its number.
enum BitmapId : std::int32_t {
    kPanelBitmap = 128,
    kSliderTrackBitmap = 129,
    kSliderHandleBitmap = 130,
    kMeterOffBitmap = 131,
    kMeterOnBitmap = 132,
    kThreeWaySwitchBitmap = 133,
    kTwoWaySwitchBitmap = 134
};

namespace layout {

constexpr int kWidth = 900;
constexpr int kHeight = 202;
/// The panel's paint (red, green, blue); the editor fills and frames the read-out with it.
constexpr std::uint8_t kPaint[3] = {232, 229, 224};

/// The meter strips, upper and lower; one segment per decibel of the scale.
constexpr int kMeterLeft = 151;
constexpr int kMeterTops[2] = {65, 115};
constexpr int kMeterWidth = 604;
constexpr int kMeterHeight = 27;
constexpr int kSegmentCount = 40;

/// MODE and PK HOLD: three positions, one sub-image each, stacked.
constexpr int kSwitchLeft = 83;
constexpr int kModeSwitchTop = 40;
constexpr int kHoldSwitchTop = 122;
constexpr int kSwitchPositions = 3;
constexpr int kSwitchWidth = 31;
constexpr int kSwitchSubImage = 45;
/// RMS=PK: two positions.
constexpr int kRmsSwitchLeft = 793;
constexpr int kRmsSwitchTop = 40;
constexpr int kRmsSwitchPositions = 2;
constexpr int kRmsSwitchWidth = 27;
constexpr int kRmsSwitchSubImage = 28;

/// The DELAY fader: its slot, and the cap that runs in it from kSliderTop down.
constexpr int kSliderLeft = 823;
constexpr int kSliderTop = 105;
constexpr int kSliderWidth = 16;
constexpr int kSliderHeight = 70;
constexpr int kHandleWidth = 14;
constexpr int kHandleHeight = 12;
/// The cap's top edge at the lowest setting.
constexpr int kHandleLowest = kSliderTop + kSliderHeight - kHandleHeight - 1;
/// The millisecond read-out above the fader.
constexpr int kReadOutLeft = kSliderLeft - 5;
constexpr int kReadOutTop = kSliderTop - 13;
constexpr int kReadOutRight = kReadOutLeft + 27;
constexpr int kReadOutBottom = kReadOutTop + 12;

}  // namespace layout
