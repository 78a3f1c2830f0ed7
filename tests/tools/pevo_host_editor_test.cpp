// Both meter channels as the bundled host prints them, against what the plug-in's own editor
// receives: the same effect, built into this test with an editor that records every value
// handed to it, is fed the same file in the same blocks with the same settings.
//
// A host reads channel 1 from the published parameters; channel 0 reaches it through a
// second instance whose channel 1 carries the same level. The editor receives channel 0 as
// 0 + 0.5 x level, the second instance publishes 1 + 0.5 x level: the host's reading must be
// the editor's value moved to channel 1, exactly.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include "gui/aeff_gui_editor.h"
#include "gui/native/soft/headless_platform.h"
#include "meter_level/adelay_edit.h"
#include "plugin/panel_snapshot.h"
#include "tests/tools/tool_run.h"

namespace {

constexpr int kRate = 48000;
constexpr int kBlock = 300;  // not a multiple of the 128-frame measurement blocks

VstIntPtr editorHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    if (opcode == audioMasterVersion) {
        return 2400;
    }
    return opcode == audioMasterGetSampleRate ? kRate : 0;
}

/// The editor's side of every meter update: the last value of each meter and channel.
class MeterEditor : public AEffGUIEditor {
  public:
    using AEffGUIEditor::AEffGUIEditor;

    void setParameter(VstInt32 index, float value) override {
        if (index >= 1 && index <= 3) {
            latest[index - 1][static_cast<int>(value)] = value;
        }
    }

    float latest[3][2] = {};  ///< [RMS, peak, hold][channel]
};

/// dBFS as a host decodes a published value.
float decoded(float value) {
    const float channel = static_cast<float>(static_cast<int>(value));
    return (value - channel) * 2.0f * 40.0f - 40.0f;
}

/// Uncorrelated channels with passages from silence to beyond full scale.
std::vector<float> testSignal() {
    std::vector<float> samples;
    std::uint32_t noise = 12345;
    for (int i = 0; i < 5 * kRate / 2; ++i) {
        const double t = static_cast<double>(i) / kRate;
        noise = noise * 1664525u + 1013904223u;
        const float white = static_cast<float>(noise >> 8) / 8388608.0f - 1.0f;
        const double swell = 0.5 + 0.5 * std::sin(6.283185307179586 * 0.7 * t);
        samples.push_back(t < 0.1 || (t > 1.2 && t < 1.4)
                              ? 0.0f
                              : static_cast<float>(swell * std::sin(6.283185307179586 * 441 * t)));
        samples.push_back(t < 0.3 ? 0.0f : white * (t > 2.0 ? 2.5f : 0.05f));
    }
    return samples;
}

/// Runs `samples` through the record in blocks of kBlock frames, calling `afterBlock` after
/// each.
template <typename AfterBlock>
void feedBlocks(AEffect* record, const std::vector<float>& samples, AfterBlock afterBlock) {
    const std::size_t frames = samples.size() / 2;
    std::vector<float> in[2], out[2];
    for (std::size_t start = 0; start < frames; start += kBlock) {
        const std::size_t n = std::min<std::size_t>(kBlock, frames - start);
        for (int c = 0; c < 2; ++c) {
            in[c].resize(n);
            out[c].resize(n);
            for (std::size_t i = 0; i < n; ++i) {
                in[c][i] = samples[2 * (start + i) + c];
            }
        }
        float* inputs[] = {in[0].data(), in[1].data()};
        float* outputs[] = {out[0].data(), out[1].data()};
        record->processReplacing(record, inputs, outputs, static_cast<VstInt32>(n));
        afterBlock();
    }
}

/// The editor's values after every block of `samples` with `settings` applied through the
/// record, converted to the six readings the host prints.
std::vector<std::vector<float>> editorReadings(const std::vector<float>& samples,
                                               const std::vector<std::pair<int, float>>& settings) {
    CHeadlessPlatform platform;
    auto* effect = new ADelayEdit(editorHost);
    delete effect->getEditor();              // the panel makes way for the recording editor
    auto* editor = new MeterEditor(effect);  // the effect owns it
    AEffect* record = effect->getAeffect();
    record->dispatcher(record, effOpen, 0, 0, nullptr, 0.0f);
    record->dispatcher(record, effSetSampleRate, 0, 0, nullptr, kRate);
    record->dispatcher(record, effSetBlockSize, 0, kBlock, nullptr, 0.0f);
    for (const auto& [index, value] : settings) {
        record->setParameter(record, index, value);
    }
    record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.0f);
    std::vector<std::vector<float>> rows;
    feedBlocks(record, samples, [&] {
        std::vector<float> row;
        for (int channel = 0; channel < 2; ++channel) {
            for (int meter = 0; meter < 3; ++meter) {
                const float value = editor->latest[meter][channel];
                row.push_back(decoded(channel == 0 ? 1.0f + value : value));
            }
        }
        rows.push_back(row);
    });
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    return rows;
}

