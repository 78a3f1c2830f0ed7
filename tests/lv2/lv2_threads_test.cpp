// Both meters as hosts with several processing threads drive them: instances run at once on
// threads of their own while others are made and freed, as when a session loads. Meant for
// the tsan preset above all.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "lv2/lv2_products.h"
#include "lv2/port_layout.h"
#include "plugin/product.h"
#include "tests/lv2/lv2_test_host.h"

namespace {

constexpr double kRate = 48000.0;
constexpr std::uint32_t kBlock = 256;

/// Runs one block of noise through `plugin`, not in place.
void runBlock(Lv2TestInstance& plugin, std::mt19937& random) {
    std::uniform_real_distribution<float> sample(-0.5f, 0.5f);
    std::vector<float> in[2], out[2];
    for (int c = 0; c < 2; ++c) {
        in[c].resize(kBlock);
        out[c].resize(kBlock);
        for (float& s : in[c]) {
            s = sample(random);
        }
    }
    float* inputs[2] = {in[0].data(), in[1].data()};
    float* outputs[2] = {out[0].data(), out[1].data()};
    plugin.run(inputs, outputs, kBlock);
}

TEST(Lv2Threads, InstancesRunWhileOthersComeAndGo) {
    Lv2Bundle::get();
    std::vector<std::unique_ptr<Lv2TestInstance>> running;
    for (std::uint32_t p : {0u, 1u, 1u}) {
        running.push_back(std::make_unique<Lv2TestInstance>(lv2Product(p)->identity.lv2Uri, kRate));
        ASSERT_TRUE(running.back()->valid());
    }
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < running.size(); ++i) {
        threads.emplace_back([&, i] {
            std::mt19937 random(static_cast<unsigned>(i));
            for (int blocks = 0; blocks < 2000 && !stop.load(); ++blocks) {
                runBlock(*running[i], random);
            }
        });
    }
    std::mt19937 random(99);
    for (int i = 0; i < 20; ++i) {
        Lv2TestInstance passing(lv2Product(static_cast<std::uint32_t>(i % 2))->identity.lv2Uri,
                                kRate);
        ASSERT_TRUE(passing.valid());
        runBlock(passing, random);
    }
    stop.store(true);
    for (std::thread& thread : threads) {
        thread.join();
    }
    // What each instance measured is a number, in its port's range.
    for (std::size_t i = 0; i < running.size(); ++i) {
        const PortLayout layout(lv2Product(i == 0 ? 0 : 1)->parameters);
        for (const ControlPort& port : layout.controls()) {
            const float value = running[i]->control(port.symbol);
            EXPECT_TRUE(value >= port.minimum && value <= port.maximum) << port.name << value;
        }
    }
}

}  // namespace
