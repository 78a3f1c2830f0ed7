// A host for the plug-in under test: loads the library named by PEVO_PLUGIN, answers the
// plug-in's requests and records them, and drives instances only through their records.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "plugin/vst2.h"

/// Flags the delivered plug-in announces: editor, VU, mono and replacing processing.
constexpr VstInt32 kExpectedFlags =
    effFlagsHasEditor | effFlagsHasVu | effFlagsCanMono | effFlagsCanReplacing;

class TestHost {
  public:
    struct Call {
        AEffect* effect;
        VstInt32 opcode;
        VstInt32 index;
        VstIntPtr value;
        float opt;
    };

    TestHost();
    ~TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    /// The plug-in's exported function `symbol`, null if missing or the library won't load.
    static VstPluginMainProc entry(const char* symbol = "VSTPluginMain");
    /// The callback handed to the plug-in; it reaches the one live TestHost.
    static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                              void* ptr, float opt);

    int count(VstInt32 opcode) const;

    VstIntPtr versionAnswer = 2400;
    VstIntPtr sampleRateAnswer = 44100;
    /// The answer to the time request: the host's time record, or none.
    VstTimeInfo* timeAnswer = nullptr;
    VstIntPtr processLevelAnswer = 0;
    std::vector<Call> calls;
    /// Runs on every request, after it is recorded, on the plug-in's calling thread.
    std::function<void(const Call&)> onCall;

  private:
    static TestHost* active;
};

/// Two channels of audio buffers for one block.
struct StereoBlock {
    explicit StereoBlock(int frames);
    StereoBlock(const StereoBlock& other);
    StereoBlock& operator=(const StereoBlock&) = delete;
    void fill(float left, float right);

    int frames;
    std::vector<float> input[2];
    std::vector<float> output[2];
    float* inputs[2];
    float* outputs[2];

  private:
    void bind();
};

constexpr const char* kUntouched = "<untouched>";

/// One effect instance, reached only through its record; closed when destroyed.
class PluginInstance {
  public:
    /// Null when the entry point refuses.
    static std::unique_ptr<PluginInstance> create(const char* symbol = "VSTPluginMain");
    ~PluginInstance();

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    /// Runs a text request into a buffer of `size` bytes (plus guard bytes that must stay
    /// untouched) and returns the text, or kUntouched when nothing was written.
    std::string text(VstInt32 opcode, VstInt32 index, std::size_t size, VstIntPtr value = 0);
    void setParameter(VstInt32 index, float value);
    float getParameter(VstInt32 index);
    /// Processes one block through processReplacing, or through process when asked.
    void process(StereoBlock& block, bool accumulating = false);
    /// Sends effClose and answers its result; the instance is gone afterwards.
    VstIntPtr close();

    AEffect* record;

  private:
    explicit PluginInstance(AEffect* record) : record(record) {}
};
