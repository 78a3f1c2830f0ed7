// The loudness history from the LV2 plug-in to its UI: a UI that opens after ten minutes of
// audio asks for the history, the plug-in sends it from its blocks in pieces that fit the
// host's buffer, and the UI's copy (its panel's stand-in, without a window) then equals the
// history of the same effect fed the same audio, and follows it as the audio goes on: after
// a lost piece, and after a reset too.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "lv2/port_layout.h"
#include "lv2/ui/lv2_panels.h"
#include "lv2/ui/panel_data_receiver.h"
#include "meter_loudness/loudness_effect.h"
#include "meter_loudness/loudness_parameters.h"
#include "tests/lv2/lv2_test_host.h"

namespace {

constexpr int kRate = 48000;
constexpr std::uint32_t kBlock = 4096;

VstIntPtr effectHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : (opcode == audioMasterGetSampleRate ? kRate : 0);
}

/// The loudness plug-in beside the same effect in this process, fed the same programme: a
/// 1 kHz tone whose level steps every 20 s.
class Programme {
  public:
    Programme() : effect(effectHost), left(kBlock), right(kBlock), outputs{left, right} {}

    void play(double seconds) {
        for (double end = played + seconds; played < end; played += double(kBlock) / kRate) {
            const float gain = 0.02f + 0.4f * float(int(played / 20.0) % 5) / 4.0f;
            for (std::uint32_t i = 0; i < kBlock; ++i) {
                left[i] = right[i] = gain * std::sin(0.1309f * float(frame++ % 48000));
            }
            float* in[] = {left.data(), right.data()};
            float* out[] = {outputs[0].data(), outputs[1].data()};
            plugin.run(in, out, kBlock);
            effect.processReplacing(in, out, kBlock);
            afterBlock();
        }
    }

    Lv2TestInstance plugin{loudnessMeterIdentity().lv2Uri, kRate};
    LoudnessEffect effect;
    std::function<void()> afterBlock = [] {};

  private:
    std::vector<float> left, right, outputs[2];
    double played = 0.0;
    std::uint64_t frame = 0;
};

/// A UI's stand-in for the loudness panel and its receiver, as the UI library makes them; its
/// writes go to the plug-in's next block.
class HeadlessUi {
  public:
    explicit HeadlessUi(Lv2TestInstance& plugin)
        : layout(loudnessMeterParameters()),
          standIn(lv2Panel(1)->make(&effectHost, loudnessMeterParameters())),
          receiver(Lv2Bundle::get().features(), layout, &HeadlessUi::write, &plugin) {}

    /// The plug-in's panel data events of the last block, as a host hands them over; `lose`
    /// drops the piece of that number, counted over the UI's life.
    void deliver(const Lv2TestInstance& plugin, int lose = -1) {
        for (const std::vector<std::uint8_t>& event : plugin.panelData()) {
            if (pieces++ == lose) {
                continue;
            }
            EXPECT_TRUE(receiver.take(layout.panelDataPort(), std::uint32_t(event.size()),
                                      Lv2Bundle::get().map(LV2_ATOM__eventTransfer), event.data(),
                                      *standIn));
        }
    }
    const LoudnessHistory& history() const {
        return dynamic_cast<const LoudnessReadout&>(*standIn).history();
    }

    PortLayout layout;
    std::unique_ptr<PanelStandIn> standIn;
    PanelDataReceiver receiver;
    int pieces = 0;

  private:
    static void write(LV2UI_Controller controller, std::uint32_t port, std::uint32_t size,
                      std::uint32_t format, const void* buffer) {
        auto& plugin = *static_cast<Lv2TestInstance*>(controller);
        const auto* atom = static_cast<const LV2_Atom*>(buffer);
        ASSERT_EQ(format, Lv2Bundle::get().map(LV2_ATOM__eventTransfer));
        ASSERT_EQ(port, PortLayout(loudnessMeterParameters()).transportPort());
        ASSERT_EQ(size, sizeof(LV2_Atom) + atom->size);
        plugin.sendAtom(atom);
    }
};

void expectSameHistory(const LoudnessHistory& copy, const LoudnessHistory& original) {
    ASSERT_EQ(copy.size(), original.size());
    EXPECT_EQ(copy.secondsPerPoint(), original.secondsPerPoint());
    EXPECT_EQ(copy.loudest(), original.loudest());
    for (std::uint32_t i = 0; i < original.size(); ++i) {
        ASSERT_EQ(copy.at(i), original.at(i)) << "point " << i;
    }
}

TEST(Lv2PanelData, AUiOpenedAfterTenMinutesGetsTheWholeHistory) {
    struct Case {
        const char* name;
        int lostPiece;
        /// Until the copy is whole: a lost piece shows when the next one comes, with the next
        /// point, half a second on.
        double seconds;
    };
    for (const Case& c :
         {Case{"every piece arrives", -1, 0.2}, Case{"the second piece is lost", 1, 1.5}}) {
        SCOPED_TRACE(c.name);
        Programme programme;
        ASSERT_TRUE(programme.plugin.valid());
        programme.play(600.0);
        ASSERT_EQ(programme.effect.history().size(), 1200u);  // a point every half second
        EXPECT_TRUE(programme.plugin.panelData().empty());    // no UI has asked

        HeadlessUi ui(programme.plugin);
        ui.receiver.request();
        programme.afterBlock = [&] {
            for (const auto& event : programme.plugin.panelData()) {
                EXPECT_LE(event.size(), Lv2TestInstance::kPanelDataRoom);
            }
            ui.deliver(programme.plugin, c.lostPiece);
        };
        programme.play(c.seconds);
        expectSameHistory(ui.history(), programme.effect.history());
        EXPECT_GE(ui.pieces, 2);  // 1200 points do not fit one buffer

        programme.play(30.0);  // the copy follows, point by point
        expectSameHistory(ui.history(), programme.effect.history());

        // A reset on both: the copy starts afresh with the effect's.
        programme.plugin.control(ui.layout.controls()[loudness::kReset].symbol) = 1.0f;
        programme.effect.setParameter(loudness::kReset, 1.0f);
        programme.play(10.0);
        EXPECT_LT(ui.history().size(), 25u);
        expectSameHistory(ui.history(), programme.effect.history());
    }
}

}  // namespace
