// pevo-host hosting the loudness meter: its readings are its parameters, and what it shows
// at the end of a file agrees with pevo-loudness, the same engine, figure for figure; its
// panel is pictured through the same request as Pevo's. It is reported in every format and
// interval Pevo is, and set in the words and units it shows, learnt from its display alone.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <sstream>
#include <vector>

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

std::string sine(const std::string& name, double seconds, double level) {
    std::vector<float> samples;
    for (int i = 0; i < static_cast<int>(seconds * kRate); ++i) {
        const auto x = static_cast<float>(std::pow(10.0, level / 20.0) * std::sin(0.0625 * i));
        samples.insert(samples.end(), {x, x});
    }
    const std::string path = scratchPath(name);
    writeAudio(path, SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2, kRate, samples);
    return path;
}

int count(const std::string& text, const std::string& part) {
    int found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++found;
    }
    return found;
}

/// The line of `out` that names parameter `name` in --info or --list.
std::string parameterLine(const std::string& out, const std::string& name) {
    for (const std::string& line : lines(out)) {
        if (line.size() > 9 && line.compare(9, name.size() + 2, name + "  ") == 0) {
            return line;
        }
    }
    return "<missing " + name + ">";
}

TEST(PevoHostLoudness, EveryFormatNamesEachInputAndReportsAtEveryInterval) {
    const std::string first = sine("loudness-first.wav", 2.5, -20.0);
    const std::string second = sine("loudness-second.wav", 1.0, -30.0);
    const std::vector<std::string> common = {
        PEVO_LOUDNESS_PLUGIN, first, second, "--every", "500ms", "--loudness", "--block", "441"};
    const auto run = [&](const char* format) {
        std::vector<std::string> arguments = common;
        arguments.insert(arguments.end(), {"--format", format});
        const ToolRun result = runTool(arguments);
        EXPECT_EQ(result.status, 0) << result.err;
        return result;
    };
    const ToolRun table = run("table");
    EXPECT_EQ(count(table.out, "Plug-in   "), 1) << table.out;
    for (const std::string& file : {first, second}) {
        EXPECT_EQ(count(table.out, "\nMetering " + file + ": "), 1) << table.out;
        EXPECT_EQ(count(table.out, "Readings of " + file + " after "), 1);
    }
    EXPECT_EQ(count(table.out, "Loudness of the plug-in's output"), 2);
    EXPECT_EQ(count(table.out, "Audio  the plug-in's output equals its input"), 2);

    const ToolRun csv = run("csv");
    const std::string head = "time_s,momentary_lufs,short_term_lufs,integrated_lufs,range_lu,";
    EXPECT_EQ(count(csv.out, head), 2) << csv.out;
    EXPECT_EQ(count(csv.out, "\n0.500000,"), 2);  // a row every 500 ms in each
    EXPECT_EQ(count(csv.out, "\n2.500000,"), 1);
    EXPECT_EQ(count(csv.err, "Readings of " + second + " after 1.0 s:"), 1) << csv.err;

    // JSON: 5 and 2 readings, then a summary that names its input; its last readings are
    // the table's, and the loudness of the output pevo-loudness's.
    const std::vector<std::string> objects = lines(run("json").out);
    ASSERT_EQ(objects.size(), 9u);
    auto summary = jsonFields(objects[5]);
    EXPECT_EQ(summary["input"], "\"" + first + "\"");
    EXPECT_EQ(summary["frames"], std::to_string(5 * kRate / 2));
    EXPECT_EQ(summary["integrated_lufs"], reading(table.out, "Integrated"));
    EXPECT_EQ(summary["output_equals_input"], "true");
    EXPECT_EQ(jsonFields(objects[4])["time_s"], "2.500000");
    EXPECT_EQ(jsonFields(objects[8])["input"], "\"" + second + "\"");

    // The processed audio is written as it is with Pevo (it was silently dropped).
    const std::string written = scratchPath("loudness-written.wav");
    const ToolRun output = runTool({PEVO_LOUDNESS_PLUGIN, second, "-o", written});
    EXPECT_EQ(output.status, 0) << output.err;
    EXPECT_NE(output.out.find("Written  " + written +
                              " (WAV, 24-bit PCM): equals the input "
                              "in all 44100 frames"),
              std::string::npos)
        << output.out;
}

