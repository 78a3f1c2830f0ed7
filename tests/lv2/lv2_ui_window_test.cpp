// The level meter's LV2 UI in a real host window, loaded and embedded as an LV2 host does
// (ui:parent, ui:resize, ui:touch, the idle interface): it shows a reading sent as a port
// event, a real click on a switch reaches the write function inside a touch, and it closes
// and opens again. Skips where there is no window system or no xdotool.
#include <gtest/gtest.h>
#include <lv2/ui/ui.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "engine/meter_parameters.h"
#include "lv2/port_layout.h"
#include "lv2/ui_uri.h"
#include "meter_level/level_parameters.h"
#include "meter_loudness/loudness_parameters.h"
#include "plugin/product.h"
#include "resources/loudness_layout.h"
#include "resources/panel_layout.h"
#include "tests/host/pointer_gesture.h"
#include "tests/lv2/lv2_test_host.h"
#include "tools/hostsupport/host_window.h"
#include "tools/hostsupport/plugin_library.h"

namespace {

using namespace layout;

constexpr const char* kTitle = "PevoLv2UiWindowTest";
constexpr int kMargin = 20;

/// What the UI told the host: sizes, written port values and touches, in order, and the
/// atoms it wrote, for the plug-in's control sequence.
struct HostRecord {
    int width = 0;
    int height = 0;
    std::vector<std::string> events;
    std::vector<std::vector<std::uint8_t>> atoms;
};

/// An LV2 host's side of one UI: its features and its write function.
class UiHost {
  public:
    /// The UI library's panel `index`.
    UiHost(void* parentWindow, std::uint32_t index) : parent{LV2_UI__parent, parentWindow} {
        // Loaded once and kept until the process ends: ThreadSanitizer runs the library's
        // exit handlers at exit even when it has been unloaded.
        static const std::unique_ptr<PluginLibrary> library =
            PluginLibrary::open(PEVO_LV2_BUNDLE "/pevo_lv2_ui.so");
        // The loader hands out any entry as the VST 2 one's type.
        const auto entry =
            library ? reinterpret_cast<LV2UI_DescriptorFunction>(
                          reinterpret_cast<void (*)()>(library->entry("lv2ui_descriptor")))
                    : nullptr;
        descriptor = entry ? entry(index) : nullptr;
    }
    ~UiHost() { close(); }

    bool open() {
        handle =
            descriptor->instantiate(descriptor, "", "", &UiHost::write, &record, &widget, features);
        const void* data = descriptor->extension_data(LV2_UI__idleInterface);
        idleInterface = static_cast<const LV2UI_Idle_Interface*>(data);
        return handle && widget && idleInterface;
    }
    void close() {
        if (handle) {
            descriptor->cleanup(handle);
            handle = nullptr;
        }
    }
    void send(std::uint32_t port, float value) {
        descriptor->port_event(handle, port, sizeof(float), 0, &value);
    }
    void idle() { idleInterface->idle(handle); }

    const LV2UI_Descriptor* descriptor = nullptr;
    LV2UI_Handle handle = nullptr;
    LV2UI_Widget widget = nullptr;
    const LV2UI_Idle_Interface* idleInterface = nullptr;
    HostRecord record;

  private:
    static void write(LV2UI_Controller controller, std::uint32_t port, std::uint32_t size,
                      std::uint32_t format, const void* buffer) {
        auto* host = static_cast<HostRecord*>(controller);
        if (format == Lv2Bundle::get().map(LV2_ATOM__eventTransfer)) {
            const auto* bytes = static_cast<const std::uint8_t*>(buffer);
            host->atoms.emplace_back(bytes, bytes + size);
            return;
        }
        float value = -1.0f;
        if (size == sizeof(float) && format == 0) {
            std::memcpy(&value, buffer, sizeof value);
        }
        host->events.push_back("write " + std::to_string(port) + " " + std::to_string(value));
    }
    static int resize(LV2UI_Feature_Handle handle, int width, int height) {
        auto* host = static_cast<HostRecord*>(handle);
        host->width = width;
        host->height = height;
        return 0;
    }
    static void touch(LV2UI_Feature_Handle handle, std::uint32_t port, bool grabbed) {
        static_cast<HostRecord*>(handle)->events.push_back((grabbed ? "grab " : "release ") +
                                                           std::to_string(port));
    }

