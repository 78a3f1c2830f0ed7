#include "meter_loudness/loudness_parameters.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "loudness/loudness_meter.h"
#include "meter_loudness/loudness_effect.h"
#include "plugin/parameter_text.h"
#include "plugin/value_text.h"
#include "resources/loudness_layout.h"

using namespace loudness;

namespace {

constexpr const char* const kClapFeatures[] = {"audio-effect", "analyzer", "stereo", nullptr};

constexpr ProductIdentity kIdentity = {
    "Pevo loudness meter",
    "Quellmark",
    "Pevo loudness meter",
    "Loudness meter after EBU R 128 and ITU-R BS.1770: momentary, short-term, integrated, "
    "range and true peak of two channels, passed through unchanged",
    "1.0.0",
    1000,
    kLoudnessMeterUniqueId,
    kPlugCategEffect,
    "org.quellmark.pevo.loudness",
    kClapFeatures,
    "https://quellmark.org/pevo/loudness",
    "AnalyserPlugin",
    LoudnessEffect::kNumChannels,
    LoudnessEffect::kNumChannels,
    kNumPrograms,
    true,
    loudness_layout::kWidth,
    loudness_layout::kHeight,
};

constexpr const char* const kTargetNames[kTargetChoices] = {"-23", "-24", "-16", "-14", "Custom"};
constexpr const char* const kScaleNames[kScaleChoices] = {"EBU +9", "EBU +18"};
constexpr const char* const kUnitNames[kUnitChoices] = {"LUFS", "LU"};
constexpr const char* const kResetNames[] = {"Ready", "Reset"};
constexpr const char* const kIntegratingNames[] = {"Stopped", "Running"};
constexpr const char* const kIntegrateNames[kIntegrateChoices] = {"Always", "While playing",
                                                                  "While playing, reset on start"};
constexpr const char* const kChannelNames[kChannelChoices] = {"Stereo", "Mono"};
constexpr const char* const kPauseNames[kPauseChoices] = {"Run", "Pause"};
constexpr const char* const kZoomNames[kZoomChoices] = {"1 min", "4 min", "15 min", "60 min",
                                                        "All"};
/// What the 8 characters of a VST 2 text show of the longer names.
constexpr const char* const kIntegrateTexts[kIntegrateChoices] = {"Always", "Playing", "Restart"};
constexpr const char* const kGraphRangeNames[kGraphRangeChoices] = {"Follow", "Scale"};

/// Levels beyond this many decibels either way show as "-inf" and "+inf".
constexpr double kLargestFigure = 9999.0;

void levelText(double level, char* text) {
    levelFigures(level, text, kVstMaxLabelLen);
}

void levelFormat(double level, const ParameterContext&, char* text) {
    levelText(level, text);
}

double shownTarget(const ParameterContext& context) {
    return targetLoudness(context.value(kTarget), context.value(kCustomTarget));
}

bool showsLu(const ParameterContext& context) {
    return choiceOf(context.value(kUnit), kUnitChoices) == kUnitLu;
}

/// In LUFS, or in LU from the target: an undefined reading stays undefined.
void loudnessFormat(double level, const ParameterContext& context, char* text) {
    levelText(showsLu(context) ? level - shownTarget(context) : level, text);
}

const char* loudnessLabel(const ParameterContext& context) {
    return kUnitNames[showsLu(context) ? kUnitLu : kUnitLufs];
}

/// A reading's value 0 stands for an undefined reading.
double readingPlain(float value) {
    return value > 0.0f
               ? kReadingFloor + static_cast<double>(value) * (kReadingCeiling - kReadingFloor)
               : LoudnessMeter::kUndefined;
}

bool parseLevel(const char* text, const char* unit, double offset, float* value) {
    if (std::strncmp(text, "-inf", 4) == 0) {
        *value = 0.0f;
        return true;
    }
    double level = 0.0;
    if (!parseNumber(text, unit, &level)) {
        return false;
    }
    const double span = kReadingCeiling - kReadingFloor;
    const double position = (level + offset - kReadingFloor) / span;
    *value = position > 0.0 ? static_cast<float>(std::fmin(position, 1.0)) : 0.0f;
    return true;
}

bool parseLoudness(const char* text, const ParameterContext& context, float* value) {
    return parseLevel(text, loudnessLabel(context), showsLu(context) ? shownTarget(context) : 0.0,
                      value);
}

bool parsePeak(const char* text, const ParameterContext&, float* value) {
    return parseLevel(text, "dBTP", 0.0, value);
}

/// The name of the position a plain value stands for, as the effect reads its value.
template <int count>
void positionFormat(const char* const (&names)[count], double position, char* text) {
    const auto value = static_cast<float>(position / (count - 1));
    copyBounded(text, names[choiceOf(value, count)], kVstMaxLabelLen);
}

/// The text of a switch whose positions read as `names`.
template <const auto& names>
void namesFormat(double position, const ParameterContext&, char* text) {
    positionFormat(names, position, text);
}

/// The short texts VST 2 shows read back as their positions.
bool parseIntegrate(const char* text, const ParameterContext&, float* value) {
    for (int position = 0; position < kIntegrateChoices; ++position) {
        if (std::strcmp(text, kIntegrateTexts[position]) == 0) {
            *value = valueOfChoice(position, kIntegrateChoices);
            return true;
        }
    }
    return false;
}

void integratingFormat(double value, const ParameterContext&, char* text) {
    copyBounded(text, kIntegratingNames[value >= 0.5 ? 1 : 0], kVstMaxLabelLen);
}

void integrationTimeFormat(double seconds, const ParameterContext&, char* text) {
    durationFigures(seconds, text, kVstMaxLabelLen);
}

/// Hours, minutes and seconds as durationFigures writes them, read as the middle of that
/// second, so that the value shows the same again.
bool parseIntegrationTime(const char* text, const ParameterContext&, float* value) {
    if (std::strcmp(text, "+inf") == 0) {
        *value = 1.0f;
        return true;
    }
    unsigned hours = 0, minutes = 0, seconds = 0;
    char end = 0;
    if (std::sscanf(text, "%u:%2u:%2u%c", &hours, &minutes, &seconds, &end) != 3 || minutes > 59 ||
        seconds > 59) {
        return false;
    }
    const double whole = 3600.0 * hours + 60.0 * minutes + seconds;
    *value = static_cast<float>((whole + 0.5) / kLongestIntegration);
    return true;
}

void resetFormat(double value, const ParameterContext&, char* text) {
    copyBounded(text, kResetNames[value >= 0.5 ? 1 : 0], kVstMaxLabelLen);
}

double customPlain(float value) {
    return levelOf(value, kCustomLowest, kCustomHighest);
}
float customValue(double level) {
    return valueOfLevel(level, kCustomLowest, kCustomHighest);
}
double ceilingPlain(float value) {
    return levelOf(value, kCeilingLowest, kCeilingHighest);
}
float ceilingValue(double level) {
    return valueOfLevel(level, kCeilingLowest, kCeilingHighest);
}

constexpr ParameterInfo loudnessReading(const char* name) {
    return {name,          "LUFS",  "LUFS",          ParameterKind::reading,
            nullptr,       0,       kReadingFloor,   kReadingCeiling,
            0.0f,          0,       false,           false,
            &readingPlain, nullptr, &loudnessFormat, &parseLoudness,
            &loudnessLabel};
}

/// A choice's plain value is its position.
constexpr ParameterInfo choice(
    const char* name, const char* label, const char* const* names, int count, int defaultPosition,
    void (*format)(double, const ParameterContext&, char*), bool stored = true,
    bool (*parse)(const char*, const ParameterContext&, float*) = nullptr) {
    return {name,
            "",
            label,
            ParameterKind::choice,
            names,
            count,
            0.0,
            count - 1.0,
            valueOfChoice(defaultPosition, count),
            count - 1,
            true,
            stored,
            nullptr,
            nullptr,
            format,
            parse,
            nullptr};
}

/// The settings of the first program.
constexpr ProgramSettings kDefaults = kPrograms[0];

constexpr ParameterInfo kEntries[] = {
    loudnessReading("Momentary"),
    loudnessReading("Short-term"),
    loudnessReading("Integrated"),
    {"Range", "LU", "LU", ParameterKind::reading, nullptr, 0, 0.0, kRangeCeiling, 0.0f, 0, false,
     false, nullptr, nullptr, &levelFormat, nullptr, nullptr},
    {"True peak", "dBTP", "dBTP", ParameterKind::reading, nullptr, 0, kReadingFloor,
     kReadingCeiling, 0.0f, 0, false, false, &readingPlain, nullptr, &levelFormat, &parsePeak,
     nullptr},
    loudnessReading("Max momentary"),
    loudnessReading("Max short-term"),
    {"Integrating", "", "", ParameterKind::reading, kIntegratingNames, 2, 0.0, 1.0, 0.0f, 0, false,
     false, nullptr, nullptr, &integratingFormat, nullptr, nullptr},
    {"Integration time", "s", "", ParameterKind::reading, nullptr, 0, 0.0, kLongestIntegration,
     0.0f, 0, false, false, nullptr, nullptr, &integrationTimeFormat, &parseIntegrationTime,
     nullptr},
    choice("Target", "LUFS", kTargetNames, kTargetChoices, kDefaults.target,
           &namesFormat<kTargetNames>),
    {"Custom target", "LUFS", "LUFS", ParameterKind::continuous, nullptr, 0, kCustomLowest,
     kCustomHighest, valueOfLevel(kDefaults.customTarget, kCustomLowest, kCustomHighest), 400, true,
     true, &customPlain, &customValue, &levelFormat, nullptr, nullptr},
    choice("Scale", "", kScaleNames, kScaleChoices, kDefaults.scale, &namesFormat<kScaleNames>),
    choice("Unit", "", kUnitNames, kUnitChoices, kDefaults.unit, &namesFormat<kUnitNames>),
    {"Reset", "", "", ParameterKind::trigger, kResetNames, 2, 0.0, 1.0, 0.0f, 1, true, false,
     nullptr, nullptr, &resetFormat, nullptr, nullptr},
    {"TP ceiling", "dBTP", "dBTP", ParameterKind::continuous, nullptr, 0, kCeilingLowest,
     kCeilingHighest, valueOfLevel(kDefaults.ceiling, kCeilingLowest, kCeilingHighest), 200, true,
     true, &ceilingPlain, &ceilingValue, &levelFormat, nullptr, nullptr},
    choice("Integrate", "", kIntegrateNames, kIntegrateChoices, kDefaults.integrate,
           &namesFormat<kIntegrateTexts>, true, &parseIntegrate),
    choice("Channels", "", kChannelNames, kChannelChoices, kDefaults.channels,
           &namesFormat<kChannelNames>),
    choice("Pause", "", kPauseNames, kPauseChoices, kRunning, &namesFormat<kPauseNames>, false),
    choice("Zoom", "", kZoomNames, kZoomChoices, kDefaults.zoom, &namesFormat<kZoomNames>),
    choice("Graph range", "", kGraphRangeNames, kGraphRangeChoices, kDefaults.graphRange,
           &namesFormat<kGraphRangeNames>),
};
static_assert(std::size(kEntries) == kNumParams, "one entry per parameter");

/// The effect keeps the readings in front and stores the settings after them.
constexpr bool readingsFirst() {
    for (VstInt32 index = 0; index < kNumParams; ++index) {
        if ((kEntries[index].kind == ParameterKind::reading) != isReading(index)) {
            return false;
        }
    }
    return true;
}
static_assert(readingsFirst(), "the readings come first");

constexpr ParameterTable kTable = {kEntries, kNumParams};

}  // namespace

