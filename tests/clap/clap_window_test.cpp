// Each meter's panel in a real host window through the GUI extension, repainted from the
// host's timer: the meters move with the audio, a real click on a switch reaches the host as
// gesture begin, value and gesture end, and the panel closes and opens again as it was, in
// the orders hosts use. On Linux the X server shows it; on Windows, Wine on such a server.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "resources/loudness_layout.h"
#include "resources/panel_layout.h"
#include "tests/clap/clap_test_host.h"
#include "tests/host/pointer_gesture.h"
#include "tools/hostsupport/host_window.h"

namespace {

struct PanelCase {
    const char* clapId;
    const char* title;
    int width;
    int height;
    /// A point on a two-way switch that flips it.
    int switchX;
    int switchY;
};

const PanelCase kPanels[] = {
    {"org.quellmark.pevo.level", "PevoClapLevelWindow", layout::kWidth, layout::kHeight,
     layout::kRmsSwitchLeft + 6, layout::kRmsSwitchTop + layout::kRmsSwitchSubImage - 6},
    {"org.quellmark.pevo.loudness", "PevoClapLoudnessWindow", loudness_layout::kWidth,
     loudness_layout::kHeight, loudness_layout::kScaleSwitch.left + 6,
     loudness_layout::kScaleSwitch.top + loudness_layout::kSwitchImageHeight - 6},
};

constexpr int kMargin = 20;

/// One panel in one host window, served as a host's main thread serves it.
class PanelSession {
  public:
    PanelSession(const PanelCase& panel, ClapTestHost& host)
        : panel(panel), host(host), meter(host, panel.clapId) {
        window = CHostWindow::create(panel.width + kMargin, panel.height + kMargin, panel.title);
        gui = meter.plugin ? meter.extension<ClapPluginGui>(CLAP_EXT_GUI) : nullptr;
    }
    ~PanelSession() {
        if (gui) {
            gui->destroy(meter.plugin);
        }
    }

    /// create, set_parent, then the size (the order Qtractor uses), then show.
    void open() {
        ASSERT_TRUE(gui->isApiSupported(meter.plugin, api(), false));
        EXPECT_FALSE(gui->isApiSupported(meter.plugin, api(), true));
        ASSERT_TRUE(gui->create(meter.plugin, api(), false));
        ClapWindow parent{api(), {}};
        parent.ptr = window->handle();
        ASSERT_TRUE(gui->setParent(meter.plugin, &parent));
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        ASSERT_TRUE(gui->getSize(meter.plugin, &width, &height));
        EXPECT_EQ(width, std::uint32_t(panel.width));
        EXPECT_EQ(height, std::uint32_t(panel.height));
        EXPECT_FALSE(gui->canResize(meter.plugin));
        ClapGuiResizeHints hints{true, true, true, 1, 1};
        ASSERT_TRUE(gui->getResizeHints(meter.plugin, &hints));  // Qtractor asks, and warns
        EXPECT_FALSE(hints.canResizeHorizontally || hints.canResizeVertically);
        ASSERT_TRUE(gui->show(meter.plugin));
        EXPECT_EQ(host.timers.size(), 1u);
        serve(5);
    }

    /// The platform's window system, as the plug-in prefers it.
    const char* api() const {
        const char* preferred = nullptr;
        bool floating = true;
        EXPECT_TRUE(gui->getPreferredApi(meter.plugin, &preferred, &floating));
        EXPECT_FALSE(floating);
        return preferred;
    }

