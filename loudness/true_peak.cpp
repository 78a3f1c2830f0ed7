#include "loudness/true_peak.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr double kPi = 3.14159265358979323846;
/// Kaiser window shape: pass-band ripple against transition width for kTaps taps.
constexpr double kKaiserBeta = 5.0;
/// Points computed side by side, in vectors of four floats: written as vectors, the loops
/// are vector code whatever the optimisation level (-O3 made scalar code of plain loops),
/// each lane doing the same IEEE operations as plain code would.
constexpr int kLanes = 8;
typedef float Quad __attribute__((vector_size(16)));
typedef std::uint32_t QuadBits __attribute__((vector_size(16)));
constexpr int kQuads = kLanes / 4;

Quad load(const float* at) {
    Quad quad;
    std::memcpy(&quad, at, sizeof quad);
    return quad;
}

Quad magnitude(Quad quad) {
    QuadBits bits;
    std::memcpy(&bits, &quad, sizeof bits);
    bits &= 0x7fffffffu;
    std::memcpy(&quad, &bits, sizeof quad);
    return quad;
}

/// Each lane's larger value; `largest` where they are equal.
Quad larger(Quad largest, Quad candidate) {
    return largest < candidate ? candidate : largest;
}

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
    Quad quads[kQuads] = {};
    std::size_t i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        for (int q = 0; q < kQuads; ++q) {
            quads[q] = larger(quads[q], magnitude(load(samples + i + 4 * q)));
        }
    }
    float peak = 0.0f;
    for (; i < count; ++i) {
        peak = std::max(peak, std::fabs(samples[i]));
    }
    float lanes[kLanes];
    std::memcpy(lanes, quads, sizeof lanes);
    for (const float lane : lanes) {
        peak = std::max(peak, lane);
    }
    return peak;
}

/// Largest of the four lanes.
float largestLane(Quad quad) {
    float lanes[4];
    std::memcpy(lanes, &quad, sizeof lanes);
    return std::max(std::max(lanes[0], lanes[1]), std::max(lanes[2], lanes[3]));
}

/// Sets bit f of `passing` (64 to a word) for each four of points f of the `fours` made from
/// the samples from `samples` on that might pass `peak`: point i lies between samples
/// i + kTaps / 2 - 1 and i + kTaps / 2, so the four f are made from samples 4f to 4f + 14,
/// the nearest of them 4f + 5 to 4f + 9. The two taps nearest each point pass at most
/// `centreGain` times the largest magnitude among those, all others `outerGain` times the
/// largest of all 15. Four fours at a time: the largest magnitudes of each group of four
/// samples, of its first two and three and of its last three, in lanes by group, make
/// those of the 15 and of the nearest with no sum over lanes.
void findPassing(const float* samples, std::size_t fours, float centreGain, float outerGain,
                 float peak, std::uint64_t* passing) {
    static_assert(TruePeak::kTaps == 12, "groups of four cover the 15 samples of four points");
    constexpr std::size_t kGroups = TruePeak::kMaxBlock / 4 + 4;
    // Groups f to f + 3 hold the samples of four f; four batches of four groups more than
    // the fours cover them.
    const std::size_t batches = (fours + 3) / 4 + 1;
    alignas(16) float all[kGroups], firstTwo[kGroups], firstThree[kGroups], lastThree[kGroups];
    for (std::size_t b = 0; b < batches; ++b) {
        const float* from = samples + 16 * b;
        const Quad a = magnitude(load(from)), e = magnitude(load(from + 4));
        const Quad c = magnitude(load(from + 8)), d = magnitude(load(from + 12));
        const Quad ae01 = __builtin_shufflevector(a, e, 0, 4, 1, 5);
        const Quad ae23 = __builtin_shufflevector(a, e, 2, 6, 3, 7);
        const Quad cd01 = __builtin_shufflevector(c, d, 0, 4, 1, 5);
        const Quad cd23 = __builtin_shufflevector(c, d, 2, 6, 3, 7);
        // Sample k of each of the four groups.
        const Quad k0 = __builtin_shufflevector(ae01, cd01, 0, 1, 4, 5);
        const Quad k1 = __builtin_shufflevector(ae01, cd01, 2, 3, 6, 7);
        const Quad k2 = __builtin_shufflevector(ae23, cd23, 0, 1, 4, 5);
        const Quad k3 = __builtin_shufflevector(ae23, cd23, 2, 3, 6, 7);
        const Quad two = larger(k0, k1);
        const Quad three = larger(two, k2);
        const Quad last = larger(larger(k1, k2), k3);
        std::memcpy(firstTwo + 4 * b, &two, sizeof two);
        std::memcpy(firstThree + 4 * b, &three, sizeof three);
        std::memcpy(lastThree + 4 * b, &last, sizeof last);
        const Quad four = larger(three, k3);
        std::memcpy(all + 4 * b, &four, sizeof four);
    }
    const Quad centre = {centreGain, centreGain, centreGain, centreGain};
    const Quad outer = {outerGain, outerGain, outerGain, outerGain};
    const Quad limit = {peak, peak, peak, peak};
    constexpr std::size_t kWordBits = 64;
    for (std::size_t word = 0; word * kWordBits < fours; ++word) {
        std::uint64_t bits = 0;
        const std::size_t end = std::min(fours, (word + 1) * kWordBits);
        for (std::size_t f = word * kWordBits; f < end; f += 4) {
            const Quad widest = larger(larger(load(all + f), load(all + f + 1)),
                                       larger(load(all + f + 2), load(firstThree + f + 3)));
            const Quad nearest = larger(load(lastThree + f + 1), load(firstTwo + f + 2));
            const auto may = nearest * centre + widest * outer > limit;
            std::int32_t lanes[4];
            std::memcpy(lanes, &may, sizeof lanes);
            for (std::size_t l = 0; l < 4 && f + l < end; ++l) {
                bits |= static_cast<std::uint64_t>(lanes[l] & 1) << (f % kWordBits + l);
            }
        }
        passing[word] = bits;
    }
}

}  // namespace

