#include "tools/host/hosted_plugin.h"

#include <cstdio>
#include <vector>

MeterReading decodeMeter(float value) {
    const int channel = static_cast<int>(value);
    const float level = (value - static_cast<float>(channel)) * 2.0f;
    return {channel, level * 40.0f - 40.0f};
}

std::unique_ptr<HostedPlugin> HostedPlugin::load(std::shared_ptr<PluginLibrary> library) {
    VstPluginMainProc entry = library->entry("VSTPluginMain");
    if (!entry) {
        entry = library->entry("main");
    }
    if (!entry) {
        std::fprintf(stderr, "pevo-host: the library exports no VST 2 entry point\n");
        return nullptr;
    }
    AEffect* effect = entry(callback);
    if (!effect || effect->magic != kEffectMagic) {
        std::fprintf(stderr, "pevo-host: the plug-in made no effect\n");
        return nullptr;
    }
    return std::unique_ptr<HostedPlugin>(new HostedPlugin(std::move(library), effect));
}

HostedPlugin::~HostedPlugin() {
    dispatch(effClose);
}

VstIntPtr HostedPlugin::callback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    switch (opcode) {
        case audioMasterVersion:
            return 2400;
        case audioMasterGetSampleRate:
            return static_cast<VstIntPtr>(kSampleRate);
        default:
            return 0;
    }
}

VstIntPtr HostedPlugin::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string HostedPlugin::text(VstInt32 opcode, VstInt32 index, std::size_t size) {
    std::vector<char> buffer(size + 1, '\0');  // one spare byte keeps even a bad text terminated
    dispatch(opcode, index, 0, buffer.data());
    return buffer.data();
}

void HostedPlugin::setParameter(VstInt32 index, float value) {
    effect->setParameter(effect, index, value);
}

float HostedPlugin::getParameter(VstInt32 index) {
    return effect->getParameter(effect, index);
}

void HostedPlugin::process(float** inputs, float** outputs, VstInt32 frames) {
    effect->processReplacing(effect, inputs, outputs, frames);
}

std::string HostedPlugin::describe() {
    std::string out;
    char line[160];
    const VstInt32 id = effect->uniqueID;
    std::snprintf(line, sizeof(line),
                  "%s (%s), effect \"%s\", vendor version %ld, VST %ld, unique ID '%c%c%c%c'\n",
                  text(effGetProductString, 0, kVstMaxProductStrLen).c_str(),
                  text(effGetVendorString, 0, kVstMaxVendorStrLen).c_str(),
                  text(effGetEffectName, 0, kVstMaxEffectNameLen).c_str(),
                  static_cast<long>(dispatch(effGetVendorVersion)),
                  static_cast<long>(dispatch(effGetVstVersion)), (id >> 24) & 0xff,
                  (id >> 16) & 0xff, (id >> 8) & 0xff, id & 0xff);
    out += line;
    std::snprintf(line, sizeof(line),
                  "%d programs, %d parameters, %d inputs, %d outputs, flags %d, category %ld\n",
                  effect->numPrograms, effect->numParams, effect->numInputs, effect->numOutputs,
                  effect->flags, static_cast<long>(dispatch(effGetPlugCategory)));
    out += line;

    out += "\n index  name        label     display\n";
    for (VstInt32 index = 0; index < effect->numParams; ++index) {
        std::snprintf(line, sizeof(line), " %5d  %-10s  %-8s  \"%s\"\n", index,
                      text(effGetParamName, index, kVstMaxParamNameLen).c_str(),
                      text(effGetParamLabel, index, kVstMaxLabelLen).c_str(),
                      text(effGetParamDisplay, index, kVstMaxLabelLen).c_str());
        out += line;
    }

    out += "\n programs:";
    for (VstInt32 index = 0; index < effect->numPrograms; ++index) {
        out += (index % 8 == 0) ? "\n  " : ", ";
        out += text(effGetProgramNameIndexed, index, kVstMaxProgNameLen);
    }
    out += "\n current program: \"" + text(effGetProgramName, 0, kVstMaxProgNameLen) + "\"\n";
    return out;
}
