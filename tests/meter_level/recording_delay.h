// A meter effect under test: a minimal host that answers the version and the sample rate,
// and a record of every parameter value the effect publishes.
#pragma once

#include <vector>

#include "meter_level/adelay.h"

inline float& hostSampleRate() {
    static float rate = 44100.0f;
    return rate;
}

inline VstIntPtr testHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    if (opcode == audioMasterVersion) {
        return 2400;
    }
    return opcode == audioMasterGetSampleRate ? static_cast<VstIntPtr>(hostSampleRate()) : 0;
}

class RecordingDelay : public ADelay {
  public:
    struct Call {
        VstInt32 index;
        float value;
    };

    explicit RecordingDelay(float sampleRate = 44100.0f) : ADelay(withRate(sampleRate)) {}

    /// Every block's six values come through setParameter unless switched off.
    bool metersShown() override { return showsMeters; }

    void setParameter(VstInt32 index, float value) override {
        calls.push_back({index, value});
        ADelay::setParameter(index, value);
    }

    /// Runs one block of `left` and `right` through the effect; answers the six values.
    std::vector<float> run(std::vector<float> left, std::vector<float> right) {
        std::vector<float> outLeft(left.size());
        std::vector<float> outRight(right.size());
        float* inputs[] = {left.data(), right.data()};
        float* outputs[] = {outLeft.data(), outRight.data()};
        calls.clear();
        process(inputs, outputs, static_cast<VstInt32>(left.size()));
        std::vector<float> values;
        for (const Call& call : calls) {
            values.push_back(call.value);
        }
        return values;
    }

    std::vector<Call> calls;
    bool showsMeters = true;

  private:
    static audioMasterCallback withRate(float sampleRate) {
        hostSampleRate() = sampleRate;
        return testHost;
    }
};
