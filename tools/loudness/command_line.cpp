#include "tools/loudness/command_line.h"

#include <map>

namespace {

const std::map<std::string, LoudnessReport::Format> kFormats = {
    {"table", LoudnessReport::Format::kTable},
    {"csv", LoudnessReport::Format::kCsv},
    {"json", LoudnessReport::Format::kJson}};

constexpr const char* kDescription =
    "Measures the loudness of audio files as an EBU Mode meter does (EBU R 128, ITU-R "
    "BS.1770-4, EBU Tech 3341 and 3342), each at its own sample rate: integrated loudness, "
    "Loudness Range, maximum momentary and short-term loudness, true peak and sample peak.";

constexpr const char* kFooter =
    "FILE is anything libsndfile reads, mono or stereo, at 8 to 384 kHz; - reads standard "
    "input. A mono file is measured as one channel: the same signal on both channels of a "
    "stereo file reads 3 LU louder. NaN and infinite samples are measured as silence.\n\n"
    "Figures are in LUFS (loudness), LU (range, gain), dBTP (true peak) and dBFS (sample "
    "peak); undefined ones (silence) read --- in the table, an empty field in CSV and null in "
    "JSON. The table gives the true peak of each channel too, and a total line for several "
    "files (integrated loudness and range of all of them as one programme when they share "
    "their rate and channels). JSON gives one object per file on one line.\n\n"
    "Exit status: 0 when every file was measured, 1 when one could not be (the others are "
    "still measured), 2 for a usage error.";

}  // namespace

LoudnessCommandLine::LoudnessCommandLine() : app(kDescription, "pevo-loudness") {
    app.footer(kFooter);
    app.set_version_flag("--version", std::string("pevo-loudness ") + PEVO_VERSION);
    app.add_option("--format", format, "Output: table (default), csv or json")
        ->check(CLI::IsMember({"table", "csv", "json"}));
    app.add_option("--every", values.every,
                   "Also print momentary, short-term and integrated-so-far loudness every T "
                   "seconds")
        ->type_name("T")
        ->check(CLI::PositiveNumber);
    app.add_option("--target", target,
                   "Also print the gain that brings each file to LUFS, and its true peak "
                   "after that gain")
        ->type_name("LUFS");
    app.add_option("FILE", values.files, "Audio files to measure")->required();
}

std::optional<int> LoudnessCommandLine::parse(int argc, char** argv) {
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);
        return status == 0 ? 0 : kUsageError;
    }
    values.format = kFormats.at(format);
    if (app.count("--target") > 0) {
        values.target = target;
    }
    return std::nullopt;
}
