// Audio through the CLAP plug-ins: unchanged at every block length, in place or not, and
// measured exactly as the VST 2 build measures it (the same engines), with the host's
// changes taking effect at their frame, and across activation, reset and rate changes; the
// loudness meter following the host's transport.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "loudness/loudness_meter.h"
#include "meter_loudness/loudness_parameters.h"
#include "tests/clap/clap_test_host.h"
#include "tests/clap/product_cases.h"
#include "tests/host/vst2_peer.h"

namespace {

/// Noise with a 997 Hz tone in it, different on each channel when `seed` differs.
std::vector<float> programme(std::size_t frames, unsigned seed, float level = 0.3f) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> noise(-0.2f, 0.2f);
    std::vector<float> samples(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        samples[i] = level * std::sin(0.142f * static_cast<float>(i)) + noise(random);
    }
    return samples;
}

/// Every reading of `meter` equals the peer's, as a value (within the reading's range) and
/// as a text.
void expectSameReadings(const ProductCase& product, const ClapPluginUnderTest& meter,
                        const Vst2Peer& peer) {
    const auto* params = meter.extension<ClapPluginParams>(CLAP_EXT_PARAMS);
    for (std::int32_t index = 0; index < product.table().count; ++index) {
        const ParameterInfo& entry = *product.table().find(index);
        if (entry.kind != ParameterKind::reading) {
            continue;
        }
        SCOPED_TRACE(entry.name);
        ClapParamInfo info{};
        params->getInfo(meter.plugin, std::uint32_t(index), &info);
        const double value = meter.value(ClapId(index));
        EXPECT_EQ(value,
                  std::clamp(plainFor(entry, peer.get(index)), info.minValue, info.maxValue));
        if (index < peer.effect->numParams) {  // VST 2 hosts see no text of the others
            EXPECT_EQ(meter.text(ClapId(index), value), peer.text(index));
        }
    }
}

TEST(ClapProcessing, PassesAudioThroughAtEveryBlockLength) {
    std::mt19937 random(7);
    const std::uint32_t lengths[] = {1, 7, 64, 512, 4096, 0};
    for (const ProductCase& product : productCases()) {
        ClapTestHost host;
        ClapPluginUnderTest meter(host, product.clapId);
        ASSERT_TRUE(meter.plugin && meter.activate(48000.0, 4096));
        for (const bool inPlace : {false, true}) {
            for (std::uint32_t length : lengths) {
                length = length ? length : 1 + random() % 4096;  // 0: a random length
                SCOPED_TRACE(std::string(product.clapId) + " " + std::to_string(length) +
                             (inPlace ? " in place" : ""));
                StereoAudio audio(length, inPlace);
                audio.fill(programme(length, length), programme(length, length + 1));
                const std::vector<float> left = audio.input[0];
                const std::vector<float> right = audio.input[1];
                ASSERT_EQ(meter.process(audio), CLAP_PROCESS_CONTINUE);
                EXPECT_EQ(audio.result(0), left);
                EXPECT_EQ(audio.result(1), right);
                EXPECT_EQ(audio.input[0], left);  // the input is never written when separate
            }
        }
        StereoAudio tooLong(4097, false);
        EXPECT_EQ(meter.process(tooLong), CLAP_PROCESS_ERROR);
    }
}

TEST(ClapProcessing, ReadingsEqualTheVst2BuildsBitForBit) {
    forEachProductBesideVst2(
        48000.0, [](const ProductCase& product, ClapPluginUnderTest& meter, Vst2Peer& peer) {
            ASSERT_TRUE(meter.activate(48000.0));
            const std::vector<float> samples = programme(3 * 48000, 3);
            meter.play(samples, 300);
            peer.play(samples, 300);
            expectSameReadings(product, meter, peer);
        });
}

/// Every setting moved away from its default, at frame 100 of a block of 512.
TEST(ClapProcessing, ChangesTakeEffectAtTheirFrame) {
    static constexpr std::uint32_t kAt = 100;
    forEachProductBesideVst2(48000.0, [](const ProductCase& product, ClapPluginUnderTest& meter,
                                         Vst2Peer& peer) {
        ASSERT_TRUE(meter.activate(48000.0));
        const std::vector<float> samples = programme(48000, 5);
        meter.play(samples);
        peer.play(samples);
        StereoAudio audio(512, true);
        audio.fill(programme(512, 6, 0.9f), programme(512, 6, 0.9f));
        EventList changes;
        std::vector<std::pair<std::int32_t, float>> moved;
        for (std::int32_t index = 0; index < product.table().count; ++index) {
            const ParameterInfo& entry = *product.table().find(index);
            if (entry.kind == ParameterKind::choice || entry.kind == ParameterKind::continuous) {
                const float value = entry.defaultValue < 0.5f ? 1.0f : 0.0f;
                changes.addValue(kAt, ClapId(index), plainFor(entry, value));
                changes.addValue(kAt, ClapId(index), 0.0, 1);  // another space: ignored
                moved.emplace_back(index, value);
            }
        }
        peer.process(audio.input[0].data(), audio.input[1].data(), kAt);
        for (const auto& [index, value] : moved) {
            peer.set(index, value);
        }
        peer.process(audio.input[0].data() + kAt, audio.input[1].data() + kAt, 512 - kAt);
        ASSERT_EQ(meter.process(audio, &changes), CLAP_PROCESS_CONTINUE);
        for (const auto& [index, value] : moved) {
            EXPECT_EQ(meter.value(ClapId(index)), plainFor(*product.table().find(index), value));
        }
        expectSameReadings(product, meter, peer);
    });
}

