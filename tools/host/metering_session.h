// One pass over the input: blocks from the source through the plug-in, readings at every
// interval, the processed audio to the output file and the loudness meter, and the
// check that the audio passed through unchanged.
#pragma once

#include <csignal>
#include <string>
#include <vector>

#include "tools/common/programme_meter.h"
#include "tools/common/progress_bar.h"
#include "tools/common/sound_file_writer.h"
#include "tools/host/audio_source.h"
#include "tools/host/command_line.h"
#include "tools/host/panel_camera.h"
#include "tools/host/sample_peaks.h"
#include "tools/host/session_report.h"
#include "tools/host/stereo_processor.h"

class MeteringSession {
  public:
    MeteringSession(AudioSource& source, StereoProcessor& plugin, SessionReport& report,
                    int blockFrames, ReadingInterval every);

    /// Also writes the processed audio there; the session does not own it.
    void writeTo(SoundFileWriter* output) { this->output = output; }
    /// Also feeds the plug-in's output to `meter`, set up for the source's rate and
    /// channels (a mono source's first output channel only); the session does not own it.
    void measureLoudness(ProgrammeMeter* meter) { loudness = meter; }
    /// Also pictures the panel when due; the session does not own the camera.
    void photograph(PanelCamera* camera) { this->camera = camera; }
    /// Streams the whole source. False with the reason in `error` when reading or writing
    /// fails, or when `stop` becomes non-zero.
    bool run(const volatile std::sig_atomic_t& stop, ProgressBar& progress, std::string& error);
    const PassThrough& passThrough() const { return check; }
    const SamplePeaks& samplePeaks() const { return peaks; }

  private:
    /// Whether the block that ended after `blocks` blocks and `frames` frames is reported.
    bool due(std::int64_t blocks, std::int64_t frames);
    void compare(std::int64_t start, int frames);

    AudioSource& source;
    StereoProcessor& plugin;
    SessionReport& report;
    SoundFileWriter* output = nullptr;
    PanelCamera* camera = nullptr;
    ProgrammeMeter* loudness = nullptr;
    int blockFrames;
    ReadingInterval every;
    std::int64_t nextMark = 0;  ///< frame at which the next timed reading falls due
    std::int64_t marks = 0;
    PassThrough check;
    SamplePeaks peaks;
    std::vector<float> inLeft, inRight, feedLeft, feedRight, outLeft, outRight;
};
