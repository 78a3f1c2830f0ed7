#include "meter_loudness/loudness_effect.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "meter_loudness/history_stream.h"
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
        program.name.set(settings.name);
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
    // readings stand until the first block, integration running as it does by default.
    readings[kIntegrating].store(1.0, kRelaxed);
    applyRequests();
    publishReadings();
    new LoudnessPanel(this, this);  // registers itself; the effect owns it from now on
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
    } else if (index != kPause) {  // Reset and Pause act when set and are no program settings
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
    switch (index) {
        case kRange:
            return readingValue(reading(index), 0.0, kRangeCeiling);
        case kIntegrating:
            return static_cast<float>(reading(index));
        case kIntegrationTime:
            return static_cast<float>(reading(index) / kLongestIntegration);
        default:
            break;
    }
    return readingValue(reading(index), kReadingFloor, kReadingCeiling);
}

double LoudnessEffect::reading(VstInt32 index) const {
    return isReading(index) ? readings[index].load(kRelaxed) : LoudnessMeter::kUndefined;
}

void LoudnessEffect::setProgram(VstInt32 program) {
    if (program < 0 || program >= kNumPrograms) {
        return;
    }
    curProgram.store(program, kRelaxed);
    for (VstInt32 index = kTarget; index < kNumParams; ++index) {
        if (index != kReset && index != kPause) {
            setParameter(index, programs[program].values[index - kTarget].load(kRelaxed));
        }
    }
}

ProgramName& LoudnessEffect::programName(VstInt32 program) {
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
        measure(inputs, frames, decideIntegration());
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
    readings[kIntegrating].store(gathers ? 1.0 : 0.0, kRelaxed);
    return gathers;
}

void LoudnessEffect::resetProgramme() {
    meters.active().reset();
    publishedSteps = kNeverPublished;
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
    LoudnessMeter& meter = gathers ? meters.active() : liveMeters.active();
    for (std::uint32_t done = 0; done < frames;) {
        std::size_t piece = std::min<std::size_t>(frames - done, meter.framesToNextStep());
        if (mono) {
            piece = std::min<std::size_t>(piece, kSilenceFrames);
        }
        const float* const channels[kNumChannels] = {inputs[0] + done,
                                                     mono ? silence : inputs[1] + done};
        const std::uint64_t stepsBefore = meter.completedSteps();
        meter.process(channels, piece);
        done += static_cast<std::uint32_t>(piece);
        const std::uint64_t steps = meter.completedSteps();
        if (gathers && steps != stepsBefore && steps % LoudnessHistory::kGatingStepsPerPoint == 0) {
            shortTermHistory.record(static_cast<float>(meter.shortTerm()));
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
    if (meter.completedSteps() != publishedSteps) {
        publishedSteps = meter.completedSteps();
        const double integrated = meter.integrated();
        store(kIntegrated, integrated);
        store(kRange, integrated == LoudnessMeter::kUndefined ? integrated : meter.loudnessRange());
    }
    store(kIntegrationTime,
          static_cast<double>(meter.completedSteps()) * LoudnessMeter::kSecondsPerStep);
    if (editor) {
        editor->postUpdate();
    }
}

bool LoudnessEffect::panelData(PanelDataPiece& piece) {
    return HistoryStream::write(shortTermHistory, piece);
}
