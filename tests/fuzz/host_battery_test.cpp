// What real hosts are known to do, each through the record of the delivered effect with its
// editor on the headless platform (windowless where there is none): processing before
// switch-on and after switch-off, blocks of every length in turn, every common sample rate,
// editor requests in any state, set-up, automation and the editor on threads of their own
// while audio runs, and many instances at once. Meant for the sanitizer builds too.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "tests/fuzz/host_block.h"
#include "tests/fuzz/hostile_host.h"

namespace {

/// One instance of the delivered effect, closed when it goes.
class Instance {
  public:
    explicit Instance(HostileHost& host) : record(host.create()) {}
    ~Instance() {
        if (record) {
            dispatch(effClose);
        }
    }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    VstIntPtr dispatch(VstInt32 opcode, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f) {
        return record->dispatcher(record, opcode, 0, value, ptr, opt);
    }
    /// A block through processReplacing (or process), checked: what went wrong, or nothing.
    std::string process(HostBlock& block, bool replacing = true) {
        (replacing ? record->processReplacing : record->process)(record, block.inputs(),
                                                                 block.outputs(), block.frames());
        return block.check();
    }
    bool readingsPublished() {
        for (VstInt32 index = 1; index <= 3; ++index) {
            const float value = record->getParameter(record, index);
            if (!(std::isfinite(value) && value >= 1.0f && value <= 1.5f)) {
                return false;
            }
        }
        return true;
    }
    std::string display(VstInt32 index) {
        char text[kVstMaxLabelLen] = "";
        record->dispatcher(record, effGetParamDisplay, index, 0, text, 0.0f);
        return text;
    }

