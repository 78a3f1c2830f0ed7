#include "loudness/loudness_meter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "loudness/k_weighting.h"
#include "loudness/loudness_units.h"
#include "loudness/power_histogram.h"
#include "loudness/power_windows.h"
#include "loudness/true_peak.h"

namespace {

/// Samples smaller than 2^-100 (about −600 dBFS) are measured as silence, with NaN and
/// infinities: the bits of that float, and of infinity.
constexpr std::uint32_t kSmallestBits = (127u - 100u) << 23;
constexpr std::uint32_t kInfinityBits = 0x7f800000u;
/// The longest sub-block: the step at which momentary and short-term loudness are read.
constexpr double kMaxSubBlockSeconds = 0.005;

/// How a 100 ms step is cut into sub-blocks.
struct StepSplit {
    std::size_t subBlocks;
    std::size_t subBlockLength;
};

/// The fewest sub-blocks, short enough, that make exactly the nearest whole number of
/// samples to 100 ms; where that number has no divisor in range (11025 Hz: 1103 samples),
/// sub-blocks of the nearest length, making steps within 1 % of 100 ms.
StepSplit splitStep(double sampleRate) {
    const double step = sampleRate / LoudnessMeter::kStepsPerSecond;
    const auto whole = static_cast<std::size_t>(std::lround(step));
    const auto fewest =
        static_cast<std::size_t>(std::ceil(step / (kMaxSubBlockSeconds * sampleRate)));
    for (std::size_t count = fewest; count <= 2 * fewest; ++count) {
        if (whole % count == 0) {
            return {count, whole / count};
        }
    }
    return {fewest, static_cast<std::size_t>(std::lround(step / static_cast<double>(fewest)))};
}

/// The sample, or zero for NaN, infinities and magnitudes below kSmallest. Compared as
/// bits: integer comparisons become vector code, where float ones that might trap do not.
float measurable(float sample) {
    std::uint32_t bits;
    std::memcpy(&bits, &sample, sizeof bits);
    const std::uint32_t magnitude = bits & 0x7fffffffu;
    // One unsigned comparison: magnitudes below kSmallestBits wrap round to large values.
    bits &= magnitude - kSmallestBits < kInfinityBits - kSmallestBits ? ~0u : 0u;
    std::memcpy(&sample, &bits, sizeof bits);
    return sample;
}

/// Copies `count` samples, non-finite and negligible ones as zero.
void copyMeasurable(const float* in, float* out, std::size_t count) {
    constexpr std::size_t kLanes = 8;  // a loop of fixed width becomes vector code
    std::size_t i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        float lanes[kLanes];  // a local copy: the compiler need not fear `out` overlaps `in`
        for (std::size_t l = 0; l < kLanes; ++l) {
            lanes[l] = in[i + l];
        }
        for (std::size_t l = 0; l < kLanes; ++l) {
            out[i + l] = measurable(lanes[l]);
        }
    }
    for (; i < count; ++i) {
        out[i] = measurable(in[i]);
    }
}

double decibels(double magnitude) {
    return 20.0 * std::log10(magnitude);
}

/// A reading and the linear value it was worked out from: a plug-in reads every figure after
/// each host block, most often with no new sub-block and no new peak since the last.
struct Remembered {
    double linear = -1.0;  ///< no value yet: powers and magnitudes are never negative
    double reading = 0.0;

    double of(double value, double (*convert)(double)) {
        if (value != linear) {
            linear = value;
            reading = convert(value);
        }
        return reading;
    }
};

}  // namespace

struct LoudnessMeter::State {
    double sampleRate = 0.0;
    int channels = 0;
    /// The channels that count for loudness, in order: those of a weight above 0.
    std::array<int, kMaxChannels> counted{};
    int countedChannels = 0;
    std::size_t subBlockLength = 0;
    std::size_t subBlockFill = 0;  ///< samples of the current sub-block measured so far
    KWeighting weighting;
    std::array<TruePeak, kMaxChannels> peaks;
    PowerWindows windows;
    PowerHistogram gatingBlocks;  ///< momentary windows every 100 ms, for integrated loudness
    PowerHistogram rangeBlocks;   ///< short-term windows every 100 ms, for Loudness Range
    /// This chunk's samples, non-finite and negligible ones set to zero.
    std::array<std::array<float, TruePeak::kMaxBlock>, kMaxChannels> clean;

