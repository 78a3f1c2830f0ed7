// Loudness from mean power and back, as BS.1770 defines it for channels of weight 1.
#pragma once

#include <cmath>

/// The relative gate of integrated loudness (BS.1770), and the relative gate and the
/// percentiles of Loudness Range (EBU Tech 3342).
constexpr double kIntegratedGate = -10.0;
constexpr double kRangeGate = -20.0;
constexpr double kRangeLower = 0.10;
constexpr double kRangeUpper = 0.95;

/// LUFS of a mean square summed over the channels; −∞ for silence.
inline double loudnessOf(double meanPower) {
    return -0.691 + 10.0 * std::log10(meanPower);
}

/// The mean power that reads `lufs`.
inline double powerOf(double lufs) {
    return std::pow(10.0, (lufs + 0.691) / 10.0);
}
