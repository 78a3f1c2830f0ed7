#include "engine/adelay.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr std::memory_order kRelaxed = std::memory_order_relaxed;

constexpr const char* kParameterNames[kParameterCount] = {
    "Delay", "RMS level", "Peak level", "Hold level", "Volume", "Mode", "Resp", "RMS Mode"};
/// "apples" is the meters' unit as hosts have always shown it.
constexpr const char* kParameterLabels[kParameterCount] = {"samples", "apples", "apples", "apples",
                                                           "dB",      "",       "",       ""};

/// Gain that makes a sine's RMS reading equal its peak.
constexpr float kSqrt2 = 1.41421354f;

/// The rate of a host that answers none the meter accepts.
constexpr float kDefaultSampleRate = 44100.0f;

bool isParameter(VstInt32 index) {
    return index >= 0 && index < kParameterCount;
}

bool hasBuffers(float** inputs, float** outputs) {
    if (!inputs || !outputs) {
        return false;
    }
    for (VstInt32 c = 0; c < ADelay::kNumChannels; ++c) {
        if (!inputs[c] || !outputs[c]) {
            return false;
        }
    }
    return true;
}

}  // namespace

ADelay::ADelay(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, kNumPrograms, kParameterCount),
      programs(std::make_unique<EffectProgram[]>(kNumPrograms)) {
    setProgram(0);
    setNumInputs(kNumChannels);
    setNumOutputs(kNumChannels);
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
    engine.setDelay(value, getSampleRate());
}

float ADelay::getParameter(VstInt32 index) {
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

void ADelay::setProgramName(char* name) {
    if (name) {
        programs[curProgram.load(kRelaxed)].name.set(name);
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

bool ADelay::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
    if (index < 0 || index >= kNumPrograms || !text) {
        return false;
    }
    programs[index].name.get(text);
    return true;
}

void ADelay::getParameterLabel(VstInt32 index, char* label) {
    if (isParameter(index) && label) {
        copyText(label, kParameterLabels[index], kVstMaxLabelLen);
    }
}

void ADelay::getParameterName(VstInt32 index, char* text) {
    if (isParameter(index) && text) {
        copyText(text, kParameterNames[index], kVstMaxParamNameLen);
    }
}

void ADelay::getParameterDisplay(VstInt32 index, char* text) {
    if (!isParameter(index) || !text) {
        return;
    }
    if (index == kDelay) {
        long2string(engine.delaySamples.load(kRelaxed), text);
    } else if (index == kVolume) {
        dB2string(parameters[kVolume].load(kRelaxed), text);
    } else {
        float2string(getParameter(index), text);
    }
}

bool ADelay::getEffectName(char* name) {
    if (!name) {
        return false;
    }
    copyText(name, "Pevo", kVstMaxEffectNameLen);
    return true;
}

bool ADelay::getVendorString(char* text) {
    if (!text) {
        return false;
    }
    copyText(text, "Quellmark", kVstMaxVendorStrLen);
    return true;
}

bool ADelay::getProductString(char* text) {
    if (!text) {
        return false;
    }
    copyText(text, "Pevo level meter", kVstMaxProductStrLen);
    return true;
}

VstInt32 ADelay::getVendorVersion() {
    return 1000;
}

VstInt32 ADelay::getPlugCategory() {
    return kPlugCategEffect;
}

void ADelay::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
    // No buffer is read for no frames: an empty block publishes even without buffers.
    if (sampleFrames < 0 || (sampleFrames > 0 && !hasBuffers(inputs, outputs))) {
        return;
    }
    engine.applyPending();
    if (sampleFrames > 0) {
        engine.run(inputs, outputs, static_cast<std::uint32_t>(sampleFrames),
                   parameters[kMode].load(kRelaxed));
    }
    publishMeters();
}

void ADelay::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    process(inputs, outputs, sampleFrames);
}

void ADelay::publishMeters() {
    const float gain = parameters[kRmsMode].load(kRelaxed) > kSquareRmsAbove ? 1.0f : kSqrt2;
    float values[MeterEngine::kMeters];
    if (!metersShown()) {
        // Left as the six calls below would leave them, without channel 0's conversions.
        engine.meterValues(gain, values, false);
        storeMeter(kRmsLevel, values[1]);
        storeMeter(kPeakLevel, values[3]);
        storeMeter(kHoldLevel, values[5]);
        return;
    }
    engine.meterValues(gain, values, true);
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
    setParameter(kHoldLevel, 0.0f);
    setParameter(kHoldLevel, 1.0f);
    setParameter(kPeakLevel, 0.0f);
    setParameter(kPeakLevel, 1.0f);
    setParameter(kRmsLevel, 0.0f);
    setParameter(kRmsLevel, 1.0f);
}
