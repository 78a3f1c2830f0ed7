// The bundled host through its own command line, against the built plug-in.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>

#include "tests/host/test_host.h"
#include "tests/tools/tool_run.h"

namespace {

constexpr int kRate = 48000;
constexpr float kDcPeak = -6.0206f;  // 20 log10(0.5)

std::string plugin() {
    return std::string(PEVO_PLUGIN);
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(PevoHostTool, InfoShowsIdentityParametersAndProgramsAfterTheSettings) {
    const ToolRun run =
        runTool({"--info", plugin(), "--program", "3", "--set", "Delay=4410samples"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string flags = std::string("has editor, ") + "has VU, can mono, can replace (" +
                              std::to_string(kExpectedFlags) + ")";
    for (const std::string& line :
         {std::string("Name      Pevo"), std::string("Product   Pevo level meter"),
          std::string("Vendor    Quellmark, version 1000"),
          std::string("VST       2300, unique ID 'Pevo' (0x5065766f)"),
          std::string("Category  effect (1)"), std::string("Audio     2 inputs, 2 outputs"),
          "Flags     " + flags,
          std::string("      0  Delay       0.333333   samples   \"   4410\""),
          std::string("      4  Volume      0.000000   dB        \"-oo\""),
          std::string("      7  RMS Mode    0.000000             \"0.000000\" = sine"),
          std::string("  8 Init, 9 Init, 10 Init, 11 Init, 12 Init, 13 Init, 14 Init, 15 Init"),
          std::string("current: 3 \"Init 4\"")}) {
        EXPECT_TRUE(contains(run.out, line + "\n")) << line << "\nin:\n" << run.out;
    }
    // A plug-in that writes a name far past the buffer size hosts use is shown, not a crash.
    const ToolRun overlong = runTool({"--info", PEVO_FAKE_PLUGIN}, "plain");
    EXPECT_EQ(overlong.status, 0) << overlong.err;
    EXPECT_TRUE(contains(overlong.out, "Name      " + std::string(200, 'x') + "\n"));

    const ToolRun list = runTool({"--list", plugin(), "--set", "Volume=-6dB"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_TRUE(contains(list.out, "0  Delay       0.000000   0 to 13230 samples\n")) << list.out;
    EXPECT_TRUE(contains(list.out, "4  Volume      0.501187   -inf to 0 dB\n")) << list.out;
    EXPECT_TRUE(contains(list.out, "--program N, N from 0 to 15")) << list.out;
}

TEST(PevoHostTool, KnownSignalsGiveTheirReadingsInCsvAndJson) {
    // Left DC at 0.5, right a full-scale sine of exactly one period per 128 frames.
    std::vector<float> stereo;
    for (int i = 0; i < 4 * kRate; ++i) {
        stereo.push_back(0.5f);
        stereo.push_back(static_cast<float>(std::sin(6.283185307179586 * i / 128.0)));
    }
    const std::string dcSine = scratchPath("dc_sine.wav");
    writeAudio(dcSine, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, kRate, stereo);
    const ToolRun json =
        runTool({plugin(), dcSine, "--format", "json", "--set", "Resp=0.5", "--every", "1s"});
    ASSERT_EQ(json.status, 0) << json.err;
    const std::vector<std::string> objects = lines(json.out);
    ASSERT_EQ(objects.size(), 5u) << json.out;
    auto last = jsonFields(objects[3]);
    EXPECT_EQ(last["time_s"], "4.000000");
    EXPECT_NEAR(std::stof(last["ch0_peak"]), kDcPeak, 1e-4);
    EXPECT_NEAR(std::stof(last["ch0_hold"]), kDcPeak, 1e-4);
    EXPECT_NEAR(std::stof(last["ch1_rms"]), 0.0f, 0.01);  // RMS Mode SINE: x sqrt 2
    EXPECT_NEAR(std::stof(last["ch1_peak"]), 0.0f, 1e-4);
    auto summary = jsonFields(objects[4]);
    EXPECT_EQ(summary["summary"], "true");
    EXPECT_EQ(summary["mode"], "\"L/R\"");
    EXPECT_NEAR(std::stof(summary["ch0_max_peak"]), kDcPeak, 1e-4);
    EXPECT_EQ(summary["ch0_max_peak_time_s"], "0.010667");  // the end of the first block
    EXPECT_NEAR(std::stof(summary["ch1_max_rms"]), 0.0f, 0.01);
    EXPECT_EQ(summary["output_equals_input"], "true");

    // A mono file feeds both inputs: in M/S the mid is the signal and the side is silence.
    const std::string mono = scratchPath("dc_mono.flac");
    writeAudio(mono, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, kRate, std::vector<float>(kRate, 0.5f));
    const ToolRun csv = runTool({plugin(), mono, "--format", "csv", "--set", "Mode=0.5"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    std::string header;
    const auto rows = csvRows(csv.out, header);
    EXPECT_EQ(header, "time_s,ch0_rms,ch0_peak,ch0_hold,ch1_rms,ch1_peak,ch1_hold");
    ASSERT_EQ(rows.size(), 10u);
    for (const auto& row : rows) {
        EXPECT_NEAR(row[2], kDcPeak, 1e-4);
        EXPECT_EQ(row[3], -40.0f);  // no hold time set
        EXPECT_EQ(std::vector<float>(row.begin() + 4, row.end()), std::vector<float>(3, -40.0f));
    }
    EXPECT_TRUE(contains(csv.err, "side   peak    <-40 dBFS")) << csv.err;

    const ToolRun demo = runTool({plugin(), "--every", "1s"});
    ASSERT_EQ(demo.status, 0) << demo.err;
    EXPECT_TRUE(contains(demo.out, "     3.000 ")) << demo.out;
    EXPECT_TRUE(contains(demo.out, "equals its input in all 132300 frames")) << demo.out;
}

/// A written file: from what, into what, and what the read-back must find.
struct OutputCase {
    int inputFormat;
    const char* outputName;
    int outputFormat;
    bool equal;           ///< the written file equals the input
    const char* warning;  ///< on standard error, or "" for none
};

TEST(PevoHostTool, WritesTheFormatTheExtensionNamesAndComparesWhatItWrote) {
    // Every 16-bit value, full scale both ways, against a ramp of the other channel.
    std::vector<int> samples;
    for (int v = -32768; v < 32768; ++v) {
        samples.push_back(v * 65536);
        samples.push_back((-1 - v) * 65536);
    }
    constexpr int kWav16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    constexpr int kWavFloat = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    const OutputCase cases[] = {
        {kWav16, "out.wav", kWav16, true, ""},
        // The extensible header's channel mask is kept.
        {SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, "out.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, true,
         ""},
        {SF_FORMAT_FLAC | SF_FORMAT_PCM_24, "out.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, true,
         ""},
        {SF_FORMAT_AIFF | SF_FORMAT_PCM_24, "out.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_24, true,
         ""},
        {kWavFloat, "out.wav", kWavFloat, true, ""},
        {kWav16, "out.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, true, ""},
        {kWavFloat, "out.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, false, "rounds the samples"},
        {SF_FORMAT_WAV | SF_FORMAT_PCM_32, "out.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_32, false,
         "rounded to 24 significant bits"},
        {SF_FORMAT_WAV | SF_FORMAT_DOUBLE, "out.w64", SF_FORMAT_W64 | SF_FORMAT_DOUBLE, false,
         "rounded to 24 significant bits"},
        {kWav16, "out.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, false, "Vorbis is lossy"},
    };
    for (const OutputCase& c : cases) {
        SCOPED_TRACE(c.outputName + std::string(" from ") + std::to_string(c.inputFormat));
        const std::string in = scratchPath("all_values_in");
        const std::string out = scratchPath(std::string("all_values_") + c.outputName);
        std::remove(out.c_str());
        std::vector<int> shaped = samples;
        for (std::size_t i = 0; i < shaped.size(); i += 7) {
            // Below 16 bits, and below 24 for the encodings that hold more.
            shaped[i] += (c.inputFormat & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_16 ? 0 : 0x110;
        }
        writeIntegers(in, c.inputFormat, 2, 44100, shaped);
        int inFormat = 0;
        const std::vector<int> expected = readIntegers(in, inFormat);
        const ToolRun run = runTool({plugin(), in, "-o", out, "--every", "10s"});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(contains(run.out, "the plug-in's output equals its input in all 65536"));
        EXPECT_EQ(contains(run.out, "Written  " + out), true) << run.out;
        EXPECT_EQ(contains(run.out, "equals the input in all 65536 frames"), c.equal) << run.out;
        EXPECT_EQ(contains(run.err, "warning: " + out), *c.warning != 0) << run.err;
        EXPECT_TRUE(contains(run.err, c.warning)) << run.err;
        int outFormat = 0;
        EXPECT_EQ(readIntegers(out, outFormat) == expected, c.equal);
        EXPECT_EQ(outFormat, c.outputFormat);
    }
    const ToolRun unknown = runTool({plugin(), scratchPath("all_values_in"), "-o", "out.xyz"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(contains(unknown.err, "cannot tell the format to write out.xyz")) << unknown.err;
}

}  // namespace
