#include "tools/loudness/command_line.h"

#include <cmath>
#include <map>

#include "loudness/delivery_targets.h"
#include "loudness/loudness_meter.h"

namespace {

const std::map<std::string, LoudnessReport::Format> kFormats = {
    {"table", LoudnessReport::Format::kTable},
    {"csv", LoudnessReport::Format::kCsv},
    {"json", LoudnessReport::Format::kJson}};

/// The loudness a target or normalising may ask for, in LUFS, and the ceilings, in dBTP.
constexpr double kLowestTarget = -70.0;
constexpr double kHighestTarget = 0.0;
constexpr double kLowestCeiling = -30.0;
constexpr double kHighestCeiling = 0.0;

constexpr const char* kDescription =
    "Measures the loudness of audio files as an EBU Mode meter does (EBU R 128, ITU-R "
    "BS.1770-4, EBU Tech 3341 and 3342), each at its own sample rate: integrated loudness, "
    "Loudness Range, maximum momentary and short-term loudness and when they came, true peak "
    "and sample peak. Checks them against a delivery's target, and writes normalised copies.";

std::string presetList() {
    std::string text;
    for (const DeliveryTarget& target : kDeliveryTargets) {
        char line[160];
        std::snprintf(line, sizeof line,
                      "  %-10s %s: %.0f LUFS +-%g LU, true peak at most %.0f dBTP\n", target.name,
                      target.title, target.loudness, target.tolerance, target.maxTruePeak);
        text += line;
    }
    return text;
}

std::string footer() {
    return "FILE is anything libsndfile reads, 1 to 8 channels, at 8 to 384 kHz; - reads "
           "standard input. Channels count with the weight of their role (BS.1770-4): L, R "
           "and C 1.0, the surrounds 1.41, the LFE not at all. The roles come from the file "
           "(a WAVE_FORMAT_EXTENSIBLE mask, or another channel map libsndfile reads), else "
           "the usual order: mono, stereo, 5.0 L,R,C,Ls,Rs, 5.1 L,R,C,LFE,Ls,Rs, 7.1 "
           "L,R,C,LFE,Ls,Rs,Lrs,Rrs. A mono file is measured as one channel; the same signal on "
           "two speakers reads 3 LU louder (--dual-mono). NaN and infinite samples are measured "
           "as silence.\n\n"
           "Presets:\n" +
           presetList() +
           "\nFigures are in LUFS (loudness), LU (range, gain), dBTP (true peak) and dBFS "
           "(sample peak); undefined ones (silence) read --- in the table, an empty field in "
           "CSV and null in JSON. The table gives the true peak of each channel too. For "
           "several files the album line measures them as one programme, their blocks gated "
           "together. JSON gives one object per file on one line.\n\n"
           "Examples:\n"
           "  pevo-loudness song.flac\n"
           "  pevo-loudness --preset ebu-r128 --format csv *.wav > report.csv\n"
           "  pevo-loudness --normalize -16 --ceiling -1 -o episode-16.wav episode.wav\n"
           "  pevo-loudness --channels L,R,C,LFE,Ls,Rs --plot mix.png mix.wav\n"
           "  ffmpeg -i film.mkv -f wav - | pevo-loudness --preset atsc-a85 -\n\n"
           "Exit status: 0 when every file was measured (and passed), 1 when one could not be "
           "measured or written (the others still are) or is cut short (measured all the same, "
           "and FAIL under a delivery check), 2 for a usage error, 3 when a file "
           "failed its delivery check.";
}

}  // namespace

