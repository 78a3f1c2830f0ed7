// The smallest plug-in a toolkit test can open, drag in and close: an effect whose host
// records every callback, and an editor whose frame fills the editor's rectangle.
#pragma once

#include <functional>
#include <vector>

#include "gui/aeff_gui_editor.h"
#include "gui/frame.h"
#include "plugin/audio_effect_x.h"

struct CHostCall {
    VstInt32 opcode;
    VstInt32 index;
};

class CTestEffect : public AudioEffectX {
  public:
    CTestEffect() : AudioEffectX(&CTestEffect::host, 1, 1) {}
    void process(float**, float**, VstInt32) override {}

    int hostIdles() const {
        int count = 0;
        for (const CHostCall& call : hostCalls) {
            count += call.opcode == audioMasterIdle;
        }
        return count;
    }

    std::vector<CHostCall> hostCalls;
    /// What the host does in the effect's idle callback (a host may do anything there).
    std::function<void()> onHostIdle;
    /// What the host does in any callback, given its opcode.
    std::function<void(VstInt32)> onHostCall;

  private:
    static VstIntPtr host(AEffect* record, VstInt32 opcode, VstInt32 index, VstIntPtr, void*,
                          float) {
        auto* self = static_cast<CTestEffect*>(static_cast<AudioEffect*>(record->object));
        self->hostCalls.push_back({opcode, index});
        // Copies: the host may delete the effect in there.
        if (self->onHostCall) {
            const std::function<void(VstInt32)> hostCall = self->onHostCall;
            hostCall(opcode);
        } else if (opcode == audioMasterIdle && self->onHostIdle) {
            const std::function<void()> hostIdle = self->onHostIdle;
            hostIdle();
        }
        return opcode == audioMasterVersion ? 2400 : 0;
    }
};

/// Builds a frame the size of its rectangle in `open`, as a real editor does.
class CTestEditor : public AEffGUIEditor {
  public:
    CTestEditor(AudioEffect* effect, short width = 100, short height = 60) : AEffGUIEditor(effect) {
        rect = {0, 0, height, width};
    }
    VstInt32 open(void* parent) override {
        AEffGUIEditor::open(parent);
        frame = new CFrame({0, 0, rect.right, rect.bottom}, parent, this);
        return 1;
    }
    void close() override { deleteFrame(); }
    void update() override { ++updates; }

    int updates = 0;
};