int TruePeak::oversampling(double sampleRate) {
    return sampleRate < 96000.0 ? 4 : sampleRate <= 192000.0 ? 2 : 1;
}

void TruePeak::setup(double sampleRate) {
    factor = oversampling(sampleRate);
    interpolationGain = centreGain = outerGain = 0.0f;
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
        float centre = 0.0f;
        for (int t = 0; t < kTaps; ++t) {
            const float tap = std::fabs(phases[phase - 1][t]);
            gain += tap;
            centre += t == kTaps / 2 - 1 || t == kTaps / 2 ? tap : 0.0f;
        }
        // A float sum of 12 products is within 12 roundings of the exact one, and the bounds
        // themselves within a few.
        constexpr float kRoom = 1.0f + 1e-5f;
        interpolationGain = std::max(interpolationGain, gain * kRoom);
        centreGain = std::max(centreGain, centre * kRoom);
        outerGain = std::max(outerGain, (gain - centre) * kRoom);
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
    // Which fours of points might pass the peak, as bits, worked out without a branch:
    // with the peak reached, few do, and they come at random.
    constexpr std::size_t kWordBits = 64;
    std::uint64_t passing[kMaxBlock / 4 / kWordBits] = {};
    const std::size_t fours = count / 4;
    findPassing(in, fours, centreGain, outerGain, truePeakLevel, passing);
    Quad largest = {};
    for (std::size_t word = 0; word * kWordBits < fours; ++word) {
        for (std::uint64_t bits = passing[word]; bits != 0; bits &= bits - 1) {
            const std::size_t n = 4 * (word * kWordBits + __builtin_ctzll(bits));
            // Each sample is loaded once for all phases; the loops unrolled whole keep the
            // points in registers.
            Quad points[kPhases] = {};
#pragma GCC unroll 16
            for (int t = 0; t < kTaps; ++t) {
                const Quad samples = load(in + n + kTaps - 1 - t);
#pragma GCC unroll 4
                for (int p = 0; p < kPhases; ++p) {
                    points[p] += phases[p][t] * samples;
                }
            }
            for (int p = 0; p < kPhases; ++p) {
                largest = larger(largest, magnitude(points[p]));
            }
        }
    }
    std::size_t n = 4 * fours;
    float peak = largestLane(largest);
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
