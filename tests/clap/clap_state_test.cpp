// Settings saved through the state extension come back exactly, in a host's small reads;
// a state of a newer format, cut, damaged or foreign is refused with a message in the
// host's log, and the meter keeps the settings it had and goes on working.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>

#include "tests/clap/clap_test_host.h"
#include "tests/clap/product_cases.h"

namespace {

/// Each setting's plain value.
std::vector<double> settings(const ProductCase& product, const ClapPluginUnderTest& meter) {
    std::vector<double> values;
    for (std::int32_t index = 0; index < product.table().count; ++index) {
        if (product.table().find(index)->kind != ParameterKind::reading) {
            values.push_back(meter.value(ClapId(index)));
        }
    }
    return values;
}

/// Moves every stored setting to the far end of its range from the default, or a third of
/// the way for a continuous one, through the host's flush while inactive.
void moveSettings(const ProductCase& product, ClapPluginUnderTest& meter) {
    EventList changes;
    EventList out;
    const auto* params = meter.extension<ClapPluginParams>(CLAP_EXT_PARAMS);
    for (std::int32_t index = 0; index < product.table().count; ++index) {
        ClapParamInfo info{};
        params->getInfo(meter.plugin, std::uint32_t(index), &info);
        if (product.table().find(index)->stored) {
            const double far = info.defaultValue == info.maxValue ? info.minValue : info.maxValue;
            const bool stepped = info.flags & CLAP_PARAM_IS_STEPPED;
            changes.addValue(0, info.id, stepped ? far : info.minValue + (far - info.minValue) / 3);
        }
    }
    params->flush(meter.plugin, changes.input(), out.output());
}

void putWord(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t word) {
    for (int k = 0; k < 4; ++k) {
        bytes[at + std::size_t(k)] = static_cast<unsigned char>(word >> (8 * k));
    }
}

struct Damage {
    const char* name;
    std::function<void(std::vector<unsigned char>&)> apply;
};

const Damage kDamages[] = {
    {"a newer format", [](auto& b) { putWord(b, 4, 2); }},
    {"format 0", [](auto& b) { putWord(b, 4, 0); }},
    {"a foreign state", [](auto& b) { b[0] = 'X'; }},
    {"cut by one byte", [](auto& b) { b.pop_back(); }},
    {"cut to its header", [](auto& b) { b.resize(6); }},
    {"nothing", [](auto& b) { b.clear(); }},
    {"a byte too many", [](auto& b) { b.push_back(0); }},
    {"more settings than there are", [](auto& b) { putWord(b, 8, 1000); }},
    {"an unknown setting", [](auto& b) { putWord(b, 12, 999); }},
    {"a value out of range", [](auto& b) { putWord(b, 16, 0x3fc00000); }},  // 1.5
    {"a value that is no number", [](auto& b) { putWord(b, 16, 0x7fc00000); }},
};

TEST(ClapState, SettingsComeBackExactly) {
    for (const ProductCase& product : productCases()) {
        SCOPED_TRACE(product.clapId);
        ClapTestHost host;
        ClapPluginUnderTest saved(host, product.clapId);
        ClapPluginUnderTest loaded(host, product.clapId);
        ASSERT_TRUE(saved.plugin && loaded.plugin);
        moveSettings(product, saved);
        ASSERT_NE(settings(product, saved), settings(product, loaded));
        const std::vector<unsigned char> bytes = saved.save();
        ASSERT_TRUE(loaded.activate(48000.0));  // a state may arrive while active
        EXPECT_TRUE(loaded.load(bytes, 17));
        EXPECT_EQ(settings(product, loaded), settings(product, saved));
        EXPECT_EQ(loaded.save(), bytes);
        EXPECT_EQ(host.valueRescans.load(), 1);
    }
}

TEST(ClapState, DamagedStatesAreRefusedAndChangeNothing) {
    for (const ProductCase& product : productCases()) {
        ClapTestHost host;
        ClapPluginUnderTest source(host, product.clapId);
        ClapPluginUnderTest meter(host, product.clapId);
        ASSERT_TRUE(source.plugin && meter.plugin && meter.activate(48000.0));
        moveSettings(product, source);
        const std::vector<unsigned char> good = source.save();
        const std::vector<double> before = settings(product, meter);
        for (const Damage& damage : kDamages) {
            SCOPED_TRACE(std::string(product.clapId) + ": " + damage.name);
            std::vector<unsigned char> bytes = good;
            damage.apply(bytes);
            const std::size_t messages = host.logged().size();
            EXPECT_FALSE(meter.load(bytes, 5));
            EXPECT_EQ(settings(product, meter), before);
            ASSERT_EQ(host.logged().size(), messages + 1);
            EXPECT_NE(host.logged().back().find("state refused"), std::string::npos);
        }
        EXPECT_FALSE(meter.load(good, 0)) << "a stream that fails to read";
        EXPECT_EQ(host.valueRescans.load(), 0);
        StereoAudio audio(64, true);
        std::fill(audio.input[0].begin(), audio.input[0].end(), 0.5f);
        EXPECT_EQ(meter.process(audio), CLAP_PROCESS_CONTINUE);
        EXPECT_EQ(audio.result(0), std::vector<float>(64, 0.5f));
    }
}

}  // namespace
