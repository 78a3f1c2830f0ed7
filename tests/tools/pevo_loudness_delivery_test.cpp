// pevo-loudness as a delivery tool, through its command line: damaged and cut files, surround
// layouts, normalising, delivery presets, the plot and what else a user reads.
#include <cairo.h>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <limits>

#include "tests/tools/tool_run.h"

namespace {

constexpr double kSilent = -std::numeric_limits<double>::infinity();

ToolRun loudness(const std::vector<std::string>& arguments, const std::string& input = "") {
    return runProgram(PEVO_LOUDNESS, arguments, input);
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

/// A 1 kHz tone of `dBFS` (peak) on each channel, for `seconds`, with libsndfile's channel
/// `map` if given, in a file of this process's own.
std::string tones(const std::string& name, int format, const std::vector<double>& dBFS,
                  double seconds, const std::vector<int>& map = {}, int rate = 48000) {
    const std::string path = scratchPath(std::to_string(getpid()) + "_" + name);
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = static_cast<int>(dBFS.size());
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
    if (!map.empty()) {
        std::vector<int> roles = map;
        sf_command(file, SFC_SET_CHANNEL_MAP_INFO, roles.data(),
                   static_cast<int>(roles.size() * sizeof(int)));
    }
    std::vector<float> frame(dBFS.size());
    for (int i = 0; i < static_cast<int>(seconds * rate); ++i) {
        for (std::size_t c = 0; c < dBFS.size(); ++c) {
            frame[c] = static_cast<float>(std::pow(10.0, dBFS[c] / 20.0) *
                                          std::sin(2.0 * M_PI * 1000.0 * i / rate));
        }
        sf_writef_float(file, frame.data(), 1);
    }
    sf_close(file);
    return path;
}

/// The JSON object of each file measured.
std::vector<std::map<std::string, std::string>> objects(const ToolRun& run) {
    std::vector<std::map<std::string, std::string>> all;
    for (const std::string& line : lines(run.out)) {
        all.push_back(jsonFields(line));
    }
    return all;
}

double figure(const std::map<std::string, std::string>& object, const std::string& key) {
    return object.count(key) && object.at(key) != "null" ? std::stod(object.at(key)) : kSilent;
}

TEST(PevoLoudnessDelivery, NoDamagedCutOrUnknownLengthFilePassesAsGood) {
    const std::string good = tones("good.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, {-20, -20}, 6);
    // Garbage over the middle of a copy: the decoder loses sync part-way.
    const std::string damaged = scratchPath(std::to_string(getpid()) + "_damaged.flac");
    std::string bytes;
    {
        std::ifstream in(good, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    for (std::size_t i = bytes.size() / 2; i < bytes.size() / 2 + 3000; ++i) {
        bytes[i] = static_cast<char>(i * 7);
    }
    std::ofstream(damaged, std::ios::binary) << bytes;
    // A WAV cut to half of what its header announces, and one whose sizes say "unknown", as
    // a program writing to a pipe leaves them.
    const std::string whole = tones("whole.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, {-20}, 2);
    std::ifstream in(whole, std::ios::binary);
    const std::string wav((std::istreambuf_iterator<char>(in)), {});
    const std::string cut = scratchPath(std::to_string(getpid()) + "_cut.wav");
    std::ofstream(cut, std::ios::binary) << wav.substr(0, 44 + 96000);
    std::string piped = wav;
    piped.replace(4, 4, "\xff\xff\xff\xff").replace(40, 4, "\xff\xff\xff\xff");
    const std::string unknown = scratchPath(std::to_string(getpid()) + "_unknown.wav");
    std::ofstream(unknown, std::ios::binary) << piped;

    struct Case {
        std::vector<std::string> files;
        std::string input;
        int status;
        std::vector<std::string> said;  ///< on standard error; none when empty
        std::size_t rows;               ///< table lines on standard output
    } cases[] = {
        {{damaged, good}, "", 1, {"reading " + damaged + " failed", "lost sync"}, 3},
        {{cut}, "", 1, {"warning: " + cut + ": cut short", "96000 frames, 48000"}, 3},
        {{"-"}, unknown, 0, {}, 3},
        {{damaged, cut + ".missing"}, "", 1, {"cannot open " + cut + ".missing"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.files[0]);
        const ToolRun run = loudness(c.files, c.input);
        EXPECT_EQ(run.status, c.status) << run.err;
        for (const std::string& part : c.said) {
            EXPECT_TRUE(contains(run.err, part)) << run.err;
        }
        EXPECT_EQ(c.said.empty(), run.err.empty()) << run.err;
        EXPECT_EQ(lines(run.out).size(), c.rows) << run.out;
    }
    EXPECT_TRUE(contains(loudness({"-"}, unknown).out, "0:00:02.0"));
    // A delivery check fails the cut file whatever its figures (-23.0 LUFS here).
    const ToolRun checked = loudness({"--preset", "ebu-r128", "--format", "csv", cut});
    EXPECT_EQ(checked.status, 1);
    EXPECT_TRUE(contains(checked.out, ",FAIL,cut short")) << checked.out;
    // Every path of pevo-host warns of the cut file too and fails, the loudness plug-in's
    // as well.
    for (const char* plugin : {PEVO_PLUGIN, PEVO_LOUDNESS_PLUGIN}) {
        const ToolRun host = runProgram(PEVO_HOST, {plugin, cut});
        EXPECT_EQ(host.status, 1) << plugin;
        EXPECT_TRUE(contains(host.err, "cut short: its header announces 96000 frames"))
            << plugin << host.err;
    }
}

TEST(PevoLoudnessDelivery, SurroundWeighsEachRoleAndNamesTheLayout) {
    // The EBU's case 6: L and R at -28, C at -24, Ls and Rs at -30 dBFS read -23.0 LUFS.
    const std::vector<double> five = {-28, -28, -24, -30, -30};
    const std::vector<double> six = {-28, -28, -24, kSilent, -30, -30};
    const std::vector<double> eight = {-28, -28, -24, kSilent, -30, -30, kSilent, kSilent};
    const std::vector<double> centreFirst = {-24, -28, -28, -30, -30};
    const int wav = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
    const std::string mono = tones("mono.wav", wav, {-20}, 2);
    // L, R at -28 and surrounds at -30 dBFS: case 6 without its centre (K-weighting's gain
    // at 1 kHz makes up BS.1770's -0.691).
    const double quad = 10 * std::log10(0.5 * (2 * 1.585e-3 + 2 * 1.41 * 1e-3));
    struct Case {
        std::string file;
        std::vector<std::string> options;
        double integrated, truePeak;
        std::string layout;
    } cases[] = {
        {tones("50.wav", wav, five, 2), {}, -23.0, -24.0, "5.0"},
        {tones("51.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, six, 2), {}, -23.0, -24.0, "5.1"},
        {tones("71.wav", wav, eight, 2), {}, -23.0, -24.0, "7.1"},
        {tones("c_first.wav", wav, centreFirst, 2),
         {"--channels", "C,L,R,Ls,Rs"},
         -23.0,
         -24.0,
         "5.0"},
        // Named by the file: its surrounds as "rear" channels, as a 4.0 mask names them.
        {tones("rear.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_24, {-28, -28, -30, -30}, 2,
               {SF_CHANNEL_MAP_LEFT, SF_CHANNEL_MAP_RIGHT, SF_CHANNEL_MAP_REAR_LEFT,
                SF_CHANNEL_MAP_REAR_RIGHT}),
         {},
         quad,
         -28.0,
         "4.0"},
        {mono, {}, -23.01, -20.0, "mono"},
        {mono, {"--dual-mono"}, -20.0, -20.0, "dual mono"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::vector<std::string> arguments = c.options;
        arguments.insert(arguments.end(), {"--format", "json", c.file});
        const ToolRun run = loudness(arguments);
        ASSERT_EQ(run.status, 0) << run.err;
        const auto object = objects(run).at(0);
        EXPECT_NEAR(figure(object, "integrated"), c.integrated, 0.05);
        EXPECT_EQ(object.at("layout"), "\"" + c.layout + "\"");
        EXPECT_NEAR(figure(object, "true_peak"), c.truePeak, 0.05);
    }
    // Stating roles that do not match is refused, the other files still measured.
    const std::string stereo = tones("stereo.wav", wav, {-20, -20}, 1);
    const ToolRun refused = loudness({"--channels", "L,R", cases[0].file, stereo});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(contains(refused.err, "--channels: " + cases[0].file)) << refused.err;
    EXPECT_EQ(lines(refused.out).size(), 3u);
}

TEST(PevoLoudnessDelivery, NormalisesByOneGainUnderTheCeiling) {
    const int wav16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    const std::string quiet = tones("quiet.wav", wav16, {-40}, 3);  // -43.0 LUFS, -40 dBTP
    // A quiet tone with a click near full scale each half second: -31.9 LUFS, -1.4 dBTP.
    std::vector<float> clicks;
    for (int i = 0; i < 3 * 48000; ++i) {
        const double click = i % 24000 < 10 ? 0.84 * std::sin(2 * M_PI * 3000.0 * i / 48000) : 0;
        clicks.push_back(
            static_cast<float>(0.03 * std::sin(2 * M_PI * 1000.0 * i / 48000) + click));
    }
    const std::string peaky = scratchPath(std::to_string(getpid()) + "_peaky.wav");
    writeAudio(peaky, SF_FORMAT_WAV | SF_FORMAT_PCM_24, 1, 48000, clicks);
    const std::string out = scratchPath(std::to_string(getpid()) + "_normalised.wav");
    enum Reaches { kTarget, kCeiling, kFullScale };
    struct Case {
        std::string file;
        std::vector<std::string> options;
        Reaches reaches;
        std::string said;
    } cases[] = {
        {quiet, {"--normalize", "-23"}, kTarget, ""},
        {peaky, {"--normalize", "-16", "--ceiling", "-1"}, kCeiling, "limits the gain to"},
        {peaky, {"--normalize", "-31", "--exceed-ceiling"}, kTarget, "exceeds the ceiling"},
        {peaky, {"--normalize", "-16", "--exceed-ceiling"}, kFullScale, "samples clipped"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options[1] + c.file);
        std::vector<std::string> arguments = c.options;
        arguments.insert(arguments.end(), {"--format", "json", "-o", out, c.file});
        const ToolRun run = loudness(arguments);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(c.said.empty(), run.err.empty()) << run.err;
        EXPECT_TRUE(contains(run.err, c.said)) << run.err;
        const auto both = objects(run);  // the input's figures, then the written file's
        ASSERT_EQ(both.size(), 2u) << run.out;
        EXPECT_EQ(both[1].at("normalised_from"), "\"" + c.file + "\"");
        const double gain = figure(both[1], "gain_applied");
        if (c.reaches != kFullScale) {
            EXPECT_NEAR(figure(both[1], "integrated"), figure(both[0], "integrated") + gain, 0.02);
        }
        if (c.reaches == kTarget) {
            EXPECT_NEAR(figure(both[1], "integrated"), std::stod(c.options[1]), 0.02);
        } else if (c.reaches == kCeiling) {
            EXPECT_LE(figure(both[1], "true_peak"), -1.0);
            EXPECT_GT(figure(both[1], "true_peak"), -1.05);
        }
        int format = 0;
        readIntegers(out, format);
        EXPECT_EQ(format, c.file == quiet ? wav16 : (SF_FORMAT_WAV | SF_FORMAT_PCM_24));
    }
    // Surround keeps its channels' roles, the mask of an extensible WAV: the written file
    // measures with the input's layout. FLAC keeps none: the copy is measured as the input
    // and a warning says so.
    const std::vector<int> quad = {SF_CHANNEL_MAP_LEFT, SF_CHANNEL_MAP_RIGHT,
                                   SF_CHANNEL_MAP_REAR_LEFT, SF_CHANNEL_MAP_REAR_RIGHT};
    const std::vector<int> side = {SF_CHANNEL_MAP_LEFT,      SF_CHANNEL_MAP_RIGHT,
                                   SF_CHANNEL_MAP_CENTER,    SF_CHANNEL_MAP_LFE,
                                   SF_CHANNEL_MAP_SIDE_LEFT, SF_CHANNEL_MAP_SIDE_RIGHT};
    struct Surround {
        std::string layout;
        std::vector<int> map;
        std::string output;
        int format;
    } surrounds[] = {
        {"4.0", quad, out, SF_FORMAT_WAVEX | SF_FORMAT_PCM_24},
        {"5.1", side, out, SF_FORMAT_WAVEX | SF_FORMAT_PCM_24},
        {"4.0", quad, out + ".flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24},
    };
    for (const Surround& c : surrounds) {
        SCOPED_TRACE(c.output);
        const std::string file = tones(c.layout + ".wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_24,
                                       std::vector<double>(c.map.size(), -30), 1, c.map);
        const ToolRun run =
            loudness({"--normalize", "-23", "--format", "json", "-o", c.output, file});
        ASSERT_EQ(run.status, 0) << run.err;
        const auto both = objects(run);
        ASSERT_EQ(both.size(), 2u) << run.out;
        EXPECT_EQ(both[1].at("layout"), "\"" + c.layout + "\"");
        SF_INFO info{};
        SNDFILE* written = sf_open(c.output.c_str(), SFM_READ, &info);
        std::vector<int> roles(c.map.size());
        const bool named = sf_command(written, SFC_GET_CHANNEL_MAP_INFO, roles.data(),
                                      static_cast<int>(roles.size() * sizeof(int))) == SF_TRUE;
        sf_close(written);
        EXPECT_EQ(info.format, c.format);
        const bool wav = (c.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAVEX;
        EXPECT_EQ(named, wav);
        EXPECT_EQ(wav ? roles : c.map, c.map);
        EXPECT_EQ(contains(run.err, "keeps no channel roles"), !wav) << run.err;
    }
    // Several files go into a folder, under their own names.
    const ToolRun folder = loudness({"--normalize", "-20", "-o", PEVO_SCRATCH_DIR, quiet, peaky});
    EXPECT_EQ(folder.status, 1) << "the inputs are in the folder: they are not replaced";
    EXPECT_TRUE(contains(folder.err, "is the input file")) << folder.err;
}

TEST(PevoLoudnessDelivery, PresetsPassOrFailWithTheReasonAndExitThree) {
    // -23.0 LUFS and -24 dBTP (case 6), and a stereo tone at -18 LUFS, -18 dBTP.
    const std::string broadcast =
        tones("r128.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, {-28, -28, -24, -30, -30}, 2);
    const std::string loud = tones("loud.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, {-18, -18}, 2);
    struct Case {
        std::vector<std::string> options;
        std::string file;
        int status;
        std::string verdict;
    } cases[] = {
        {{"--preset", "ebu-r128"}, broadcast, 0, "PASS"},
        {{"--preset", "atsc-a85"}, broadcast, 0, "PASS"},
        {{"--preset", "streaming"}, broadcast, 3, "integrated -23.0 LUFS is 9.0 LU off -14 LUFS"},
        {{"--preset", "podcast"}, loud, 3, "is 2.0 LU off -16 LUFS (+-1)"},
        {{"--preset", "podcast", "--tolerance", "2.5"}, loud, 0, "PASS"},
        // Off by less than a tenth: the figures show as many decimals as it takes.
        {{"--preset", "ebu-r128", "--tolerance", "0.01"},
         broadcast,
         3,
         "integrated -23.02 LUFS is 0.02 LU off -23 LUFS (+-0.01)"},
        {{"--preset", "ebu-r128", "--max-true-peak", "-25"},
         broadcast,
         3,
         "true peak -24.0 dBTP above -25 dBTP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options[1]);
        std::vector<std::string> arguments = c.options;
        arguments.insert(arguments.end(), {"--format", "csv", c.file});
        const ToolRun run = loudness(arguments);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_TRUE(contains(run.out, c.verdict)) << run.out;
        const ToolRun table = loudness(c.options + std::vector<std::string>{c.file});
        EXPECT_TRUE(contains(table.out, c.status ? "FAIL" : "PASS")) << table.out;
    }
}

TEST(PevoLoudnessDelivery, RefusedSettingsSayWhyOnOneLine) {
    const std::string file = tones("any.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, {-20}, 1);
    for (const auto& [option, value] :
         std::vector<std::pair<std::string, std::string>>{{"--normalize", "50"},
                                                          {"--target", "nan"},
                                                          {"--ceiling", "3"},
                                                          {"--every", "0"},
                                                          {"--preset", "cinema"},
                                                          {"--max-true-peak", "inf"},
                                                          {"--tolerance", "-1"}}) {
        const ToolRun run = loudness({option, value, "-o", scratchPath("refused.wav"), file});
        EXPECT_EQ(run.status, 2) << option;
        EXPECT_EQ(lines(run.err).size(), 1u) << run.err;
        EXPECT_TRUE(contains(run.err, option)) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_TRUE(contains(loudness({"--normalize", "-23", file}).err, "--normalize needs -o"));
}

TEST(PevoLoudnessDelivery, StepsFollowTheMetersOwnClockAtAnOddRate) {
    // At 11025 Hz the meter's 100 ms step is 1100 frames (1103 has no divisor to cut it
    // into sub-blocks): 20 s hold 200 of them. Loud and quiet every 0.37 s.
    constexpr int kRate = 11025;
    std::vector<float> bursts;
    for (int i = 0; i < 20 * kRate; ++i) {
        const double level = (i / 4079) % 2 == 0 ? 0.9 : 0.1;
        bursts.push_back(static_cast<float>(level * std::sin(2 * M_PI * 997.0 * i / kRate)));
    }
    const std::string file = scratchPath(std::to_string(getpid()) + "_bursts.wav");
    writeAudio(file, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, kRate, bursts);
    const ToolRun run = loudness({"--format", "json", "--max-true-peak", "-30", file, file});
    ASSERT_EQ(run.status, 3) << run.err;  // every step is over the ceiling
    const auto all = objects(run);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].at("over_steps"), "200");
    // The album gates the very blocks that each file's integrated loudness was gated from.
    EXPECT_EQ(all[2].at("integrated"), all[0].at("integrated"));
    EXPECT_EQ(all[2].at("range"), all[0].at("range"));
}

TEST(PevoLoudnessDelivery, PlotTimesAlbumAndHelpReadAsAUserExpects) {
    // Half a second at -30, then a second at -10 dBFS with peaks above full scale after it,
    // and a second of digital silence.
    std::vector<float> rising;
    for (int i = 0; i < 4 * 48000; ++i) {
        const double level = i < 24000 ? 0.0316 : (i < 72000 ? 0.316 : (i < 144000 ? 1.4 : 0));
        rising.push_back(static_cast<float>(level * std::sin(2 * M_PI * 1000.0 * i / 48000)));
    }
    const std::string file = scratchPath(std::to_string(getpid()) + "_rising.wav");
    writeAudio(file, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 48000, rising);
    const std::string plot = scratchPath(std::to_string(getpid()) + "_plot.png");
    std::remove(plot.c_str());
    const ToolRun run =
        loudness({"--format", "json", "--max-true-peak", "-1", "--plot", plot, file, file});
    EXPECT_EQ(run.status, 1) << run.err;  // the plot could not be written
    const auto all = objects(run);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_NEAR(figure(all[0], "max_momentary_time"), 1.9, 0.05);
    EXPECT_NEAR(figure(all[0], "first_over_time"), 1.5, 0.05);
    EXPECT_EQ(all[0].at("over_steps"), "15");
    // The album: both files' blocks gated together read as each file alone.
    EXPECT_EQ(all[2].at("album"), "true");
    EXPECT_EQ(all[2].at("integrated"), all[0].at("integrated"));
    EXPECT_EQ(all[2].at("range"), all[0].at("range"));
    // Two files go to a folder: one file name is refused.
    EXPECT_TRUE(contains(run.err, "--plot " + plot + " is not a folder")) << run.err;
    const ToolRun one = loudness({"--plot", plot, file});
    ASSERT_EQ(one.status, 0) << one.err;
    std::ifstream png(plot, std::ios::binary);
    unsigned char header[24] = {};
    png.read(reinterpret_cast<char*>(header), sizeof header);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(header) + 1, 3), "PNG");
    EXPECT_EQ(header[18] * 256 + header[19], 1200);  // width and height, big-endian
    EXPECT_EQ(header[22] * 256 + header[23], 480);
    // A compliant file's target and integrated lines are one: the target's label goes above
    // (rows 170-186 of the picture, the line at 189.5), the integrated level's below.
    const std::string level = tones("level.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, {-20}, 4);
    ASSERT_EQ(loudness({"--preset", "ebu-r128", "--plot", plot, level}).status, 0);
    cairo_surface_t* picture = cairo_image_surface_create_from_png(plot.c_str());
    const auto pixels = [picture](int top, int bottom, int left, int right, auto colour) {
        const unsigned char* data = cairo_image_surface_get_data(picture);
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {  // blue, green, red in memory
                const unsigned char* p = data + y * cairo_image_surface_get_stride(picture) + 4 * x;
                count += colour(p[2], p[1], p[0]) ? 1 : 0;
            }
        }
        return count;
    };
    const auto orange = [](int r, int g, int b) { return r > g + 60 && g > b; };
    const auto green = [](int r, int g, int b) { return g > r + 40 && g > b + 30; };
    const auto dark = [](int r, int g, int b) { return r + g + b < 300; };
    EXPECT_GT(pixels(170, 187, 1000, 1180, orange), 20);
    EXPECT_GT(pixels(193, 210, 1000, 1180, green), 20);  // drawn above the line, it overprinted
    EXPECT_GT(pixels(150, 330, 0, 30, dark), 100);       // "loudness (LUFS)" up the left edge
    cairo_surface_destroy(picture);
    // A positive true peak has its sign; the series' time shows its step.
    EXPECT_TRUE(contains(one.out, "+2.9")) << one.out;
    const ToolRun every = loudness({"--every", "0.05", file});
    EXPECT_TRUE(contains(every.out, "0:00:00.05 ")) << every.out;
    // The filters' decay after the audio stops reads as undefined, never as -800 LUFS.
    const std::string series = loudness({"--every", "0.1", "--format", "json", file}).out;
    std::size_t undefined = 0;
    for (std::size_t at = 0; (at = series.find("\"momentary\":", at)) != std::string::npos;) {
        at += 12;
        const std::string value = series.substr(at, 4);
        undefined += value == "null" ? 1 : 0;
        EXPECT_TRUE(value == "null" || std::stod(series.substr(at)) > -70.0) << value;
    }
    EXPECT_GE(undefined, 5u);
    const ToolRun csv = loudness({"--every", "1", "--format", "csv", file, file});
    EXPECT_EQ(lines(csv.out).size(), 9u) << csv.out;  // one table: a head, four rows a file
    EXPECT_TRUE(contains(csv.out, file + ",3.000,"));

    const std::string help = loudness({"--help"}).out;
    for (const char* artefact : {"TEXT", "REQUIRED", ":POSITIVE", ":{"}) {
        EXPECT_FALSE(contains(help, artefact)) << artefact;
    }
    EXPECT_TRUE(contains(help, "Examples:"));
    EXPECT_TRUE(contains(help, "ebu-r128   EBU R 128: -23 LUFS +-0.5 LU"));
}

}  // namespace
