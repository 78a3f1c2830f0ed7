// Every way a run of the bundled host can fail: a clear message, a non-zero exit status,
// and no output file, finished or not.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdio>
#include <fstream>

#include "tests/tools/tool_run.h"

namespace {

struct Failure {
    const char* what;
    std::vector<std::string> arguments;
    std::string fakeBehaviour;
    int status;
    std::string message;
};

/// Names in the scratch folder that start with `prefix`.
int namesStartingWith(const std::string& prefix) {
    int count = 0;
    DIR* folder = opendir(PEVO_SCRATCH_DIR);
    for (dirent* entry; folder && (entry = readdir(folder));) {
        count += std::string(entry->d_name).rfind(prefix, 0) == 0 ? 1 : 0;
    }
    if (folder) {
        closedir(folder);
    }
    return count;
}

TEST(PevoHostErrors, EachFailureIsReportedWithItsStatusAndLeavesNoOutput) {
    const std::string plugin = std::string(PEVO_PLUGIN);
    const std::string fake = std::string(PEVO_FAKE_PLUGIN);
    const std::string noEntry = std::string(PEVO_NO_ENTRY_PLUGIN);
    const std::string input = scratchPath("errors_in.wav");
    writeAudio(input, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100,
               std::vector<float>(2 * 44100, 0.25f));
    const std::string text = scratchPath("errors_text.wav");
    std::ofstream(text) << "not audio\n";
    const std::string threeChannels = scratchPath("errors_three.wav");
    writeAudio(threeChannels, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 3, 44100,
               std::vector<float>(3 * 100, 0.0f));
    const std::string missing = scratchPath("errors_missing.wav");

    const std::vector<Failure> failures = {
        {"missing input", {plugin, missing}, "", 1, "cannot open " + missing},
        {"folder as input", {plugin, PEVO_SCRATCH_DIR}, "", 1, "is a directory"},
        {"not audio", {plugin, text}, "", 1, "libsndfile cannot read " + text},
        {"three channels", {plugin, threeChannels}, "", 1, "has 3 channels"},
        {"missing plug-in", {missing, input}, "", 1, "cannot open " + missing},
        {"not a library", {text, input}, "", 1, "is not a plug-in library"},
        {"no entry point", {noEntry, input}, "", 1, "exports no VST 2 entry point"},
        {"no effect", {fake, input}, "null", 1, "refused to start"},
        {"bad record", {fake, input}, "magic", 1, "magic 0x00000000, not 'VstP'"},
        {"one channel", {fake, input}, "mono", 1, "has 1 inputs and 1 outputs"},
        {"not a meter", {fake, input}, "plain", 1, "publishes no meter readings"},
        {"unknown parameter",
         {plugin, input, "--set", "Gain=1"},
         "",
         2,
         "unknown parameter 'Gain'; the plug-in has Delay, RMS level"},
        {"value above 1",
         {plugin, input, "--set", "Mode=1.5"},
         "",
         2,
         "value 1.5 for Mode is out of range: values run from 0 to 1"},
        {"value beyond the unit's range",
         {plugin, input, "--set", "0=20000samples"},
         "",
         2,
         "out of range: it runs from 0 to 13230 samples"},
        {"wrong unit",
         {plugin, input, "--set", "Delay=5ms"},
         "",
         2,
         "'ms' is not the unit of Delay (samples)"},
        {"unitless parameter",
         {plugin, input, "--set", "Mode=1dB"},
         "",
         2,
         "it has none: give a value from 0 to 1"},
        {"program",
         {plugin, input, "--program", "16"},
         "",
         2,
         "program 16 is out of range: the plug-in has programs 0 to 15"},
        {"a reading",
         {plugin, input, "--set", "Peak level=0.5"},
         "",
         2,
         "Peak level is a reading the plug-in publishes, not a setting"},
        {"unknown option", {plugin, input, "--gain"}, "", 2, "unknown option '--gain'"},
        {"no plug-in", {}, "", 2, "PLUGIN is required"},
        {"missing value", {plugin, input, "--block"}, "", 2, "--block"},
        {"output of several inputs", {plugin, input, input}, "", 2, "take a single INPUT"},
        {"bad interval", {plugin, input, "--every", "0.5"}, "", 2, "--every takes a time"},
        {"output over the input", {plugin, input, "-o", input}, "", 2, "is the input file"},
        {"interrupted", {fake, input}, "interrupt", 130, "pevo-host: interrupted"},
    };
    for (const Failure& failure : failures) {
        SCOPED_TRACE(failure.what);
        std::vector<std::string> arguments = failure.arguments;
        if (failure.what != std::string("output over the input")) {
            arguments.insert(arguments.end(), {"-o", scratchPath("errors_out.wav")});
        }
        const ToolRun run = runTool(arguments, failure.fakeBehaviour);
        EXPECT_EQ(run.status, failure.status) << run.err;
        EXPECT_NE(run.err.find(failure.message), std::string::npos) << run.err;
        EXPECT_EQ(namesStartingWith("errors_out"), 0);
        EXPECT_EQ(namesStartingWith(".errors_out"), 0);
    }
    int format = 0;
    EXPECT_EQ(readIntegers(input, format).size(), 2u * 44100);  // the input is untouched
}

}  // namespace