    /// Integrated loudness and Loudness Range, worked out again only after a new block, so
    /// that a plug-in may read them after every host block.
    double integrated = kUndefined;
    double range = 0.0;
    Remembered momentary, shortTerm, maxMomentary, maxShortTerm;
    std::array<Remembered, kMaxChannels> samplePeaks, truePeaks;
    bool integratedStale = false;
    bool rangeStale = false;

    void measure(const float* const* in, std::size_t frames);
    void endSubBlock();
};

LoudnessMeter::LoudnessMeter() = default;

LoudnessMeter::~LoudnessMeter() {
    delete state;
}

bool LoudnessMeter::setup(double sampleRate, int channels) {
    const double weights[kMaxChannels] = {1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0};
    return setupWeighted(sampleRate, channels, weights);
}

bool LoudnessMeter::setup(double sampleRate, const ChannelLayout& layout) {
    double weights[kMaxChannels] = {};
    for (int c = 0; c < layout.channels(); ++c) {
        weights[c] = layout.weight(c);
    }
    return setupWeighted(sampleRate, layout.channels(), weights);
}

bool LoudnessMeter::setupWeighted(double sampleRate, int channels, const double* weights) {
    if (!(sampleRate >= kMinSampleRate && sampleRate <= kMaxSampleRate) || channels < 1 ||
        channels > kMaxChannels) {
        return false;
    }
    // Nothing leaks if a later allocation throws.
    auto fresh = std::make_unique<State>();
    fresh->sampleRate = sampleRate;
    fresh->channels = channels;
    double countedWeights[kMaxChannels] = {};
    for (int c = 0; c < channels; ++c) {
        if (weights[c] > 0.0) {
            countedWeights[fresh->countedChannels] = weights[c];
            fresh->counted[static_cast<std::size_t>(fresh->countedChannels++)] = c;
        }
    }
    const StepSplit split = splitStep(sampleRate);
    fresh->subBlockLength = split.subBlockLength;
    fresh->weighting.setup(sampleRate, fresh->countedChannels, countedWeights);
    for (TruePeak& peak : fresh->peaks) {
        peak.setup(sampleRate);
    }
    fresh->windows.setup(split.subBlockLength, static_cast<int>(split.subBlocks));
    if (state) {
        // The histograms, the costly part, are the same at any rate: reset() clears them.
        fresh->gatingBlocks = std::move(state->gatingBlocks);
        fresh->rangeBlocks = std::move(state->rangeBlocks);
    } else {
        fresh->gatingBlocks.setup();
        fresh->rangeBlocks.setup();
    }
    delete state;
    state = fresh.release();
    reset();
    return true;
}

void LoudnessMeter::reset() {
    if (!state) {
        return;
    }
    state->subBlockFill = 0;
    state->weighting.reset();
    for (TruePeak& peak : state->peaks) {
        peak.reset();
    }
    state->windows.reset();
    state->gatingBlocks.reset();
    state->rangeBlocks.reset();
    state->integrated = kUndefined;
    state->range = 0.0;
    state->integratedStale = state->rangeStale = false;
}

void LoudnessMeter::process(const float* const* channels, std::size_t frames) {
    if (!state) {
        return;
    }
    std::size_t done = 0;
    while (done < frames) {
        const std::size_t chunk = std::min(
            {frames - done, TruePeak::kMaxBlock, state->subBlockLength - state->subBlockFill});
        const float* in[kMaxChannels] = {};
        for (int c = 0; c < state->channels; ++c) {
            in[c] = channels[c] + done;
        }
        state->measure(in, chunk);
        done += chunk;
    }
}

