// The readings as the user asked for them: an aligned table, CSV or JSON lines, and at the
// end the highest readings of each channel, the input's exact sample peaks, whether the
// audio passed through unchanged and whether the file written equals the input.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "tools/host/command_line.h"
#include "tools/host/meter_pair.h"
#include "tools/host/session_report.h"

class MeterReport : public SessionReport {
  public:
    /// Reports the readings of `pair` to `out`; in CSV the summary, which has no place in
    /// the table, goes to `notes`.
    MeterReport(ReportFormat format, MeterPair& pair, std::FILE* out, std::FILE* notes)
        : format(format),
          pair(pair),
          mode(pair.settings().mode),
          holdOff(pair.settings().holdOff),
          sineRms(pair.settings().sineRms),
          out(out),
          notes(notes) {}

    void begin(const AudioSource& source, int blockFrames, const std::string& interval) override;
    /// Keeps the highest readings.
    void track(double seconds) override;
    void interval(double seconds, const bool inputOver[2]) override;
    void finish(const PassThrough& passThrough, const SamplePeaks& peaks,
                const WrittenFile& written, const Measurement* loudness) override;

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
    void finishJson(const PassThrough& passThrough, const SamplePeaks& peaks,
                    const WrittenFile& written, const Measurement* loudness);

    ReportFormat format;
    MeterPair& pair;
    ChannelReadings latest[2] = {};
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
