#include "loudness/true_peak.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr double kPi = 3.14159265358979323846;
/// Kaiser window shape: pass-band ripple against transition width for kTaps taps.
constexpr double kKaiserBeta = 5.0;
/// Points computed side by side; loops of this fixed width become vector code.
constexpr int kLanes = 8;

/// Modified Bessel function of the first kind, order 0, by its power series.
double besselI0(double x) {
    double term = 1.0;
    double sum = 1.0;
    for (int k = 1; k < 40; ++k) {
        term *= (x / (2.0 * k)) * (x / (2.0 * k));
        sum += term;
    }
    return sum;
}

/// The interpolation kernel at `distance` sample periods from the point.
double kernel(double distance) {
    const double halfWidth = TruePeak::kTaps / 2.0;
    const double sinc = distance == 0.0 ? 1.0 : std::sin(kPi * distance) / (kPi * distance);
    const double edge = distance / halfWidth;
    return sinc * besselI0(kKaiserBeta * std::sqrt(std::max(0.0, 1.0 - edge * edge))) /
           besselI0(kKaiserBeta);
}

float largestMagnitude(const float* samples, std::size_t count) {
    float lanes[kLanes] = {};
    std::size_t i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        for (int l = 0; l < kLanes; ++l) {
            const float magnitude = std::fabs(samples[i + l]);
            lanes[l] = lanes[l] < magnitude ? magnitude : lanes[l];
        }
    }
    float peak = 0.0f;
    for (; i < count; ++i) {
        peak = std::max(peak, std::fabs(samples[i]));
    }
    for (const float lane : lanes) {
        peak = std::max(peak, lane);
    }
    return peak;
}

}  // namespace

int TruePeak::oversampling(double sampleRate) {
    return sampleRate < 96000.0 ? 4 : sampleRate <= 192000.0 ? 2 : 1;
}

void TruePeak::setup(double sampleRate) {
    factor = oversampling(sampleRate);
    interpolationGain = 0.0f;
    for (int phase = 1; phase < factor; ++phase) {
        // Tap t reads the sample t periods before the newest; the point lies kTaps / 2
        // periods minus phase / factor before the newest sample.
        double taps[kTaps];
        double sum = 0.0;
        for (int t = 0; t < kTaps; ++t) {
            taps[t] = kernel(kTaps / 2.0 - t - static_cast<double>(phase) / factor);
            sum += taps[t];
        }
        for (int t = 0; t < kTaps; ++t) {
            // Unity gain at DC in every phase.
            phases[phase - 1][t] = static_cast<float>(taps[t] / sum);
        }
        float gain = 0.0f;
        for (const float tap : phases[phase - 1]) {
            gain += std::fabs(tap);
        }
        // A float sum of 12 products is within 12 roundings of the exact one.
        interpolationGain = std::max(interpolationGain, gain * (1.0f + 1e-5f));
    }
    reset();
}

void TruePeak::reset() {
    window.fill(0.0f);
    samplePeakLevel = 0.0f;
    truePeakLevel = 0.0f;
}

void TruePeak::process(const float* samples, std::size_t count) {
    std::memcpy(window.data() + kTaps - 1, samples, count * sizeof(float));
    const float sampled = largestMagnitude(samples, count);
    samplePeakLevel = std::max(samplePeakLevel, sampled);
    truePeakLevel = std::max(truePeakLevel, sampled);
    // The points between these samples cannot pass the true peak so far when even the
    // largest sample they are made from, through the largest gain, cannot: once a
    // programme's peak is reached, most calls end here.
    const float reach = std::max(sampled, largestMagnitude(window.data(), kTaps - 1));
    if (factor > 1 && reach * interpolationGain > truePeakLevel) {
        truePeakLevel = std::max(
            truePeakLevel, factor == 4 ? interpolatedPeak<3>(count) : interpolatedPeak<1>(count));
    }
    std::memmove(window.data(), window.data() + count, (kTaps - 1) * sizeof(float));
}

template <int kPhases>
float TruePeak::interpolatedPeak(std::size_t count) const {
    const float* in = window.data();
    float lanes[kLanes] = {};
    std::size_t n = 0;
    for (; n + kLanes <= count; n += kLanes) {
        // Each sample is loaded once for all phases. Both loops unrolled whole keep the
        // points in registers.
        float points[kPhases][kLanes] = {};
#pragma GCC unroll 16
        for (int t = 0; t < kTaps; ++t) {
            const float* x = in + n + kTaps - 1 - t;
#pragma GCC unroll 4
            for (int p = 0; p < kPhases; ++p) {
                const float h = phases[p][t];
                for (int l = 0; l < kLanes; ++l) {
                    points[p][l] += h * x[l];
                }
            }
        }
        for (int p = 0; p < kPhases; ++p) {
            for (int l = 0; l < kLanes; ++l) {
                const float magnitude = std::fabs(points[p][l]);
                lanes[l] = lanes[l] < magnitude ? magnitude : lanes[l];
            }
        }
    }
    float peak = largestMagnitude(lanes, kLanes);
    for (; n < count; ++n) {
        for (int p = 0; p < kPhases; ++p) {
            float point = 0.0f;
            for (int t = 0; t < kTaps; ++t) {
                point += phases[p][t] * in[n + kTaps - 1 - t];
            }
            peak = std::max(peak, std::fabs(point));
        }
    }
    return peak;
}
