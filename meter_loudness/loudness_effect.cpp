#include "meter_loudness/loudness_effect.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "meter_loudness/loudness_panel.h"
#include "meter_loudness/reading_display.h"
#include "plugin/loudness_meter_id.h"
#include "plugin/panel_snapshot.h"

using namespace loudness;

namespace {

constexpr std::memory_order kRelaxed = std::memory_order_relaxed;

constexpr const char* kParameterNames[kNumParams] = {
    "Momentary",     "Short-term",     "Integrated", "Range",         "True peak",
    "Max momentary", "Max short-term", "Target",     "Custom target", "Scale",
    "Unit",          "Reset",          "TP ceiling"};
constexpr const char* kScaleNames[kScaleChoices] = {"EBU +9", "EBU +18"};
constexpr const char* kUnitNames[kUnitChoices] = {"LUFS", "LU"};

bool hasBuffers(float** inputs, float** outputs) {
    if (!inputs || !outputs) {
        return false;
    }
    for (VstInt32 c = 0; c < LoudnessEffect::kNumChannels; ++c) {
        if (!inputs[c] || !outputs[c]) {
            return false;
        }
    }
    return true;
}

bool acceptsSampleRate(float rate) {
    return rate >= LoudnessMeter::kMinSampleRate && rate <= LoudnessMeter::kMaxSampleRate;
}

/// One decimal, as the panel shows it; "-inf" for an undefined level.
void levelText(double level, char* text) {
    ReadingDisplay::figures(level, text, kVstMaxLabelLen);
}

/// A reading from kReadingFloor .. kReadingCeiling as 0 .. 1; undefined as 0.
float readingValue(double level, double floor, double ceiling) {
    if (!(level > floor)) {
        return 0.0f;
    }
    return level >= ceiling ? 1.0f : static_cast<float>((level - floor) / (ceiling - floor));
}

}  // namespace

LoudnessEffect::LoudnessEffect(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, kNumPrograms, kNumParams) {
    setUniqueID(kLoudnessMeterUniqueId);
    setNumInputs(kNumChannels);
    setNumOutputs(kNumChannels);
    canProcessReplacing(true);
    for (int p = 0; p < kNumPrograms; ++p) {
        const ProgramSettings& settings = kPrograms[p];
        Program& program = programs[p];
        program.name.set(settings.name);
        auto store = [&](VstInt32 index, float value) {
            program.values[index - kTarget].store(value, kRelaxed);
        };
        store(kTarget, valueOfChoice(settings.target, kTargetChoices));
        store(kCustomTarget, valueOfLevel(settings.customTarget, kCustomLowest, kCustomHighest));
        store(kScale, valueOfChoice(settings.scale, kScaleChoices));
        store(kUnit, valueOfChoice(settings.unit, kUnitChoices));
        store(kCeiling, valueOfLevel(settings.ceiling, kCeilingLowest, kCeilingHighest));
    }
    setProgram(0);

    // A host that answers with a rate the meter refuses leaves it at the default rate.
    const float hostRate = updateSampleRate();
    const float rate = acceptsSampleRate(hostRate) ? hostRate : kDefaultSampleRate;
    if (!meters.post(rate)) {
        throw std::bad_alloc();
    }
    AudioEffectX::setSampleRate(rate);
    // No block can run before the constructor returns: the meter is taken now, and its
    // readings stand until the first block.
    applyRequests();
    publishReadings();
    new LoudnessPanel(this);  // registers itself; the effect owns it from now on
}

LoudnessEffect::~LoudnessEffect() = default;

void LoudnessEffect::setParameter(VstInt32 index, float value) {
    // What is stored is what the panel shows and hosts save: NaN changes nothing.
    if (!isParameter(index) || isReading(index) || std::isnan(value)) {
        return;
    }
    value = std::clamp(value, 0.0f, 1.0f);
    if (index == kReset) {
        if (value >= 0.5f) {
            resetRequests.fetch_add(1, std::memory_order_release);
        }
    } else {  // Reset acts when set and is no program setting
        programs[curProgram.load(kRelaxed)].values[index - kTarget].store(value, kRelaxed);
    }
    parameters[index - kTarget].store(value, kRelaxed);
    if (editor) {
        editor->postUpdate();  // the panel shows it at the host's next idle
    }
}

