#include "tools/common/programme_meter.h"

#include <algorithm>
#include <cmath>

#include "loudness/power_windows.h"

namespace {

constexpr auto kMomentarySteps = static_cast<std::uint64_t>(PowerWindows::kStepsPerMomentary);
constexpr auto kShortTermSteps = static_cast<std::uint64_t>(PowerWindows::kStepsPerShortTerm);
/// Loudness closer than this to a maximum reached earlier counts as the same, in LU.
constexpr double kSameLoudness = 0.01;

double decibels(float magnitude) {
    return magnitude > 0.0f ? 20.0 * std::log10(static_cast<double>(magnitude))
                            : LoudnessMeter::kUndefined;
}

}  // namespace

bool ProgrammeMeter::setup(double sampleRate, const ChannelLayout& layout, Settings chosen) {
    if (!loudness.setup(sampleRate, layout)) {
        return false;
    }
    for (TruePeak& peak : stepPeaks) {
        peak.setup(sampleRate);
    }
    settings = std::move(chosen);
    rate = sampleRate;
    channels = layout.channels();
    done = stepStart = 0;
    steps = 0;
    nextPoint =
        settings.every > 0 ? std::max<std::int64_t>(1, std::llround(settings.every * rate)) : -1;
    result = Measurement{};
    result.layout = settings.layoutName;
    result.maxMomentary = result.maxShortTerm = LoudnessMeter::kUndefined;
    return true;
}

void ProgrammeMeter::process(const float* const* in, std::size_t frames) {
    const float* part[LoudnessMeter::kMaxChannels] = {};
    for (std::size_t at = 0; at < frames;) {
        // The meter's own steps, whose length need not be a tenth of the rate.
        std::int64_t end = done + static_cast<std::int64_t>(loudness.framesToNextStep());
        if (nextPoint >= 0) {
            end = std::min(end, nextPoint);
        }
        const auto length = std::min<std::size_t>(
            {frames - at, static_cast<std::size_t>(end - done), TruePeak::kMaxBlock});
        for (int c = 0; c < channels; ++c) {
            part[c] = in[c] + at;
            if (settings.ceiling) {
                // The step's own true peak, of finite samples as the meter takes them.
                std::transform(part[c], part[c] + length, clean.begin(),
                               [](float x) { return std::isfinite(x) ? x : 0.0f; });
                stepPeaks[static_cast<std::size_t>(c)].process(clean.data(), length);
            }
        }
        loudness.process(part, length);
        at += length;
        done += static_cast<std::int64_t>(length);
        if (loudness.completedSteps() != steps) {
            endStep();
        }
        if (done == nextPoint) {
            takePoint();
        }
    }
    result.frames = done;
}

void ProgrammeMeter::endStep() {
    const double start = static_cast<double>(stepStart) / rate;
    stepStart = done;
    steps = loudness.completedSteps();
    const double seconds = static_cast<double>(done) / rate;
    const double momentary = Measurement::shown(loudness.momentary());
    const double shortTerm = Measurement::shown(loudness.shortTerm());
    // The first step at which each maximum was reached, give or take what rounding in
    // the filters adds to a steady signal.
    if (Measurement::shown(loudness.maxMomentary()) > result.maxMomentary + kSameLoudness) {
        result.maxMomentary = loudness.maxMomentary();
        result.maxMomentaryTime = seconds;
    }
    if (Measurement::shown(loudness.maxShortTerm()) > result.maxShortTerm + kSameLoudness) {
        result.maxShortTerm = loudness.maxShortTerm();
        result.maxShortTermTime = seconds;
    }
    double stepPeak = LoudnessMeter::kUndefined;
    if (settings.ceiling) {
        for (int c = 0; c < channels; ++c) {
            TruePeak& peak = stepPeaks[static_cast<std::size_t>(c)];
            stepPeak = std::max(stepPeak, decibels(peak.truePeak()));
            peak.reset();
        }
        if (stepPeak > *settings.ceiling) {
            result.oversteps += 1;
            if (result.firstOverTime < 0.0) {
                result.firstOverTime = start;
            }
        }
    }
    if (settings.keepBlocks && steps >= kMomentarySteps) {
        result.momentaryBlocks.push_back(loudness.momentary());
    }
    if (settings.keepBlocks && steps >= kShortTermSteps) {
        result.shortTermBlocks.push_back(loudness.shortTerm());
    }
    if (settings.keepSteps) {
        result.steps.push_back({seconds, momentary, shortTerm, stepPeak});
    }
}

void ProgrammeMeter::takePoint() {
    result.series.push_back(
        {static_cast<double>(done) / rate, Measurement::shown(loudness.momentary()),
         Measurement::shown(loudness.shortTerm()), Measurement::shown(loudness.integrated())});
    nextPoint = std::max<std::int64_t>(
        done + 1,
        std::llround(static_cast<double>(result.series.size() + 1) * settings.every * rate));
}

Measurement ProgrammeMeter::measurement(const std::string& name) const {
    Measurement measured = result;
    measured.name = name;
    measured.seconds = static_cast<double>(done) / rate;
    measured.readFrom(loudness);
    return measured;
}
