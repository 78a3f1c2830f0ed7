// A minimal effect and a recording host for exercising the base classes directly.
#pragma once

#include <vector>

#include "plugin/audio_effect_x.h"

struct HostCall {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
};

/// Records every request; answers `answer` to opcode `answeredOpcode`, else 0.
struct RecordingHost {
    static RecordingHost* current;
    std::vector<HostCall> calls;
    VstInt32 answeredOpcode = -1;
    VstIntPtr answer = 0;

    RecordingHost() { current = this; }
    ~RecordingHost() { current = nullptr; }
    static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                              void* ptr, float opt);
};

class TestEffect : public AudioEffectX {
  public:
    static constexpr VstInt32 kPrograms = 4;
    static constexpr VstInt32 kParams = 3;

    explicit TestEffect(audioMasterCallback host, int* destroyed = nullptr)
        : AudioEffectX(host, kPrograms, kParams), destroyed(destroyed) {}
    ~TestEffect() override {
        if (destroyed) {
            ++*destroyed;
        }
    }

    void process(float**, float**, VstInt32 sampleFrames) override {
        ++processCalls;
        lastFrames = sampleFrames;
    }
    void setParameter(VstInt32 index, float value) override {
        lastIndex = index;
        lastValue = value;
    }
    float getParameter(VstInt32 index) override { return static_cast<float>(index) * 0.25f; }
    void setSampleRate(float rate) override {
        AudioEffectX::setSampleRate(rate);
        ++sampleRateCalls;
    }
    void suspend() override { ++suspendCalls; }
    void resume() override { ++resumeCalls; }

    int* destroyed;
    int processCalls = 0;
    VstInt32 lastFrames = 0;
    VstInt32 lastIndex = -1;
    float lastValue = 0.0f;
    int sampleRateCalls = 0;
    int suspendCalls = 0;
    int resumeCalls = 0;
};
