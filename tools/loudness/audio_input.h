// An audio file, or standard input, read through libsndfile as one float buffer per channel.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/host/memory_stream.h"

class AudioInput {
  public:
    /// The name that stands for standard input.
    static constexpr const char* kStandardInput = "-";
    /// Frames one read returns at most.
    static constexpr std::size_t kBlockFrames = 8192;

    /// Null with the reason in `error` for a file that is missing, not audio libsndfile
    /// reads, or has a channel count or rate the loudness meter cannot measure. Standard
    /// input is read whole into memory first, so that any format libsndfile reads will do.
    static std::unique_ptr<AudioInput> open(const std::string& path, std::string& error);
    ~AudioInput();
    AudioInput(const AudioInput&) = delete;
    AudioInput& operator=(const AudioInput&) = delete;

    double sampleRate() const { return info.samplerate; }
    int channels() const { return info.channels; }
    std::int64_t frames() const { return info.frames; }

    /// Reads up to kBlockFrames frames; returns how many, 0 at the end. `channel(c)` then
    /// holds them.
    std::size_t read();
    const float* channel(int c) const { return planar[static_cast<std::size_t>(c)].data(); }

  private:
    AudioInput() = default;

    /// Standard input's bytes, for libsndfile to read and seek in.
    std::unique_ptr<MemoryStream> memory;
    SNDFILE* file = nullptr;
    SF_INFO info{};
    std::vector<float> interleaved;
    std::vector<std::vector<float>> planar;
};
