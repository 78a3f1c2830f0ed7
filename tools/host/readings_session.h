// Hosting a plug-in that publishes readings of its own, such as the loudness meter: the
// parameters a host may not automate are its readings. One pass over the input through one
// instance, the panel pictured when due, then each reading as the plug-in shows it.
#pragma once

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/common/progress_bar.h"
#include "tools/host/audio_source.h"
#include "tools/host/hosted_plugin.h"
#include "tools/host/panel_camera.h"

class ReadingsSession {
  public:
    /// The plug-in's readings: the parameters it does not let hosts automate.
    static std::vector<VstInt32> readingsOf(HostedPlugin& plugin);

    /// `plugin` is switched on.
    ReadingsSession(AudioSource& source, HostedPlugin& plugin, int blockFrames);
    /// Also pictures the panel when due; the session does not own the camera.
    void photograph(PanelCamera* camera) { this->camera = camera; }
    /// Streams the whole source. False with the reason in `error` when reading fails or
    /// `stop` becomes non-zero.
    bool run(const volatile std::sig_atomic_t& stop, ProgressBar& progress, std::string& error);
    /// One line per reading: name, display text and unit, as after the last block.
    void summarise(std::FILE* out);
    std::int64_t framesRead() const { return frames; }

  private:
    AudioSource& source;
    HostedPlugin& plugin;
    PanelCamera* camera = nullptr;
    int blockFrames;
    std::int64_t frames = 0;
    std::vector<float> left, right, outLeft, outRight;
};
