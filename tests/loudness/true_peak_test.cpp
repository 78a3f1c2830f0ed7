// The true-peak interpolator against every interpolated point worked out one by one: the
// calls it passes over, because no point in them could reach the peak so far, never hide a
// new one, even where the points reach the most their samples allow.
#include "loudness/true_peak.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

namespace {

/// The largest magnitude of the samples and of every point between them, each point summed
/// tap by tap in the interpolator's order, with silence before the first sample.
float everyPointPeak(const TruePeak& peak, const std::vector<float>& x, int factor) {
    float largest = 0.0f;
    for (std::size_t n = 0; n < x.size(); ++n) {
        largest = std::max(largest, std::fabs(x[n]));
        for (int phase = 1; phase < factor; ++phase) {
            float point = 0.0f;
            for (int t = 0; t < TruePeak::kTaps; ++t) {
                point += peak.coefficient(phase, t) * (n >= std::size_t(t) ? x[n - t] : 0.0f);
            }
            largest = std::max(largest, std::fabs(point));
        }
    }
    return largest;
}

/// Whether tap `t` is one of the two nearest the point, which weigh the most.
bool nearTap(int t) {
    return t == TruePeak::kTaps / 2 - 1 || t == TruePeak::kTaps / 2;
}

/// A click just below the most a point can reach from samples of `level` (those of the two
/// nearest taps) and `level` times `outer` (the others), noise well below it, then such
/// samples with signs that follow the widest phase's taps, so that one point reaches it.
std::vector<float> clickNoiseAndWorstCase(const TruePeak& peak, int factor, float level,
                                          float outer) {
    int widest = 1;
    double widestGain = 0.0;
    for (int phase = 1; phase < factor; ++phase) {
        double gain = 0.0;
        for (int t = 0; t < TruePeak::kTaps; ++t) {
            gain += std::fabs(peak.coefficient(phase, t)) * (nearTap(t) ? 1.0f : outer);
        }
        if (gain > widestGain) {
            widest = phase;
            widestGain = gain;
        }
    }
    std::vector<float> x(100, 0.0f);
    x[50] = static_cast<float>(level * widestGain * 0.9999);
    std::mt19937 random(7);
    std::normal_distribution<float> noise(0.0f, 0.1f);
    for (int i = 0; i < 60000; ++i) {
        x.push_back(std::clamp(noise(random) * (i < 20000 ? 0.2f : 1.0f), -level, level));
    }
    for (int t = TruePeak::kTaps - 1; t >= 0; --t) {
        const float magnitude = nearTap(t) ? level : level * outer;
        x.push_back(peak.coefficient(widest, t) < 0.0f ? -magnitude : magnitude);
    }
    x.resize(x.size() + 100, 0.0f);
    return x;
}

TEST(TruePeakTest, CallsPassedOverNeverHideAPeak) {
    std::mt19937 random(11);
    std::uniform_int_distribution<std::size_t> callLength(1, TruePeak::kMaxBlock);
    // The outer samples as large as the nearest, and smaller: each bound the interpolator
    // passes over by is reached.
    for (const auto& [rate, outer] :
         {std::pair{44100.0, 1.0f}, std::pair{48000.0, 1.0f}, std::pair{96000.0, 1.0f},
          std::pair{48000.0, 0.5f}, std::pair{48000.0, 0.1f}, std::pair{96000.0, 0.3f}}) {
        TruePeak peak;
        peak.setup(rate);
        const int factor = TruePeak::oversampling(rate);
        const std::vector<float> x = clickNoiseAndWorstCase(peak, factor, 0.5f, outer);
        for (std::size_t done = 0; done < x.size();) {
            const std::size_t count = std::min(callLength(random), x.size() - done);
            peak.process(x.data() + done, count);
            done += count;
        }
        const float expected = everyPointPeak(peak, x, factor);
        EXPECT_GT(expected, x[50]) << rate << " " << outer;
        EXPECT_EQ(peak.truePeak(), expected) << rate << " " << outer;
    }
}

}  // namespace
