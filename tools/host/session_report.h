// What pevo-host prints of one pass over an input, whichever plug-in it hosts: a head, a
// line of readings at every interval, and a summary at the end.
#pragma once

#include <cstdint>
#include <string>

#include "tools/common/measurement.h"
#include "tools/host/audio_source.h"
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

class SessionReport {
  public:
    virtual ~SessionReport() = default;

    /// What is metered and how, and the column heads.
    virtual void begin(const AudioSource& source, int blockFrames, const std::string& interval) = 0;
    /// Called after every block, which ends at `seconds`.
    virtual void track(double seconds) = 0;
    /// One line of readings; `inputOver[c]` when a sample of input channel c reached full
    /// scale since the last.
    virtual void interval(double seconds, const bool inputOver[2]) = 0;
    /// The summary; `loudness`, if given, is the plug-in's output measured as pevo-loudness
    /// measures a file.
    virtual void finish(const PassThrough& passThrough, const SamplePeaks& peaks,
                        const WrittenFile& written, const Measurement* loudness) = 0;
};
