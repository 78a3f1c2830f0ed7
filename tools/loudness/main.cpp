// pevo-loudness: the loudness, Loudness Range and true peak of audio files, as an EBU Mode
// meter measures them; checked against a delivery's target and normalised on request. See
// LoudnessCommandLine for the options.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tools/common/album_meter.h"
#include "tools/common/loudness_report.h"
#include "tools/common/programme_meter.h"
#include "tools/common/sample_coding.h"
#include "tools/common/sound_file_input.h"
#include "tools/common/sound_format.h"
#include "tools/loudness/command_line.h"
#include "tools/loudness/delivery_check.h"
#include "tools/loudness/file_layout.h"
#include "tools/loudness/file_measurement.h"
#include "tools/loudness/loudness_plot.h"
#include "tools/loudness/normaliser.h"

namespace {

constexpr int kFailure = 1;
constexpr int kDeliveryFailed = 3;
/// The ceiling a plot marks overs of when no other is given, in dBTP.
constexpr double kPlotCeiling = -1.0;

void complain(const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "pevo-loudness: %s\n", message.c_str());
}

/// Says `message` about `name` on standard error, if there is one.
void warn(const std::string& name, const std::string& message) {
    if (!message.empty()) {
        complain("warning: " + name + ": " + message);
    }
}

class Run {
  public:
    explicit Run(const LoudnessOptions& options)
        : options(options),
          check(options.checkLoudness, options.tolerance, options.maxTruePeak),
          normaliser(options.normalise.value_or(0.0), options.ceiling, options.exceedCeiling) {}

    /// Measures, checks, normalises and pictures every file; the exit status.
    int all() {
        for (const std::string& file : options.files) {
            one(file);
        }
        if (!measured.empty()) {
            LoudnessReport(options.format, extras(), stdout)
                .print(measured, originals > 1 ? &album() : nullptr);
        }
        return failed ? kFailure : (anyFail ? kDeliveryFailed : 0);
    }

  private:
    LoudnessReport::Extras extras() const {
        return {options.target, options.maxTruePeak, check.active(), options.normalise.has_value(),
                options.every};
    }

    bool several() const { return options.files.size() > 1; }

    /// Measures `path` into `result` with `layout`, or when it is empty the layout the
    /// options and the file give, which it then holds; false after saying why not.
    bool measure(const std::string& path, const std::string& name, bool forAlbum,
                 std::unique_ptr<SoundFileInput>& input, std::optional<FileLayout>& layout,
                 Measurement& result) {
        std::string error;
        input = SoundFileInput::open(path, error);
        if (!input || !Measurement::measurable(input->name(), input->sampleRate(), error) ||
            !(layout ||
              (layout = FileLayout::of(*input, options.channels, options.dualMono, error)))) {
            complain(error);
            return false;
        }
        const std::string cut = input->warning();
        warn(input->name(), cut);
        ProgrammeMeter meter;
        const std::optional<double> ceiling =
            options.maxTruePeak
                ? options.maxTruePeak
                : (options.plot.empty() ? std::nullopt : std::optional<double>(kPlotCeiling));
        meter.setup(
            input->sampleRate(), layout->layout(),
            {layout->name(), ceiling, options.every, !options.plot.empty(), forAlbum && several()});
        if (!measureFile(*input, *layout, meter, error)) {
            complain(error);
            return false;
        }
        result = meter.measurement(name);
        const std::string shortfall = input->shortfall(result.frames);
        warn(input->name(), shortfall);
        // Measured all the same, but a part never passes as the whole: the run fails.
        result.cutShort = !cut.empty() || !shortfall.empty();
        failed = failed || result.cutShort;
        if (check.active()) {
            check.judge(result);
            anyFail = anyFail || result.verdict != "PASS";
        }
        return true;
    }

    void one(const std::string& file) {
        std::unique_ptr<SoundFileInput> input;
        std::optional<FileLayout> layout;
        Measurement result;
        if (!measure(file, file, true, input, layout, result)) {
            failed = true;
            return;
        }
        albumMeter.add(result);
        albumSeconds += result.seconds;
        ++originals;
        measured.push_back(result);
        if (!options.plot.empty()) {
            picture(file, result);
        }
        if (options.normalise) {
            normalise(file, *input, *layout, result);
        }
    }

