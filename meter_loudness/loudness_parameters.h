// What the loudness meter's effect and its panel agree on: the parameters by index, how
// each value between 0 and 1 stands for a setting or a reading, the settings' choices and
// the programs' settings; and the product's identity and parameter table, which every format
// reads.
#pragma once

#include <cmath>
#include <cstdint>

#include "plugin/product.h"
#include "plugin/vst2.h"

namespace loudness {

/// The unique ID hosts and tools recognise the loudness meter by.
constexpr VstInt32 kLoudnessMeterUniqueId = fourCharCode('P', 'e', 'v', 'L');

// The readings: outputs a host can show and record. Setting one changes nothing.
constexpr VstInt32 kMomentary = 0;
constexpr VstInt32 kShortTerm = 1;
constexpr VstInt32 kIntegrated = 2;
constexpr VstInt32 kRange = 3;
/// The largest since reset over both channels.
constexpr VstInt32 kTruePeak = 4;
constexpr VstInt32 kMaxMomentary = 5;
constexpr VstInt32 kMaxShortTerm = 6;
constexpr VstInt32 kNumReadings = 7;

// The settings.
/// One of kTargets, or the custom target.
constexpr VstInt32 kTarget = 7;
constexpr VstInt32 kCustomTarget = 8;
/// EBU +9 or EBU +18.
constexpr VstInt32 kScale = 9;
/// LUFS, or LU relative to the target.
constexpr VstInt32 kUnit = 10;
/// Setting it to 0.5 or more clears every measurement.
constexpr VstInt32 kReset = 11;
/// The true-peak level above which the ceiling lamp lights.
constexpr VstInt32 kCeiling = 12;
constexpr VstInt32 kNumParams = 13;

constexpr bool isReading(VstInt32 index) {
    return index >= 0 && index < kNumReadings;
}
constexpr bool isParameter(VstInt32 index) {
    return index >= 0 && index < kNumParams;
}

/// Loudness readings in LUFS; Range, and the loudness readings shown in LU, count from 0.
constexpr bool isLoudness(VstInt32 index) {
    return index == kMomentary || index == kShortTerm || index == kIntegrated ||
           index == kMaxMomentary || index == kMaxShortTerm;
}

/// A switch of `count` positions stores position k as k / (count - 1).
inline int choiceOf(float value, int count) {
    if (!(value > 0.0f)) {
        return 0;  // not-a-number included
    }
    const float position = std::round(value * static_cast<float>(count - 1));
    return position >= static_cast<float>(count - 1) ? count - 1 : static_cast<int>(position);
}
constexpr float valueOfChoice(int choice, int count) {
    return static_cast<float>(choice) / static_cast<float>(count - 1);
}

/// The fixed targets in LUFS (EBU R 128, ATSC A/85, podcasts, streaming); the last
/// position of "Target" is the custom one.
constexpr double kTargets[] = {-23.0, -24.0, -16.0, -14.0};
constexpr int kFixedTargets = 4;
constexpr int kTargetChoices = kFixedTargets + 1;
constexpr int kCustomChoice = kFixedTargets;

/// "Custom target" spans kCustomLowest .. kCustomHighest LUFS, in steps of 0.1 LU.
constexpr double kCustomLowest = -40.0;
constexpr double kCustomHighest = 0.0;
/// "Ceiling" spans kCeilingLowest .. kCeilingHighest dBTP, in steps of 0.1 dB.
constexpr double kCeilingLowest = -20.0;
constexpr double kCeilingHighest = 0.0;
constexpr double kDefaultCeiling = -1.0;

/// A level in tenths of a decibel from `lowest` to `highest` for a value from 0 to 1.
inline double levelOf(float value, double lowest, double highest) {
    const double clamped = value > 0.0f ? (value < 1.0f ? value : 1.0f) : 0.0;
    return std::round((lowest + clamped * (highest - lowest)) * 10.0) / 10.0;
}
constexpr float valueOfLevel(double level, double lowest, double highest) {
    return static_cast<float>((level - lowest) / (highest - lowest));
}

/// The loudness "Target" and "Custom target" aim at, in LUFS.
inline double targetLoudness(float targetValue, float customValue) {
    const int choice = choiceOf(targetValue, kTargetChoices);
    return choice == kCustomChoice ? levelOf(customValue, kCustomLowest, kCustomHighest)
                                   : kTargets[choice];
}

/// Scale positions: the span around the target the bars show, in LU.
constexpr int kScaleChoices = 2;
constexpr double kScaleBelow[kScaleChoices] = {-18.0, -36.0};
constexpr double kScaleAbove[kScaleChoices] = {9.0, 18.0};

/// Unit positions.
constexpr int kUnitChoices = 2;
constexpr int kUnitLufs = 0;
constexpr int kUnitLu = 1;

/// A reading as a parameter value: loudness and true peak from kReadingFloor (0) to
/// kReadingCeiling (1), Range from 0 to kRangeCeiling LU; an undefined reading is 0.
constexpr double kReadingFloor = -70.0;
constexpr double kReadingCeiling = 10.0;
constexpr double kRangeCeiling = 50.0;

/// The settings that a program holds, in parameter order from kTarget; kReset is not one.
struct ProgramSettings {
    const char* name;
    int target;
    double customTarget;
    int scale;
    int unit;
    double ceiling;
};
constexpr int kNumPrograms = 4;
constexpr ProgramSettings kPrograms[kNumPrograms] = {
    {"EBU R 128", 0, -18.0, 0, kUnitLufs, -1.0},
    {"ATSC A/85", 1, -18.0, 0, kUnitLufs, -2.0},
    {"Podcast -16 LUFS", 2, -18.0, 0, kUnitLufs, -1.0},
    {"Streaming -14 LUFS", 3, -18.0, 0, kUnitLufs, -1.0},
};

/// Short-term loudness is recorded for the history graph once per this many gating steps
/// (100 ms each) of audio: every half second.
constexpr int kGatingStepsPerHistoryPoint = 5;

}  // namespace loudness

const ProductIdentity& loudnessMeterIdentity();
/// One entry per parameter, in index order.
const ParameterTable& loudnessMeterParameters();
