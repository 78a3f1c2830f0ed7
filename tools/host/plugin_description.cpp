#include "tools/host/plugin_description.h"

#include <algorithm>
#include <cstdio>

#include "tools/host/meter_pair.h"
#include "tools/host/pevo_switches.h"

namespace {

struct FlagWord {
    VstInt32 bit;
    const char* words;
};

constexpr FlagWord kFlagWords[] = {
    {effFlagsHasEditor, "has editor"},
    {effFlagsHasClip, "has clip"},
    {effFlagsHasVu, "has VU"},
    {effFlagsCanMono, "can mono"},
    {effFlagsCanReplacing, "can replace"},
    {effFlagsProgramChunks, "program chunks"},
    {effFlagsIsSynth, "is synth"},
    {effFlagsNoSoundInStop, "no sound in stop"},
    {effFlagsExtIsAsync, "async extension"},
    {effFlagsExtHasBuffer, "external buffer"},
};

std::string categoryText(VstIntPtr category) {
    switch (category) {
        case kPlugCategUnknown:
            return "unknown (0)";
        case kPlugCategEffect:
            return "effect (1)";
        default:
            return "category " + std::to_string(category);
    }
}

}  // namespace

std::string fourCharacters(VstInt32 id) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const int c = (static_cast<unsigned>(id) >> shift) & 0xff;
        text += (c >= 0x20 && c < 0x7f) ? static_cast<char>(c) : '?';
    }
    return text;
}

std::string flagWords(VstInt32 flags) {
    std::string words;
    VstInt32 rest = flags;
    for (const FlagWord& flag : kFlagWords) {
        if (flags & flag.bit) {
            words += (words.empty() ? "" : ", ") + std::string(flag.words);
            rest &= ~flag.bit;
        }
    }
    if (rest != 0) {
        char text[32];
        std::snprintf(text, sizeof(text), "other bits 0x%x", static_cast<unsigned>(rest));
        words += (words.empty() ? "" : ", ") + std::string(text);
    }
    return words.empty() ? "none" : words;
}

std::string describeIdentity(HostedPlugin& plugin, const std::string& path) {
    const AEffect& record = plugin.record();
    char line[200];
    std::string out = "Plug-in   " + path + "\n";
    out += "Name      " + plugin.text(effGetEffectName, 0, kVstMaxEffectNameLen) + "\n";
    out += "Product   " + plugin.text(effGetProductString, 0, kVstMaxProductStrLen) + "\n";
    std::snprintf(line, sizeof(line), "Vendor    %s, version %ld\n",
                  plugin.text(effGetVendorString, 0, kVstMaxVendorStrLen).c_str(),
                  static_cast<long>(plugin.dispatch(effGetVendorVersion)));
    out += line;
    std::snprintf(line, sizeof(line), "VST       %ld, unique ID '%s' (0x%08x)\n",
                  static_cast<long>(plugin.dispatch(effGetVstVersion)),
                  fourCharacters(record.uniqueID).c_str(), static_cast<unsigned>(record.uniqueID));
    out += line;
    out += "Category  " + categoryText(plugin.dispatch(effGetPlugCategory)) + "\n";
    std::snprintf(line, sizeof(line), "Audio     %d inputs, %d outputs\n", record.numInputs,
                  record.numOutputs);
    out += line;
    std::snprintf(line, sizeof(line), "Flags     %s (%d)\n", flagWords(record.flags).c_str(),
                  record.flags);
    out += line;
    return out;
}

std::string describeParameters(HostedPlugin& plugin) {
    const bool meter = isMeterPlugin(plugin);
    int width = 10;
    for (VstInt32 index = 0; index < plugin.record().numParams; ++index) {
        width = std::max(width, static_cast<int>(plugin.parameterName(index).size()));
    }
    char line[400];
    std::snprintf(line, sizeof(line), "\nParameters\n  index  %-*s  value      label     display\n",
                  width, "name");
    std::string out = line;
    for (VstInt32 index = 0; index < plugin.record().numParams; ++index) {
        const std::string name = plugin.parameterName(index);
        const float value = plugin.getParameter(index);
        const std::string words = meter ? PevoSwitches::words(name, value) : "";
        std::snprintf(line, sizeof(line), "  %5d  %-*s  %-9.6f  %-8s  \"%s\"%s\n", index, width,
                      name.c_str(), value, plugin.parameterLabel(index).c_str(),
                      plugin.parameterDisplay(index).c_str(),
                      words.empty() ? "" : (" = " + words).c_str());
        out += line;
    }
    return out;
}

std::string describePrograms(HostedPlugin& plugin) {
    const VstInt32 count = plugin.record().numPrograms;
    std::string out = "\nPrograms (" + std::to_string(count) + ")";
    for (VstInt32 index = 0; index < count; ++index) {
        out += (index % 8 == 0) ? "\n  " : ", ";
        out += std::to_string(index) + " " +
               plugin.text(effGetProgramNameIndexed, index, kVstMaxProgNameLen);
    }
    out += "\n  current: " + std::to_string(plugin.dispatch(effGetProgram)) + " \"" +
           plugin.text(effGetProgramName, 0, kVstMaxProgNameLen) + "\"\n";
    return out;
}
