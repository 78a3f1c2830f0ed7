// pevo-loudness through its command line: its figures in every format, several files, a
// failing file among good ones, standard input and usage errors.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <fstream>

#include "tests/tools/tool_run.h"

namespace {

ToolRun loudness(const std::vector<std::string>& arguments, const std::string& input = "") {
    return runProgram(PEVO_LOUDNESS, arguments, input);
}

/// A 997 Hz tone of `peak` on every channel, for `seconds`, in a file of this process's
/// own: ctest runs the tests of this suite side by side.
std::string tone(const std::string& name, int format, int channels, int rate, double peak,
                 double seconds) {
    std::vector<float> samples;
    for (int i = 0; i < static_cast<int>(seconds * rate); ++i) {
        const auto value = static_cast<float>(peak * std::sin(2 * M_PI * 997 * i / rate));
        samples.insert(samples.end(), channels, value);
    }
    const std::string path = scratchPath(std::to_string(getpid()) + "_" + name);
    writeAudio(path, format, channels, rate, samples);
    return path;
}

class PevoLoudnessTest : public testing::Test {
  protected:
    const std::string stereo = tone("loud_stereo.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 48000,
                                    0.1, 10.0);  // −20 LUFS, −20 dBTP
    const std::string mono = tone("loud_mono.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 44100,
                                  0.5, 6.0);  // −9 LUFS as one channel
};

TEST_F(PevoLoudnessTest, JsonAndCsvCarryTheSameFiguresForEachFile) {
    const ToolRun json = loudness({"--format", "json", "--target", "-16", stereo, mono});
    ASSERT_EQ(json.status, 0) << json.err;
    const std::vector<std::string> objects = lines(json.out);
    ASSERT_EQ(objects.size(), 3u);  // and the album's
    EXPECT_EQ(jsonFields(objects[2]).at("album"), "true");
    const auto first = jsonFields(objects[0]);
    const auto second = jsonFields(objects[1]);
    EXPECT_EQ(first.at("file"), "\"" + stereo + "\"");
    EXPECT_NEAR(std::stod(first.at("integrated")), -20.0, 0.05);
    EXPECT_NEAR(std::stod(first.at("true_peak")), -20.0, 0.05);
    EXPECT_NEAR(std::stod(first.at("gain")), 4.0, 0.05);
    EXPECT_NEAR(std::stod(first.at("true_peak_after_gain")), -16.0, 0.05);
    EXPECT_NEAR(std::stod(second.at("integrated")), -9.0, 0.05);
    EXPECT_NEAR(std::stod(second.at("sample_peak")), -6.02, 0.005);
    EXPECT_EQ(first.at("range"), "0.00");

    std::string header;
    const auto rows =
        csvRows(loudness({"--format", "csv", "--target", "-16", stereo, mono}).out, header);
    EXPECT_EQ(header,
              "file,integrated,range,max_momentary,max_short_term,true_peak,sample_peak,"
              "duration,target,gain,true_peak_after_gain,layout,max_momentary_time,"
              "max_short_term_time");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_FLOAT_EQ(rows[1][1], std::stof(second.at("integrated")));
    EXPECT_FLOAT_EQ(rows[1][7], 6.0f);
}

TEST_F(PevoLoudnessTest, SilenceIsNullAndTheSeriesFollowsEveryStep) {
    const std::string silence = scratchPath("loud_silence.wav");
    writeAudio(silence, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 8000, std::vector<float>(16000));
    const ToolRun run = loudness({"--format", "json", "--every", "2.5", silence, stereo});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> objects = lines(run.out);
    ASSERT_EQ(objects.size(), 3u);
    EXPECT_EQ(jsonFields(objects[0]).at("integrated"), "null");
    EXPECT_NE(objects[1].find("\"series\":[{\"time\":2.500,\"momentary\":-20.0"),
              std::string::npos);
    EXPECT_NE(objects[1].find("{\"time\":10.000,"), std::string::npos);
    EXPECT_EQ(objects[1].find("{\"time\":12.500,"), std::string::npos);
}

TEST_F(PevoLoudnessTest, UnreadableFilesFailAloneAndTheTableLinesUp) {
    const std::string text = scratchPath("loud_text.wav");
    std::ofstream(text) << "not audio\n";
    const std::string threeChannels =
        tone("loud_three.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 3, 48000, 0.1, 0.5);
    const ToolRun run =
        loudness({stereo, scratchPath("loud_missing.wav"), text, threeChannels, "-", mono}, stereo);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot open " + scratchPath("loud_missing.wav")), std::string::npos);
    EXPECT_NE(run.err.find("libsndfile cannot read " + text), std::string::npos);
    EXPECT_NE(run.err.find(threeChannels + " has 3 channels"), std::string::npos);
    const std::vector<std::string> table = lines(run.out);
    ASSERT_EQ(table.size(), 6u) << run.out;  // two header lines, three files, the total
    for (const std::string& line : table) {
        EXPECT_EQ(line.size(), table[0].size()) << line;
    }
    // Standard input reads as the same file did; the album line gates all files together.
    const auto figures = [](const std::string& line) {
        return line.substr(line.find_first_not_of(' ', line.find(' ')));
    };
    EXPECT_EQ(figures(table[3]), figures(table[2]));
    EXPECT_EQ(table[5].rfind("(album of 3 of 6 files)", 0), 0u);  // not the album whole
}

TEST_F(PevoLoudnessTest, SixteenBitFilesReadAsTheirFloatCopies) {
    // Each channel its own noise at its own level, full scale both ways at the start, over
    // more frames than one read takes and not a whole number of vectors.
    for (const int channels : {1, 2, 6}) {
        std::vector<int> integers;
        std::vector<float> floats;
        std::uint32_t noise = 1;
        for (int i = 0; i < 70001 * channels; ++i) {
            noise = noise * 1664525u + 1013904223u;
            const int level = 1 + i % channels;
            int sample = (static_cast<int>(noise >> 16) - 32768) * level / channels;
            sample = i < channels ? 32767 : i < 2 * channels ? -32768 : sample;
            integers.push_back(sample * 65536);
            floats.push_back(static_cast<float>(sample) / 32768.0f);
        }
        const std::string name = std::to_string(getpid()) + "_" + std::to_string(channels);
        const std::string pcm = scratchPath(name + "_pcm.wav");
        const std::string real = scratchPath(name + "_flt.wav");
        writeIntegers(pcm, SF_FORMAT_WAV | SF_FORMAT_PCM_16, channels, 48000, integers);
        writeAudio(real, SF_FORMAT_WAV | SF_FORMAT_FLOAT, channels, 48000, floats);
        // Everything the tool prints of a file, in every format, with its name taken out.
        const auto figures = [](const std::string& path) {
            std::string all;
            for (const char* format : {"table", "json"}) {
                const ToolRun run = loudness({"--format", format, "--every", "0.3", path});
                EXPECT_EQ(run.status, 0) << run.err;
                all += run.out;
            }
            for (std::size_t at; (at = all.find(path)) != std::string::npos;) {
                all.replace(at, path.size(), "FILE");
            }
            return all;
        };
        EXPECT_EQ(figures(pcm), figures(real)) << channels << " channels";
    }
}

TEST_F(PevoLoudnessTest, UsageErrorsExitWithTwoAndHelpWithZero) {
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {}, {"--format", "xml", stereo}, {"--every", "0", stereo}, {"--bogus", stereo}}) {
        const ToolRun run = loudness(arguments);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_NE(run.err.find("--help"), std::string::npos) << run.err;
    }
    const ToolRun help = loudness({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: pevo-loudness [OPTIONS] FILE..."), std::string::npos);
    EXPECT_EQ(loudness({"--version"}).out.rfind("pevo-loudness ", 0), 0u);
}

}  // namespace
