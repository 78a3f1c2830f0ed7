// The built plug-in's editor in a real host window, driven only through the record as a
// host drives it: the window opened with the editor inside, served as a host's
// user-interface thread serves it, and what it shows read back from the window system.
// Skips where there is no window system.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "tests/host/test_host.h"
#include "tools/hostsupport/host_window.h"

/// What the host window shows, read back from the window system.
struct Screen {
    std::vector<std::uint32_t> pixels;
    int width = 0;
    int height = 0;

    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    /// The pixels of a block, row by row.
    std::vector<std::uint32_t> block(int left, int top, int width, int height) const;
};

class HostWindowFixture : public ::testing::Test {
  protected:
    /// The host window leaves this much room right of and below the editor.
    static constexpr int kHostMargin = 20;

    /// For an editor of `panelWidth` x `panelHeight` in a host window titled `title`.
    HostWindowFixture(int panelWidth, int panelHeight, const char* title);

    /// Opens the editor in a new host window, after checking its size, and serves it a little.
    void SetUp() override;
    void TearDown() override;

    /// One turn of a host's user-interface thread: its window's events, then editor idle.
    void serveOnce();
    void serve(int turns);
    /// Serves until `done` says so, for at most fifteen seconds.
    void serveUntil(const std::function<bool()>& done);
    /// The whole host window; a failure, and black, when it cannot be read whole.
    Screen capture();

    const int panelWidth;
    const int panelHeight;
    const char* const title;
    TestHost testHost;
    std::unique_ptr<CHostWindow> host;
    std::unique_ptr<PluginInstance> plugin;
};