/// Hosts stop, reset and restart at will, at another rate too: the meter goes on measuring
/// as the VST 2 build does through the same steps.
TEST(ClapProcessing, SurvivesActivationCyclesAndRateChanges) {
    struct Step {
        double rate;
        bool reset;
    };
    const Step steps[] = {
        {44100.0, false}, {44100.0, true}, {48000.0, false}, {96000.0, true}, {48000.0, false}};
    forEachProductBesideVst2(
        44100.0, [&steps](const ProductCase& product, ClapPluginUnderTest& meter, Vst2Peer& peer) {
            unsigned seed = 10;
            for (const Step& step : steps) {
                ASSERT_TRUE(meter.activate(step.rate, 1024));
                peer.restart(step.rate);
                if (step.reset) {
                    meter.plugin->reset(meter.plugin);
                    peer.effect->dispatcher(peer.effect, effMainsChanged, 0, 0, nullptr, 0.0f);
                    peer.effect->dispatcher(peer.effect, effMainsChanged, 0, 1, nullptr, 0.0f);
                }
                const std::vector<float> samples = programme(std::size_t(step.rate / 2), ++seed);
                meter.play(samples, 1000);
                peer.play(samples, 1000);
                expectSameReadings(product, meter, peer);
                meter.deactivate();
            }
        });
}

/// "While playing": played 20 s, stopped 10 s with louder audio still coming, played 20 s,
/// the transport told with every block; integration holds while stopped and reads what a
/// bare meter fed the 40 played seconds reads.
TEST(ClapTransport, LoudnessIntegratesWhatTheHostPlays) {
    using namespace loudness;
    constexpr double kRate = 48000.0;
    constexpr std::uint32_t kBlock = 512;
    struct Stretch {
        double seconds;
        float amplitude;
        bool playing;
    };
    const Stretch stretches[] = {{20.0, 0.3f, true}, {10.0, 0.9f, false}, {20.0, 0.05f, true}};
    ClapTestHost host;
    ClapPluginUnderTest meter(host, loudnessMeterIdentity().clapId);
    ASSERT_TRUE(meter.plugin && meter.activate(kRate, kBlock));
    ClapEventTransport transport{};
    transport.header = {sizeof transport, 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_TRANSPORT, 0};
    meter.transport = &transport;
    EventList whilePlaying;
    whilePlaying.addValue(0, ClapId(kIntegrate), kIntegrateWhilePlaying);
    LoudnessMeter bare;
    ASSERT_TRUE(bare.setup(kRate, 2));
    double phase = 0.0;
    for (const Stretch& stretch : stretches) {
        transport.flags = stretch.playing ? CLAP_TRANSPORT_IS_PLAYING : 0;
        for (int b = 0; b < stretch.seconds * kRate / kBlock; ++b) {
            std::vector<float> tone(kBlock);
            for (float& sample : tone) {
                sample = stretch.amplitude * static_cast<float>(std::sin(phase++ * 0.1308996939));
            }
            StereoAudio audio(kBlock, true);
            audio.fill(tone, tone);
            ASSERT_EQ(meter.process(audio, &whilePlaying), CLAP_PROCESS_CONTINUE);
            whilePlaying.clear();
            const float* channels[] = {tone.data(), tone.data()};
            if (stretch.playing) {
                bare.process(channels, kBlock);
            }
        }
        EXPECT_EQ(meter.value(ClapId(kIntegrating)), stretch.playing ? 1.0 : 0.0);
    }
    char expected[16];
    std::snprintf(expected, sizeof expected, "%.1f LUFS", bare.integrated());
    EXPECT_EQ(meter.text(ClapId(kIntegrated), meter.value(ClapId(kIntegrated))), expected);
    EXPECT_NEAR(meter.value(ClapId(kIntegrated)), bare.integrated(), 1e-4);
    EXPECT_NEAR(meter.value(ClapId(kIntegrationTime)), 40.0, 0.01);
}

}  // namespace
