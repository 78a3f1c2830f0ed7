// What the meter engine and whatever shows or drives it (the level meter's effect and panel,
// a host reading the meters) agree on: how a published meter value carries its channel and
// level, and where the settings "Mode", "Resp" and "RMS Mode" change.
#pragma once

#include <cstdint>

/// "Delay" 0..1 delays the meter feed by 0..300 ms.
constexpr int kLongestDelayMilliseconds = 300;

/// "Mode" below this meters left and right.
constexpr float kMidSideFrom = 0.3f;
/// "Mode" from kMidSideFrom up to this meters mid and side; from here up the mono sum.
constexpr float kMonoFrom = 0.7f;
/// "Resp" below this holds no peak.
constexpr float kOneSecondHoldFrom = 0.3f;
/// "Resp" from kOneSecondHoldFrom up to this holds peaks 1 s; from here up 3 s.
constexpr float kThreeSecondHoldFrom = 0.7f;
/// "RMS Mode" above this shows the plain RMS ("SQUARE"); at or below it the RMS of a sine
/// reads as its peak ("SINE").
constexpr float kSquareRmsAbove = 0.5f;

/// The meters' scale runs from this up to 0 dBFS, as the level 0..1.
constexpr float kMeterFloorDecibels = -40.0f;

/// A published meter value: the channel of its strip (0 or 1) plus half its level.
inline float encodeMeter(int channel, float level) {
    return static_cast<float>(channel) + 0.5f * level;
}

/// Whether a meter value names one of the two strips; also keeps not-a-number and huge
/// values away from decodeMeter's integer conversion.
inline bool namesStrip(float value) {
    return value >= 0.0f && value < 2.0f;
}

/// A meter value taken apart again.
struct StripLevel {
    std::int32_t channel;
    float level;
};

/// The channel and level of `value`, which must fit an integer.
inline StripLevel decodeMeter(float value) {
    const auto channel = static_cast<std::int32_t>(value);
    return {channel, (value - static_cast<float>(channel)) * 2.0f};
}
