// One product's VST 2 effect, hosted inside an LV2 instance as a VST 2 host drives it:
// through its record and dispatcher only. Answers the effect's requests to its host.
#pragma once

#include <cstdint>

#include "plugin/vst2.h"

struct PanelDataPiece;

class HostedEffect {
  public:
    /// What a product hands out: its effect's record, or null when none could be made.
    using Create = AEffect* (*)(audioMasterCallback host);

    /// Makes, opens and sets up the effect for `sampleRate` and blocks of up to `blockSize`
    /// frames; `valid()` tells whether it could.
    HostedEffect(Create create, float sampleRate, VstInt32 blockSize);
    /// Switches the effect off if it runs, then closes it.
    ~HostedEffect();
    HostedEffect(const HostedEffect&) = delete;
    HostedEffect& operator=(const HostedEffect&) = delete;

    bool valid() const { return effect != nullptr; }
    /// Switches processing on or off (effMainsChanged); twice the same changes nothing.
    void switchOn(bool on);
    /// Replacing processing of two channels; inputs and outputs may be the same buffers.
    void process(float** inputs, float** outputs, std::uint32_t frames);
    void setParameter(VstInt32 index, float value);
    float getParameter(VstInt32 index);
    /// The effect's next piece of panel data (plugin/panel_data.h); false for none.
    bool panelData(PanelDataPiece& piece);
    /// What the effect's time requests are answered with from now on; null: no time.
    void answerTimeWith(const VstTimeInfo* time) { timeInfo = time; }

  private:
    static VstIntPtr answerEffect(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                  void* ptr, float opt);
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);

    AEffect* effect = nullptr;
    float sampleRate;
    VstInt32 blockSize;
    const VstTimeInfo* timeInfo = nullptr;
    bool running = false;
};
