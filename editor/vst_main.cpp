#include "editor/vst_main.h"

#include "editor/adelay_edit.h"
#include "plugin/plugin_module.h"

AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
    // Nothing may escape to the host: every failure, allocation included, answers null.
    try {
        // A host that gives no callback, or does not answer the version query, cannot
        // drive a VST 2 effect.
        if (!audioMaster || audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
            return nullptr;
        }
        auto* effect = new ADelayEdit(audioMaster);
        if (PluginModule::outOfMemory()) {
            delete effect;  // an effect without its editor is not handed out
            return nullptr;
        }
        return effect->getAeffect();
    } catch (...) {
        return nullptr;
    }
}
