// How every product makes its effect for a host: the VST 2 entry point and the format
// adapters alike.
#pragma once

#include "plugin/plugin_module.h"
#include "plugin/vst2.h"

/// What VSTPluginMain does, over the product's `Effect`: a record, or null for a host that
/// cannot drive a VST 2 effect and for any failure, allocation included.
template <typename Effect>
AEffect* createEffect(audioMasterCallback audioMaster) {
    // Nothing may escape to the host: every failure answers null.
    try {
        // A host that gives no callback, or does not answer the version query, cannot
        // drive a VST 2 effect.
        if (!audioMaster || audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
            return nullptr;
        }
        auto* effect = new Effect(audioMaster);
        if (PluginModule::outOfMemory()) {
            delete effect;  // an effect without its editor is not handed out
            return nullptr;
        }
        return effect->getAeffect();
    } catch (...) {
        return nullptr;
    }
}
