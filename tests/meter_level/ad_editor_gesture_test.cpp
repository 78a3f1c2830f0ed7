// User gestures on the panel with the injected mouse and clock: what the host hears, in
// what order, and what the panel shows afterwards.
#include <gtest/gtest.h>

#include <algorithm>

#include "gui/control.h"
#include "gui/frame.h"
#include "tests/meter_level/editor_fixture.h"

namespace {

std::vector<HostRequest> only(const std::vector<HostRequest>& requests, VstInt32 opcode) {
    std::vector<HostRequest> found;
    std::copy_if(requests.begin(), requests.end(), std::back_inserter(found),
                 [opcode](const HostRequest& r) { return r.opcode == opcode; });
    return found;
}

/// Presses the left button at `from` on the slider's column and moves the cursor up one
/// pixel per poll of the mouse, letting go above `to`.
void dragSliderUp(EditorFixture& host, int from, int to, int modifiers = 0) {
    int y = from;
    host.pointAt({830, y});
    host.platform.setMouseState(kMouseLeft | modifiers);
    host.platform.setMousePollHook([&host, &y, to] {
        host.pointAt({830, --y});
        if (y < to) {
            host.platform.setMouseState(0);
        }
    });
    host.window()->press({830, from});
    host.platform.setMousePollHook(nullptr);
}

TEST(ADEditorGestureTest, SliderDragIsAutomatedInsideAnEditBracket) {
    EditorFixture host;
    host.open();
    dragSliderUp(host, 170, 95);

    ASSERT_GE(host.requests.size(), 3u);
    EXPECT_EQ(host.requests.front().opcode, audioMasterBeginEdit);
    EXPECT_EQ(host.requests.back().opcode, audioMasterEndEdit);
    const std::vector<HostRequest> automated = only(host.requests, audioMasterAutomate);
    ASSERT_GE(automated.size(), 50u);
    for (std::size_t i = 1; i < automated.size(); ++i) {
        EXPECT_EQ(automated[i].index, 0);
        EXPECT_GE(automated[i].value, automated[i - 1].value);  // up is more delay
    }
    EXPECT_LT(automated.front().value, 0.05f);  // pressed below the bottom of the travel
    EXPECT_EQ(automated.back().value, 1.0f);
    EXPECT_EQ(host.getParameter(0), 1.0f);

    // The host is served about every 50 ms of the drag.
    const std::vector<HostRequest> idles = only(host.requests, audioMasterIdle);
    ASSERT_GE(idles.size(), 4u);
    for (std::size_t i = 1; i < idles.size(); ++i) {
        EXPECT_NEAR(double(idles[i].time - idles[i - 1].time), 50.0, 4.0);
    }

    // The read-out follows at the next idle; the arrow keys then step the focused slider.
    host.idle();
    for (int view = 0; view < 2; ++view) {
        auto* control = static_cast<CControl*>(host.frame()->viewAt(view));
        EXPECT_EQ(control->getValue(), 1.0f);
        EXPECT_FALSE(control->isDirty());
    }
    host.requests.clear();
    EXPECT_EQ(host.dispatch(effEditKeyDown, 0, VKEY_DOWN), 1);
    EXPECT_FLOAT_EQ(host.getParameter(0), 0.9f);
    EXPECT_EQ(host.dispatch(effEditKeyDown, 0, VKEY_UP, nullptr, MODIFIER_SHIFT), 1);
    EXPECT_FLOAT_EQ(host.getParameter(0), 0.91f);
    EXPECT_TRUE(only(host.requests, audioMasterBeginEdit).empty());
}

TEST(ADEditorGestureTest, ControlClickRestoresTheDefaultWithoutAnEditBracket) {
    EditorFixture host;
    host.setParameter(0, 0.2f);
    host.setParameter(5, 1.0f);
    host.open();
    host.platform.setMouseState(kMouseLeft | kKeyControl);
    host.pointAt({90, 80});
    host.window()->press({90, 80});
    host.pointAt({830, 120});
    host.window()->press({830, 120});

    ASSERT_EQ(host.requests.size(), 2u);
    EXPECT_EQ(host.requests[0].opcode, audioMasterAutomate);
    EXPECT_EQ(host.requests[0].index, 5);
    EXPECT_EQ(host.getParameter(5), 0.0f);  // L|R, the top position
    EXPECT_EQ(host.requests[1].index, 0);
    EXPECT_EQ(host.getParameter(0), 0.5f);  // 150 ms
}

TEST(ADEditorGestureTest, SwitchesTakeTheZoneOfTheirFirstAndLastRows) {
    EditorFixture host;
    host.open();
    struct Switch {
        VstInt32 index;
        int x, top, zoneRows, positions;
    };
    // MODE and PK HOLD: three zones of 15 rows; RMS=PK: two of 14.
    const Switch switches[] = {{5, 90, 40, 15, 3}, {6, 100, 122, 15, 3}, {7, 800, 40, 14, 2}};
    for (const Switch& s : switches) {
        for (int zone = 0; zone < s.positions; ++zone) {
            const int first = s.top + zone * s.zoneRows;
            for (const int y : {first, first + s.zoneRows - 1}) {
                host.setParameter(s.index, 0.25f);  // no position: the click must set one
                host.idle();
                host.pointAt({s.x, y});
                host.window()->press({s.x, y}, kMouseLeft);  // a click, up again at once
                EXPECT_EQ(host.getParameter(s.index),
                          static_cast<float>(zone) / static_cast<float>(s.positions - 1))
                    << "parameter " << s.index << ", row " << y;
            }
        }
    }
}

TEST(ADEditorGestureTest, HostMayCloseTheEditorFromTheIdleOfADrag) {
    EditorFixture host;
    host.open();
    host.onRequest = [&host](const HostRequest& request) {
        if (request.opcode == audioMasterIdle) {
            host.onRequest = nullptr;
            host.dispatch(effEditClose);
        }
    };
    dragSliderUp(host, 170, 95);
    EXPECT_EQ(host.frame(), nullptr);
    EXPECT_EQ(host.requests.back().opcode, audioMasterEndEdit);
    host.open();  // and the editor opens again as before
    EXPECT_EQ(host.frame()->viewCount(), 11);

    // The same from the automation of an arrow key on the focused slider.
    host.platform.setMouseState(kMouseLeft);
    host.window()->press({830, 140}, 0);  // a tap: focus, no drag
    host.onRequest = [&host](const HostRequest& request) {
        if (request.opcode == audioMasterAutomate) {
            host.onRequest = nullptr;
            host.dispatch(effEditClose);
        }
    };
    EXPECT_EQ(host.dispatch(effEditKeyDown, 0, VKEY_UP), 1);
    EXPECT_EQ(host.frame(), nullptr);
}

}  // namespace
