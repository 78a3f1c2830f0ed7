#include "tests/meter_loudness/conformance_cases.h"

#include <algorithm>
#include <cmath>

#include "meter_loudness/loudness_parameters.h"
#include "tests/loudness/true_peak_burst.h"

namespace conformance {

namespace {
constexpr double kPi = 3.14159265358979323846;
}  // namespace

/// Tones played one after another, the phase running on.
std::vector<float> tones(const std::vector<Tone>& parts) {
    std::vector<float> samples;
    double phase = 0.0;
    for (const Tone& part : parts) {
        const double amplitude = part.dbfs <= kSilence ? 0.0 : std::pow(10.0, part.dbfs / 20.0);
        const auto frames = static_cast<std::size_t>(std::lround(part.seconds * kRate));
        for (std::size_t i = 0; i < frames; ++i) {
            samples.push_back(static_cast<float>(amplitude * std::sin(phase)));
            phase += 2.0 * kPi * 1000.0 / kRate;
        }
    }
    return samples;
}

/// One second of a sine at `rate / divisor`, faded in and out over 10 ms.
std::vector<float> peakTone(double divisor, double amplitude, double phaseDegrees) {
    std::vector<float> samples(static_cast<std::size_t>(kRate));
    const double fade = 0.01 * kRate;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i);
        const double gain =
            std::min({1.0, (t + 1.0) / fade, static_cast<double>(samples.size() - i) / fade});
        samples[i] = static_cast<float>(
            gain * amplitude * std::sin(2.0 * kPi * t / divisor + phaseDegrees * kPi / 180.0));
    }
    return samples;
}

namespace {

std::vector<Expectation> within(std::vector<int> readings, double value, double tolerance) {
    std::vector<Expectation> expected;
    for (int reading : readings) {
        expected.push_back({reading, value, tolerance, tolerance});
    }
    return expected;
}

Expectation truePeak(double value) {
    return {loudness::kTruePeak, value, 0.4, 0.2};
}

}  // namespace

std::vector<Case> minimumRequirementCases() {
    using namespace loudness;
    const std::vector<int> msi = {kMomentary, kShortTerm, kIntegrated};
    std::vector<Tone> case9;
    std::vector<Tone> case12;
    for (int i = 0; i < 5; ++i) {
        case9.insert(case9.end(), {{1.34, -20.0}, {1.66, -30.0}});
    }
    for (int i = 0; i < 25; ++i) {
        case12.insert(case12.end(), {{0.18, -20.0}, {0.22, -30.0}});
    }
    return {
        {"3341-1", tones({{20.0, -23.0}}), within(msi, -23.0, 0.1)},
        {"3341-2", tones({{20.0, -33.0}}), within(msi, -33.0, 0.1)},
        {"3341-3", tones({{10.0, -36.0}, {60.0, -23.0}, {10.0, -36.0}}),
         within({kIntegrated}, -23.0, 0.1)},
        {"3341-4",
         tones({{10.0, -72.0}, {10.0, -36.0}, {60.0, -23.0}, {10.0, -36.0}, {10.0, -72.0}}),
         within({kIntegrated}, -23.0, 0.1)},
        {"3341-5", tones({{20.0, -26.0}, {20.1, -20.0}, {20.0, -26.0}}),
         within({kIntegrated}, -23.0, 0.1)},
        {"3341-9", tones(case9), within({kShortTerm, kMaxShortTerm}, -23.0, 0.1)},
        {"3341-12", tones(case12), within({kMomentary, kMaxMomentary}, -23.0, 0.1)},
        {"3341-15", peakTone(4.0, 0.5, 0.0), {truePeak(-6.0)}},
        {"3341-16", peakTone(4.0, 0.5, 45.0), {truePeak(-6.0)}},
        {"3341-17", peakTone(6.0, 0.5, 60.0), {truePeak(-6.0)}},
        {"3341-18", peakTone(8.0, 0.5, 67.5), {truePeak(-6.0)}},
        {"3341-19", peakTone(4.0, 1.41, 45.0), {truePeak(3.0)}},
        {"3341-20", truePeakBurst(0), {truePeak(0.0)}},
        {"3341-21", truePeakBurst(1), {truePeak(0.0)}},
        {"3341-22", truePeakBurst(2), {truePeak(0.0)}},
        {"3341-23", truePeakBurst(3), {truePeak(0.0)}},
        {"3342-1", tones({{20.0, -20.0}, {20.0, -30.0}}), within({kRange}, 10.0, 1.0)},
        {"3342-2", tones({{20.0, -20.0}, {20.0, -15.0}}), within({kRange}, 5.0, 1.0)},
        {"3342-3", tones({{20.0, -40.0}, {20.0, -20.0}}), within({kRange}, 20.0, 1.0)},
        {"3342-4",
         tones({{20.0, -50.0}, {20.0, -35.0}, {20.0, -20.0}, {20.0, -35.0}, {20.0, -50.0}}),
         within({kRange}, 15.0, 1.0)},
    };
}

}  // namespace conformance
