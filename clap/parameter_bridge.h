// The product's parameter table as CLAP parameters: the id is the index in the table, and
// the value a host sees is the plain value in the parameter's own unit (a choice's position
// number), mapped onto the effect's value 0..1. Settings are automatable; readings read-only.
#pragma once

#include <cstdint>

#include "clap/clap_abi.h"
#include "clap/edit_queue.h"
#include "plugin/product.h"
#include "plugin/vst2.h"

class ParameterBridge {
  public:
    explicit ParameterBridge(const Product& product) : table(product.parameters) {}

    /// Set once the effect exists, before any other call but `count` and `info`.
    void attach(AEffect* hosted) { effect = hosted; }
    /// The rate the effect runs at, for texts that depend on it.
    void setSampleRate(float rate) { sampleRate = rate; }

    std::uint32_t count() const { return static_cast<std::uint32_t>(table.count); }
    bool info(std::uint32_t index, ClapParamInfo& info) const;
    /// The current plain value (main thread).
    bool value(ClapId id, double& plain) const;
    /// The text the VST 2 build shows for `plain`, its label after a space.
    bool text(ClapId id, double plain, char* text, std::uint32_t capacity) const;
    /// What such a text, a position's name or a number in the unit stands for.
    bool parse(ClapId id, const char* text, double& plain) const;

    /// A host event: a value change of a setting goes to the effect, anything else is skipped.
    void apply(const ClapEventHeader& event);
    /// One of the panel's edits as a host event into `out`; false when the host takes no more.
    bool tell(const EditQueue::Edit& edit, const ClapOutputEvents& out) const;

    /// Whether `index` is a setting a host may change (and saved state keeps).
    bool isSetting(std::int32_t index) const;
    bool isStored(std::int32_t index) const;
    /// The effect's value 0..1 of the parameter at `index`, and setting it.
    float effectValue(std::int32_t index) const;
    void setEffectValue(std::int32_t index, float value);

    /// The plain value of the effect's value 0..1, and back (clamped to 0..1).
    static double plainOf(const ParameterInfo& entry, float value);
    static float valueOf(const ParameterInfo& entry, double plain);
    /// The plain range a host sees: a choice's positions are numbered from 0.
    static double lowest(const ParameterInfo& entry);
    static double highest(const ParameterInfo& entry);
    /// plainOf, kept within that range.
    static double plainWithin(const ParameterInfo& entry, float value);

  private:
    ParameterContext context() const;
    static float readEffect(void* source, std::int32_t index);

    const ParameterTable& table;
    AEffect* effect = nullptr;
    float sampleRate = 44100.0f;
};
