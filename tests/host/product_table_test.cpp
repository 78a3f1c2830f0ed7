// Each product's table against its built library: whatever a format adapter reads from the
// table (identity, names, labels, texts of any value, parsing what is shown) agrees with
// what the VST 2 effect answers through its record. Run once per library.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "meter_level/level_parameters.h"
#include "meter_loudness/loudness_parameters.h"
#include "plugin/parameter_text.h"
#include "tests/host/test_host.h"

namespace {

constexpr float kRate = 48000.0f;
constexpr float kSweep[] = {0.0f, 0.02f, 0.1f, 0.25f, 0.3f, 0.45f, 0.5f, 0.55f, 0.7f, 0.95f, 1.0f};

struct Described {
    const ProductIdentity& identity;
    const ParameterTable& table;
};

void sweep(PluginInstance& plugin, const ParameterTable& table, const ParameterContext& context) {
    AEffect* record = plugin.record;
    for (VstInt32 index = 0; index < table.vst2Count(); ++index) {
        const ParameterInfo& info = table.entries[index];
        EXPECT_EQ(plugin.text(effGetParamName, index, kVstMaxParamNameLen), info.name);
        EXPECT_EQ(plugin.dispatch(effCanBeAutomated, index), info.automatable ? 1 : 0);
        for (const float value : kSweep) {
            plugin.setParameter(index, value);
            char text[kVstMaxLabelLen] = {};
            displayText(info, record->getParameter(record, index), context, text);
            const std::string shown = plugin.text(effGetParamDisplay, index, kVstMaxLabelLen);
            EXPECT_EQ(shown, text) << info.name << " at " << value;
            EXPECT_EQ(plugin.text(effGetParamLabel, index, kVstMaxLabelLen),
                      labelText(info, context));
            float parsed = -1.0f;
            ASSERT_TRUE(parseText(info, shown.c_str(), context, &parsed)) << shown;
            char again[kVstMaxLabelLen] = {};
            displayText(info, parsed, context, again);
            EXPECT_EQ(shown, again) << info.name << ": " << shown << " read as " << parsed;
        }
    }
}

TEST(ProductTable, AnswersAsTheEffectDoes) {
    TestHost host;
    host.sampleRateAnswer = static_cast<VstIntPtr>(kRate);
    auto plugin = PluginInstance::create();
    ASSERT_TRUE(plugin);
    AEffect* record = plugin->record;
    const Described products[] = {{levelMeterIdentity(), levelMeterParameters()},
                                  {loudnessMeterIdentity(), loudnessMeterParameters()}};
    const Described* product = nullptr;
    for (const Described& candidate : products) {
        if (candidate.identity.vst2UniqueId == record->uniqueID) {
            product = &candidate;
        }
    }
    ASSERT_NE(product, nullptr);
    const ProductIdentity& identity = product->identity;
    EXPECT_EQ(plugin->text(effGetEffectName, 0, kVstMaxEffectNameLen), identity.effectName);
    EXPECT_EQ(plugin->text(effGetVendorString, 0, kVstMaxVendorStrLen), identity.vendor);
    EXPECT_EQ(plugin->text(effGetProductString, 0, kVstMaxProductStrLen), identity.productString);
    EXPECT_EQ(plugin->dispatch(effGetVendorVersion), identity.vendorVersion);
    EXPECT_EQ(plugin->dispatch(effGetPlugCategory), identity.vst2Category);
    EXPECT_EQ(record->numInputs, identity.inputs);
    EXPECT_EQ(record->numOutputs, identity.outputs);
    EXPECT_EQ(record->numPrograms, identity.programs);
    EXPECT_EQ(record->numParams, product->table.vst2Count());
    // What VST 2 hosts do not see comes last, and the effect names none of it.
    for (VstInt32 index = record->numParams; index < product->table.count; ++index) {
        EXPECT_FALSE(product->table.entries[index].offeredToVst2) << index;
        EXPECT_NE(plugin->text(effGetParamName, index, kVstMaxParamNameLen),
                  product->table.entries[index].name);
    }
    ERect* rect = nullptr;
    ASSERT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right - rect->left, identity.panelWidth);
    EXPECT_EQ(rect->bottom - rect->top, identity.panelHeight);

    // A second of a -6 dBFS sine gives the readings values; the second pass shows them with
    // every setting at its last value (the loudness meter's in LU from a custom target).
    StereoBlock block(480);
    for (int b = 0; b < 100; ++b) {
        for (int i = 0; i < block.frames; ++i) {
            block.input[0][i] = block.input[1][i] = 0.5f * std::sin(0.1309f * (b * 480 + i));
        }
        plugin->process(block);
    }
    const ParameterContext context = recordContext(record, kRate);
    for (int pass = 0; pass < 2; ++pass) {
        sweep(*plugin, product->table, context);
    }
}

}  // namespace
