// The parameters a CLAP host lists, against the product's VST 2 build: the same names, a
// range in the parameter's unit, read-only readings, and for every setting value the same
// text the VST 2 build shows, read back by text_to_value to the same value.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "tests/clap/clap_test_host.h"
#include "tests/clap/product_cases.h"
#include "tests/host/vst2_peer.h"

namespace {

struct ExpectedFlags {
    ParameterKind kind;
    std::uint32_t flags;
};
constexpr ExpectedFlags kFlags[] = {
    {ParameterKind::continuous, CLAP_PARAM_IS_AUTOMATABLE},
    {ParameterKind::choice, CLAP_PARAM_IS_AUTOMATABLE | CLAP_PARAM_IS_STEPPED | CLAP_PARAM_IS_ENUM},
    {ParameterKind::trigger, CLAP_PARAM_IS_AUTOMATABLE | CLAP_PARAM_IS_STEPPED},
    {ParameterKind::reading, CLAP_PARAM_IS_READONLY},
};

std::uint32_t expectedFlags(const ParameterInfo& entry) {
    for (const ExpectedFlags& expected : kFlags) {
        if (expected.kind == entry.kind) {
            return entry.automatable || entry.kind == ParameterKind::reading
                       ? expected.flags
                       : expected.flags & ~CLAP_PARAM_IS_AUTOMATABLE;
        }
    }
    return ~0u;
}

TEST(ClapParameters, InfoFollowsTheTableAndTheVst2Names) {
    forEachProductBesideVst2(44100.0, [](const ProductCase& product, ClapPluginUnderTest& meter,
                                         Vst2Peer& peer) {
        const auto* params = meter.extension<ClapPluginParams>(CLAP_EXT_PARAMS);
        // Every entry, those VST 2 hosts see named as the VST 2 build names them.
        ASSERT_EQ(params->count(meter.plugin), std::uint32_t(product.table().count));
        ASSERT_EQ(peer.effect->numParams, product.table().vst2Count());
        for (std::int32_t index = 0; index < product.table().count; ++index) {
            SCOPED_TRACE(index);
            const ParameterInfo& entry = *product.table().find(index);
            ClapParamInfo info{};
            ASSERT_TRUE(params->getInfo(meter.plugin, std::uint32_t(index), &info));
            EXPECT_EQ(info.id, ClapId(index));
            EXPECT_EQ(info.name, index < peer.effect->numParams ? peer.name(index) : entry.name);
            EXPECT_EQ(info.flags, expectedFlags(entry));
            EXPECT_TRUE(std::isfinite(info.minValue) && std::isfinite(info.maxValue));
            EXPECT_LE(info.minValue, info.defaultValue);
            EXPECT_LE(info.defaultValue, info.maxValue);
            EXPECT_EQ(info.defaultValue, std::clamp(plainFor(entry, entry.defaultValue),
                                                    info.minValue, info.maxValue));
            EXPECT_EQ(meter.value(info.id),
                      std::clamp(plainFor(entry, peer.get(index)), info.minValue, info.maxValue));
        }
        ClapParamInfo info{};
        EXPECT_FALSE(params->getInfo(meter.plugin, params->count(meter.plugin), &info));
    });
}

TEST(ClapParameters, TextsAndParsingMatchTheVst2Build) {
    forEachProductBesideVst2(44100.0, [](const ProductCase& product, ClapPluginUnderTest& meter,
                                         Vst2Peer& peer) {
        const auto* params = meter.extension<ClapPluginParams>(CLAP_EXT_PARAMS);
        for (std::int32_t index = 0; index < peer.effect->numParams; ++index) {
            const ParameterInfo& entry = *product.table().find(index);
            if (entry.kind == ParameterKind::reading || entry.kind == ParameterKind::trigger) {
                continue;
            }
            // A host sets a choice to its positions only; anything else over the whole range.
            const bool choice = entry.kind == ParameterKind::choice;
            const int steps = choice ? entry.positions - 1 : 20;
            for (int step = 0; step <= steps; ++step) {
                const float value = static_cast<float>(step) / static_cast<float>(steps);
                SCOPED_TRACE(std::to_string(index) + " at " + std::to_string(value));
                peer.set(index, value);
                const double plain = plainFor(entry, value);
                const std::string shown = meter.text(ClapId(index), plain);
                EXPECT_EQ(shown, peer.text(index));
                double parsed = -1.0;
                ASSERT_TRUE(
                    params->textToValue(meter.plugin, ClapId(index), shown.c_str(), &parsed));
                // Back to the same text, or as near as the effect's value 0..1 can come.
                const bool near =
                    std::fabs(parsed - plain) <= 1e-5 * std::fmax(1.0, std::fabs(plain));
                EXPECT_TRUE(meter.text(ClapId(index), parsed) == shown || (!choice && near))
                    << shown << " read as " << parsed;
            }
            if (choice) {
                double position = -1.0;
                ASSERT_TRUE(params->textToValue(meter.plugin, ClapId(index),
                                                entry.positionNames[steps], &position));
                EXPECT_EQ(position, steps) << "the last position by its name";
            }
            double parsed = 0.0;
            EXPECT_FALSE(params->textToValue(meter.plugin, ClapId(index), "no such text", &parsed));
        }
        char text[8];
        EXPECT_FALSE(params->valueToText(meter.plugin, 999, 0.0, text, sizeof text));
    });
}

}  // namespace
