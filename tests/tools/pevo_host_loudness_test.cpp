// pevo-host hosting the loudness meter: its readings are its parameters, and what it shows
// at the end of a file agrees with pevo-loudness, the same engine, figure for figure; its
// panel is pictured through the same request as Pevo's.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <sstream>

#include "tests/tools/tool_run.h"

namespace {

constexpr int kRate = 44100;

/// A programme of tones whose level changes every few seconds, with a louder passage and
/// a short near-full-scale burst: every reading has something to show.
std::string programme() {
    const double levels[] = {-30.0, -24.0, -18.0, -27.0, -21.0, -33.0, -1.0, -23.0};
    const double seconds[] = {6.0, 5.0, 4.0, 6.0, 5.0, 4.0, 0.05, 6.0};
    std::vector<float> samples;
    double phase = 0.0;
    for (int part = 0; part < 8; ++part) {
        const double amplitude = std::pow(10.0, levels[part] / 20.0);
        for (int i = 0; i < static_cast<int>(seconds[part] * kRate); ++i) {
            phase += 2.0 * M_PI * (part % 2 ? 440.0 : 2500.0) / kRate;
            samples.push_back(static_cast<float>(amplitude * std::sin(phase)));
            samples.push_back(static_cast<float>(0.7 * amplitude * std::cos(phase)));
        }
    }
    const std::string path = scratchPath("loudness-programme.wav");
    writeAudio(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, kRate, samples);
    return path;
}

/// The display text of the reading `name` in pevo-host's summary.
std::string reading(const std::string& out, const std::string& name) {
    for (const std::string& line : lines(out)) {
        if (line.rfind("  " + name + " ", 0) == 0) {
            std::istringstream fields(line.substr(name.size() + 2));
            std::string text;
            fields >> text;
            return text;
        }
    }
    return "<missing " + name + ">";
}

TEST(PevoHostLoudness, ReadingsAgreeWithPevoLoudnessAndThePanelIsPictured) {
    const std::string file = programme();
    const std::string picture = scratchPath("loudness-panel.png");
    std::remove(picture.c_str());
    const ToolRun host =
        runTool({PEVO_LOUDNESS_PLUGIN, file, "--block", "441", "--snapshot", picture});
    ASSERT_EQ(host.status, 0) << host.err;
    const ToolRun loudness = runProgram(PEVO_LOUDNESS, {file});
    ASSERT_EQ(loudness.status, 0) << loudness.err;
    // Table columns after the file name: integrated, range, max M, max S, true peak.
    std::istringstream row(lines(loudness.out).at(2));
    std::string name, integrated, range, maxMomentary, maxShortTerm, truePeak;
    row >> name >> integrated >> range >> maxMomentary >> maxShortTerm >> truePeak;
    EXPECT_EQ(reading(host.out, "Integrated"), integrated) << host.out;
    EXPECT_EQ(reading(host.out, "Range"), range);
    EXPECT_EQ(reading(host.out, "Max momentary"), maxMomentary);
    EXPECT_EQ(reading(host.out, "Max short-term"), maxShortTerm);
    EXPECT_EQ(reading(host.out, "True peak"), truePeak);
    EXPECT_GT(std::stod(range), 3.0);

    std::FILE* png = std::fopen(picture.c_str(), "rb");
    ASSERT_NE(png, nullptr) << "no panel picture";
    unsigned char signature[8] = {};
    EXPECT_EQ(std::fread(signature, 1, 8, png), 8u);
    std::fclose(png);
    EXPECT_EQ(signature[1], 'P');
}

}  // namespace
