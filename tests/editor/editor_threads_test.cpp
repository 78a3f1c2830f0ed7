// The editor between threads, as hosts drive it: the audio thread publishes meter readings
// into the controls while the user-interface thread opens, redraws and closes the window and
// a third thread automates the settings. Run under ThreadSanitizer and AddressSanitizer,
// this shows the controls are never touched after close and never raced on.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/editor/editor_fixture.h"

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

}  // namespace
