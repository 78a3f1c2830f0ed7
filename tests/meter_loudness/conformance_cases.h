// The EBU minimum-requirement cases of Tech 3341 and 3342 as signals and the readings they
// must give, shared by every test that plays them through a build of the loudness meter.
#pragma once

#include <vector>

namespace conformance {

constexpr double kRate = 48000.0;
constexpr double kSilence = -1000.0;

/// A stretch of 1 kHz tone, in phase on both channels, at a peak level in dBFS.
struct Tone {
    double seconds;
    double dbfs;
};

/// Tones played one after another, the phase running on.
std::vector<float> tones(const std::vector<Tone>& parts);

/// One second of a sine at `rate / divisor`, faded in and out over 10 ms.
std::vector<float> peakTone(double divisor, double amplitude, double phaseDegrees);

struct Expectation {
    int reading;  ///< the reading's parameter index
    double value;
    double below;  ///< how far under `value` a reading may be
    double above;
};

struct Case {
    const char* name;
    std::vector<float> signal;
    std::vector<Expectation> expected;
};

std::vector<Case> minimumRequirementCases();

}  // namespace conformance
