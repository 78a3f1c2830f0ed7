// Gating and Loudness Range computed directly from a list of every block's power: the
// reference the meter's bounded histograms are held to.
#pragma once

#include <algorithm>
#include <vector>

#include "loudness/loudness_units.h"

/// The powers above the absolute gate (−70 LUFS) and above `relative` LU from their mean,
/// sorted.
inline std::vector<double> gatedPowers(std::vector<double> powers, double relative) {
    const auto dropBelow = [&](double gate) {
        powers.erase(std::remove_if(powers.begin(), powers.end(),
                                    [gate](double p) { return !(loudnessOf(p) > gate); }),
                     powers.end());
    };
    dropBelow(-70.0);
    double sum = 0.0;
    for (const double p : powers) {
        sum += p;
    }
    dropBelow(loudnessOf(sum / powers.size()) + relative);
    std::sort(powers.begin(), powers.end());
    return powers;
}

inline double meanLoudness(const std::vector<double>& powers) {
    double sum = 0.0;
    for (const double p : powers) {
        sum += p;
    }
    return loudnessOf(sum / powers.size());
}

/// Loudness Range of short-term powers: 95th minus 10th percentile after gating, by rank.
inline double loudnessRangeOf(const std::vector<double>& shortTermPowers) {
    const std::vector<double> values = gatedPowers(shortTermPowers, -20.0);
    const auto at = [&](double f) { return loudnessOf(values[(values.size() - 1) * f + 0.5]); };
    return at(0.95) - at(0.10);
}
