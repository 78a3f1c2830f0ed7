// A host that calls from several threads at once: the audio thread measures while others
// change the rate, the settings and the program, reset, read every text, and idle and
// picture the open panel. Meant to run
// under ThreadSanitizer; every text read meanwhile must be one the effect can write.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "meter_loudness/loudness_effect.h"
#include "plugin/panel_snapshot.h"
#include "resources/loudness_layout.h"
#include "tests/plugin/program_name_race.h"

namespace {

VstIntPtr quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

/// A level text: "-inf", or a number with one decimal.
bool isLevelText(const char* text) {
    if (std::string(text) == "-inf") {
        return true;
    }
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    return end != text && *end == '\0' && std::isfinite(value);
}

TEST(LoudnessThreads, RequestsFromEveryThreadDuringProcessing) {
    LoudnessEffect effect(quietHost);
    std::atomic<bool> running{true};
    std::atomic<int> blocks{0};
    std::thread audio([&] {
        std::vector<float> left(256), right(256);
        float* channels[] = {left.data(), right.data()};
        for (unsigned block = 0; running.load(); ++block) {
            for (std::size_t i = 0; i < left.size(); ++i) {
                left[i] = std::sin(0.1f * static_cast<float>(block * 256 + i)) * 0.3f;
                right[i] = -left[i];
            }
            effect.processReplacing(channels, channels, 256);
            blocks.fetch_add(1);
        }
    });
    std::atomic<int> badTexts{0};
    std::thread reader([&] {
        char text[kVstMaxLabelLen];
        while (running.load()) {
            for (VstInt32 index = 0; index < loudness::kIntegrating; ++index) {
                effect.getParameterDisplay(index, text);
                const float value = effect.getParameter(index);
                if (!isLevelText(text) || !(value >= 0.0f && value <= 1.0f)) {
                    badTexts.fetch_add(1);
                }
            }
        }
    });
    // The editor's thread: the panel open, its idle, and pictures of it, which draw all of it.
    std::thread panel([&] {
        effect.dispatcher(effEditOpen, 0, 0, nullptr, 0.0f);
        std::vector<std::uint32_t> pixels(std::size_t(loudness_layout::kWidth) *
                                          loudness_layout::kHeight);
        PanelSnapshot picture{loudness_layout::kWidth, loudness_layout::kHeight, pixels.data()};
        for (int turn = 0; running.load(); ++turn) {
            effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.0f);
            if (turn % 16 == 0) {
                effect.dispatcher(effVendorSpecific, kPanelSnapshotIndex, kPanelSnapshotValue,
                                  &picture, 0.0f);
            }
        }
        effect.dispatcher(effEditClose, 0, 0, nullptr, 0.0f);
    });
    const float rates[] = {44100.0f, 48000.0f, 96000.0f, 22050.0f};
    for (int round = 0; round < 200 || (blocks.load() < 2000 && round < 100000); ++round) {
        effect.setSampleRate(rates[round % 4]);
        effect.setParameter(loudness::kReset, static_cast<float>(round % 2));
        effect.setParameter(loudness::kUnit, static_cast<float>(round % 2));
        effect.setProgram(round % loudness::kNumPrograms);
    }
    running.store(false);
    audio.join();
    reader.join();
    panel.join();
    EXPECT_EQ(badTexts.load(), 0);
    EXPECT_GT(blocks.load(), 0);
}

// A host selecting and renaming programs on one thread while another reads them: every name
// read is one the effect was given, never a mix of two.
TEST(LoudnessThreads, ProgramsAndTheirNamesReadWhileAnotherThreadChangesThem) {
    LoudnessEffect effect(quietHost);
    const auto isFactoryName = [](const std::string& name) {
        for (const loudness::ProgramSettings& settings : loudness::kPrograms) {
            if (name == settings.name) {
                return true;
            }
        }
        return false;
    };
    EXPECT_EQ(tornProgramReads(effect, loudness::kNumPrograms, isFactoryName), 0);
}

}  // namespace
