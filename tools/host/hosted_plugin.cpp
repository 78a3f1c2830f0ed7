#include "tools/host/hosted_plugin.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

/// Text buffers are this long at least: plug-ins that write past the nominal sizes are
/// common, and must not write past our buffer.
constexpr std::size_t kTextRoom = 256;

float hostSampleRate = 44100.0f;
VstInt32 hostBlockSize = 512;

}  // namespace

void HostedPlugin::setHostTiming(float sampleRate, VstInt32 blockSize) {
    hostSampleRate = sampleRate;
    hostBlockSize = blockSize;
}

std::unique_ptr<HostedPlugin> HostedPlugin::load(std::shared_ptr<PluginLibrary> library,
                                                 std::string& error) {
    VstPluginMainProc entry = library->entry("VSTPluginMain");
    if (!entry) {
        entry = library->entry("main");
    }
    if (!entry) {
        error = "the library exports no VST 2 entry point (VSTPluginMain or main)";
        return nullptr;
    }
    AEffect* effect = entry(callback);
    if (!effect) {
        error =
            "the plug-in refused to start: its entry point returned no effect to a host "
            "of VST version " +
            std::to_string(kHostVersion);
        return nullptr;
    }
    if (effect->magic != kEffectMagic) {
        char text[96];
        std::snprintf(text, sizeof(text),
                      "the entry point returned no VST 2 effect record (magic 0x%08x, not 'VstP')",
                      static_cast<unsigned>(effect->magic));
        error = text;
        return nullptr;  // not a record we may call into, not even to close it
    }
    return std::unique_ptr<HostedPlugin>(new HostedPlugin(std::move(library), effect));
}

HostedPlugin::~HostedPlugin() {
    if (running) {
        switchOn(false);
    }
    dispatch(effClose);
}

VstIntPtr HostedPlugin::callback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    switch (opcode) {
        case audioMasterVersion:
            return kHostVersion;
        case audioMasterGetSampleRate:
            return static_cast<VstIntPtr>(hostSampleRate);
        case audioMasterGetBlockSize:
            return hostBlockSize;
        default:
            return 0;
    }
}

void HostedPlugin::prepare(float sampleRate, VstInt32 blockSize) {
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effSetBlockSize, 0, blockSize);
}

void HostedPlugin::switchOn(bool on) {
    dispatch(effMainsChanged, 0, on ? 1 : 0);
    running = on;
}

VstIntPtr HostedPlugin::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string HostedPlugin::text(VstInt32 opcode, VstInt32 index, std::size_t size) {
    // One spare byte keeps even an overlong text terminated.
    std::vector<char> buffer(std::max(size, kTextRoom) + 1, '\0');
    dispatch(opcode, index, 0, buffer.data());
    return buffer.data();
}

void HostedPlugin::setParameter(VstInt32 index, float value) {
    effect->setParameter(effect, index, value);
}

float HostedPlugin::getParameter(VstInt32 index) {
    return effect->getParameter(effect, index);
}

std::string HostedPlugin::parameterName(VstInt32 index) {
    return text(effGetParamName, index, kVstMaxParamNameLen);
}

std::string HostedPlugin::parameterLabel(VstInt32 index) {
    return text(effGetParamLabel, index, kVstMaxLabelLen);
}

std::string HostedPlugin::parameterDisplay(VstInt32 index) {
    return text(effGetParamDisplay, index, kVstMaxLabelLen);
}

void HostedPlugin::process(float** inputs, float** outputs, VstInt32 frames) {
    if ((effect->flags & effFlagsCanReplacing) && effect->processReplacing) {
        effect->processReplacing(effect, inputs, outputs, frames);
        return;
    }
    for (VstInt32 c = 0; c < effect->numOutputs; ++c) {
        std::fill(outputs[c], outputs[c] + frames, 0.0f);
    }
    if (effect->process) {
        effect->process(effect, inputs, outputs, frames);
    }
}

void HostedPlugin::process(float* left, float* right, float* outLeft, float* outRight, int frames) {
    float* inputs[] = {left, right};
    float* outputs[] = {outLeft, outRight};
    process(inputs, outputs, frames);
}
