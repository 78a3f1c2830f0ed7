// The synthetic signals of the ITU's loudness conformance set (BS.2217), made from their
// descriptions at 48 kHz: tones that read a stated loudness, and a sweep, with the
// readings they must give worked out from the K-weighting coefficients BS.1770 tabulates.
#pragma once

#include <cmath>
#include <complex>
#include <vector>

#include "tests/loudness/gating_reference.h"

namespace conformance {

constexpr double kRate = 48000.0;
constexpr double kPi = 3.14159265358979323846;
constexpr double kSweepFrom = 20.0;
constexpr double kSweepTo = 20000.0;

/// The K-weighting's gain in power at `frequency`.
inline double kWeightingPower(double frequency) {
    const std::complex<double> z = std::polar(1.0, -2.0 * kPi * frequency / kRate);
    const auto section = [z](double b0, double b1, double b2, double a1, double a2) {
        return (b0 + b1 * z + b2 * z * z) / (1.0 + a1 * z + a2 * z * z);
    };
    return std::norm(section(1.53512485958697, -2.69169618940638, 1.19839281085285,
                             -1.69065929318241, 0.73248077421585) *
                     section(1.0, -2.0, 1.0, -1.99004745483398, 0.99007225036621));
}

/// The peak of a sine at `frequency` that reads `lufs` when it plays on channels whose
/// weights add up to `weights`.
inline double amplitudeFor(double frequency, double lufs, double weights = 1.0) {
    return std::sqrt(2.0 * powerOf(lufs) / weights / kWeightingPower(frequency));
}

inline std::vector<float> sine(double frequency, double amplitude, double seconds) {
    std::vector<float> samples(static_cast<std::size_t>(std::lround(seconds * kRate)));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<float>(amplitude * std::sin(2.0 * kPi * frequency * i / kRate));
    }
    return samples;
}

/// A 1 kHz tone reading `lufs` on channels of `weights` in all, `seconds` long.
inline std::vector<float> tone(double lufs, double seconds, double weights = 1.0) {
    return sine(1000.0, amplitudeFor(1000.0, lufs, weights), seconds);
}

inline std::vector<float> joined(std::vector<float> first, const std::vector<float>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

/// The frequency of the sweep `t` seconds into `seconds`: evenly up in octaves.
inline double sweepFrequency(double t, double seconds) {
    return kSweepFrom * std::pow(kSweepTo / kSweepFrom, t / seconds);
}

inline std::vector<float> sweep(double amplitude, double seconds) {
    const double octaves = std::log(kSweepTo / kSweepFrom);
    std::vector<float> samples(static_cast<std::size_t>(std::lround(seconds * kRate)));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = i / kRate;
        const double cycles =
            kSweepFrom * seconds / octaves * (std::exp(octaves * t / seconds) - 1);
        samples[i] = static_cast<float>(amplitude * std::sin(2.0 * kPi * cycles));
    }
    return samples;
}

/// The gated loudness of the sweep on channels of `weights` in all: 400 ms blocks every
/// 100 ms, each of the mean K-weighted power of the frequencies it passes through.
inline double sweepLoudness(double amplitude, double seconds, double weights) {
    constexpr int kPointsPerBlock = 400;
    std::vector<double> blocks;
    for (double start = 0.0; start + 0.4 <= seconds + 1e-9; start += 0.1) {
        double sum = 0.0;
        for (int p = 0; p < kPointsPerBlock; ++p) {
            const double t = start + 0.4 * (p + 0.5) / kPointsPerBlock;
            sum += kWeightingPower(sweepFrequency(t, seconds));
        }
        blocks.push_back(weights * amplitude * amplitude / 2.0 * sum / kPointsPerBlock);
    }
    return meanLoudness(gatedPowers(blocks, -10.0));
}

}  // namespace conformance
