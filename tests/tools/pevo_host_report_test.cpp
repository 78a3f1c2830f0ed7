// What the bundled host's report says about real files of every common kind: their format,
// their exact sample peaks beside the meter's readings, and what it cannot measure.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <fstream>

#include "tests/tools/tool_run.h"

namespace {

constexpr int kRate = 44100;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(PevoHostReport, NamesEachFormatAsAUserKnowsIt) {
    const struct {
        int format;
        int channels;
        const char* name;
    } formats[] = {
        {SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, "WAV, 16-bit PCM, 44100 Hz, stereo"},
        {SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2, "WAV, 24-bit PCM, 44100 Hz, stereo"},
        {SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, "WAV, 32-bit float, 44100 Hz, mono"},
        {SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 2, "AIFF, 16-bit PCM, 44100 Hz, stereo"},
        {SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 1, "FLAC, 24-bit PCM, 44100 Hz, mono"},
        {SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, "Ogg, Vorbis, 44100 Hz, stereo"},
    };
    for (const auto& f : formats) {
        SCOPED_TRACE(f.name);
        const std::string path = scratchPath("format_name.audio");
        writeAudio(path, f.format, f.channels, kRate, std::vector<float>(f.channels * 4410, 0.1f));
        const ToolRun run = runTool({PEVO_PLUGIN, path, "--every", "1s"});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(contains(run.out, "Metering " + path + ": " + f.name + ", 0.100 s\n"))
            << run.out;
    }
}

TEST(PevoHostReport, GivesTheExactSamplePeakWhateverTheBlockSize) {
    // A full-scale click half a second into silence: the meter's reading depends on the
    // block that publishes it, the sample peak does not.
    std::vector<float> click(2 * kRate, 0.0f);
    click[2 * (kRate / 2)] = 1.0f;
    const std::string path = scratchPath("click.wav");
    writeAudio(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, kRate, click);
    for (const char* block : {"4096", "65536"}) {
        SCOPED_TRACE(block);
        const ToolRun run = runTool({PEVO_PLUGIN, path, "--block", block, "--every", "1s"});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(contains(run.out,
                             "  left   -0.00 dBFS at 0.500000 s (frame 22050),  1 sample "
                             "at or above full scale\n  right  silent\n"))
            << run.out;
        EXPECT_TRUE(contains(run.out, "right  peak    <-40 dBFS,  RMS    <-40 dBFS\n"));
        EXPECT_TRUE(contains(run.out, "    off    ")) << run.out;  // no hold time set
    }
    const ToolRun held = runTool({PEVO_PLUGIN, path, "--set", "Resp=0.5", "--every", "1s"});
    EXPECT_FALSE(contains(held.out, "    off    ")) << held.out;
}

TEST(PevoHostReport, SaysOverWithTheExactLevelAboveFullScale) {
    std::vector<float> loud;
    int overs = 0;
    for (int i = 0; i < kRate; ++i) {
        const float sine = static_cast<float>(std::sin(6.283185307179586 * i / 100.0));
        loud.insert(loud.end(), {2.0f * sine, 0.5f * sine});
        overs += std::fabs(2.0f * sine) >= 1.0f ? 1 : 0;
    }
    const std::string path = scratchPath("over.wav");
    writeAudio(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, kRate, loud);
    const ToolRun table = runTool({PEVO_PLUGIN, path, "--every", "500ms"});
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_TRUE(contains(table.out, "      0.00    over     off ")) << table.out;
    EXPECT_TRUE(contains(table.out, "left   peak    over (sample peak +6.02 dBFS) by 0.012 s"));
    EXPECT_TRUE(contains(table.out, "left   +6.02 dBFS (over) at 0.000567 s (frame 25)"));

    const ToolRun json = runTool({PEVO_PLUGIN, path, "--every", "1s", "--format", "json"});
    auto summary = jsonFields(lines(json.out).back());
    EXPECT_EQ(summary["ch0_max_peak"], "0");  // the meter's scale ends at 0 dB
    const std::string peaks = summary["input_sample_peak"];
    EXPECT_NEAR(std::stod(peaks.substr(1)), 6.0206, 1e-3) << peaks;
    EXPECT_NEAR(std::stod(peaks.substr(peaks.find(',') + 1)), -6.0206, 1e-3) << peaks;
    EXPECT_EQ(summary["input_sample_peak_time_s"], "[0.000567,0.000567]");
    EXPECT_EQ(summary["input_overs"], "[" + std::to_string(overs) + ",0]");
    EXPECT_EQ(summary["output_equals_input"], "true");

    // Both channels over, each by its own amount: each left/right meter names its own
    // channel's sample peak; a mix of the channels names the largest sample of the input.
    for (std::size_t i = 1; i < loud.size(); i += 2) {
        loud[i] *= 3.0f;
    }
    writeAudio(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, kRate, loud);
    const ToolRun both = runTool({PEVO_PLUGIN, path, "--every", "1s"});
    EXPECT_TRUE(contains(both.out, "left   peak    over (sample peak +6.02 dBFS)")) << both.out;
    EXPECT_TRUE(contains(both.out, "right  peak    over (sample peak +3.52 dBFS)")) << both.out;
    const ToolRun mono = runTool({PEVO_PLUGIN, path, "--every", "1s", "--set", "Mode=mono"});
    EXPECT_TRUE(contains(mono.out, "mono   peak    over (sample peak +6.02 dBFS)")) << mono.out;

    // The right channel just below full scale reads 0.00 beside a left channel that is over.
    for (std::size_t i = 1; i < loud.size(); i += 2) {
        loud[i] = 0.9999f * loud[i - 1] / 2.0f;
    }
    writeAudio(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, kRate, loud);
    const ToolRun left = runTool({PEVO_PLUGIN, path, "--every", "250ms"});
    EXPECT_TRUE(
        contains(left.out, "     1.000      0.00    over     off     -0.85    0.00     off"))
        << left.out;
    EXPECT_TRUE(contains(left.out, "right  peak    0.00 dBFS by 0.012 s")) << left.out;
}

TEST(PevoHostReport, WarnsOfWhatItCannotMeasure) {
    const std::string empty = scratchPath("empty.wav");
    writeAudio(empty, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, kRate, {});
    const ToolRun nothing = runTool({PEVO_PLUGIN, empty});
    ASSERT_EQ(nothing.status, 0) << nothing.err;
    EXPECT_TRUE(contains(nothing.out, empty + ": no audio\n")) << nothing.out;

    // Ten seconds announced, one present: as a download cut short leaves it.
    const std::string whole = scratchPath("whole.audio");
    for (const int type : {SF_FORMAT_WAV, SF_FORMAT_AIFF}) {
        SCOPED_TRACE(type);
        writeAudio(whole, type | SF_FORMAT_PCM_16, 2, kRate,
                   std::vector<float>(2 * 10 * kRate, 0.1f));
        std::ifstream from(whole, std::ios::binary | std::ios::ate);
        std::vector<char> bytes(static_cast<std::size_t>(from.tellg()) - 9 * 4 * kRate);
        from.seekg(0);
        from.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        const std::string cut = scratchPath("cut.audio");
        std::ofstream(cut, std::ios::binary).write(bytes.data(), bytes.size());
        const ToolRun shortened = runTool({PEVO_PLUGIN, cut, "--every", "1s"});
        EXPECT_EQ(shortened.status, 1);
        EXPECT_TRUE(contains(shortened.err, "warning: " + cut +
                                                ": cut short: its header announces 441000 "
                                                "frames, 44100 are present"))
            << shortened.err;
        EXPECT_FALSE(contains(runTool({PEVO_PLUGIN, whole}).err, "warning")) << whole;
    }

    // A picture that cannot be written is refused before the input is metered.
    const ToolRun snapshot = runTool({PEVO_PLUGIN, whole, "--snapshot", "/nonexistent/p.png"});
    EXPECT_EQ(snapshot.status, 1);
    EXPECT_TRUE(contains(snapshot.err, "cannot write /nonexistent/p.png: No such file"));
    EXPECT_FALSE(contains(snapshot.out, "Metering")) << snapshot.out;
}

TEST(PevoHostReport, ShowsSwitchesInWordsAndReadingsAsOutputs) {
    const ToolRun list = runTool({"--list", PEVO_PLUGIN, "--set", "Mode=0.5"});
    ASSERT_EQ(list.status, 0) << list.err;
    for (const char* line :
         {"1  RMS level   1.000000   a reading the plug-in publishes (output): not set\n",
          "5  Mode        0.500000   a switch: L/R 0, M/S 0.5, mono 1; now M/S\n",
          "6  Resp        0.000000   a switch: off 0, 1 s 0.5, 3 s 1; now off\n",
          "7  RMS Mode    0.000000   a switch: sine 0, square 1; now sine\n"}) {
        EXPECT_TRUE(contains(list.out, line)) << line << list.out;
    }
    const ToolRun info =
        runTool({"--info", PEVO_PLUGIN, "--set", "Resp=3 s", "--set", "Mode=mono"});
    EXPECT_TRUE(contains(info.out, "6  Resp        1.000000             \"1.000000\" = 3 s\n"));
    EXPECT_TRUE(contains(info.out, "5  Mode        1.000000             \"1.000000\" = mono\n"));

    // A sine at -6.02 dBFS: sine-referenced by default, plain as sox and ffmpeg give it.
    std::vector<float> sine;
    for (int i = 0; i < 2 * kRate; ++i) {
        sine.push_back(0.5f * static_cast<float>(std::sin(6.283185307179586 * i / 100.0)));
    }
    const std::string path = scratchPath("sine.wav");
    writeAudio(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, kRate, sine);
    const ToolRun sineReferenced = runTool({PEVO_PLUGIN, path, "--every", "1s"});
    const ToolRun plain = runTool({PEVO_PLUGIN, path, "--set", "RMS Mode=1", "--every", "1s"});
    EXPECT_TRUE(contains(sineReferenced.out, "RMS is sine-referenced")) << sineReferenced.out;
    EXPECT_TRUE(contains(plain.out, "RMS is plain")) << plain.out;
    const auto highestRms = [](const std::string& text) {
        const std::size_t line = text.find("left   peak   -6.02 dBFS by 0.012 s,  RMS ");
        return line == std::string::npos ? 0.0 : std::stod(text.substr(line + 41));
    };
    EXPECT_NEAR(highestRms(sineReferenced.out) - highestRms(plain.out), 3.01, 0.006);
    EXPECT_NEAR(highestRms(sineReferenced.out), -6.02, 0.1);
}

/// The members of the object that follows `"key":` in a one-line JSON text.
std::map<std::string, std::string> nestedFields(const std::string& line, const std::string& key) {
    const std::size_t start = line.find("\"" + key + "\":{");
    if (start == std::string::npos) {
        return {};
    }
    const std::size_t open = start + key.size() + 3;
    return jsonFields(line.substr(open, line.find('}', open) - open + 1));
}

TEST(PevoHostReport, MeasuresTheOutputsLoudnessAsPevoLoudnessDoes) {
    // A swelling tone against noise, a steady tone on the right: a range, and true peaks
    // between the samples.
    std::vector<float> stereo;
    unsigned noise = 1;
    for (int i = 0; i < 8 * 48000; ++i) {
        noise = noise * 1664525u + 1013904223u;
        const double t = i / 48000.0;
        stereo.push_back(static_cast<float>((0.05 + 0.03 * t) * std::sin(6.2832 * 997 * t) +
                                            0.02 * (noise / 4294967296.0 - 0.5)));
        stereo.push_back(static_cast<float>(0.1 * std::sin(6.2832 * 440 * t + 1)));
    }
    const std::string swell = scratchPath("swell.wav");
    writeAudio(swell, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 48000, stereo);
    const std::string mono = scratchPath("swell_mono.flac");
    writeAudio(mono, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, kRate,
               std::vector<float>(stereo.begin(), stereo.begin() + 5 * kRate));
    std::map<std::string, std::string> expected;
    for (const std::string& path : {mono, swell}) {
        SCOPED_TRACE(path);
        expected = jsonFields(runProgram(PEVO_LOUDNESS, {"--format", "json", path}).out);
        expected.erase("file");
        const ToolRun run = runTool({PEVO_PLUGIN, path, "--loudness", "--format", "json", "--block",
                                     "1000", "--every", "10s"});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(nestedFields(lines(run.out).back(), "loudness"), expected) << run.out;
        EXPECT_NE(expected.at("range"), "0.00");
    }

    // The table and CSV are pevo-loudness's own, after the host's summary.
    const ToolRun table = runTool({PEVO_PLUGIN, swell, "--loudness", "--every", "10s"});
    EXPECT_TRUE(contains(table.out,
                         "Audio  the plug-in's output equals its input in all "
                         "384000 frames\nLoudness of the plug-in's output, as "
                         "pevo-loudness measures it\n" +
                             runProgram(PEVO_LOUDNESS, {swell}).out))
        << table.out;
    const ToolRun csv = runTool({PEVO_PLUGIN, swell, "--loudness", "--format", "csv"});
    EXPECT_EQ(csv.out.substr(csv.out.find("\n\n") + 2),
              runProgram(PEVO_LOUDNESS, {"--format", "csv", swell}).out);

    // What the plug-in does to the audio is measured: half the level reads 6.02 LU less.
    const ToolRun halved =
        runTool({PEVO_FAKE_PLUGIN, swell, "--loudness", "--format", "json"}, "halve");
    const auto figures = nestedFields(lines(halved.out).back(), "loudness");
    EXPECT_NEAR(std::stod(figures.at("integrated")), std::stod(expected.at("integrated")) - 6.02,
                0.015);

    // Rates the loudness meter cannot measure are refused, as pevo-loudness refuses them.
    const std::string slow = scratchPath("slow.wav");
    writeAudio(slow, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 4000, std::vector<float>(4000, 0.1f));
    const ToolRun refused = runTool({PEVO_PLUGIN, slow, "--loudness"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(contains(refused.err, "--loudness: " + slow + " has a sample rate of 4000 Hz"))
        << refused.err;
}

}  // namespace
