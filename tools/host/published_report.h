// The report of a plug-in that publishes readings of its own, such as the loudness meter:
// its readings are the parameters a host may not automate, each reported as the plug-in
// shows it, under its name and label. An aligned table, CSV or JSON lines, and at the end
// the last readings, whether the audio passed through unchanged, the file written and the
// loudness of the output.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "tools/host/command_line.h"
#include "tools/host/hosted_plugin.h"
#include "tools/host/session_report.h"

class PublishedReport : public SessionReport {
  public:
    /// The plug-in's readings: the parameters it does not let hosts automate.
    static std::vector<VstInt32> readingsOf(HostedPlugin& plugin);

    /// Reports the readings of `plugin`, as set up, to `out`; in CSV the summary goes to
    /// `notes`.
    PublishedReport(ReportFormat format, HostedPlugin& plugin, std::FILE* out, std::FILE* notes);

    void begin(const AudioSource& source, int blockFrames, const std::string& interval) override;
    void track(double seconds) override { lastSeconds = seconds; }
    void interval(double seconds, const bool inputOver[2]) override;
    void finish(const PassThrough& passThrough, const SamplePeaks& peaks,
                const WrittenFile& written, const Measurement* loudness) override;

  private:
    struct Reading {
        VstInt32 index;
        std::string name;
        std::string label;
        /// The name and label as one lower-case word, for CSV and JSON: "true_peak_dbtp".
        std::string key;
        int width;  ///< of its table column
    };

    /// The reading's display text as CSV or JSON write it (`json`): a number as shown,
    /// "-inf" as undefined, other words as text.
    std::string machineText(const Reading& reading, bool json);
    /// One line per reading: name, display text and label.
    void printLast(std::FILE* to);

    ReportFormat format;
    HostedPlugin& plugin;
    std::FILE* out;
    std::FILE* notes;
    std::vector<Reading> readings;
    std::string inputName;
    double lastSeconds = 0.0;
};