TEST(PevoHostLoudness, SettingsTakeTheWordsAndUnitsTheListShows) {
    const std::string file = sine("loudness-settings.wav", 0.2, -20.0);
    struct Setting {
        const char* plugin;
        const char* assignment;
        const char* parameter;
        const char* value;  ///< in --info's value column
        const char* shown;
    };
    const Setting settings[] = {
        {PEVO_LOUDNESS_PLUGIN, "Custom target=-18", "Custom target", "0.550000", "\"-18.0\""},
        {PEVO_LOUDNESS_PLUGIN, "custom target=-17.96 LUFS", "Custom target", "0.550000",
         "\"-18.0\""},
        {PEVO_LOUDNESS_PLUGIN, "Custom target=0", "Custom target", "1.000000", "\"0.0\""},
        {PEVO_LOUDNESS_PLUGIN, "TP ceiling=-20dBTP", "TP ceiling", "0.000000", "\"-20.0\""},
        {PEVO_LOUDNESS_PLUGIN, "Unit=lu", "Unit", "1.000000", "\"LU\""},
        {PEVO_LOUDNESS_PLUGIN, "Target=-16 LUFS", "Target", "0.500000", "\"-16\""},
        {PEVO_LOUDNESS_PLUGIN, "Target=Custom", "Target", "1.000000", "\"Custom\""},
        {PEVO_LOUDNESS_PLUGIN, "Target=0.75", "Target", "0.750000", "\"-14\""},
        {PEVO_LOUDNESS_PLUGIN, "Scale=EBU +18", "Scale", "1.000000", "\"EBU +18\""},
        {PEVO_PLUGIN, "Mode=Mid/Side", "Mode", "0.500000", "= M/S"},
    };
    for (const Setting& setting : settings) {
        SCOPED_TRACE(setting.assignment);
        const ToolRun info = runTool({"--info", setting.plugin, "--set", setting.assignment});
        ASSERT_EQ(info.status, 0) << info.err;
        const std::string line = parameterLine(info.out, setting.parameter);
        EXPECT_NE(line.find(std::string("  ") + setting.value + "  "), std::string::npos) << line;
        EXPECT_NE(line.find(setting.shown), std::string::npos) << line;
    }
    const std::pair<const char*, const char*> refusals[] = {
        {"Custom target=0.5",
         "value 0.5 for Custom target is out of range: it runs from -40 "
         "to 0 LUFS"},
        {"Custom target=-18 dB",
         "'-18 dB' is not a value for Custom target: give a number in "
         "LUFS"},
        {"Unit=dB", "'dB' is not a position of Unit: LUFS, LU (or a value from 0 to 1)"},
        {"Target=-15", "'-15' is not a position of Target: -23, -24, -16, -14, Custom"},
        {"Integrated=-23", "Integrated is a reading the plug-in publishes, not a setting"},
        {"Loudness=1", "unknown parameter 'Loudness'; the plug-in has Momentary"},
    };
    for (const auto& [assignment, message] : refusals) {
        const ToolRun run = runTool({PEVO_LOUDNESS_PLUGIN, file, "--set", assignment});
        EXPECT_EQ(run.status, 2) << assignment;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST(PevoHostLoudness, AnyPlugInIsReportedAndSetAsItShowsItself) {
    // A plug-in pevo-host knows nothing of: a reading, a switch and a level that falls.
    const std::string file = sine("published.wav", 1000.0 / kRate, -20.0);
    const ToolRun list = runTool(
        {"--list", PEVO_FAKE_PLUGIN, "--set", "colour=BLUE", "--set", "Depth=2.52ms"}, "published");
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find("1  Colour      1.000000   a switch: Red, Green, Blue; now Blue\n"),
              std::string::npos)
        << list.out;
    EXPECT_NE(list.out.find("2  Depth       0.750000   10 to 0 ms; now 2.5\n"), std::string::npos);
    const ToolRun csv = runTool({PEVO_FAKE_PLUGIN, file, "--block", "100", "--every", "4",
                                 "--format", "csv", "--set", "Colour=Green"},
                                "published");
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.out, "time_s,count_blocks\n0.009070,4\n0.018141,8\n0.022676,10\n");
    for (const char* refused : {"Count=3", "Depth=11", "Colour=Pink"}) {
        EXPECT_EQ(runTool({PEVO_FAKE_PLUGIN, file, "--set", refused}, "published").status, 2);
    }
}

TEST(PevoHostLoudness, ListShowsPositionsAndRangesInAlignedColumns) {
    const ToolRun list =
        runTool({"--list", PEVO_LOUDNESS_PLUGIN, "--set", "Unit=LU", "--set", "Custom target=-18"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_NE(parameterLine(list.out, "Unit").find("a switch: LUFS, LU; now LU"), std::string::npos)
        << list.out;
    EXPECT_NE(parameterLine(list.out, "Custom target").find("-40 to 0 LUFS; now -18.0"),
              std::string::npos);
    EXPECT_NE(parameterLine(list.out, "Max short-term").find("a reading the plug-in publishes"),
              std::string::npos);
    for (const char* plugin : {PEVO_LOUDNESS_PLUGIN, PEVO_PLUGIN}) {
        for (const char* request : {"--list", "--info"}) {
            const std::vector<std::string> all = lines(runTool({request, plugin}).out);
            std::size_t column = std::string::npos;
            int rows = 0;
            int longest = 0;  // rows whose name ends where the value column begins
            for (const std::string& line : all) {
                if (line.rfind("  index  name", 0) == 0) {
                    column = line.find("value");
                } else if (column != std::string::npos && line.size() > column + 1 &&
                           std::isdigit(static_cast<unsigned char>(line[6]))) {
                    EXPECT_EQ(line.substr(column - 2, 2) + line[column + 1], "  .") << line;
                    longest += line[column - 3] != ' ' ? 1 : 0;
                    ++rows;
                }
            }
            EXPECT_GE(rows, 8) << plugin << " " << request;
            EXPECT_GE(longest, 1) << plugin << " " << request;
        }
    }
}

}  // namespace
