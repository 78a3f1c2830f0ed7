#include "meter_level/level_parameters.h"

#include <cmath>
#include <cstdio>
#include <iterator>
#include <string_view>

#include "engine/meter_engine.h"
#include "engine/meter_parameters.h"
#include "meter_level/adelay.h"
#include "plugin/parameter_text.h"
#include "plugin/value_text.h"
#include "resources/panel_layout.h"

namespace {

constexpr const char* const kClapFeatures[] = {"audio-effect", "analyzer", "stereo", nullptr};

constexpr ProductIdentity kIdentity = {
    "Pevo",
    "Quellmark",
    "Pevo level meter",
    "Stereo level meter: RMS, peak and peak hold of two channels, passed through unchanged",
    "1.0.0",
    1000,
    fourCharCode('P', 'e', 'v', 'o'),
    kPlugCategEffect,
    "org.quellmark.pevo.level",
    kClapFeatures,
    "https://quellmark.org/pevo/level",
    "AnalyserPlugin",
    ADelay::kNumChannels,
    ADelay::kNumChannels,
    ADelay::kNumPrograms,
    true,
    layout::kWidth,
    layout::kHeight,
};

/// Above any published meter value: channel 1 at full level.
constexpr double kHighestMeterValue = 2.0;

/// "Delay" in milliseconds, shown as the frames it delays by at the rate.
constexpr double kDelayMilliseconds = kLongestDelayMilliseconds;

void delayText(double milliseconds, const ParameterContext& context, char* text) {
    const auto value = static_cast<float>(milliseconds / kDelayMilliseconds);
    longText(MeterEngine::delayFrames(value, context.sampleRate), text);
}

/// Frames, as delayText writes them: half a frame more, so that the frames are those read.
bool parseDelay(const char* text, const ParameterContext& context, float* value) {
    double frames = 0.0;
    const double longest = static_cast<double>(context.sampleRate) * kDelayMilliseconds / 1000.0;
    if (!parseNumber(text, "samples", &frames) || frames < 0.0 || !(longest > 0.0)) {
        return false;
    }
    *value = static_cast<float>(std::fmin((frames + 0.5) / longest, 1.0));
    return true;
}

void plainText(double plain, const ParameterContext&, char* text) {
    floatText(static_cast<float>(plain), text);
}

void gainText(double gain, const ParameterContext&, char* text) {
    decibelText(static_cast<float>(gain), text);
}

/// Decibels, or "-oo" for silence.
bool parseGain(const char* text, const ParameterContext&, float* value) {
    double decibels = 0.0;
    if (std::string_view(text).rfind("-oo", 0) == 0) {
        *value = 0.0f;
        return true;
    }
    if (!parseCutNumber(text, "dB", &decibels)) {
        return false;
    }
    *value = static_cast<float>(std::fmin(std::pow(10.0, decibels / 20.0), 1.0));
    return true;
}

/// A value from 0 to `highest` as floatText shows it.
bool parseShownValue(const char* text, double highest, float* value) {
    double number = 0.0;
    if (!parseCutNumber(text, nullptr, &number)) {
        return false;
    }
    *value = static_cast<float>(std::fmax(0.0, std::fmin(number, highest)));
    return true;
}

bool parseValue(const char* text, const ParameterContext&, float* value) {
    return parseShownValue(text, 1.0, value);
}

bool parseMeterValue(const char* text, const ParameterContext&, float* value) {
    return parseShownValue(text, kHighestMeterValue, value);
}

/// A published meter value is its own plain value: the strip's channel plus half its level.
double samePlain(float value) {
    return value;
}
float sameValue(double plain) {
    return static_cast<float>(plain);
}

constexpr ParameterInfo meter(const char* name) {
    return {name,       "",         "apples",   ParameterKind::reading,
            nullptr,    0,          0.0,        kHighestMeterValue,
            0.0f,       0,          true,       false,
            &samePlain, &sameValue, &plainText, &parseMeterValue,
            nullptr};
}

/// A strip's level in decibels: the meters' scale, floor to full scale.
void stripText(double decibels, const ParameterContext&, char* text) {
    std::snprintf(text, kVstMaxLabelLen, "%.1f", decibels);
}

constexpr ParameterInfo stripLevel(const char* name) {
    return {name,
            "dB",
            "dB",
            ParameterKind::reading,
            nullptr,
            0,
            kMeterFloorDecibels,
            0.0,
            0.0f,
            0,
            false,
            false,
            nullptr,
            nullptr,
            &stripText,
            nullptr,
            nullptr,
            false};
}

/// A choice's plain value is its position; its text is the value 0..1 the position stands
/// for.
template <int count>
void positionValueText(double position, const ParameterContext&, char* text) {
    floatText(static_cast<float>(position / (count - 1)), text);
}

template <int count>
constexpr ParameterInfo choice(const char* name, const char* const (&positions)[count]) {
    return {name,
            "",
            "",
            ParameterKind::choice,
            positions,
            count,
            0.0,
            count - 1.0,
            0.0f,
            count - 1,
            true,
            true,
            nullptr,
            nullptr,
            &positionValueText<count>,
            &parseValue,
            nullptr};
}

constexpr const char* const kModeNames[] = {"L|R", "M|S", "MONO"};
constexpr const char* const kRespNames[] = {"OFF", "1s", "3s"};
constexpr const char* const kRmsModeNames[] = {"SINE", "SQUARE"};

constexpr ParameterInfo kEntries[] = {
    {"Delay", "ms", "samples", ParameterKind::continuous, nullptr, 0, 0.0, kDelayMilliseconds, 0.0f,
     0, true, true, nullptr, nullptr, &delayText, &parseDelay, nullptr},
    meter("RMS level"),
    meter("Peak level"),
    meter("Hold level"),
    {"Volume", "", "dB", ParameterKind::continuous, nullptr, 0, 0.0, 1.0, 0.0f, 0, true, true,
     nullptr, nullptr, &gainText, &parseGain, nullptr},
    choice("Mode", kModeNames),
    choice("Resp", kRespNames),
    choice("RMS Mode", kRmsModeNames),
    stripLevel("RMS level 1"),
    stripLevel("RMS level 2"),
    stripLevel("Peak level 1"),
    stripLevel("Peak level 2"),
    stripLevel("Hold level 1"),
    stripLevel("Hold level 2"),
};
static_assert(std::size(kEntries) == kTableEntryCount, "one entry per parameter");

constexpr ParameterTable kTable = {kEntries, kTableEntryCount};

}  // namespace

const ProductIdentity& levelMeterIdentity() {
    return kIdentity;
}

const ParameterTable& levelMeterParameters() {
    return kTable;
}
