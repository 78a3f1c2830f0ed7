#include "tests/host/host_window_fixture.h"

#include <chrono>
#include <thread>

std::vector<std::uint32_t> Screen::block(int left, int top, int blockWidth, int blockHeight) const {
    std::vector<std::uint32_t> result;
    for (int y = top; y < top + blockHeight; ++y) {
        for (int x = left; x < left + blockWidth; ++x) {
            result.push_back(at(x, y));
        }
    }
    return result;
}

HostWindowFixture::HostWindowFixture(int panelWidth, int panelHeight, const char* title)
    : panelWidth(panelWidth), panelHeight(panelHeight), title(title) {}

void HostWindowFixture::SetUp() {
    host = CHostWindow::create(panelWidth + kHostMargin, panelHeight + kHostMargin, title);
    if (!host) {
        GTEST_SKIP() << "no window system";
    }
    plugin = PluginInstance::create();
    ASSERT_TRUE(plugin);
    ERect* rect = nullptr;
    ASSERT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, panelWidth);
    EXPECT_EQ(rect->bottom - rect->top, panelHeight);
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, host->handle()), 1);
    serve(5);
}

void HostWindowFixture::TearDown() {
    if (plugin) {
        plugin->dispatch(effEditClose);
    }
    plugin.reset();
    host.reset();
}

void HostWindowFixture::serveOnce() {
    host->processEvents();
    plugin->dispatch(effEditIdle);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void HostWindowFixture::serve(int turns) {
    for (int i = 0; i < turns; ++i) {
        serveOnce();
    }
}

void HostWindowFixture::serveUntil(const std::function<bool()>& done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!done() && std::chrono::steady_clock::now() < limit) {
        serveOnce();
    }
}

Screen HostWindowFixture::capture() {
    Screen screen;
    EXPECT_TRUE(host->capture(screen.pixels, screen.width, screen.height));
    if (screen.width < panelWidth + kHostMargin || screen.height < panelHeight + kHostMargin) {
        ADD_FAILURE() << "captured " << screen.width << " x " << screen.height;
        screen.width = panelWidth + kHostMargin;
        screen.height = panelHeight + kHostMargin;
        screen.pixels.assign(std::size_t(screen.width) * screen.height, 0);
    }
    return screen;
}
