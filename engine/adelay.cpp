#include "engine/adelay.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr std::memory_order kRelaxed = std::memory_order_relaxed;

constexpr const char* kParameterNames[ADelay::kNumParams] = {
    "Delay", "RMS level", "Peak level", "Hold level", "Volume", "Mode", "Resp", "RMS Mode"};
constexpr const char* kParameterLabels[ADelay::kNumParams] = {
    "samples", "apples", "apples", "apples", "dB", "", "", ""};

/// Gain that makes a sine's RMS reading equal its peak.
constexpr float kSqrt2 = 1.41421354f;

bool isParameter(VstInt32 index) {
    return index >= 0 && index < ADelay::kNumParams;
}

}  // namespace

ADelay::ADelay(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, kNumPrograms, kNumParams),
      programs(std::make_unique<EffectProgram[]>(kNumPrograms)) {
    setProgram(0);
    setNumInputs(kNumChannels);
    setNumOutputs(kNumChannels);
    canMono(true);
    hasVu(true);
    canProcessReplacing(true);

    engine.createDetectors();
    updateSampleRate();
    setSampleRate(getSampleRate());
    engine.sizeBuffers(getSampleRate());
    resume();
    // No block can run before the constructor returns, so the set-up is carried out now.
    engine.applyPending();
}

ADelay::~ADelay() = default;

void ADelay::setParameter(VstInt32 index, float value) {
    storeParameter(index, value);
}

void ADelay::applySetting(VstInt32 index, float value) {
    if (index == kDelay) {
        engine.setDelay(value, getSampleRate());
    } else if (index == kResp) {
        applyResponse();
    }
}

float ADelay::getParameter(VstInt32 index) {
    return isParameter(index) ? parameters[index].load(kRelaxed) : 0.0f;
}

void ADelay::setProgram(VstInt32 program) {
    if (program < 0 || program >= kNumPrograms) {
        return;
    }
    curProgram = program;
    currentProgram.store(program, kRelaxed);
    for (VstInt32 index = 0; index < kNumParams; ++index) {
        setParameter(index, programs[program].values[index].load(kRelaxed));
    }
}

void ADelay::setProgramName(char* name) {
    if (name) {
        copyText(programs[curProgram].name, name, kVstMaxProgNameLen);
    }
}

void ADelay::getProgramName(char* name) {
    if (!name) {
        return;
    }
    const char* stored = programs[curProgram].name;
    if (std::strcmp(stored, "Init") == 0) {
        std::snprintf(name, kVstMaxProgNameLen, "Init %d", static_cast<int>(curProgram + 1));
    } else {
        copyText(name, stored, kVstMaxProgNameLen);
    }
}

bool ADelay::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
    if (index < 0 || index >= kNumPrograms || !text) {
        return false;
    }
    copyText(text, programs[index].name, kVstMaxProgNameLen);
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
        float2string(parameters[index].load(kRelaxed), text);
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
    if (!inputs || !outputs || sampleFrames < 0) {
        return;
    }
    for (VstInt32 c = 0; c < kNumChannels; ++c) {
        if (!inputs[c] || !outputs[c]) {
            return;
        }
    }
    engine.applyPending();
    engine.run(inputs, outputs, static_cast<std::uint32_t>(sampleFrames),
               parameters[kMode].load(kRelaxed));
    publishMeters();
}

void ADelay::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    process(inputs, outputs, sampleFrames);
}

void ADelay::publishMeters() {
    const float gain = parameters[kRmsMode].load(kRelaxed) > 0.5f ? 1.0f : kSqrt2;
    float values[MeterEngine::kMeters];
    engine.meterValues(gain, values);
    setParameter(kRmsLevel, values[0]);
    setParameter(kRmsLevel, values[1]);
    setParameter(kPeakLevel, values[2]);
    setParameter(kPeakLevel, values[3]);
    setParameter(kHoldLevel, values[4]);
    setParameter(kHoldLevel, values[5]);
}

void ADelay::setSampleRate(float newSampleRate) {
    AudioEffectX::setSampleRate(newSampleRate);
    engine.meterSampleRate = getSampleRate();
    engine.requestSetup(engine.meterSampleRate);
    applyResponse();
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

void ADelay::applyResponse() {
    const float resp = parameters[kResp].load(kRelaxed);
    const float holdTime = resp < 0.3f ? 0.0f : (resp < 0.7f ? 1.0f : 3.0f);
    engine.requestTimes(holdTime);
}
