// The synthetic cases of the ITU's conformance set through pevo-loudness, as files a user
// measures: stereo tones across the band and a sweep, the channels of 5.1 files one at a
// time and summed, the LFE alone, both gates, 7.1, and roles named on the command line.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "loudness/channel_layout.h"
#include "tests/loudness/conformance_signals.h"
#include "tests/tools/tool_run.h"

namespace {

using namespace conformance;

constexpr double kUndefined = -INFINITY;
constexpr double kSurround = ChannelLayout::kSurroundWeight;

struct Case {
    std::string name;
    std::vector<std::vector<float>> channels;  ///< an empty one is silent
    double integrated;                         ///< LUFS, or kUndefined
    /// The sweep's loudness is worked out from its blocks' mean frequency response.
    double tolerance = 0.02;
};

/// The channels interleaved into a float WAV file of this process's own.
std::string write(const Case& c) {
    std::size_t frames = 0;
    for (const auto& channel : c.channels) {
        frames = std::max(frames, channel.size());
    }
    std::vector<float> interleaved;
    for (std::size_t i = 0; i < frames; ++i) {
        for (const auto& channel : c.channels) {
            interleaved.push_back(i < channel.size() ? channel[i] : 0.0f);
        }
    }
    const std::string path = scratchPath(std::to_string(getpid()) + "_itu_" + c.name + ".wav");
    writeAudio(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, static_cast<int>(c.channels.size()),
               static_cast<int>(kRate), interleaved);
    return path;
}

/// Each case measured in one run, in its file's layout or the one `arguments` name.
void expectReadings(const std::vector<Case>& cases, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--format", "json"});
    for (const Case& c : cases) {
        arguments.push_back(write(c));
    }
    const ToolRun run = runProgram(PEVO_LOUDNESS, arguments);
    for (std::size_t i = arguments.size() - cases.size(); i < arguments.size(); ++i) {
        std::remove(arguments[i].c_str());
    }
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> objects = lines(run.out);
    ASSERT_GE(objects.size(), cases.size()) << run.out;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::string integrated = jsonFields(objects[i]).at("integrated");
        if (std::isinf(cases[i].integrated)) {
            EXPECT_EQ(integrated, "null") << cases[i].name;
        } else {
            EXPECT_NEAR(std::stod(integrated), cases[i].integrated, cases[i].tolerance)
                << cases[i].name;
        }
    }
}

TEST(PevoLoudnessConformanceTest, StereoTonesSweepAndGates) {
    std::vector<Case> cases;
    for (const double lufs : {-23.0, -24.0}) {
        for (const double frequency : {25.0, 100.0, 500.0, 1000.0, 2000.0, 10000.0}) {
            const auto s = sine(frequency, amplitudeFor(frequency, lufs, 2.0), 5.0);
            cases.push_back(
                {std::to_string(frequency) + "Hz" + std::to_string(lufs), {s, s}, lufs});
        }
    }
    const auto sweep20 = sweep(0.1, 20.0);
    cases.push_back({"sweep", {sweep20, sweep20}, sweepLoudness(0.1, 20.0, 2.0), 0.05});
    const auto absolute = joined(tone(-69.5, 5.0, 2.0), tone(-75.0, 5.0, 2.0));
    cases.push_back({"absolute_gate", {absolute, absolute}, -69.5});
    const auto relative = joined(tone(-10.0, 20.0, 2.0), tone(-30.0, 10.0, 2.0));
    // The three blocks across the step hold 3/4, 1/2 and 1/4 of the loud part.
    cases.push_back(
        {"relative_gate", {relative, relative}, -10.0 + 10 * std::log10(198.515 / 200)});
    expectReadings(cases, {});
}

TEST(PevoLoudnessConformanceTest, SurroundChannelsCountByTheirRoles) {
    const auto t = tone(-23.0, 5.0);
    const double surround = -23.0 + 10 * std::log10(kSurround);
    // 5.0, 5.1 and 7.1 in the usual order of their channel counts.
    const auto eight = tone(-24.0, 5.0, 5 + 2 * kSurround);
    expectReadings({{"51_left", {t, {}, {}, {}, {}, {}}, -23.0},
                    {"51_right", {{}, t, {}, {}, {}, {}}, -23.0},
                    {"51_centre", {{}, {}, t, {}, {}, {}}, -23.0},
                    {"51_lfe", {{}, {}, {}, t, {}, {}}, kUndefined},
                    {"51_left_surround", {{}, {}, {}, {}, t, {}}, surround},
                    {"51_right_surround", {{}, {}, {}, {}, {}, t}, surround},
                    {"51_sum", {t, t, t, t, t, t}, -23.0 + 10 * std::log10(3 + 2 * kSurround)},
                    {"50_surround", {{}, {}, {}, {}, t}, surround},
                    {"71", {eight, eight, eight, eight, eight, eight, eight, eight}, -24.0}},
                   {});
    // Roles named on the command line: the film order, the LFE last.
    expectReadings({{"film_lfe", {{}, {}, {}, {}, {}, t}, kUndefined},
                    {"film_surround", {{}, {}, {}, t, {}, {}}, surround},
                    {"film_centre", {{}, t, {}, {}, {}, {}}, -23.0}},
                   {"--channels", "L,C,R,Ls,Rs,LFE"});
}

}  // namespace
