// pevo-loudness: the loudness, Loudness Range and true peak of audio files, as an EBU Mode
// meter measures them. See LoudnessCommandLine for the options.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "loudness/loudness_meter.h"
#include "tools/common/loudness_report.h"
#include "tools/common/sound_file_input.h"
#include "tools/loudness/command_line.h"
#include "tools/loudness/file_measurement.h"

namespace {

/// The line of several files: as one programme where `together` measured all of them,
/// otherwise only the largest maxima and peaks.
Measurement totalOf(const std::vector<Measurement>& inputs, const LoudnessMeter* together) {
    Measurement total;
    total.name = "total";
    if (together) {
        total.readFrom(*together);
    } else {
        total.integrated = total.range = LoudnessMeter::kUndefined;
        total.maxMomentary = total.maxShortTerm = LoudnessMeter::kUndefined;
        total.truePeak = total.samplePeak = LoudnessMeter::kUndefined;
        for (const Measurement& input : inputs) {
            total.maxMomentary = std::max(total.maxMomentary, input.maxMomentary);
            total.maxShortTerm = std::max(total.maxShortTerm, input.maxShortTerm);
            total.truePeak = std::max(total.truePeak, input.truePeak);
            total.samplePeak = std::max(total.samplePeak, input.samplePeak);
        }
    }
    for (const Measurement& input : inputs) {
        total.seconds += input.seconds;
    }
    return total;
}

/// Says `message` about `name` on standard error, if there is one.
void warn(const std::string& name, const std::string& message) {
    if (!message.empty()) {
        std::fprintf(stderr, "pevo-loudness: warning: %s: %s\n", name.c_str(), message.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    LoudnessCommandLine commandLine;
    if (const std::optional<int> status = commandLine.parse(argc, argv)) {
        return *status;
    }
    const LoudnessOptions& options = commandLine.options();
    int status = 0;
    std::vector<Measurement> measured;
    // Several files of one rate and channel count are measured as one programme too.
    LoudnessMeter together;
    bool togetherValid = options.files.size() > 1;
    for (const std::string& file : options.files) {
        std::string error;
        const std::unique_ptr<SoundFileInput> input = SoundFileInput::open(file, error);
        if (!input || !Measurement::measurable(input->name(), input->channels(),
                                               input->sampleRate(), error)) {
            std::fprintf(stderr, "pevo-loudness: %s\n", error.c_str());
            status = 1;
            continue;
        }
        warn(input->name(), input->warning());
        if (together.channels() == 0) {
            together.setup(input->sampleRate(), input->channels());
        }
        togetherValid = togetherValid && together.sampleRate() == input->sampleRate() &&
                        together.channels() == input->channels();
        Measurement result;
        if (!measure(*input, options.every, togetherValid ? &together : nullptr, result, error)) {
            std::fprintf(stderr, "pevo-loudness: %s\n", error.c_str());
            status = 1;
            continue;
        }
        warn(input->name(), input->shortfall(result.frames));
        result.name = file;
        measured.push_back(result);
    }
    const Measurement total = totalOf(measured, togetherValid ? &together : nullptr);
    if (!measured.empty()) {
        LoudnessReport(options.format, options.target, stdout).print(measured, &total);
    }
    return status;
}
