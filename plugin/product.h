// What a plug-in format needs to know of a product, and nothing of any product in particular:
// its identity, its parameters one entry each, and how to make its effect. Each product
// defines one Product in its own folder; the VST 2 effect answers from it, and a format
// adapter hosts the effect that `create` makes through its record and dispatcher, as a VST 2
// host would, and names, shows and parses its parameters from the table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "plugin/vst2.h"

/// Who a product is, in every format's words.
struct ProductIdentity {
    /// What VST 2 hosts list the effect as.
    const char* effectName;
    const char* vendor;
    /// The product's full name.
    const char* productString;
    /// One line on what it does.
    const char* description;
    /// The release, as people read it ("1.0.0"), and as VST 2 reports it (1000).
    const char* versionText;
    VstInt32 vendorVersion;
    VstInt32 vst2UniqueId;
    /// The VST 2 plug-in category (VstPlugCategory).
    VstInt32 vst2Category;
    /// Reverse-domain identifier of the CLAP plug-in.
    const char* clapId;
    /// CLAP feature words, ending with a null entry.
    const char* const* clapFeatures;
    /// The LV2 plug-in's URI and its class in the LV2 vocabulary (e.g. "AnalyserPlugin").
    const char* lv2Uri;
    const char* lv2Class;
    /// Audio channels in and out; the effect passes its input through unchanged.
    std::int32_t inputs;
    std::int32_t outputs;
    std::int32_t programs;
    /// Whether the effect has a panel, and its size in pixels.
    bool hasPanel;
    std::int32_t panelWidth;
    std::int32_t panelHeight;
};

/// What a parameter is to a host.
enum class ParameterKind {
    /// A setting over a range.
    continuous,
    /// A setting with named positions: position k of n is the value k / (n - 1).
    choice,
    /// A setting that acts when set to 0.5 or more (a button).
    trigger,
    /// An output the effect measures: setting it changes nothing for long.
    reading
};

/// What a parameter's text may depend on besides its own value: the effect's sample rate and
/// the values 0..1 of its other parameters, read from wherever the caller keeps them.
struct ParameterContext {
    float sampleRate;
    float (*read)(void* source, std::int32_t index);
    void* source;

    float value(std::int32_t index) const { return read(source, index); }
};

/// One parameter. Every value a format sees is the VST 2 value 0..1 (a reading may go beyond
/// it); `plain` and `valueOf` map it onto the range in the parameter's own unit and back.
struct ParameterInfo {
    const char* name;
    /// The unit of the plain range ("" for none).
    const char* unit;
    /// The label VST 2 shows beside the text, unless `labelFor` gives another.
    const char* label;
    ParameterKind kind;
    /// The positions' names of a choice, `positions` of them; null otherwise.
    const char* const* positionNames;
    std::int32_t positions;
    double minimum;
    double maximum;
    float defaultValue;
    /// Steps between minimum and maximum: positions - 1 for a choice, 0 where continuous.
    std::int32_t steps;
    bool automatable;
    /// Whether saved state and programs keep it: settings yes, readings and triggers no.
    bool stored;
    /// The plain value of a value 0..1; null: minimum + value * (maximum - minimum).
    double (*plain)(float value);
    /// The value 0..1 of a plain value; null: the inverse of the linear map.
    float (*valueOf)(double plain);
    /// Writes the text for a plain value into `text` (kVstMaxLabelLen bytes), as the VST 2
    /// effect shows it.
    void (*format)(double plain, const ParameterContext& context, char* text);
    /// The value 0..1 a text stands for, where it is not a position's name or a number in
    /// the unit; false for a text it cannot read. Null: those two only.
    bool (*parse)(const char* text, const ParameterContext& context, float* value);
    /// The label where it depends on other settings; null: `label`.
    const char* (*labelFor)(const ParameterContext& context);
    /// Whether VST 2 hosts see it. Entries they do not (readings that only formats with room
    /// for more carry) come after all that they do, so that the indices agree.
    bool offeredToVst2 = true;
};

struct ParameterTable {
    const ParameterInfo* entries;
    std::int32_t count;

    const ParameterInfo* find(std::int32_t index) const {
        return index >= 0 && index < count ? &entries[index] : nullptr;
    }
    /// The entries VST 2 hosts see: those before the first not offered to them.
    std::int32_t vst2Count() const {
        std::int32_t offered = 0;
        while (offered < count && entries[offered].offeredToVst2) {
            ++offered;
        }
        return offered;
    }
};

/// One plug-in: who it is, its parameters, and its VST 2 effect, made as its VST 2 entry
/// makes it (null when it cannot be made). The effect asks `audioMaster` for the version
/// (answer non-zero), sample rate, block size, automation, edit gestures, time and idle.
struct Product {
    ProductIdentity identity;
    ParameterTable parameters;
    AEffect* (*create)(audioMasterCallback audioMaster);
};
