#include "tools/loudness/normaliser.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "tools/common/sample_coding.h"
#include "tools/common/sound_file_input.h"
#include "tools/common/sound_file_writer.h"
#include "tools/common/sound_format.h"

namespace {

constexpr double kArithmeticRoom = 0.001;

bool isFolder(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

/// Whether the two paths name one existing file.
bool sameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace

bool Normaliser::gainFor(const Measurement& input, double step, Gain& gain,
                         std::string& error) const {
    if (!std::isfinite(input.integrated)) {
        error = "cannot normalise " + input.name + ": it has no integrated loudness (silence)";
        return false;
    }
    gain.decibels = target - input.integrated;
    gain.limited = !exceedCeiling && input.truePeak + gain.decibels > ceiling;
    if (gain.limited) {
        // Two steps of rounding and dither at the ceiling's level, and a thousandth of a dB
        // for the float arithmetic.
        const double room = 20.0 * std::log10(1.0 + 2.0 * step / std::pow(10.0, ceiling / 20.0));
        gain.decibels = ceiling - input.truePeak - room - kArithmeticRoom;
    }
    return true;
}

std::string Normaliser::note(const Measurement& input, const Gain& gain) const {
    char text[240];
    if (gain.limited) {
        std::snprintf(text, sizeof text,
                      "the ceiling of %+.1f dBTP limits the gain to %+.2f dB: %.1f LUFS rather "
                      "than %.1f (--exceed-ceiling reaches the target)",
                      ceiling, gain.decibels, input.integrated + gain.decibels, target);
        return text;
    }
    if (input.truePeak + gain.decibels > ceiling) {
        std::snprintf(text, sizeof text, "its true peak, %+.1f dBTP, exceeds the ceiling of %+.1f",
                      input.truePeak + gain.decibels, ceiling);
        return text;
    }
    return "";
}

bool Normaliser::write(SoundFileInput& input, const std::string& path, double decibels,
                       std::string& warning, std::string& error) {
    if (sameFile(input.name(), path)) {
        error = "the output " + path + " is the input file";
        return false;
    }
    SF_INFO format = input.format();
    format.format =
        SoundFormat::forOutput(path, format.format, format.channels, format.samplerate, error);
    if (format.format == 0 || !input.rewind(error)) {
        return false;
    }
    std::unique_ptr<SoundFileWriter> writer =
        SoundFileWriter::create(path, format, input.channelMap(), error);
    if (!writer) {
        return false;
    }
    const auto gain = static_cast<float>(std::pow(10.0, decibels / 20.0));
    const bool integer = SampleCoding::of(format.format).integer;
    std::int64_t clipped = 0;
    std::vector<float> block(
        static_cast<std::size_t>(SoundFileInput::kBlockFrames * input.channels()));
    for (int got; (got = input.read(block.data(), SoundFileInput::kBlockFrames)) != 0;) {
        if (got < 0) {
            error = input.error();
            return false;
        }
        for (std::size_t i = 0; i < static_cast<std::size_t>(got * input.channels()); ++i) {
            block[i] *= gain;
            clipped += integer && std::fabs(block[i]) > 1.0f ? 1 : 0;
        }
        if (!writer->writeInterleaved(block.data(), got, true, error)) {
            return false;
        }
    }
    if (clipped > 0) {
        warning = std::to_string(clipped) + " samples clipped at full scale";
    }
    return writer->commit(error);
}

std::string Normaliser::outputFor(const std::string& file, const std::string& output,
                                  bool severalFiles, std::string& error) {
    if (!severalFiles && !isFolder(output)) {
        return output;
    }
    if (!isFolder(output)) {
        error = "-o " + output + " is not a folder: several files are normalised into one";
        return "";
    }
    if (file == SoundFileInput::kStandardInput) {
        error = "-o " + output + " is a folder: give the normalised standard input a file name";
        return "";
    }
    const std::size_t slash = file.rfind('/');
    return output + "/" + (slash == std::string::npos ? file : file.substr(slash + 1));
}
