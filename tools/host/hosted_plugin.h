// One instance of a VST 2 plug-in, driven through its record the way a host does.
#pragma once

#include <memory>
#include <string>

#include "plugin/vst2.h"
#include "tools/host/stereo_processor.h"
#include "tools/hostsupport/plugin_library.h"

class HostedPlugin : public StereoProcessor {
  public:
    /// The VST version this host answers to the plug-in's version query.
    static constexpr VstIntPtr kHostVersion = 2400;

    /// What the host callback reports to every instance: set before loading one, since
    /// plug-ins ask for the rate while they are being made.
    static void setHostTiming(float sampleRate, VstInt32 blockSize);

    /// Makes one instance through the library's entry point and checks its record. Null on
    /// failure, with the reason in `error`.
    static std::unique_ptr<HostedPlugin> load(std::shared_ptr<PluginLibrary> library,
                                              std::string& error);
    /// Switches the instance off if it runs, then closes it.
    ~HostedPlugin() override;
    HostedPlugin(const HostedPlugin&) = delete;
    HostedPlugin& operator=(const HostedPlugin&) = delete;

    /// The set-up requests hosts send before audio: open, sample rate, block size.
    void prepare(float sampleRate, VstInt32 blockSize);
    /// Switches processing on or off (effMainsChanged).
    void switchOn(bool on);

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    /// The text a request writes into a buffer of `size` bytes.
    std::string text(VstInt32 opcode, VstInt32 index, std::size_t size);
    void setParameter(VstInt32 index, float value);
    float getParameter(VstInt32 index);
    std::string parameterName(VstInt32 index);
    std::string parameterLabel(VstInt32 index);
    std::string parameterDisplay(VstInt32 index);
    /// Replacing processing where the plug-in offers it; otherwise the accumulating call on
    /// cleared outputs.
    void process(float** inputs, float** outputs, VstInt32 frames);
    void process(float* left, float* right, float* outLeft, float* outRight, int frames) override;

    const AEffect& record() const { return *effect; }

  private:
    HostedPlugin(std::shared_ptr<PluginLibrary> library, AEffect* effect)
        : library(std::move(library)), effect(effect) {}
    static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                              void* ptr, float opt);

    std::shared_ptr<PluginLibrary> library;  ///< kept loaded while the instance lives
    AEffect* effect;
    bool running = false;
};