LoudnessCommandLine::LoudnessCommandLine() : app(kDescription, "pevo-loudness") {
    app.footer(footer());
    app.get_formatter()->column_width(26);
    app.get_formatter()->label("REQUIRED", "");
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.set_version_flag("--version", std::string("pevo-loudness ") + PEVO_VERSION,
                         "print the version, then stop");
    app.set_help_flag("-h,--help", "print this text, then stop");
    app.add_option("--format", format, "table (default), csv or json")->type_name("F");
    app.add_option("--every", values.every,
                   "also momentary, short-term and integrated-so-far loudness every T seconds")
        ->type_name("T");
    app.add_option("--target", target,
                   "also the gain that brings each file to LUFS, and its true peak after it")
        ->type_name("LUFS");
    app.add_option("--channels", values.channels, "the channels' roles, such as L,R,C,LFE,Ls,Rs")
        ->type_name("LIST");
    app.add_flag("--dual-mono", values.dualMono,
                 "measure a mono file as it plays on two speakers (+3.01 LU)");
    app.add_option("--preset", preset, "check each file against a delivery (see Presets)")
        ->type_name("NAME");
    app.add_option("--tolerance", tolerance, "the LU a file may be from the preset's loudness")
        ->type_name("LU");
    app.add_option("--max-true-peak", maxTruePeak, "the highest true peak a file may have")
        ->type_name("DBTP");
    app.add_option("--normalize", normalise, "write each file with one gain that brings it to LUFS")
        ->type_name("LUFS");
    app.add_option("--ceiling", values.ceiling,
                   "keep the normalised true peak at most this (default -1); the gain is "
                   "lowered and a message says so")
        ->type_name("DBTP");
    app.add_flag("--exceed-ceiling", values.exceedCeiling,
                 "reach the loudness asked for even above the ceiling");
    app.add_option("-o,--output", values.output,
                   "the normalised file, or a folder for several; same format as the input")
        ->type_name("OUT");
    app.add_option("--plot", values.plot,
                   "draw loudness and true-peak overs over time into PNG (a folder for several)")
        ->type_name("PNG");
    app.add_option("FILE", values.files, "audio files to measure")->type_name("")->required();
}

std::optional<int> LoudnessCommandLine::parse(int argc, char** argv) {
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);
        return status == 0 ? 0 : kUsageError;
    }
    std::string error;
    if (!check(error)) {
        std::fprintf(stderr, "pevo-loudness: %s (pevo-loudness --help lists the options)\n",
                     error.c_str());
        return kUsageError;
    }
    return std::nullopt;
}

bool LoudnessCommandLine::check(std::string& error) {
    const auto within = [&](const char* option, double value, double low, double high,
                            const char* unit) {
        if (app.count(option) > 0 && !(value >= low && value <= high)) {
            char text[160];
            std::snprintf(text, sizeof text, "%s must be from %g to %g %s", option, low, high,
                          unit);
            error = text;
        }
        return error.empty();
    };
    if (kFormats.count(format) == 0) {
        error = "--format must be table, csv or json, not " + format;
        return false;
    }
    values.format = kFormats.at(format);
    if (app.count("--every") > 0 && !(values.every > 0.0 && std::isfinite(values.every))) {
        error = "--every must be a number of seconds above 0";
        return false;
    }
    if (!within("--target", target, kLowestTarget, kHighestTarget, "LUFS") ||
        !within("--normalize", normalise, kLowestTarget, kHighestTarget, "LUFS") ||
        !within("--ceiling", values.ceiling, kLowestCeiling, kHighestCeiling, "dBTP") ||
        !within("--max-true-peak", maxTruePeak, kLowestCeiling, kHighestCeiling, "dBTP") ||
        !within("--tolerance", tolerance, 0.0, 10.0, "LU")) {
        return false;
    }
    if (app.count("--target") > 0) {
        values.target = target;
    }
    if (!preset.empty()) {
        const DeliveryTarget* delivery = deliveryTargetNamed(preset);
        if (!delivery) {
            error = "--preset " + preset + " is none of the presets pevo-loudness --help lists";
            return false;
        }
        values.checkLoudness = delivery->loudness;
        values.tolerance = delivery->tolerance;
        values.maxTruePeak = delivery->maxTruePeak;
    }
    if (app.count("--tolerance") > 0) {
        values.tolerance = tolerance;
    }
    if (app.count("--max-true-peak") > 0) {
        values.maxTruePeak = maxTruePeak;
    }
    if (values.dualMono && !values.channels.empty()) {
        error = "--dual-mono and --channels exclude each other: one names the roles";
        return false;
    }
    if (values.tolerance && !values.checkLoudness) {
        error = "--tolerance needs --preset: it is the room around a preset's loudness";
        return false;
    }
    if (app.count("--normalize") > 0) {
        values.normalise = normalise;
    }
    if (values.normalise.has_value() != !values.output.empty()) {
        error = values.normalise ? "--normalize needs -o OUT: the file (or folder) to write"
                                 : "-o needs --normalize: the loudness to write the file at";
        return false;
    }
    if ((app.count("--ceiling") > 0 || values.exceedCeiling) && !values.normalise) {
        error = "--ceiling and --exceed-ceiling go with --normalize";
        return false;
    }
    return true;
}