    void picture(const std::string& file, const Measurement& result) {
        std::string error;
        const std::string path = LoudnessPlot::pathFor(file, options.plot, several(), error);
        const LoudnessPlot plot(options.checkLoudness ? options.checkLoudness : options.normalise,
                                options.tolerance, options.maxTruePeak.value_or(kPlotCeiling));
        if (path.empty() || !plot.draw(result, path, error)) {
            complain(error);
            failed = true;
        }
    }

    void normalise(const std::string& file, SoundFileInput& input, const FileLayout& layout,
                   const Measurement& result) {
        std::string error;
        std::string clipped;
        Normaliser::Gain gain;
        const std::string path = Normaliser::outputFor(file, options.output, several(), error);
        const SampleCoding coding = SampleCoding::of(input.format().format);
        const double step = coding.integer ? 1.0 / coding.scale : 0.0;
        if (path.empty() || !normaliser.gainFor(result, step, gain, error) ||
            !Normaliser::write(input, path, gain.decibels, clipped, error)) {
            complain(error);
            failed = true;
            return;
        }
        warn(path, normaliser.note(result, gain));
        warn(path, clipped);
        // The copy's channels are the input's, in its order: measured with its layout even
        // where the written format keeps no roles.
        std::unique_ptr<SoundFileInput> written;
        std::optional<FileLayout> same = layout;
        Measurement again;
        if (!measure(path, path, false, written, same, again)) {
            failed = true;
            return;
        }
        if (!input.channelMap().empty() && written->channelMap().empty()) {
            warn(path, SoundFormat::name(written->format().format) +
                           " keeps no channel roles: state them with --channels when measuring "
                           "it again (it is " +
                           layout.name() + " as the input)");
        }
        again.normalisedFrom = file;
        again.appliedGain = gain.decibels;
        measured.push_back(again);
    }

    /// The album line: every file's blocks gated together, the largest maxima and peaks.
    /// Its name says how many files it holds when some could not be measured.
    const Measurement& album() {
        const std::size_t files = options.files.size();
        albumLine.name = static_cast<std::size_t>(originals) == files
                             ? "(album)"
                             : "(album of " + std::to_string(originals) + " of " +
                                   std::to_string(files) + " files)";
        albumLine.integrated = albumMeter.integrated();
        albumLine.range = albumMeter.range();
        albumLine.maxMomentary = albumLine.maxShortTerm = LoudnessMeter::kUndefined;
        albumLine.truePeak = albumLine.samplePeak = LoudnessMeter::kUndefined;
        albumLine.oversteps = 0;
        albumLine.cutShort = false;
        for (const Measurement& input : measured) {
            if (input.normalisedFrom.empty()) {
                albumLine.cutShort = albumLine.cutShort || input.cutShort;
                albumLine.maxMomentary = std::max(albumLine.maxMomentary, input.maxMomentary);
                albumLine.maxShortTerm = std::max(albumLine.maxShortTerm, input.maxShortTerm);
                albumLine.truePeak = std::max(albumLine.truePeak, input.truePeak);
                albumLine.samplePeak = std::max(albumLine.samplePeak, input.samplePeak);
                albumLine.oversteps += input.oversteps;
            }
        }
        albumLine.seconds = albumSeconds;
        if (check.active()) {
            check.judge(albumLine);
        }
        return albumLine;
    }

    const LoudnessOptions& options;
    DeliveryCheck check;
    Normaliser normaliser;
    AlbumMeter albumMeter;
    Measurement albumLine;
    double albumSeconds = 0.0;
    /// Files measured, not counting the normalised copies.
    int originals = 0;
    std::vector<Measurement> measured;
    bool failed = false;
    bool anyFail = false;
};

}  // namespace

int main(int argc, char** argv) {
    LoudnessCommandLine commandLine;
    if (const std::optional<int> status = commandLine.parse(argc, argv)) {
        return *status;
    }
    return Run(commandLine.options()).all();
}
