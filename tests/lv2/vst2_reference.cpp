#include "tests/lv2/vst2_reference.h"

#include <sstream>
#include <string>

Vst2Reference::Vst2Reference(VstInt32 uniqueId, float sampleRate) {
    std::istringstream list(PEVO_VST2_LIBRARIES);
    for (std::string path; std::getline(list, path, ':');) {
        library = PluginLibrary::open(path);
        const VstPluginMainProc entry = library ? library->entry("VSTPluginMain") : nullptr;
        effect = entry ? entry(&Vst2Reference::answer) : nullptr;
        if (effect && effect->uniqueID == uniqueId) {
            break;
        }
        if (effect) {
            effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
            effect = nullptr;
        }
    }
    if (effect) {
        effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
        effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, sampleRate);
        effect->dispatcher(effect, effSetBlockSize, 0, 4096, nullptr, 0.0f);
        effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    }
}

Vst2Reference::~Vst2Reference() {
    if (effect) {
        effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    }
}

void Vst2Reference::setParameter(VstInt32 index, float value) {
    effect->setParameter(effect, index, value);
}

float Vst2Reference::getParameter(VstInt32 index) {
    return effect->getParameter(effect, index);
}

void Vst2Reference::process(float* const* inputs, float* const* outputs, VstInt32 frames) {
    effect->processReplacing(effect, const_cast<float**>(inputs), const_cast<float**>(outputs),
                             frames);
}

VstIntPtr Vst2Reference::answer(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}
