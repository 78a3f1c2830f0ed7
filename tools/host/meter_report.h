// The readings as the user asked for them: an aligned table, CSV or JSON lines, and at the
// end the highest readings of each channel, the input's exact sample peaks, whether the
// audio passed through unchanged and whether the file written equals the input.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "tools/common/measurement.h"
#include "tools/host/audio_source.h"
#include "tools/host/command_line.h"
#include "tools/host/meter_pair.h"
#include "tools/host/sample_peaks.h"
#include "tools/host/sound_file_reader.h"

/// How the plug-in's output compared with its input.
struct PassThrough {
    std::int64_t frames = 0;
    std::int64_t differingFrames = 0;
    std::int64_t firstDifference = -1;  ///< frame, or -1
};

/// The file -o wrote, read back and compared with the input.
struct WrittenFile {
    std::string path;  ///< empty when none was written
    std::string format;
    FileComparison comparison;
};

class MeterReport {
  public:
    /// Readings go to `out`; in CSV the summary, which has no place in the table, goes to
    /// `notes`.
    MeterReport(ReportFormat format, const MeterSettings& settings, std::FILE* out,
                std::FILE* notes)
        : format(format),
          mode(settings.mode),
          holdOff(settings.holdOff),
          sineRms(settings.sineRms),
          out(out),
          notes(notes) {}

    /// What is metered and how, and the column heads.
    void begin(const AudioSource& source, int blockFrames, const std::string& interval);
    /// Keeps the highest readings; called after every block, which ends at `seconds`.
    void track(double seconds, const ChannelReadings readings[2]);
    /// One line of readings; `inputOver[c]` when a sample of input channel c reached full
    /// scale since the last.
    void interval(double seconds, const ChannelReadings readings[2], const bool inputOver[2]);
    /// The summary; `loudness`, if given, is the plug-in's output measured as pevo-loudness
    /// measures a file.
    void finish(const PassThrough& passThrough, const SamplePeaks& peaks,
                const WrittenFile& written, const Measurement* loudness);

  private:
    /// The highest readings of one channel and the block ends at which they came.
    struct Highest {
        float peak = -40.0f;
        double peakTime = 0.0;
        float rms = -40.0f;
        double rmsTime = 0.0;
    };

    /// Whether input channel `input` feeds meter channel `meter`: a left or right meter has
    /// its own input channel (a mono input feeds both), a mix of the two has both.
    bool feeds(int input, int meter) const;
    std::string tableColumns(const ChannelReadings& channel, bool over) const;
    /// `overPeak` is the largest input sample behind the channel when one reached full
    /// scale, else 0.
    std::string highestText(int channel, float overPeak) const;
    std::string samplePeakText(const SamplePeaks& peaks, int channel) const;
    std::string passThroughText(const PassThrough& passThrough) const;
    void finishJson(const PassThrough& passThrough, const SamplePeaks& peaks,
                    const WrittenFile& written, const Measurement* loudness);
    /// The loudness table, in CSV after an empty line.
    void finishLoudness(const Measurement& loudness);

    ReportFormat format;
    MeterMode mode;
    bool holdOff;
    bool sineRms;
    std::FILE* out;
    std::FILE* notes;
    std::string inputName;
    double sampleRate = 1.0;
    int inputChannels = 2;
    Highest highest[2];
    bool tracked = false;
};

/// The shortest text that reads back as the same float.
std::string exactNumber(float value);