void LoudnessMeter::State::measure(const float* const* in, std::size_t frames) {
    for (int c = 0; c < channels; ++c) {
        float* out = clean[static_cast<std::size_t>(c)].data();
        copyMeasurable(in[c], out, frames);
        peaks[static_cast<std::size_t>(c)].process(out, frames);
    }
    const float* cleaned[kMaxChannels] = {};
    for (int k = 0; k < countedChannels; ++k) {
        cleaned[k] = clean[static_cast<std::size_t>(counted[static_cast<std::size_t>(k)])].data();
    }
    weighting.process(cleaned, frames);
    subBlockFill += frames;
    if (subBlockFill == subBlockLength) {
        endSubBlock();
    }
}

void LoudnessMeter::State::endSubBlock() {
    windows.push(weighting.takeSumOfSquares());
    weighting.flushTinyHistory();
    subBlockFill = 0;
    if (windows.momentaryBlockDone()) {
        gatingBlocks.add(windows.momentaryPower());
        integratedStale = true;
    }
    if (windows.shortTermBlockDone()) {
        rangeBlocks.add(windows.shortTermPower());
        rangeStale = true;
    }
}

int LoudnessMeter::channels() const {
    return state ? state->channels : 0;
}

double LoudnessMeter::sampleRate() const {
    return state ? state->sampleRate : 0.0;
}

std::uint64_t LoudnessMeter::completedSteps() const {
    return state ? state->windows.completedSteps() : 0;
}

std::size_t LoudnessMeter::framesToNextStep() const {
    if (!state) {
        return 1;
    }
    return state->windows.subBlocksToStep() * state->subBlockLength - state->subBlockFill;
}

double LoudnessMeter::momentary() const {
    return state ? state->momentary.of(state->windows.momentaryPower(), loudnessOf) : kUndefined;
}

double LoudnessMeter::shortTerm() const {
    return state ? state->shortTerm.of(state->windows.shortTermPower(), loudnessOf) : kUndefined;
}

double LoudnessMeter::integrated() const {
    if (!state) {
        return kUndefined;
    }
    if (state->integratedStale) {
        state->integrated = state->gatingBlocks.gatedLoudness(kIntegratedGate);
        state->integratedStale = false;
    }
    return state->integrated;
}

double LoudnessMeter::maxMomentary() const {
    return state ? state->maxMomentary.of(state->windows.maxMomentaryPower(), loudnessOf)
                 : kUndefined;
}

double LoudnessMeter::maxShortTerm() const {
    return state ? state->maxShortTerm.of(state->windows.maxShortTermPower(), loudnessOf)
                 : kUndefined;
}

double LoudnessMeter::loudnessRange() const {
    if (!state) {
        return 0.0;
    }
    if (state->rangeStale) {
        state->range = state->rangeBlocks.range(kRangeGate, kRangeLower, kRangeUpper);
        state->rangeStale = false;
    }
    return state->range;
}

double LoudnessMeter::samplePeak(int channel) const {
    if (!state || channel < 0 || channel >= state->channels) {
        return kUndefined;
    }
    const auto c = static_cast<std::size_t>(channel);
    return state->samplePeaks[c].of(state->peaks[c].samplePeak(), decibels);
}

double LoudnessMeter::samplePeak() const {
    double peak = kUndefined;
    for (int c = 0; c < channels(); ++c) {
        peak = std::max(peak, samplePeak(c));
    }
    return peak;
}

double LoudnessMeter::truePeak(int channel) const {
    if (!state || channel < 0 || channel >= state->channels) {
        return kUndefined;
    }
    const auto c = static_cast<std::size_t>(channel);
    return state->truePeaks[c].of(state->peaks[c].truePeak(), decibels);
}

double LoudnessMeter::truePeak() const {
    double peak = kUndefined;
    for (int c = 0; c < channels(); ++c) {
        peak = std::max(peak, truePeak(c));
    }
    return peak;
}
