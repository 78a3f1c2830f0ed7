// One instance of a VST 2 plug-in, driven through its record the way a host does.
#pragma once

#include <memory>
#include <string>

#include "gui/native/plugin_library.h"
#include "plugin/vst2.h"

/// A published meter value decoded: channel + 0.5 x level, level 0..1 for -40..0 dBFS.
struct MeterReading {
    int channel;
    float dBFS;  ///< -40 at the bottom of the scale
};
MeterReading decodeMeter(float value);

class HostedPlugin {
  public:
    static constexpr float kSampleRate = 44100.0f;

    /// Null (with a message on stderr) when the library or an instance can't be made.
    static std::unique_ptr<HostedPlugin> load(std::shared_ptr<PluginLibrary> library);
    ~HostedPlugin();
    HostedPlugin(const HostedPlugin&) = delete;
    HostedPlugin& operator=(const HostedPlugin&) = delete;

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    /// The text a request writes into a buffer of `size` bytes.
    std::string text(VstInt32 opcode, VstInt32 index, std::size_t size);
    void setParameter(VstInt32 index, float value);
    float getParameter(VstInt32 index);
    void process(float** inputs, float** outputs, VstInt32 frames);

    const AEffect& record() const { return *effect; }
    /// Identity, parameter table and program names, as text for the console.
    std::string describe();

  private:
    HostedPlugin(std::shared_ptr<PluginLibrary> library, AEffect* effect)
        : library(std::move(library)), effect(effect) {}
    static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                              void* ptr, float opt);

    std::shared_ptr<PluginLibrary> library;  ///< kept loaded while the instance lives
    AEffect* effect;
};
