// The editor between threads, as hosts drive it: the audio thread publishes meter readings
// into the controls while the user-interface thread opens, redraws and closes the window and
// a third thread automates the settings. Run under ThreadSanitizer and AddressSanitizer,
// this shows the controls are never touched after close and never raced on.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "plugin/panel_snapshot.h"
#include "tests/meter_level/editor_fixture.h"

namespace {

TEST(EditorThreadsTest, OpenIdleAndCloseWhileAudioAndAutomationRun) {
    EditorFixture host;
    std::atomic<bool> running{true};
    std::atomic<int> blocks{0};
    std::thread audio([&] {
        float level = 0.0f;
        while (running.load()) {
            level = level > 0.9f ? 0.0f : level + 0.05f;
            host.process(level, 1.0f - level, 64);
            blocks.fetch_add(1);
        }
    });
    std::thread automation([&] {
        for (int i = 0; running.load(); ++i) {
            const VstInt32 index = i % 8;
            host.setParameter(index, static_cast<float>(i % 11) / 10.0f);
        }
    });
    for (int round = 0; round < 150; ++round) {
        host.open();
        for (int pass = 0; pass < 3; ++pass) {
            host.idle();
            host.window()->paintAll();
        }
        host.dispatch(effEditClose);
    }
    running.store(false);
    audio.join();
    automation.join();
    EXPECT_GT(blocks.load(), 0);
    EXPECT_EQ(host.platform.windows().size(), 0u);
}

TEST(EditorThreadsTest, SnapshotsFromAnotherThreadWhileTheWindowComesAndGoes) {
    EditorFixture host;
    std::atomic<bool> running{true};
    std::atomic<int> drawn{0};
    std::thread tool([&] {
        std::vector<std::uint32_t> pixels(900 * 202);
        PanelSnapshot picture{900, 202, pixels.data()};
        while (running.load()) {
            drawn += static_cast<int>(host.dispatch(effVendorSpecific, kPanelSnapshotIndex,
                                                    kPanelSnapshotValue, &picture));
        }
    });
    for (int round = 0; round < 100; ++round) {
        host.open();
        host.setParameter(2, 1.0f + 0.005f * static_cast<float>(round));  // a peak to show
        host.idle();
        host.window()->paintAll();
        host.dispatch(effEditClose);
    }
    running.store(false);
    tool.join();
    EXPECT_GT(drawn.load(), 0);
    EXPECT_EQ(host.platform.windows().size(), 0u);
}

}  // namespace