float LoudnessEffect::getParameter(VstInt32 index) {
    if (!isParameter(index)) {
        return 0.0f;
    }
    if (!isReading(index)) {
        return setting(index);
    }
    if (index == kRange) {
        return readingValue(reading(index), 0.0, kRangeCeiling);
    }
    return readingValue(reading(index), kReadingFloor, kReadingCeiling);
}

double LoudnessEffect::reading(VstInt32 index) const {
    return isReading(index) ? readings[index].load(kRelaxed) : LoudnessMeter::kUndefined;
}

double LoudnessEffect::target() const {
    const int choice = choiceOf(setting(kTarget), kTargetChoices);
    return choice == kCustomChoice ? levelOf(setting(kCustomTarget), kCustomLowest, kCustomHighest)
                                   : kTargets[choice];
}

double LoudnessEffect::ceiling() const {
    return levelOf(setting(kCeiling), kCeilingLowest, kCeilingHighest);
}

int LoudnessEffect::scaleChoice() const {
    return choiceOf(setting(kScale), kScaleChoices);
}

int LoudnessEffect::unitChoice() const {
    return choiceOf(setting(kUnit), kUnitChoices);
}

void LoudnessEffect::setProgram(VstInt32 program) {
    if (program < 0 || program >= kNumPrograms) {
        return;
    }
    curProgram.store(program, kRelaxed);
    for (VstInt32 index = kTarget; index < kNumParams; ++index) {
        if (index != kReset) {
            setParameter(index, programs[program].values[index - kTarget].load(kRelaxed));
        }
    }
}

void LoudnessEffect::setProgramName(char* name) {
    if (name) {
        programs[curProgram.load(kRelaxed)].name.set(name);
    }
}

void LoudnessEffect::getProgramName(char* name) {
    if (name) {
        programs[curProgram.load(kRelaxed)].name.get(name);
    }
}

bool LoudnessEffect::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
    if (index < 0 || index >= kNumPrograms || !text) {
        return false;
    }
    programs[index].name.get(text);
    return true;
}

void LoudnessEffect::getParameterName(VstInt32 index, char* text) {
    if (isParameter(index) && text) {
        copyText(text, kParameterNames[index], kVstMaxParamNameLen);
    }
}

void LoudnessEffect::getParameterLabel(VstInt32 index, char* label) {
    if (!isParameter(index) || !label) {
        return;
    }
    const char* unit = "";
    if (isLoudness(index)) {
        unit = kUnitNames[unitChoice()];
    } else if (index == kRange) {
        unit = "LU";
    } else if (index == kTruePeak || index == kCeiling) {
        unit = "dBTP";
    } else if (index == kTarget || index == kCustomTarget) {
        unit = "LUFS";
    }
    copyText(label, unit, kVstMaxLabelLen);
}

void LoudnessEffect::getParameterDisplay(VstInt32 index, char* text) {
    if (!isParameter(index) || !text) {
        return;
    }
    if (!isReading(index)) {
        settingText(index, text);
        return;
    }
    double level = reading(index);
    if (isLoudness(index) && unitChoice() == kUnitLu) {
        level -= target();  // an undefined reading stays undefined
    }
    levelText(level, text);
}

void LoudnessEffect::settingText(VstInt32 index, char* text) {
    const float value = setting(index);
    switch (index) {
        case kTarget: {
            const int choice = choiceOf(value, kTargetChoices);
            if (choice == kCustomChoice) {
                std::snprintf(text, kVstMaxLabelLen, "Custom");
            } else {
                std::snprintf(text, kVstMaxLabelLen, "%.0f", kTargets[choice]);
            }
            break;
        }
        case kCustomTarget:
            levelText(levelOf(value, kCustomLowest, kCustomHighest), text);
            break;
        case kScale:
            copyText(text, kScaleNames[choiceOf(value, kScaleChoices)], kVstMaxLabelLen);
            break;
        case kUnit:
            copyText(text, kUnitNames[choiceOf(value, kUnitChoices)], kVstMaxLabelLen);
            break;
        case kReset:
            copyText(text, value >= 0.5f ? "Reset" : "Ready", kVstMaxLabelLen);
            break;
        default:
            levelText(ceiling(), text);
            break;
    }
}

bool LoudnessEffect::canParameterBeAutomated(VstInt32 index) {
    return isParameter(index) && !isReading(index);
}