    /// One turn: the window's events, the host's timers, and a block of tone at -20 dBFS.
    void serveOnce() {
        window->processEvents();
        for (const ClapId timer : host.timers) {
            meter.extension<ClapPluginTimerSupport>(CLAP_EXT_TIMER_SUPPORT)
                ->onTimer(meter.plugin, timer);
        }
        StereoAudio audio(480, true);
        for (std::uint32_t i = 0; i < audio.frames; ++i) {
            audio.input[0][i] = audio.input[1][i] =
                0.1f * std::sin(0.13f * static_cast<float>(played++));
        }
        meter.process(audio, nullptr, &received);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    void serve(int turns) {
        for (int k = 0; k < turns; ++k) {
            serveOnce();
        }
    }
    std::vector<std::uint32_t> capture() {
        std::vector<std::uint32_t> pixels;
        int width = 0;
        int height = 0;
        EXPECT_TRUE(window->capture(pixels, width, height));
        return pixels;
    }

    const PanelCase& panel;
    ClapTestHost& host;
    ClapPluginUnderTest meter;
    std::unique_ptr<CHostWindow> window;
    const ClapPluginGui* gui = nullptr;
    EventList received;
    std::uint32_t played = 0;
};

/// Runs `check` on each panel, open in a host window of its own over its meter running at
/// 48 kHz; skips the test where there is no window system.
void forEachOpenPanel(const std::function<void(PanelSession&)>& check) {
    for (const PanelCase& panel : kPanels) {
        SCOPED_TRACE(panel.clapId);
        ClapTestHost host;
        PanelSession session(panel, host);
        if (!session.window) {
            GTEST_SKIP() << "no window system";
        }
        ASSERT_TRUE(session.gui && session.meter.activate(48000.0, 512));
        session.open();
        check(session);
    }
}

TEST(ClapPanelWindow, MetersMoveAndARealClickReachesTheHostAsAGesture) {
    forEachOpenPanel([](PanelSession& session) {
        const PanelCase& panel = session.panel;
        const auto quiet = session.capture();
        session.serve(100);
        EXPECT_NE(session.capture(), quiet) << "the meters did not move";

        if (!PointerGesture::available()) {
            GTEST_SKIP() << "xdotool cannot be run";
        }
        session.received.clear();
        {
            PointerGesture click(PointerGesture::findWindow(panel.title) +
                                 "mousemove --window %1 " + std::to_string(panel.switchX) + " " +
                                 std::to_string(panel.switchY) +
                                 " sleep 0.3 mousedown 1 sleep 0.3 mouseup 1 sleep 0.3");
            const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(15);
            while ((!click.finished() || session.received.size() < 3) &&
                   std::chrono::steady_clock::now() < limit) {
                session.serveOnce();
            }
        }
        ASSERT_EQ(session.received.size(), 3u) << session.received.summary();
        const auto& begin = reinterpret_cast<const ClapEventParamGesture&>(session.received.at(0));
        const auto& value = reinterpret_cast<const ClapEventParamValue&>(session.received.at(1));
        const ClapId id = begin.paramId;
        EXPECT_EQ(session.received.summary(),
                  "7:" + std::to_string(id) + " 5:" + std::to_string(id) + "=" +
                      std::to_string(int(value.value)) + " 8:" + std::to_string(id));
        EXPECT_EQ(session.meter.value(id), value.value);
    });
}

TEST(ClapPanelWindow, ClosesAndOpensAgainInEveryOrderHostsUse) {
    forEachOpenPanel([](PanelSession& session) {
        const ClapPlugin* plugin = session.meter.plugin;
        const ClapPluginGui& gui = *session.gui;
        for (int round = 0; round < 3; ++round) {
            EXPECT_TRUE(gui.hide(plugin));
            session.serve(3);
            EXPECT_TRUE(gui.show(plugin));
            EXPECT_TRUE(gui.show(plugin));  // shown twice: still one panel
            session.serve(3);
            gui.destroy(plugin);
            gui.destroy(plugin);  // a second destroy changes nothing
            EXPECT_TRUE(session.host.timers.empty()) << "the timer outlived the panel";
            EXPECT_FALSE(gui.show(plugin)) << "shown after destroy";
            session.open();
        }
        session.serve(5);
        const auto shown = session.capture();
        gui.hide(plugin);
        session.serve(5);
        EXPECT_NE(session.capture(), shown) << "the panel stayed after hide";
    });
}

}  // namespace
