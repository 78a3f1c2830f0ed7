// Plug-ins that go wrong in the ways the bundled host must report, chosen by the
// environment variable PEVO_FAKE_PLUGIN:
//   null       the entry point returns no effect
//   magic      the record does not carry the VST 2 magic number
//   mono       one input and one output
//   plain      two inputs and outputs, no meter parameters, and a name far beyond the
//              32 bytes hosts give for it
//   interrupt  a meter that is interrupted (SIGINT) in its third block
//   halve      a meter whose outputs are its inputs at half their level
// Built without PEVO_FAKE_ENTRY it exports no entry point at all.
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

#include "plugin/vst2.h"

namespace {

constexpr const char* kMeterNames[] = {"Delay",  "RMS level", "Peak level", "Hold level",
                                       "Volume", "Mode",      "Resp",       "RMS Mode"};

constexpr int kLongName = 200;

struct FakeEffect {
    AEffect record{};
    bool meter = false;
    bool interrupts = false;
    float gain = 1.0f;
    int blocks = 0;
};

FakeEffect* fake(AEffect* effect) {
    return static_cast<FakeEffect*>(effect->object);
}

VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr, void* ptr, float) {
    if (opcode == effClose) {
        delete fake(effect);
        return 1;
    }
    if (opcode == effGetEffectName && !fake(effect)->meter) {
        std::memset(ptr, 'x', kLongName);
        static_cast<char*>(ptr)[kLongName] = '\0';
    }
    if (opcode == effGetParamName && fake(effect)->meter && index >= 0 && index < 8) {
        std::strcpy(static_cast<char*>(ptr), kMeterNames[index]);
    }
    return 0;
}

void processReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
    for (VstInt32 c = 0; c < effect->numOutputs; ++c) {
        for (VstInt32 i = 0; i < frames; ++i) {
            outputs[c][i] = inputs[c][i] * fake(effect)->gain;
        }
    }
    if (fake(effect)->interrupts && ++fake(effect)->blocks == 3) {
        std::raise(SIGINT);
    }
}

void setParameter(AEffect*, VstInt32, float) {}

float getParameter(AEffect*, VstInt32) {
    return 1.0f;
}

AEffect* makeEffect(const std::string& behaviour) {
    auto* effect = new FakeEffect;
    AEffect& record = effect->record;
    record.magic = behaviour == "magic" ? 0 : kEffectMagic;
    record.dispatcher = dispatch;
    record.processReplacing = processReplacing;
    record.setParameter = setParameter;
    record.getParameter = getParameter;
    record.numInputs = behaviour == "mono" ? 1 : 2;
    record.numOutputs = record.numInputs;
    record.flags = effFlagsCanReplacing;
    record.object = effect;
    effect->meter = behaviour == "interrupt" || behaviour == "halve";
    effect->interrupts = behaviour == "interrupt";
    effect->gain = behaviour == "halve" ? 0.5f : 1.0f;
    record.numParams = effect->meter ? 8 : 0;
    return &record;
}

}  // namespace

#ifdef PEVO_FAKE_ENTRY
extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback) {
    const char* behaviour = std::getenv("PEVO_FAKE_PLUGIN");
    if (!behaviour || std::strcmp(behaviour, "null") == 0) {
        return nullptr;
    }
    return makeEffect(behaviour);
}
#else
extern "C" __attribute__((visibility("default"))) AEffect* notAnEntryPoint() {
    return makeEffect("plain");
}
#endif
