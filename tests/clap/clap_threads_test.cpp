// The audio thread processing (with the host's changes in its blocks) while the main thread
// lists, reads, shows, saves and loads parameters, as CLAP lets a host do at once; run under
// ThreadSanitizer by the tsan preset to find any race between the two.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "tests/clap/clap_test_host.h"
#include "tests/clap/product_cases.h"

namespace {

TEST(ClapThreads, AudioAndMainThreadCallsAtOnce) {
    for (const ProductCase& product : productCases()) {
        SCOPED_TRACE(product.clapId);
        ClapTestHost host;
        ClapPluginUnderTest meter(host, product.clapId);
        ASSERT_TRUE(meter.plugin && meter.activate(48000.0, 256));
        const std::vector<unsigned char> state = meter.save();
        std::atomic<bool> stop{false};
        std::thread audio([&] {
            EventList changes;
            for (std::uint32_t block = 0; !stop.load(); ++block) {
                StereoAudio samples(256, block % 2 == 0);
                for (std::uint32_t i = 0; i < samples.frames; ++i) {
                    samples.input[0][i] = samples.input[1][i] = 0.5f * std::sin(0.01f * float(i));
                }
                changes.clear();
                changes.addValue(block % 256, block % std::uint32_t(product.table().count),
                                 block % 2);
                meter.process(samples, &changes);
                if (block % 50 == 0) {
                    meter.plugin->reset(meter.plugin);
                }
            }
        });
        const auto* params = meter.extension<ClapPluginParams>(CLAP_EXT_PARAMS);
        for (int round = 0; round < 200; ++round) {
            for (std::uint32_t index = 0; index < params->count(meter.plugin); ++index) {
                ClapParamInfo info{};
                params->getInfo(meter.plugin, index, &info);
                meter.text(info.id, meter.value(info.id));
            }
            EXPECT_TRUE(meter.load(state));
            EXPECT_FALSE(meter.save().empty());
        }
        stop = true;
        audio.join();
    }
}

}  // namespace
