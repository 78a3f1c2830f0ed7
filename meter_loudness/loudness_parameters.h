// What the loudness meter's effect and its panel agree on: the parameters by index, how
// each value between 0 and 1 stands for a setting or a reading, the settings' choices and
// the programs' settings; and the product's identity and parameter table, which every format
// reads.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "loudness/delivery_targets.h"
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
/// 1 while the last block gathered integrated loudness, range, maxima and true peak, else 0.
constexpr VstInt32 kIntegrating = 7;
/// The audio time gathered since the last reset, in seconds.
constexpr VstInt32 kIntegrationTime = 8;
constexpr VstInt32 kNumReadings = 9;

// The settings.
/// One of kTargets, or the custom target.
constexpr VstInt32 kTarget = 9;
constexpr VstInt32 kCustomTarget = 10;
/// EBU +9 or EBU +18.
constexpr VstInt32 kScale = 11;
/// LUFS, or LU relative to the target.
constexpr VstInt32 kUnit = 12;
/// Setting it to 0.5 or more clears every measurement.
constexpr VstInt32 kReset = 13;
/// The true-peak level above which the ceiling lamp lights.
constexpr VstInt32 kCeiling = 14;
/// When integrated loudness, range, the maxima and true peak gather: kIntegrateChoices.
constexpr VstInt32 kIntegrate = 15;
/// Stereo, or the left input alone measured as one channel.
constexpr VstInt32 kChannels = 16;
/// The panel's run/pause toggle: paused, nothing gathers, whatever the transport does.
constexpr VstInt32 kPause = 17;
/// How much of the programme the history graph shows: kZoomMinutes.
constexpr VstInt32 kZoom = 18;
/// The history graph's loudness range: following the programme, or the bars' scale.
constexpr VstInt32 kGraphRange = 19;
constexpr VstInt32 kNumParams = 20;

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
/// Integration time as a parameter value: 0 to 1 from none to kLongestIntegration seconds,
/// beyond 1 past it.
constexpr double kLongestIntegration = 100.0 * 3600.0;

/// Integrate positions.
constexpr int kIntegrateChoices = 3;
constexpr int kIntegrateAlways = 0;
constexpr int kIntegrateWhilePlaying = 1;
constexpr int kIntegrateResetOnStart = 2;

/// Channels positions.
constexpr int kChannelChoices = 2;
constexpr int kStereo = 0;
constexpr int kMono = 1;

/// Pause positions.
constexpr int kPauseChoices = 2;
constexpr int kRunning = 0;
constexpr int kPaused = 1;

/// Zoom positions: the minutes the graph spans; the last, 0, spans the whole programme.
constexpr int kZoomChoices = 5;
constexpr int kZoomMinutes[kZoomChoices] = {1, 4, 15, 60, 0};
constexpr int kZoomWhole = 4;

/// Graph range positions.
constexpr int kGraphRangeChoices = 2;
constexpr int kFollowProgramme = 0;
constexpr int kFollowScale = 1;

/// How far from a custom target a programme may lie, in LU either side.
constexpr double kCustomTolerance = 1.0;

/// The delivery target that position `choice` of "Target" aims at; null for the custom one.
const DeliveryTarget* deliveryTargetOf(int choice);

/// The settings that a program holds, in parameter order from kTarget; kReset and kPause
/// are not among them.
struct ProgramSettings {
    const char* name;
    int target;
    double customTarget;
    int scale;
    int unit;
    double ceiling;
    int integrate;
    int channels;
    int zoom;
    int graphRange;
};
/// One program per delivery target, each aiming at its loudness with its true-peak ceiling.
constexpr int kNumPrograms = static_cast<int>(std::size(kDeliveryTargets));

/// The target position that aims at `loudness`, or the custom one.
constexpr int targetChoiceAt(double loudness) {
    for (int choice = 0; choice < kFixedTargets; ++choice) {
        if (kTargets[choice] == loudness) {
            return choice;
        }
    }
    return kCustomChoice;
}
constexpr ProgramSettings programFor(const DeliveryTarget& delivery) {
    return {delivery.title,
            targetChoiceAt(delivery.loudness),
            delivery.loudness,
            0,
            kUnitLufs,
            delivery.maxTruePeak,
            kIntegrateAlways,
            kStereo,
            1,
            kFollowProgramme};
}
constexpr ProgramSettings kPrograms[kNumPrograms] = {
    programFor(kDeliveryTargets[0]), programFor(kDeliveryTargets[1]),
    programFor(kDeliveryTargets[2]), programFor(kDeliveryTargets[3])};
/// A level as the meter shows it, with one decimal, at most 8 characters: "-inf" while
/// undefined, "-inf" and "+inf" beyond 9999 dB either way, and no sign on a level that
/// rounds to zero.
void levelFigures(double level, char* text, std::size_t size);
/// Seconds as hours, minutes and seconds ("1:02:03"), at most 8 characters: "+inf" from
/// 100 hours on.
void durationFigures(double seconds, char* text, std::size_t size);

}  // namespace loudness

const ProductIdentity& loudnessMeterIdentity();
/// One entry per parameter, in index order.
const ParameterTable& loudnessMeterParameters();