namespace loudness {

const DeliveryTarget* deliveryTargetOf(int choice) {
    for (const DeliveryTarget& delivery : kDeliveryTargets) {
        if (choice != kCustomChoice && delivery.loudness == kTargets[choice]) {
            return &delivery;
        }
    }
    return nullptr;
}

}  // namespace loudness

void loudness::levelFigures(double level, char* text, std::size_t size) {
    if (std::isnan(level) || level < -kLargestFigure) {
        std::snprintf(text, size, "-inf");
    } else if (level > kLargestFigure) {
        std::snprintf(text, size, "+inf");
    } else {
        std::snprintf(text, size, "%.1f", level);
        if (std::strcmp(text, "-0.0") == 0) {  // a level that rounds to zero has no sign
            std::snprintf(text, size, "0.0");
        }
    }
}

void loudness::durationFigures(double seconds, char* text, std::size_t size) {
    if (!(seconds < 100.0 * 3600.0)) {
        std::snprintf(text, size, "+inf");
        return;
    }
    const unsigned whole = seconds > 0.0 ? static_cast<unsigned>(seconds) : 0u;
    std::snprintf(text, size, "%u:%02u:%02u", whole / 3600 % 100, whole / 60 % 60, whole % 60);
}

const ProductIdentity& loudnessMeterIdentity() {
    return kIdentity;
}

const ParameterTable& loudnessMeterParameters() {
    return kTable;
}
