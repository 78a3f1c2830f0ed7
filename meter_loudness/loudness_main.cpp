// The loudness meter library's entry point: the same contract as Pevo's, over the
// loudness meter effect.
#include "editor/vst_main.h"
#include "meter_loudness/loudness_effect.h"
#include "plugin/plugin_module.h"

AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
    // Nothing may escape to the host: every failure, allocation included, answers null.
    try {
        if (!audioMaster || audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) {
            return nullptr;
        }
        auto* effect = new LoudnessEffect(audioMaster);
        if (PluginModule::outOfMemory()) {
            delete effect;  // an effect without its editor is not handed out
            return nullptr;
        }
        return effect->getAeffect();
    } catch (...) {
        return nullptr;
    }
}
