// What the bundled host's command line promises a new user: help, version, inputs from
// files and from standard input, and a README that shows what the tool prints.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <fstream>
#include <iterator>

#include "tests/tools/tool_run.h"

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

int count(const std::string& text, const std::string& part) {
    int found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++found;
    }
    return found;
}

TEST(PevoHostCommandLine, RepeatedOptionsTakeTheLastValueAndEverySet) {
    const ToolRun run = runTool({PEVO_PLUGIN, "--every", "1s", "--set", "Mode=0.5", "--every", "2s",
                                 "--set", "Resp=1", "--block=256"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "in 256-frame blocks, channels M/S, readings every 2000 ms"))
        << run.out;
    EXPECT_TRUE(contains(run.out, "6  Resp        1.000000             \"1.000000\" = 3 s\n"));
}

TEST(PevoHostCommandLine, HelpAndVersionAnswerWithoutAPlugIn) {
    const ToolRun version = runTool({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "pevo-host 1.0.0\n");
    const ToolRun help = runTool({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(contains(help.out, "Usage: pevo-host [options] PLUGIN [INPUT...]\n")) << help.out;
    for (const char* option : {"--info", "--list", "--block N", "--every T", "--format F",
                               "-o,--output OUT", "--set NAME=VALUE", "--program N",
                               "--snapshot PNG", "--snapshot-at T", "--version", "Exit status"}) {
        EXPECT_TRUE(contains(help.out, option)) << option;
    }
    EXPECT_EQ(help.err, "");
}

TEST(PevoHostCommandLine, MetersStandardInputAndEachFileInTurn) {
    const std::string flac = scratchPath("command_line_in.flac");
    writeAudio(flac, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 48000, std::vector<float>(48000, 0.5f));
    const std::string wav = scratchPath("command_line_in.wav");
    writeAudio(wav, SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2, 44100,
               std::vector<float>(2 * 4410, 0.25f));
    const ToolRun run =
        runTool({PEVO_PLUGIN, "-", wav, "--every", "1s", "--format", "json"}, "", flac);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> objects = lines(run.out);
    ASSERT_EQ(objects.size(), 4u) << run.out;  // a reading and a summary for each input
    auto first = jsonFields(objects[1]);
    EXPECT_EQ(first["input"], "\"standard input\"");
    EXPECT_EQ(first["frames"], "48000");
    auto second = jsonFields(objects[3]);
    EXPECT_EQ(second["input"], "\"" + wav + "\"");
    EXPECT_EQ(second["frames"], "4410");

    // After "--" a name that starts with '-' is an input, not an option.
    writeAudio(scratchPath("-dashed.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 44100,
               std::vector<float>(441, 0.1f));
    const ToolRun table =
        runTool({"--every", "1s", "--", PEVO_PLUGIN, wav, "-", "-dashed.wav"}, "", flac);
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_EQ(count(table.out, "\nMetering "), 3) << table.out;
    EXPECT_EQ(count(table.out, "Plug-in   "), 1) << table.out;
}

TEST(PevoHostCommandLine, TheReadmeShowsWhatTheToolPrints) {
    std::ifstream file(PEVO_README);
    const std::string readme((std::istreambuf_iterator<char>(file)), {});
    ASSERT_FALSE(readme.empty());
    const std::string help = runTool({"--help"}).out;
    EXPECT_TRUE(contains(readme, help.substr(help.find("Usage:")))) << help;
    EXPECT_TRUE(contains(readme, runTool({PEVO_PLUGIN, "--list"}).out));
    // The demo as tools/scripts/demo.sh runs it, from the table on.
    const std::string demo = runTool({"--set", "Resp=0.5", "--snapshot", scratchPath("demo.png"),
                                      PEVO_PLUGIN, "--every", "500ms"})
                                 .out;
    EXPECT_TRUE(contains(readme, demo.substr(demo.find("\nMetering") + 1))) << demo;
    const std::string loudness = runTool({"--loudness", PEVO_PLUGIN}).out;
    EXPECT_TRUE(contains(readme, loudness.substr(loudness.find("Loudness of")))) << loudness;
}

}  // namespace