    LV2_Feature parent;
    LV2UI_Resize resizeData{&record, &UiHost::resize};
    LV2_Feature resizeFeature{LV2_UI__resize, &resizeData};
    LV2UI_Touch touchData{&record, &UiHost::touch};
    LV2_Feature touchFeature{LV2_UI__touch, &touchData};
    LV2_Feature mapFeature{LV2_URID__map, Lv2Bundle::get().urid()};
    const LV2_Feature* features[5] = {&parent, &resizeFeature, &touchFeature, &mapFeature, nullptr};
};

class Lv2UiWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        // Room for either panel.
        window = CHostWindow::create(kPanelWidth + kMargin, kLargestHeight + kMargin, kTitle);
        if (!window) {
            GTEST_SKIP() << "no window system";
        }
        open(0);
        EXPECT_EQ(ui->descriptor->URI, uiUriOf(levelMeterIdentity().lv2Uri));
    }
    void open(std::uint32_t index) {
        ui = std::make_unique<UiHost>(window->handle(), index);
        ASSERT_TRUE(ui->descriptor);
        ASSERT_TRUE(ui->open());
        serve(20);
    }
    void serve(int turns) {
        for (int i = 0; i < turns; ++i) {
            window->processEvents();
            if (ui->handle) {
                ui->idle();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    void serveUntil(const std::function<bool()>& done) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(15);
        while (!done() && std::chrono::steady_clock::now() < limit) {
            serve(1);
        }
    }
    /// How many pixels of a meter strip (the second by default) differ between two pictures.
    int stripChanges(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b,
                     int width, int strip = 1) {
        int changes = 0;
        const int y = kMeterTops[strip] + kMeterHeight / 2;
        for (int x = kMeterLeft; x < kMeterLeft + kMeterWidth; ++x) {
            changes += a[std::size_t(y) * width + x] != b[std::size_t(y) * width + x];
        }
        return changes;
    }

    static constexpr int kPanelWidth = 900;
    static constexpr int kPanelHeight = 202;
    static constexpr int kLargestHeight = loudness_layout::kHeight;
    std::unique_ptr<CHostWindow> window;
    std::unique_ptr<UiHost> ui;
};

TEST_F(Lv2UiWindow, ShowsReadingsAndWritesAClickedSwitch) {
    EXPECT_EQ(ui->record.width, kPanelWidth);
    EXPECT_EQ(ui->record.height, kPanelHeight);
    std::vector<std::uint32_t> atRest, lit;
    int width = 0, height = 0;
    ASSERT_TRUE(window->capture(atRest, width, height));

    // A loud RMS reading of the second strip, as the plug-in's control output carries it.
    const PortLayout layout(levelMeterParameters());
    const ControlPort& rms = layout.controls()[kRmsLevel];
    ui->send(PortLayout::kFirstControl + kRmsLevel, rms.portValue(encodeMeter(1, 0.8f)));
    serve(10);
    ASSERT_TRUE(window->capture(lit, width, height));
    EXPECT_GT(stripChanges(atRest, lit, width), kMeterWidth / 2);

    if (!PointerGesture::available()) {
        GTEST_SKIP() << "xdotool cannot be run";
    }
    // The lowest position of the Mode switch: mono.
    const int x = kSwitchLeft + kSwitchWidth / 2;
    const int y = kModeSwitchTop + kSwitchSubImage - 5;
    PointerGesture click(PointerGesture::findWindow(kTitle) + "mousemove --window %1 " +
                         std::to_string(x) + " " + std::to_string(y) + " sleep 0.2 click 1");
    serveUntil([&] { return click.finished() && ui->record.events.size() >= 3; });
    const std::string mode = std::to_string(PortLayout::kFirstControl + kMode);
    const std::vector<std::string> expected = {"grab " + mode, "write " + mode + " 2.000000",
                                               "release " + mode};
    EXPECT_EQ(ui->record.events, expected);
}

/// The plug-in runs on an audio thread of its own while the UI, on this one, idles and is sent
/// the readings the host copies from the control outputs.
TEST_F(Lv2UiWindow, IdlesWhileThePluginRunsOnItsOwnThread) {
    const PortLayout layout(levelMeterParameters());
    Lv2TestInstance plugin(levelMeterIdentity().lv2Uri, 48000.0);
    ASSERT_TRUE(plugin.valid());
    std::vector<std::atomic<float>> readings(layout.controls().size());
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        std::vector<float> left(256, 0.5f), right(256, -0.25f), out[2] = {left, right};
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {out[0].data(), out[1].data()};
        while (!stop.load()) {
            plugin.run(inputs, outputs, 256);
            for (std::size_t i = 0; i < readings.size(); ++i) {
                readings[i].store(plugin.control(layout.controls()[i].symbol));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    for (int turn = 0; turn < 50; ++turn) {
        for (std::size_t i = 0; i < readings.size(); ++i) {
            if (layout.controls()[i].output) {
                ui->send(PortLayout::kFirstControl + static_cast<std::uint32_t>(i),
                         readings[i].load());
            }
        }
        serve(1);
    }
    stop.store(true);
    audio.join();
    EXPECT_TRUE(ui->record.events.empty());  // showing readings writes nothing
}

/// A louder left channel through the plug-in, its control outputs sent to the UI as a host
/// sends them: both strips light, the first further than the second.
TEST_F(Lv2UiWindow, ShowsEachStripFromThePluginsOutputs) {
    const PortLayout layout(levelMeterParameters());
    Lv2TestInstance plugin(levelMeterIdentity().lv2Uri, 48000.0);
    ASSERT_TRUE(plugin.valid());
    std::vector<float> left(480), right(480), out[2] = {left, right};
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {out[0].data(), out[1].data()};
    for (int block = 0; block < 100; ++block) {
        for (std::size_t i = 0; i < left.size(); ++i) {
            const float s = std::sin(0.1309f * static_cast<float>(i));  // 1 kHz
            left[i] = 0.5f * s;                                         // -6 dB
            right[i] = 0.05f * s;                                       // -26 dB
        }
        plugin.run(inputs, outputs, 480);
    }
    std::vector<std::uint32_t> atRest, lit;
    int width = 0, height = 0;
    ASSERT_TRUE(window->capture(atRest, width, height));
    for (std::size_t i = 0; i < layout.controls().size(); ++i) {
        if (layout.controls()[i].output) {
            ui->send(PortLayout::kFirstControl + static_cast<std::uint32_t>(i),
                     plugin.control(layout.controls()[i].symbol));
        }
    }
    serve(10);
    ASSERT_TRUE(window->capture(lit, width, height));
    const int first = stripChanges(atRest, lit, width, 0);
    const int second = stripChanges(atRest, lit, width, 1);
    EXPECT_GT(second, 0);
    EXPECT_GT(first, second + kMeterWidth / 4);
}

/// The loudness panel opened after ten minutes of audio asks for the history on its first
/// idle, and its graph shows what the plug-in sends from its next blocks.
TEST_F(Lv2UiWindow, TheLoudnessPanelShowsTheTenMinutesBeforeItOpened) {
    Lv2TestInstance plugin(loudnessMeterIdentity().lv2Uri, 48000.0);
    ASSERT_TRUE(plugin.valid());
    std::vector<float> left(4096), right(4096), out[2] = {left, right};
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {out[0].data(), out[1].data()};
    const auto play = [&](int blocks) {
        for (int block = 0; block < blocks; ++block) {
            for (std::size_t i = 0; i < left.size(); ++i) {  // 1 kHz, louder by the minute
                left[i] = right[i] =
                    (0.05f + 0.05f * float(block / 703)) * std::sin(0.1309f * float(i));
            }
            plugin.run(inputs, outputs, 4096);
        }
    };
    play(7031);  // ten minutes
    open(1);
    std::vector<std::uint32_t> empty, shown;
    int width = 0, height = 0;
    ASSERT_TRUE(window->capture(empty, width, height));
    ASSERT_EQ(ui->record.atoms.size(), 1u);  // the request
    const PortLayout layout(loudnessMeterParameters());
    for (int block = 0; block < 5; ++block) {
        for (const auto& atom : ui->record.atoms) {
            plugin.sendAtom(reinterpret_cast<const LV2_Atom*>(atom.data()));
        }
        ui->record.atoms.clear();
        play(1);
        for (const auto& event : plugin.panelData()) {
            ui->descriptor->port_event(ui->handle, layout.panelDataPort(),
                                       std::uint32_t(event.size()),
                                       Lv2Bundle::get().map(LV2_ATOM__eventTransfer), event.data());
        }
        serve(2);
    }
    ASSERT_TRUE(window->capture(shown, width, height));
    int changed = 0;
    const loudness_layout::Box plot = loudness_layout::kHistoryPlot;
    for (int y = plot.top; y < plot.bottom; ++y) {
        for (int x = plot.left; x < plot.right; ++x) {
            changed += empty[std::size_t(y) * width + x] != shown[std::size_t(y) * width + x];
        }
    }
    EXPECT_GT(changed, plot.width() * 3);  // a line across the plot, at the least
}

/// Each panel, the loudness meter's after the level meter's in the same window, closes and
/// opens again and draws.
TEST_F(Lv2UiWindow, EachPanelClosesAndOpensAgain) {
    for (std::uint32_t index : {0u, 1u}) {
        SCOPED_TRACE(index);
        open(index);
        ui->close();
        serve(5);
        ASSERT_TRUE(ui->open());
        serve(20);
        std::vector<std::uint32_t> pixels;
        int width = 0, height = 0;
        ASSERT_TRUE(window->capture(pixels, width, height));
        EXPECT_NE(pixels[std::size_t(kMeterTops[0]) * width + kSwitchLeft + 5], 0u);
    }
}

}  // namespace
