// Both meters as an LV2 host meets them: the bundle's descriptions read by lilv against the
// products' tables, audio through any block length, the readings on the control outputs
// equal to the VST 2 build's, the EBU cases read from them, and the host's transport.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "loudness/loudness_meter.h"
#include "lv2/lv2_products.h"
#include "lv2/port_layout.h"
#include "meter_level/level_parameters.h"
#include "meter_loudness/loudness_parameters.h"
#include "plugin/product.h"
#include "tests/host/vst2_peer.h"
#include "tests/lv2/lv2_test_host.h"
#include "tests/meter_loudness/ebu_minimum_cases.h"

namespace {

constexpr double kRate = ebu::kRate;

const Product& product(std::uint32_t index) {
    return *lv2Product(index);
}

/// Both channels of a block, and where the plug-in writes its output.
struct StereoBuffers {
    explicit StereoBuffers(std::size_t frames)
        : input{std::vector<float>(frames), std::vector<float>(frames)},
          output{std::vector<float>(frames, -1.0f), std::vector<float>(frames, -1.0f)} {}
    float* inputs[2] = {};
    float* outputs[2] = {};
    std::vector<float> input[2];
    std::vector<float> output[2];
    void bind(bool inPlace) {
        for (int c = 0; c < 2; ++c) {
            inputs[c] = input[c].data();
            outputs[c] = inPlace ? input[c].data() : output[c].data();
        }
    }
};

/// Noise on both channels, different on each.
std::vector<float> noise(std::size_t frames, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    std::vector<float> samples(frames * 2);
    for (float& s : samples) {
        s = sample(random);
    }
    return samples;
}

/// Interleaved stereo `signal` through `plugin` in blocks of `blockLength` (0: random
/// lengths up to 3000); `afterBlock` sees each block's output.
template <typename AfterBlock>
void play(Lv2TestInstance& plugin, const std::vector<float>& signal, std::uint32_t blockLength,
          bool inPlace, AfterBlock afterBlock) {
    std::mt19937 random(7);
    const std::size_t frames = signal.size() / 2;
    for (std::size_t start = 0; start < frames;) {
        const std::size_t length =
            std::min<std::size_t>(blockLength ? blockLength : 1 + random() % 3000, frames - start);
        StereoBuffers block(length);
        for (std::size_t i = 0; i < length; ++i) {
            block.input[0][i] = signal[2 * (start + i)];
            block.input[1][i] = signal[2 * (start + i) + 1];
        }
        const StereoBuffers sent = block;
        block.bind(inPlace);
        plugin.run(block.inputs, block.outputs, static_cast<std::uint32_t>(length));
        afterBlock(sent, block);
        start += length;
    }
}

TEST(Lv2Bundle, DescribesEachProductWithItsPorts) {
    for (std::uint32_t p = 0; p < kLv2ProductCount; ++p) {
        const Product& meter = product(p);
        SCOPED_TRACE(meter.identity.lv2Uri);
        const LilvPlugin* plugin = Lv2Bundle::get().plugin(meter.identity.lv2Uri);
        ASSERT_TRUE(plugin);
        LilvNode* name = lilv_plugin_get_name(plugin);
        EXPECT_STREQ(lilv_node_as_string(name), meter.identity.productString);
        lilv_node_free(name);
        const auto count = static_cast<std::uint32_t>(meter.parameters.count);
        ASSERT_EQ(lilv_plugin_get_num_ports(plugin), PortLayout(meter.parameters).portCount());
        LilvNode* output = lilv_new_uri(Lv2Bundle::get().world(), LV2_CORE__OutputPort);
        for (std::uint32_t i = 0; i < count; ++i) {
            const ParameterInfo& info = meter.parameters.entries[i];
            SCOPED_TRACE(info.name);
            const LilvPort* port = lilv_plugin_get_port_by_index(plugin, 4 + i);
            EXPECT_EQ(lilv_port_is_a(plugin, port, output), info.kind == ParameterKind::reading);
            LilvNode *defaultValue, *minimum, *maximum;
            lilv_port_get_range(plugin, port, &defaultValue, &minimum, &maximum);
            const bool choice = info.kind == ParameterKind::choice;
            EXPECT_EQ(lilv_node_as_float(minimum), choice ? 0.0f : float(info.minimum));
            EXPECT_EQ(lilv_node_as_float(maximum),
                      choice ? float(info.positions - 1) : float(info.maximum));
            LilvScalePoints* points = lilv_port_get_scale_points(plugin, port);
            EXPECT_EQ(points ? lilv_scale_points_size(points) : 0u,
                      choice ? unsigned(info.positions) : 0u);
            lilv_scale_points_free(points);
            for (LilvNode* node : {defaultValue, minimum, maximum}) {
                lilv_node_free(node);
            }
        }
        lilv_node_free(output);
    }
}

TEST(Lv2Audio, PassesUnchangedAtAnyBlockLength) {
    const std::vector<float> signal = noise(20000, 1);
    for (std::uint32_t p = 0; p < kLv2ProductCount; ++p) {
        for (std::uint32_t length : {1u, 7u, 64u, 512u, 4096u, 0u}) {
            for (bool inPlace : {false, true}) {
                SCOPED_TRACE(std::string(product(p).identity.effectName) + " block " +
                             std::to_string(length) + (inPlace ? " in place" : ""));
                Lv2TestInstance plugin(product(p).identity.lv2Uri, kRate);
                ASSERT_TRUE(plugin.valid());
                play(plugin, signal, length, inPlace,
                     [](const StereoBuffers& sent, const StereoBuffers& block) {
                         for (int c = 0; c < 2; ++c) {
                             ASSERT_EQ(0, std::memcmp(sent.input[c].data(), block.outputs[c],
                                                      sent.input[c].size() * sizeof(float)));
                         }
                     });
            }
        }
    }
}

/// The plain value a reading's port shows for the effect's value, as the table maps it, within
/// the port's range.
float plainOf(const ParameterInfo& info, float value) {
    const auto plain = static_cast<float>(
        info.plain ? info.plain(value) : info.minimum + value * (info.maximum - info.minimum));
    return std::clamp(plain, static_cast<float>(info.minimum), static_cast<float>(info.maximum));
}

VstInt32 parameterNamed(const Product& meter, const char* name) {
    for (VstInt32 i = 0; i < meter.parameters.count; ++i) {
        if (std::strcmp(meter.parameters.entries[i].name, name) == 0) {
            return i;
        }
    }
    ADD_FAILURE() << "no parameter " << name;
    return 0;
}

/// The same mono signal on both channels, interleaved.
std::vector<float> bothChannels(const std::vector<float>& mono) {
    std::vector<float> stereo;
    for (float s : mono) {
        stereo.insert(stereo.end(), {s, s});
    }
    return stereo;
}

struct ReadingCase {
    const char* name;
    std::uint32_t product;
    /// Switches set before the audio: parameter name and position.
    std::vector<std::pair<const char*, int>> positions;
    std::vector<float> signal;
};

TEST(Lv2Readings, EqualToTheVst2BuildAfterEveryBlock) {
    const std::vector<float> programme =
        bothChannels(ebu::tones({{3.0, -23.0}, {1.0, -40.0}, {2.0, -9.0}}));
    const std::vector<ReadingCase> cases = {
        {"level meter, as it starts", 0, {}, noise(96000, 2)},
        {"level meter, mid and side, 3 s hold, square RMS",
         0,
         {{"Mode", 1}, {"Resp", 2}, {"RMS Mode", 1}},
         noise(96000, 3)},
        {"level meter, mono", 0, {{"Mode", 2}}, programme},
        {"loudness meter, as it starts", 1, {}, programme},
        {"loudness meter, LU against -16 LUFS on EBU +18",
         1,
         {{"Target", 2}, {"Unit", 1}, {"Scale", 1}},
         noise(300000, 4)},
    };
    for (const ReadingCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Product& meter = product(c.product);
        const PortLayout layout(meter.parameters);
        Lv2TestInstance plugin(meter.identity.lv2Uri, kRate);
        const auto reference =
            Vst2Peer::withUniqueId(PEVO_VST2_LIBRARIES, meter.identity.vst2UniqueId, kRate);
        ASSERT_TRUE(plugin.valid() && reference);
        for (const auto& [name, position] : c.positions) {
            const VstInt32 index = parameterNamed(meter, name);
            plugin.control(layout.controls()[index].symbol) = static_cast<float>(position);
            reference->set(index,
                           static_cast<float>(position) /
                               static_cast<float>(meter.parameters.entries[index].positions - 1));
        }
        play(plugin, c.signal, 512, false, [&](const StereoBuffers& sent, const StereoBuffers&) {
            reference->process(sent.input[0].data(), sent.input[1].data(),
                               static_cast<std::int32_t>(sent.input[0].size()));
            for (const ControlPort& port : layout.controls()) {
                if (port.output) {
                    ASSERT_EQ(plugin.control(port.symbol),
                              plainOf(meter.parameters.entries[port.parameter],
                                      reference->get(port.parameter)))
                        << port.name;
                }
            }
        });
    }
}

/// A 1 kHz sine of a different amplitude on each channel, interleaved.
std::vector<float> sines(double left, double right, double seconds) {
    std::vector<float> stereo;
    for (std::size_t i = 0; i < static_cast<std::size_t>(seconds * kRate); ++i) {
        const double s = std::sin(2.0 * M_PI * 1000.0 * static_cast<double>(i) / kRate);
        stereo.insert(stereo.end(), {static_cast<float>(left * s), static_cast<float>(right * s)});
    }
    return stereo;
}

/// Each strip's RMS and peak on ports of their own, in decibels, beside what VST 2 hosts see
/// (the second strip's): a louder left channel reads higher on the first strip.
TEST(Lv2Readings, EachStripOnItsOwnPorts) {
    struct StripCase {
        int mode;
        double left, right;
        double first, second;  ///< each strip's level in dB
    };
    const StripCase cases[] = {
        {0, 0.5, 0.05, -6.02, -26.02},   // left, right
        {1, 0.5, 0.05, -11.21, -12.96},  // mid, side
        {2, 0.5, 0.05, -11.21, -11.21},  // the mono sum on both
    };
    const Product& meter = product(0);
    const PortLayout layout(meter.parameters);
    for (const StripCase& c : cases) {
        SCOPED_TRACE(c.mode);
        Lv2TestInstance plugin(meter.identity.lv2Uri, kRate);
        ASSERT_TRUE(plugin.valid());
        plugin.control(layout.controls()[kMode].symbol) = static_cast<float>(c.mode);
        play(plugin, sines(c.left, c.right, 1.0), 512, false, [](auto&, auto&) {});
        const auto level = [&](int entry) {
            return plugin.control(layout.controls()[kStripLevels + entry].symbol);
        };
        EXPECT_NEAR(level(2), c.first, 0.05);  // peaks
        EXPECT_NEAR(level(3), c.second, 0.05);
        // The RMS detector's ballistics read a sine a little below its peak, alike on both.
        EXPECT_NEAR(level(1) - level(0), c.second - c.first, 0.05);
        EXPECT_LT(level(0), c.first);
    }
}

TEST(Lv2Loudness, MinimumRequirementsOnTheControlOutputs) {
    const Product& meter = product(1);
    const PortLayout layout(meter.parameters);
    for (const ebu::Case& c : ebu::minimumRequirementCases()) {
        SCOPED_TRACE(c.name);
        Lv2TestInstance plugin(meter.identity.lv2Uri, kRate);
        ASSERT_TRUE(plugin.valid());
        play(plugin, bothChannels(c.signal), 512, true, [](auto&, auto&) {});
        for (const ebu::Expectation& e : c.expected) {
            const float reading = plugin.control(layout.controls()[e.reading].symbol);
            EXPECT_GE(reading, e.value - e.below - 1e-4) << "reading " << e.reading;
            EXPECT_LE(reading, e.value + e.above + 1e-4) << "reading " << e.reading;
        }
    }
}

/// The host's reset button: a trigger resets once however long the host holds it.
TEST(Lv2Loudness, ResetTriggerClearsOnceWhileHeld) {
    const Product& meter = product(1);
    const PortLayout layout(meter.parameters);
    Lv2TestInstance plugin(meter.identity.lv2Uri, kRate);
    ASSERT_TRUE(plugin.valid());
    const std::string integrated = layout.controls()[loudness::kIntegrated].symbol;
    const std::string reset = layout.controls()[parameterNamed(meter, "Reset")].symbol;
    const std::vector<float> tone = bothChannels(ebu::tones({{5.0, -23.0}}));
    const std::vector<float> quiet = bothChannels(ebu::tones({{5.0, -33.0}}));
    play(plugin, tone, 512, false, [](auto&, auto&) {});
    EXPECT_NEAR(plugin.control(integrated), -23.0, 0.1);
    plugin.control(reset) = 1.0f;
    play(plugin, quiet, 512, false, [](auto&, auto&) {});
    EXPECT_NEAR(plugin.control(integrated), -33.0, 0.1);  // not -23 and -33 together
    plugin.control(reset) = 0.0f;
    play(plugin, tone, 512, false, [](auto&, auto&) {});
    EXPECT_NEAR(plugin.control(integrated), -26.0, 0.5);  // -33 and -23 gated together
}

/// time:Position on the transport port: accepted in any block, and the readings go on as
/// without it (neither meter follows the transport as set up by default).
TEST(Lv2Transport, PositionsChangeNoReading) {
    for (std::uint32_t p = 0; p < kLv2ProductCount; ++p) {
        const Product& meter = product(p);
        SCOPED_TRACE(meter.identity.effectName);
        const PortLayout layout(meter.parameters);
        Lv2TestInstance told(meter.identity.lv2Uri, kRate);
        Lv2TestInstance untold(meter.identity.lv2Uri, kRate);
        ASSERT_TRUE(told.valid() && untold.valid());
        const std::vector<float> signal = noise(4096, 5);
        for (int block = 0; block < 60; ++block) {
            if (block % 20 == 0) {
                told.sendPosition(block % 40 == 0 ? 0.0 : 1.0, block * 4096);  // stop, roll
            }
            for (Lv2TestInstance* plugin : {&told, &untold}) {
                play(*plugin, signal, 4096, false, [](auto&, auto&) {});
            }
            for (const ControlPort& port : layout.controls()) {
                ASSERT_EQ(told.control(port.symbol), untold.control(port.symbol)) << port.name;
            }
        }
    }
}

/// "While playing": played 20 s, stopped 10 s with louder audio still coming, played 20 s,
/// the host telling a time:Position only where the transport changes; integration holds
/// while stopped and reads what a bare meter fed the 40 played seconds reads.
TEST(Lv2Transport, LoudnessIntegratesWhatTheHostPlays) {
    constexpr std::uint32_t kBlock = 4096;
    struct Stretch {
        int blocks;
        float amplitude;
        double speed;
    };
    const Stretch stretches[] = {{235, 0.3f, 1.0}, {118, 0.9f, 0.0}, {235, 0.05f, 1.0}};
    Lv2TestInstance plugin(loudnessMeterIdentity().lv2Uri, kRate);
    ASSERT_TRUE(plugin.valid());
    plugin.control("integrate") = loudness::kIntegrateWhilePlaying;
    LoudnessMeter bare;
    ASSERT_TRUE(bare.setup(kRate, 2));
    StereoBuffers block(kBlock);
    block.bind(false);
    std::int64_t frame = 0;
    for (const Stretch& stretch : stretches) {
        plugin.sendPosition(stretch.speed, frame);
        for (int b = 0; b < stretch.blocks; ++b, frame += kBlock) {
            for (std::uint32_t i = 0; i < kBlock; ++i) {
                const double phase = 2.0 * M_PI * 1000.0 * static_cast<double>(frame + i) / kRate;
                block.input[0][i] = block.input[1][i] =
                    stretch.amplitude * static_cast<float>(std::sin(phase));
            }
            plugin.run(block.inputs, block.outputs, kBlock);
            const float* channels[] = {block.input[0].data(), block.input[1].data()};
            if (stretch.speed != 0.0) {
                bare.process(channels, kBlock);
            }
        }
        EXPECT_EQ(plugin.control("integrating"), stretch.speed != 0.0 ? 1.0f : 0.0f);
    }
    EXPECT_NEAR(plugin.control("integrated"), bare.integrated(), 1e-4);
    EXPECT_NEAR(plugin.control("integration_time"), 470 * kBlock / kRate, 0.1);
}

}  // namespace