/// The panel the plug-in's own editor draws after the same blocks, opened without a window.
std::vector<std::uint32_t> editorPanel(const std::vector<float>& samples) {
    CHeadlessPlatform platform;
    AEffect* record = (new ADelayEdit(editorHost))->getAeffect();
    record->dispatcher(record, effOpen, 0, 0, nullptr, 0.0f);
    record->dispatcher(record, effSetSampleRate, 0, 0, nullptr, kRate);
    record->dispatcher(record, effSetBlockSize, 0, kBlock, nullptr, 0.0f);
    record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.0f);
    record->dispatcher(record, effEditOpen, 0, 0, nullptr, 0.0f);
    feedBlocks(record, samples, [] {});
    std::vector<std::uint32_t> pixels(900 * 202);
    PanelSnapshot picture{900, 202, pixels.data()};
    EXPECT_EQ(record->dispatcher(record, effVendorSpecific, kPanelSnapshotIndex,
                                 kPanelSnapshotValue, &picture, 0.0f),
              1);
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    return pixels;
}

TEST(PevoHostEditor, BothChannelsEqualTheEditorsValuesInEveryMode) {
    const std::vector<float> samples = testSignal();
    const std::string path = scratchPath("editor_signal.wav");
    writeAudio(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, kRate, samples);
    struct Mode {
        const char* name;
        std::vector<std::pair<int, float>> settings;
    };
    const Mode modes[] = {
        {"L/R", {{5, 0.0f}, {6, 0.5f}}},
        {"M/S", {{5, 0.5f}, {6, 1.0f}, {0, 0.1f}}},
        {"mono", {{5, 1.0f}, {6, 0.5f}, {7, 1.0f}}},
    };
    for (const Mode& mode : modes) {
        SCOPED_TRACE(mode.name);
        std::vector<std::string> arguments = {
            std::string(PEVO_PLUGIN), path, "--format", "csv", "--block", "300", "--every", "1"};
        for (const auto& [index, value] : mode.settings) {
            arguments.insert(arguments.end(),
                             {"--set", std::to_string(index) + "=" + std::to_string(value)});
        }
        const ToolRun run = runTool(arguments);
        ASSERT_EQ(run.status, 0) << run.err;
        std::string header;
        const auto rows = csvRows(run.out, header);
        const auto expected = editorReadings(samples, mode.settings);
        ASSERT_EQ(rows.size(), expected.size());
        int differing = 0;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const std::vector<float> readings(rows[r].begin() + 1, rows[r].end());
            differing += readings == expected[r] ? 0 : 1;
        }
        EXPECT_EQ(differing, 0);
        // The signal reaches the floor and full scale on both channels in every mode.
        EXPECT_EQ(std::vector<float>(rows[10].begin() + 1, rows[10].end()),
                  std::vector<float>(6, -40.0f));
        EXPECT_EQ(rows.back()[5], 0.0f);
    }
}

TEST(PevoHostEditor, SnapshotIsThePanelTheEditorDrawsWithoutADisplay) {
    const std::vector<float> samples = testSignal();
    const std::string path = scratchPath("snapshot_signal.wav");
    const std::string png = scratchPath("snapshot.png");
    writeAudio(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, kRate, samples);
    unsetenv("DISPLAY");
    const ToolRun run = runTool({PEVO_PLUGIN, path, "--block", "300", "--snapshot", png});
    ASSERT_EQ(run.status, 0) << run.err;
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* rgb = stbi_load(png.c_str(), &width, &height, &channels, 3);
    ASSERT_NE(rgb, nullptr);
    ASSERT_EQ(width, 900);
    ASSERT_EQ(height, 202);
    const std::vector<std::uint32_t> expected = editorPanel(samples);
    int differing = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::uint32_t pixel =
            std::uint32_t(rgb[3 * i]) << 16 | std::uint32_t(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
        differing += pixel == expected[i] ? 0 : 1;
    }
    stbi_image_free(rgb);
    EXPECT_EQ(differing, 0);

    // A meter that is not ours is not asked to draw without a window.
    const ToolRun other = runTool({PEVO_FAKE_PLUGIN, path, "--snapshot", png}, "interrupt");
    EXPECT_NE(other.status, 0);
    EXPECT_NE(other.err.find("--snapshot needs the Pevo plug-in"), std::string::npos) << other.err;
}

}  // namespace
