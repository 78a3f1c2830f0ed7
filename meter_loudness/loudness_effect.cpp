#include "meter_loudness/loudness_effect.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "meter_loudness/loudness_panel.h"
#include "meter_loudness/loudness_parameters.h"

using namespace loudness;

namespace {

constexpr std::memory_order kRelaxed = std::memory_order_relaxed;

bool acceptsSampleRate(float rate) {
    return rate >= LoudnessMeter::kMinSampleRate && rate <= LoudnessMeter::kMaxSampleRate;
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
    : ProductEffect(audioMaster, loudnessMeterIdentity(), loudnessMeterParameters()) {
    setUniqueID(identity.vst2UniqueId);
    canProcessReplacing(true);
    for (int p = 0; p < kNumPrograms; ++p) {
        const ProgramSettings& settings = kPrograms[p];
        Program& program = programs[p];
        copyText(program.name, settings.name, kVstMaxProgNameLen);
        auto store = [&](VstInt32 index, float value) {
            program.values[index - kTarget].store(value, kRelaxed);
        };
        store(kTarget, valueOfChoice(settings.target, kTargetChoices));
        store(kCustomTarget, valueOfLevel(settings.customTarget, kCustomLowest, kCustomHighest));
        store(kScale, valueOfChoice(settings.scale, kScaleChoices));
        store(kUnit, valueOfChoice(settings.unit, kUnitChoices));
        store(kCeiling, valueOfLevel(settings.ceiling, kCeilingLowest, kCeilingHighest));
        store(kIntegrate, valueOfChoice(settings.integrate, kIntegrateChoices));
        store(kChannels, valueOfChoice(settings.channels, kChannelChoices));
        store(kZoom, valueOfChoice(settings.zoom, kZoomChoices));
        store(kGraphRange, valueOfChoice(settings.graphRange, kGraphRangeChoices));
    }
    setProgram(0);

    // A host that answers with a rate the meter refuses leaves it at the default rate.
    const float hostRate = updateSampleRate();
    const float rate = acceptsSampleRate(hostRate) ? hostRate : kDefaultSampleRate;
    if (!meters.post(rate) || !liveMeters.post(rate)) {
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
    if (!isParameter(index) || isReading(index)) {
        return;
    }
    programs[currentProgram.load(kRelaxed)].values[index - kTarget].store(value, kRelaxed);
    parameters[index - kTarget].store(value, kRelaxed);
    if (index == kReset && value >= 0.5f) {
        resetRequests.fetch_add(1, std::memory_order_release);
    }
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
    return targetLoudness(setting(kTarget), setting(kCustomTarget));
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

int LoudnessEffect::choice(VstInt32 index) const {
    const ParameterInfo* info = parameterTable.find(index);
    return info && info->kind == ParameterKind::choice ? choiceOf(setting(index), info->positions)
                                                       : 0;
}

bool LoudnessEffect::integrating() const {
    return integratingNow.load(kRelaxed);
}

double LoudnessEffect::integrationSeconds() const {
    return integratedSeconds.load(kRelaxed);
}

void LoudnessEffect::setProgram(VstInt32 program) {
    if (program < 0 || program >= kNumPrograms) {
        return;
    }
    curProgram = program;
    currentProgram.store(program, kRelaxed);
    for (VstInt32 index = kTarget; index < kNumParams; ++index) {
        // A program neither clears the measurements nor pauses or resumes them.
        if (index != kReset && index != kPause) {
            setParameter(index, programs[program].values[index - kTarget].load(kRelaxed));
        }
    }
}

void LoudnessEffect::setProgramName(char* name) {
    if (name) {
        copyText(programs[currentProgram.load(kRelaxed)].name, name, kVstMaxProgNameLen);
    }
}

void LoudnessEffect::getProgramName(char* name) {
    if (name) {
        copyText(name, programs[currentProgram.load(kRelaxed)].name, kVstMaxProgNameLen);
    }
}

const char* LoudnessEffect::programName(VstInt32 program) const {
    return programs[program].name;
}

double LoudnessEffect::displayPlain(VstInt32 index) {
    return isReading(index) ? reading(index) : ProductEffect::displayPlain(index);
}

void LoudnessEffect::setSampleRate(float newSampleRate) {
    if (!acceptsSampleRate(newSampleRate) || !meters.post(newSampleRate) ||
        !liveMeters.post(newSampleRate)) {
        return;
    }
    AudioEffectX::setSampleRate(newSampleRate);
}

void LoudnessEffect::setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate) {
    setBlockSize(newBlockSize);
    setSampleRate(newSampleRate);
}

void LoudnessEffect::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
    // An empty block publishes even without buffers.
    if (!acceptsBlock(inputs, outputs, sampleFrames)) {
        return;
    }
    applyRequests();
    const auto frames = static_cast<std::uint32_t>(sampleFrames);
    if (frames > 0) {
        const bool gathers = decideIntegration();
        measure(inputs, frames, gathers);
        passThrough(inputs, outputs, frames);
    }
    publishReadings();
}

bool LoudnessEffect::transportPlaying() {
    const VstTimeInfo* time = getTimeInfo(0);
    if (!time) {
        return true;  // a host without time info: always
    }
    return (time->flags & kVstTransportPlaying) != 0 ||
           getCurrentProcessLevel() == kVstProcessLevelOffline;
}

bool LoudnessEffect::decideIntegration() {
    const int mode = choice(kIntegrate);
    const bool playing = mode == kIntegrateAlways || transportPlaying();
    if (mode == kIntegrateResetOnStart && playing && !wasPlaying) {
        resetProgramme();
    }
    wasPlaying = playing;
    const bool gathers = playing && choice(kPause) == kRunning;
    integratingNow.store(gathers, kRelaxed);
    return gathers;
}

void LoudnessEffect::resetProgramme() {
    meters.active().reset();
    programmeFrames = 0;
    framesToStep = framesPerStep;
    stepsToHistoryPoint = LoudnessHistory::kGatingStepsPerPoint;
    gatedReadingsStale = true;
    shortTermHistory.clear();
}

void LoudnessEffect::applyRequests() {
    const std::uint32_t resets = resetRequests.load(std::memory_order_acquire);
    const bool newMeter = meters.takePosted();  // set up anew: nothing measured yet
    const bool newLiveMeter = liveMeters.takePosted();
    if (!newMeter && !newLiveMeter && resets == appliedResets) {
        return;
    }
    appliedResets = resets;
    liveMeters.active().reset();
    // The meter completes a gating block every 100 ms of audio since its reset, rounded to
    // whole frames as here.
    const double step = std::round(meters.active().sampleRate() / 10.0);
    framesPerStep = step >= 1.0 ? static_cast<std::uint32_t>(step) : 1;
    resetProgramme();
}

void LoudnessEffect::measure(float* const* inputs, std::uint32_t frames, bool gathers) {
    // Mono measures the left input alone: beside a silent channel, it adds nothing to the
    // sum of the channels' powers, so the meter reads it as one channel.
    const bool mono = choice(kChannels) == kMono;
    if (!gathers && gathered) {
        liveMeters.active().reset();  // the live readings start from this block's audio
    }
    gathered = gathers;
    for (std::uint32_t done = 0; done < frames;) {
        std::uint32_t piece = std::min(frames - done, framesToStep);
        if (mono) {
            piece = std::min<std::uint32_t>(piece, kSilenceFrames);
        }
        const float* const channels[kNumChannels] = {inputs[0] + done,
                                                     mono ? silence : inputs[1] + done};
        done += piece;
        if (!gathers) {
            liveMeters.active().process(channels, piece);
            continue;
        }
        meters.active().process(channels, piece);
        programmeFrames += piece;
        framesToStep -= piece;
        if (framesToStep != 0) {
            continue;
        }
        framesToStep = framesPerStep;
        gatedReadingsStale = true;
        if (--stepsToHistoryPoint == 0) {
            shortTermHistory.record(static_cast<float>(meters.active().shortTerm()));
            stepsToHistoryPoint = LoudnessHistory::kGatingStepsPerPoint;
        }
    }
}

void LoudnessEffect::publishReadings() {
    const LoudnessMeter& meter = meters.active();
    // While gathering, the programme's meter hears what the live one would.
    const LoudnessMeter& live = gathered ? meter : liveMeters.active();
    const auto store = [this](VstInt32 index, double value) {
        readings[index].store(value, kRelaxed);
    };
    store(kMomentary, live.momentary());
    store(kShortTerm, live.shortTerm());
    store(kTruePeak, meter.truePeak());
    store(kMaxMomentary, meter.maxMomentary());
    store(kMaxShortTerm, meter.maxShortTerm());
    if (gatedReadingsStale) {
        gatedReadingsStale = false;
        store(kIntegrated, meter.integrated());
        store(kRange, meter.loudnessRange());
    }
    integratedSeconds.store(static_cast<double>(programmeFrames) / meter.sampleRate(), kRelaxed);
    if (editor) {
        editor->postUpdate();
    }
}
