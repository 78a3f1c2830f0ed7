// The EBU minimum-requirement cases (Tech 3341 and 3342) as signals at 48 kHz with the
// readings each must give, for every test that plays them through a plug-in format.
#pragma once

#include <string>
#include <vector>

#include "plugin/vst2.h"

namespace ebu {

constexpr double kRate = 48000.0;
/// A level that plays silence.
constexpr double kSilence = -1000.0;

/// A stretch of 1 kHz tone, in phase on both channels, at a peak level in dBFS.
struct Tone {
    double seconds;
    double dbfs;
};

/// Tones played one after another, the phase running on.
std::vector<float> tones(const std::vector<Tone>& parts);

struct Expectation {
    VstInt32 reading;  ///< the loudness meter's parameter
    double value;
    double below;  ///< how far under `value` a reading may be
    double above;
};

struct Case {
    std::string name;
    std::vector<float> signal;  ///< the same on both channels
    std::vector<Expectation> expected;
};

std::vector<Case> minimumRequirementCases();

}  // namespace ebu
