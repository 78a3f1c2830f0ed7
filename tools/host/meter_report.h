// The readings as the user asked for them: an aligned table, CSV or JSON lines, and at the
// end the highest readings of each channel and whether the audio passed through unchanged.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "tools/host/command_line.h"
#include "tools/host/meter_pair.h"

/// How the plug-in's output compared with its input.
struct PassThrough {
    std::int64_t frames = 0;
    std::int64_t differingFrames = 0;
    std::int64_t firstDifference = -1;  ///< frame, or -1
    std::string outputPath;             ///< empty when no file was written
};

class MeterReport {
  public:
    /// Readings go to `out`; in CSV the summary, which has no place in the table, goes to
    /// `notes`.
    MeterReport(ReportFormat format, MeterMode mode, std::FILE* out, std::FILE* notes)
        : format(format), mode(mode), out(out), notes(notes) {}

    /// What is metered and how, and the column heads.
    void begin(const std::string& source, int blockFrames, const std::string& interval);
    /// Keeps the highest readings; called after every block, which ends at `seconds`.
    void track(double seconds, const ChannelReadings readings[2]);
    /// One line of readings.
    void interval(double seconds, const ChannelReadings readings[2]);
    void finish(const PassThrough& passThrough);

  private:
    /// The highest readings of one channel and the block ends at which they came.
    struct Highest {
        float peak = -40.0f;
        double peakTime = 0.0;
        float rms = -40.0f;
        double rmsTime = 0.0;
    };

    std::string passThroughText(const PassThrough& passThrough) const;
    void finishJson(const PassThrough& passThrough);

    ReportFormat format;
    MeterMode mode;
    std::FILE* out;
    std::FILE* notes;
    Highest highest[2];
    bool tracked = false;
};

/// The shortest text that reads back as the same float.
std::string exactNumber(float value);
