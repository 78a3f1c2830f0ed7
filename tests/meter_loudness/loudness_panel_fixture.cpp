#include "tests/meter_loudness/loudness_panel_fixture.h"

#include <cmath>
#include <cstdio>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "meter_loudness/loudness_effect.h"

std::vector<LoudnessPanelTest::Request>* LoudnessPanelTest::requests = nullptr;
int LoudnessPanelTest::hostIdles = 0;
VstInt32 LoudnessPanelTest::closeOn = -1;

std::uint32_t packed(CRgbColour colour) {
    return (std::uint32_t(colour.red) << 16) | (std::uint32_t(colour.green) << 8) | colour.blue;
}

VstIntPtr LoudnessPanelTest::host(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr,
                                  void*, float opt) {
    if (opcode == audioMasterVersion) {
        return 2400;
    }
    hostIdles += opcode == audioMasterIdle;
    if (opcode == closeOn && effect) {
        closeOn = -1;
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        if (requests) {
            requests->push_back({opcode, index, opt});
        }
        requests = nullptr;  // the fixture's record is gone with it
        return 0;
    }
    if (opcode == audioMasterGetSampleRate) {
        return static_cast<VstIntPtr>(kRate);
    }
    if (requests && (opcode == audioMasterAutomate || opcode == audioMasterBeginEdit ||
                     opcode == audioMasterEndEdit)) {
        requests->push_back({opcode, index, opt});
    }
    return 0;
}

void LoudnessPanelTest::SetUp() {
    requests = &seen;
    record = (new LoudnessEffect(host))->getAeffect();
    record->dispatcher(record, effEditOpen, 0, 0, &parentWindow, 0.0f);
    window = platform.lastWindow();
    ASSERT_NE(window, nullptr);
    window->paintAll();
}

void LoudnessPanelTest::TearDown() {
    if (requests) {
        record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    }
    requests = nullptr;
    closeOn = -1;
}

void LoudnessPanelTest::hold(CPosition where, int polls, std::uint32_t apart) {
    int seenPolls = 0;
    const CPosition origin = window->screenOrigin();
    platform.setCursorPosition({origin.x + where.x, origin.y + where.y});
    platform.setMouseState(kMouseLeft);
    platform.setMousePollHook([&] {
        platform.advance(apart);
        if (++seenPolls >= polls) {
            platform.setMouseState(0);
        }
    });
    window->press(where);
    platform.setMousePollHook(nullptr);
    platform.setMouseState(0);
}

void LoudnessPanelTest::fillTone(double dbfs, std::vector<float>& left, std::vector<float>& right) {
    const double amplitude = std::pow(10.0, dbfs / 20.0);
    for (std::size_t i = 0; i < left.size(); ++i) {
        left[i] = right[i] = static_cast<float>(amplitude * std::sin(phase));
        phase += 2.0 * 3.14159265358979 * 1000.0 / kRate;
    }
}

std::vector<std::uint32_t> LoudnessPanelTest::box(const loudness_layout::Box& area) const {
    std::vector<std::uint32_t> pixels;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            pixels.push_back(pixel(x, y));
        }
    }
    return pixels;
}

int LoudnessPanelTest::count(const loudness_layout::Box& area, CRgbColour colour) const {
    int found = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            found += pixel(x, y) == packed(colour);
        }
    }
    return found;
}

void LoudnessPanelTest::writePng(const char* path) const {
    const CSoftSurface& surface = window->pixels();
    std::vector<unsigned char> rgb;
    for (std::uint32_t p : surface.pixels()) {
        rgb.insert(rgb.end(), {static_cast<unsigned char>(p >> 16),
                               static_cast<unsigned char>(p >> 8), static_cast<unsigned char>(p)});
    }
    ASSERT_TRUE(stbi_write_png(path, surface.width(), surface.height(), 3, rgb.data(),
                               surface.width() * 3));
    std::printf("panel written to %s\n", path);
}

void LoudnessPanelTest::set(VstInt32 index, float value) {
    record->setParameter(record, index, value);
    record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
}