    AEffect* record;
};

/// Channel 1's published reading of a constant `level` at or below full scale.
float readingOf(float level) {
    const float decibels = 20.0f * std::log10(level);
    return 1.0f + 0.5f * std::min(1.0f, std::max(0.0f, (decibels + 40.0f) / 40.0f));
}

TEST(HostBattery, BlocksBeforeSwitchOnAfterSwitchOffAndOfEveryLength) {
    HostileHost host;
    Instance effect(host);
    SignalSource source(7);
    const std::int32_t lengths[] = {512, 0, 1, 4096, 1, 0, 7, 8192, 128, 129, 2, 333, 0, 1};
    // Hosts process before their first switch-on, and some after switching off too.
    for (VstIntPtr mains : {-1, 0, 1}) {
        if (mains >= 0) {
            effect.dispatch(effMainsChanged, mains);
        }
        for (std::int32_t frames : lengths) {
            for (HostBlock::Layout layout : {HostBlock::kSeparate, HostBlock::kInPlace}) {
                HostBlock block(layout, frames, source);
                EXPECT_EQ(effect.process(block, frames % 2 == 0), "") << frames << " frames";
                EXPECT_TRUE(effect.readingsPublished()) << frames << " frames";
            }
        }
    }
}

TEST(HostBattery, SampleRatesFrom8To768kHz) {
    const int rates[] = {8000,  11025, 16000,  22050,  32000,  44100,  48000,
                         88200, 96000, 176400, 192000, 352800, 384000, 768000};
    for (int rate : rates) {
        HostileHost host;
        host.sampleRateAnswer = rate;  // the rate at construction, then announced again
        Instance effect(host);
        effect.dispatch(effSetSampleRate, 0, nullptr, static_cast<float>(rate));
        effect.dispatch(effMainsChanged, 1);
        effect.record->setParameter(effect.record, 0, 1.0f);
        const auto delay = static_cast<long>(rate * (1.0 * static_cast<double>(0.3f)));
        EXPECT_EQ(std::atol(effect.display(0).c_str()), delay) << rate;
        effect.record->setParameter(effect.record, 6, 0.5f);
        SignalSource source(static_cast<std::uint32_t>(rate));
        for (long done = 0; done < delay + rate / 10; done += 4096) {
            HostBlock block(HostBlock::kSeparate, 4096, source);
            block.setConstant(1, 0.5f);
            EXPECT_EQ(effect.process(block), "");
        }
        // The delayed signal has reached the meter; its peak and hold read -6 dB.
        EXPECT_NEAR(effect.record->getParameter(effect.record, 2), readingOf(0.5f), 2e-4f) << rate;
        EXPECT_NEAR(effect.record->getParameter(effect.record, 3), readingOf(0.5f), 2e-4f) << rate;
    }
}

TEST(HostBattery, EditorRequestsInAnyState) {
    HostileHost host;
    {
        Instance effect(host);
        ERect* rect = nullptr;
        EXPECT_EQ(effect.dispatch(effEditGetRect, 0, &rect), 1);  // before any open
        ASSERT_NE(rect, nullptr);
        EXPECT_EQ(rect->right - rect->left, 900);
        EXPECT_EQ(effect.dispatch(effEditIdle), 0);   // idle with no window
        EXPECT_EQ(effect.dispatch(effEditClose), 0);  // close without open
        // Open before the first switch-on, and twice without a close.
        EXPECT_EQ(effect.dispatch(effEditOpen, 0, host.parentWindow()), 1);
        EXPECT_EQ(effect.dispatch(effEditOpen, 0, host.parentWindow()), 1);
        EXPECT_EQ(host.openWindows(), host.parentWindow() ? 1u : 0u);
        effect.dispatch(effMainsChanged, 1);
        host.paintWindows();
        effect.dispatch(effEditIdle);
        EXPECT_EQ(effect.dispatch(effEditClose), 0);
        EXPECT_EQ(effect.dispatch(effEditClose), 0);
        effect.dispatch(effEditIdle);
        EXPECT_EQ(host.openWindows(), 0u);
        effect.dispatch(effEditOpen, 0, host.parentWindow());
    }
    EXPECT_EQ(host.leftovers(), "");  // closing the effect with its editor open
}

TEST(HostBattery, AudioSetUpAutomationAndEditorOnThreadsOfTheirOwn) {
    HostileHost host;
    Instance effect(host);
    AEffect* record = effect.record;
    std::atomic<bool> running{true};
    std::atomic<int> blocks{0};
    std::string audioFault;
    std::thread audio([&] {
        SignalSource source(3);
        const std::int32_t lengths[] = {256, 0, 1, 64, 1024, 3, 512};
        for (int i = 0; running.load() || i < 50; ++i) {
            HostBlock block(HostBlock::kSeparate, lengths[i % 7], source);
            const std::string fault = effect.process(block, i % 3 != 0);
            if (!fault.empty() && audioFault.empty()) {
                audioFault = fault;
            }
            blocks.fetch_add(1);
        }
    });
    std::thread automation([&] {
        SignalSource source(5);
        while (running.load()) {
            const auto index = static_cast<VstInt32>(source.next() % 8);
            record->setParameter(record, index, std::fabs(source.uniform()));
        }
    });
    // The host's own thread: the editor, and set-up requests in between.
    const float rates[] = {44100.0f, 96000.0f, 8000.0f, 48000.0f, 192000.0f};
    for (int round = 0; round < 60 || blocks.load() < 200; ++round) {
        effect.dispatch(effEditOpen, 0, host.parentWindow());
        for (int pass = 0; pass < 3; ++pass) {
            effect.dispatch(effEditIdle);
            host.paintWindows();
        }
        effect.dispatch(effSetSampleRate, 0, nullptr, rates[round % 5]);
        effect.dispatch(effSetBlockSize, 64 << (round % 5));
        effect.dispatch(effMainsChanged, round % 4 != 0);
        effect.dispatch(effEditClose);  // while the audio thread publishes into it
    }
    running.store(false);
    audio.join();
    automation.join();
    EXPECT_EQ(audioFault, "");
    record->setParameter(record, 1, 0.0f);
    SignalSource source(9);
    HostBlock last(HostBlock::kSeparate, 128, source);
    EXPECT_EQ(effect.process(last), "");
    EXPECT_TRUE(effect.readingsPublished());
    EXPECT_EQ(host.openWindows(), 0u);
}

TEST(HostBattery, SixtyFourInstancesAtOnce) {
    constexpr int kInstances = 64;
    HostileHost host;
    std::vector<std::unique_ptr<Instance>> instances;
    for (int i = 0; i < kInstances; ++i) {
        host.sampleRateAnswer = i % 2 ? 48000 : 44100;
        instances.push_back(std::make_unique<Instance>(host));
        ASSERT_NE(instances.back()->record, nullptr);
        if (i % 3 == 0) {
            instances.back()->dispatch(effEditOpen, 0, host.parentWindow());
        }
    }
    SignalSource source(11);
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < kInstances; ++i) {
            HostBlock block(HostBlock::kSeparate, 256, source);
            block.setConstant(1, (i + 1) / 64.0f);
            EXPECT_EQ(instances[i]->process(block), "") << i;
            instances[i]->dispatch(effEditIdle);
        }
        host.paintWindows();
    }
    // Each meters its own signal only.
    for (int i = 0; i < kInstances; ++i) {
        const float peak = instances[i]->record->getParameter(instances[i]->record, 2);
        EXPECT_NEAR(peak, readingOf((i + 1) / 64.0f), 2e-4f) << i;
    }
    instances.clear();
    EXPECT_EQ(host.leftovers(), "");
}

}  // namespace