void LoudnessEffect::setSampleRate(float newSampleRate) {
    if (!acceptsSampleRate(newSampleRate) || !meters.post(newSampleRate)) {
        return;
    }
    AudioEffectX::setSampleRate(newSampleRate);
}

void LoudnessEffect::setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate) {
    setBlockSize(newBlockSize);
    setSampleRate(newSampleRate);
}

bool LoudnessEffect::getEffectName(char* name) {
    if (!name) {
        return false;
    }
    copyText(name, "Pevo loudness meter", kVstMaxEffectNameLen);
    return true;
}

bool LoudnessEffect::getVendorString(char* text) {
    if (!text) {
        return false;
    }
    copyText(text, "Quellmark", kVstMaxVendorStrLen);
    return true;
}

bool LoudnessEffect::getProductString(char* text) {
    if (!text) {
        return false;
    }
    copyText(text, "Pevo loudness meter", kVstMaxProductStrLen);
    return true;
}

VstInt32 LoudnessEffect::getVendorVersion() {
    return 1000;
}

VstInt32 LoudnessEffect::getPlugCategory() {
    return kPlugCategEffect;
}

VstIntPtr LoudnessEffect::vendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    if (index != kPanelSnapshotIndex || value != kPanelSnapshotValue || !ptr || !editor) {
        return AudioEffectX::vendorSpecific(index, value, ptr, opt);
    }
    // The panel is this effect's only editor.
    return static_cast<LoudnessPanel*>(editor)->snapshot(*static_cast<PanelSnapshot*>(ptr)) ? 1 : 0;
}

void LoudnessEffect::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
    // No buffer is read for no frames: an empty block publishes even without buffers.
    if (sampleFrames < 0 || (sampleFrames > 0 && !hasBuffers(inputs, outputs))) {
        return;
    }
    applyRequests();
    const auto frames = static_cast<std::uint32_t>(sampleFrames);
    if (frames > 0) {
        measure(inputs, frames);
        for (VstInt32 c = 0; c < kNumChannels; ++c) {
            if (inputs[c] != outputs[c]) {
                std::memmove(outputs[c], inputs[c], frames * sizeof(float));
            }
        }
    }
    publishReadings();
}

void LoudnessEffect::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    process(inputs, outputs, sampleFrames);
}

void LoudnessEffect::applyRequests() {
    const std::uint32_t resets = resetRequests.load(std::memory_order_acquire);
    const bool newMeter = meters.takePosted();  // set up anew: nothing measured yet
    if (!newMeter && resets == appliedResets) {
        return;
    }
    appliedResets = resets;
    if (!newMeter) {
        meters.active().reset();
    }
    publishedSteps = kNeverPublished;
    shortTermHistory.clear();
}

void LoudnessEffect::measure(float* const* inputs, std::uint32_t frames) {
    LoudnessMeter& meter = meters.active();
    for (std::uint32_t done = 0; done < frames;) {
        const std::size_t piece = std::min<std::size_t>(frames - done, meter.framesToNextStep());
        const float* const channels[kNumChannels] = {inputs[0] + done, inputs[1] + done};
        const std::uint64_t stepsBefore = meter.completedSteps();
        meter.process(channels, piece);
        done += static_cast<std::uint32_t>(piece);
        const std::uint64_t steps = meter.completedSteps();
        if (steps != stepsBefore && steps % kGatingStepsPerHistoryPoint == 0) {
            shortTermHistory.record(static_cast<float>(meter.shortTerm()));
        }
    }
}

void LoudnessEffect::publishReadings() {
    const LoudnessMeter& meter = meters.active();
    const auto store = [this](VstInt32 index, double value) {
        readings[index].store(value, kRelaxed);
    };
    store(kMomentary, meter.momentary());
    store(kShortTerm, meter.shortTerm());
    store(kTruePeak, meter.truePeak());
    store(kMaxMomentary, meter.maxMomentary());
    store(kMaxShortTerm, meter.maxShortTerm());
    if (meter.completedSteps() != publishedSteps) {
        publishedSteps = meter.completedSteps();
        const double integrated = meter.integrated();
        store(kIntegrated, integrated);
        store(kRange, integrated == LoudnessMeter::kUndefined ? integrated : meter.loudnessRange());
    }
    if (editor) {
        editor->postUpdate();
    }
}
