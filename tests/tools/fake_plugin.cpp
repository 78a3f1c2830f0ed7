// Plug-ins that go wrong in the ways the bundled host must report, chosen by the
// environment variable PEVO_FAKE_PLUGIN:
//   null       the entry point returns no effect
//   magic      the record does not carry the VST 2 magic number
//   mono       one input and one output
//   plain      two inputs and outputs, no meter parameters, and a name far beyond the
//              32 bytes hosts give for it
//   interrupt  a meter that is interrupted (SIGINT) in its third block
//   halve      a meter whose outputs are its inputs at half their level
//   published  a plug-in of its own kind: a reading, "Count" (blocks processed), that hosts
//              may not automate, a switch "Colour" (Red, Green, Blue) and a level "Depth"
//              shown from 10 ms down to 0 ms
// Built without PEVO_FAKE_ENTRY it exports no entry point at all.
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "plugin/vst2.h"

namespace {

constexpr const char* kMeterNames[] = {"Delay",  "RMS level", "Peak level", "Hold level",
                                       "Volume", "Mode",      "Resp",       "RMS Mode"};

constexpr int kLongName = 200;

constexpr const char* kPublishedNames[] = {"Count", "Colour", "Depth"};
constexpr const char* kPublishedLabels[] = {"blocks", "", "ms"};
constexpr const char* kColours[] = {"Red", "Green", "Blue"};

struct FakeEffect {
    AEffect record{};
    bool meter = false;
    bool interrupts = false;
    bool published = false;
    float gain = 1.0f;
    int blocks = 0;
    float values[3] = {};
};

FakeEffect* fake(AEffect* effect) {
    return static_cast<FakeEffect*>(effect->object);
}

/// Names, labels and texts of the "published" plug-in's parameters.
VstIntPtr describePublished(const FakeEffect& effect, VstInt32 opcode, VstInt32 index, char* text) {
    const float value = effect.values[index];
    switch (opcode) {
        case effCanBeAutomated:
            return index == 0 ? 0 : 1;
        case effGetParamName:
            std::strcpy(text, kPublishedNames[index]);
            return 0;
        case effGetParamLabel:
            std::strcpy(text, kPublishedLabels[index]);
            return 0;
        case effGetParamDisplay:
            if (index == 0) {
                std::snprintf(text, kVstMaxLabelLen, "%d", effect.blocks);
            } else if (index == 1) {
                std::strcpy(text, kColours[static_cast<int>(std::lround(value * 2.0f))]);
            } else {
                std::snprintf(text, kVstMaxLabelLen, "%.1f", 10.0 - 10.0 * value);
            }
            return 0;
        default:
            return 0;
    }
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
    if (fake(effect)->published && index >= 0 && index < 3) {
        return describePublished(*fake(effect), opcode, index, static_cast<char*>(ptr));
    }
    return 0;
}

void processReplacing(AEffect* effect, float** inputs, float** outputs, VstInt32 frames) {
    for (VstInt32 c = 0; c < effect->numOutputs; ++c) {
        for (VstInt32 i = 0; i < frames; ++i) {
            outputs[c][i] = inputs[c][i] * fake(effect)->gain;
        }
    }
    if (++fake(effect)->blocks == 3 && fake(effect)->interrupts) {
        std::raise(SIGINT);
    }
}

void setParameter(AEffect* effect, VstInt32 index, float value) {
    if (index >= 1 && index < 3) {
        fake(effect)->values[index] = value;
    }
}

float getParameter(AEffect* effect, VstInt32 index) {
    return fake(effect)->published && index >= 0 && index < 3 ? fake(effect)->values[index] : 1.0f;
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
    effect->published = behaviour == "published";
    effect->gain = behaviour == "halve" ? 0.5f : 1.0f;
    record.numParams = effect->meter ? 8 : (effect->published ? 3 : 0);
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
