#include "loudness/k_weighting.h"

#include <cmath>
#include <initializer_list>

namespace {

constexpr double kPi = 3.14159265358979323846;

constexpr double kShelfFrequency = 1681.974450955533;
constexpr double kShelfGainDb = 3.999843853973347;
constexpr double kShelfQ = 0.7071752369554196;
constexpr double kShelfBandExponent = 0.4996667741545416;
constexpr double kHighPassFrequency = 38.13547087602444;
constexpr double kHighPassQ = 0.5003270373238773;

/// History below this is flushed: its squares stay far above the denormal range, and its
/// loudness far below any gate.
constexpr double kTiny = 1e-100;

}  // namespace

struct KWeightingLoops {
    template <int kChannels>
    static void plain(KWeighting& weighting, const float* const* channels, std::size_t count) {
        weighting.run<kChannels>(channels, count);
    }
    /// AVX's encodings leave their operands intact, which saves the copies that two-operand
    /// code makes of the filter history; each operation is the same IEEE one, and there is
    /// no fused multiply-add, so the sums are the same to the bit.
    template <int kChannels>
    [[gnu::target("avx")]] static void threeOperand(KWeighting& weighting,
                                                    const float* const* channels,
                                                    std::size_t count) {
        weighting.run<kChannels>(channels, count);
    }
    template <int kChannels>
    static void either(KWeighting& weighting, const float* const* channels, std::size_t count) {
        if (weighting.hasAvx) {
            threeOperand<kChannels>(weighting, channels, count);
        } else {
            plain<kChannels>(weighting, channels, count);
        }
    }
};

Biquad KWeighting::shelf(double sampleRate) {
    const double k = std::tan(kPi * kShelfFrequency / sampleRate);
    const double vh = std::pow(10.0, kShelfGainDb / 20.0);
    const double vb = std::pow(vh, kShelfBandExponent);
    const double a0 = 1.0 + k / kShelfQ + k * k;
    return {(vh + vb * k / kShelfQ + k * k) / a0, 2.0 * (k * k - vh) / a0,
            (vh - vb * k / kShelfQ + k * k) / a0, 2.0 * (k * k - 1.0) / a0,
            (1.0 - k / kShelfQ + k * k) / a0};
}

Biquad KWeighting::highPass(double sampleRate) {
    const double k = std::tan(kPi * kHighPassFrequency / sampleRate);
    const double a0 = 1.0 + k / kHighPassQ + k * k;
    return {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / kHighPassQ + k * k) / a0};
}

void KWeighting::setup(double sampleRate, int channels, const double* weights) {
    shelfStage = shelf(sampleRate);
    highPassStage = highPass(sampleRate);
    channelCount = channels;
    hasAvx = __builtin_cpu_supports("avx");
    for (int c = 0; c < kMaxChannels; ++c) {
        channelWeights[c] = c >= channels ? 0.0 : weights ? weights[c] : 1.0;
    }
    reset();
}

void KWeighting::reset() {
    history = History{};
    takeSumOfSquares();
}

void KWeighting::process(const float* const* channels, std::size_t count) {
    switch (channelCount) {
        case 1:
            return KWeightingLoops::either<1>(*this, channels, count);
        case 2:
            return KWeightingLoops::either<2>(*this, channels, count);
        case 3:
            return KWeightingLoops::either<3>(*this, channels, count);
        case 4:
            return KWeightingLoops::either<4>(*this, channels, count);
        case 5:
            return KWeightingLoops::either<5>(*this, channels, count);
        case 6:
            return KWeightingLoops::either<6>(*this, channels, count);
        case 7:
            return KWeightingLoops::either<7>(*this, channels, count);
        case 8:
            return KWeightingLoops::either<8>(*this, channels, count);
        default:
            return;  // no channel counts
    }
}

double KWeighting::takeSumOfSquares() {
    // Weights of 1 and 0 leave each term exactly as it was: mono and stereo read the same
    // sums as unweighted ones.
    double total = 0.0;
    for (int c = 0; c < kMaxChannels; ++c) {
        total += channelWeights[c] * sums[c];
        sums[c] = 0.0;
    }
    return total;
}

template <int kChannels>
[[gnu::always_inline]] inline void KWeighting::run(const float* const* channels,
                                                   std::size_t count) {
    const Biquad s = shelfStage;
    const Biquad h = highPassStage;
    History k = history;
    double sum[kChannels];
    for (int c = 0; c < kChannels; ++c) {
        sum[c] = sums[c];
    }
    // Channels unrolled: the history stays in registers and the filters run side by side.
    for (std::size_t i = 0; i < count; ++i) {
#pragma GCC unroll 8
        for (int c = 0; c < kChannels; ++c) {
            const double in = channels[c][i];
            // The recursive term last, so that the rest is ready before it.
            const double mid =
                s.b0 * in + s.b1 * k.in1[c] + s.b2 * k.in2[c] - s.a2 * k.mid2[c] - s.a1 * k.mid1[c];
            // The high-pass numerator is (1, -2, 1).
            const double out =
                (k.mid2[c] - 2.0 * k.mid1[c] - h.a2 * k.out2[c] + mid) - h.a1 * k.out1[c];
            k.in2[c] = k.in1[c];
            k.in1[c] = in;
            k.mid2[c] = k.mid1[c];
            k.mid1[c] = mid;
            k.out2[c] = k.out1[c];
            k.out1[c] = out;
            sum[c] += out * out;
        }
    }
    history = k;
    for (int c = 0; c < kChannels; ++c) {
        sums[c] = sum[c];
    }
}

void KWeighting::flushTinyHistory() {
    for (double* value :
         {history.in1, history.in2, history.mid1, history.mid2, history.out1, history.out2}) {
        for (int c = 0; c < kMaxChannels; ++c) {
            value[c] = std::fabs(value[c]) < kTiny ? 0.0 : value[c];
        }
    }
}
