// The VST 2 build of a product, for comparing the LV2 plug-in's readings with: its plug-in
// library loaded from the build, one effect driven through its record at one rate.
#pragma once

#include <memory>

#include "plugin/vst2.h"
#include "tools/hostsupport/plugin_library.h"

class Vst2Reference {
  public:
    /// The effect of whichever of the build's VST 2 libraries (PEVO_VST2_LIBRARIES, separated
    /// by ':') has the unique ID `uniqueId`; `valid()` is false when none has.
    Vst2Reference(VstInt32 uniqueId, float sampleRate);
    ~Vst2Reference();
    Vst2Reference(const Vst2Reference&) = delete;
    Vst2Reference& operator=(const Vst2Reference&) = delete;

    bool valid() const { return effect != nullptr; }
    void setParameter(VstInt32 index, float value);
    float getParameter(VstInt32 index);
    void process(float* const* inputs, float* const* outputs, VstInt32 frames);

  private:
    static VstIntPtr answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                            void* ptr, float opt);

    std::unique_ptr<PluginLibrary> library;
    AEffect* effect = nullptr;
};
