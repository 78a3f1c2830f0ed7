#include "meter_level/adelay.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr std::memory_order kRelaxed = std::memory_order_relaxed;

/// Gain that makes a sine's RMS reading equal its peak.
constexpr float kSqrt2 = 1.41421354f;

/// The rate of a host that answers none the meter accepts.
constexpr float kDefaultSampleRate = 44100.0f;

bool isParameter(VstInt32 index) {
    return index >= 0 && index < kParameterCount;
}

}  // namespace

ADelay::ADelay(audioMasterCallback audioMaster)
    : ProductEffect(audioMaster, levelMeterIdentity(), levelMeterParameters()),
      programs(std::make_unique<EffectProgram[]>(kNumPrograms)) {
    setProgram(0);
    canMono(true);
    hasVu(true);
    canProcessReplacing(true);

    engine.createDetectors();
    // A host that answers with a rate the meter refuses leaves it at the default rate.
    const float hostRate = updateSampleRate();
    setSampleRate(MeterEngine::acceptsSampleRate(hostRate) ? hostRate : kDefaultSampleRate);
    resume();
    // No block can run before the constructor returns, so the set-up is carried out now;
    // the buffers are sized after it, already clear.
    engine.applyPending();
    engine.sizeBuffers(getSampleRate());
}

ADelay::~ADelay() = default;

void ADelay::setParameter(VstInt32 index, float value) {
    storeParameter(index, value);
}

void ADelay::applyDelay(float value) {
    const float rate = getSampleRate();
    engine.setDelay(value, rate);
    delayRate.store(rate, kRelaxed);
}

ParameterContext ADelay::textContext() {
    ParameterContext context = ProductEffect::textContext();
    context.sampleRate = delayRate.load(kRelaxed);
    return context;
}

float ADelay::getParameter(VstInt32 index) {
    if (index >= kStripLevels && index < kTableEntryCount) {
        return stripLevels[index - kStripLevels].load(kRelaxed);
    }
    if (!isParameter(index)) {
        return 0.0f;
    }
    // "Resp" is the engine's, stored with its request.
    return index == kResp ? engine.response() : parameters[index].load(kRelaxed);
}

void ADelay::setProgram(VstInt32 program) {
    if (program < 0 || program >= kNumPrograms) {
        return;
    }
    curProgram.store(program, kRelaxed);
    currentProgram.store(program, kRelaxed);
    for (VstInt32 index = 0; index < kParameterCount; ++index) {
        setParameter(index, programs[program].values[index].load(kRelaxed));
    }
}

void ADelay::getProgramName(char* name) {
    if (!name) {
        return;
    }
    const VstInt32 program = curProgram.load(kRelaxed);
    programs[program].name.get(name);
    if (std::strcmp(name, "Init") == 0) {
        std::snprintf(name, kVstMaxProgNameLen, "Init %d", static_cast<int>(program + 1));
    }
}

ProgramName& ADelay::programName(VstInt32 program) {
    return programs[program].name;
}

void ADelay::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
    // An empty block publishes even without buffers.
    if (!acceptsBlock(inputs, outputs, sampleFrames)) {
        return;
    }
    engine.applyPending();
    if (sampleFrames > 0) {
        engine.run(inputs, outputs, static_cast<std::uint32_t>(sampleFrames),
                   parameters[kMode].load(kRelaxed));
    }
    publishMeters();
}

void ADelay::publishMeters() {
    const float gain = parameters[kRmsMode].load(kRelaxed) > kSquareRmsAbove ? 1.0f : kSqrt2;
    float values[MeterEngine::kMeters];
    engine.meterValues(gain, values, true);
    for (std::size_t meter = 0; meter < MeterEngine::kMeters; ++meter) {
        stripLevels[meter].store(decodeMeter(values[meter]).level, kRelaxed);
    }
    if (!metersShown()) {
        // Left as the six calls below would leave them.
        storeMeter(kRmsLevel, values[1]);
        storeMeter(kPeakLevel, values[3]);
        storeMeter(kHoldLevel, values[5]);
        return;
    }
    setParameter(kRmsLevel, values[0]);
    setParameter(kRmsLevel, values[1]);
    setParameter(kPeakLevel, values[2]);
    setParameter(kPeakLevel, values[3]);
    setParameter(kHoldLevel, values[4]);
    setParameter(kHoldLevel, values[5]);
}

void ADelay::setSampleRate(float newSampleRate) {
    // A refused rate changes nothing: not the rate the delay reads, nor the meters.
    if (!MeterEngine::acceptsSampleRate(newSampleRate)) {
        return;
    }
    AudioEffectX::setSampleRate(newSampleRate);
    engine.meterSampleRate = newSampleRate;
    engine.requestSetup(newSampleRate);  // which re-times from "Resp" as well
}

void ADelay::setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate) {
    const bool accepted = MeterEngine::acceptsSampleRate(newSampleRate);
    AudioEffectX::setBlockSizeAndSampleRate(newBlockSize,
                                            accepted ? newSampleRate : getSampleRate());
}

void ADelay::resume() {
    engine.requestClear();
    for (std::atomic<float>& level : stripLevels) {
        level.store(0.0f, kRelaxed);
    }
    setParameter(kHoldLevel, 0.0f);
    setParameter(kHoldLevel, 1.0f);
    setParameter(kPeakLevel, 0.0f);
    setParameter(kPeakLevel, 1.0f);
    setParameter(kRmsLevel, 0.0f);
    setParameter(kRmsLevel, 1.0f);
}
