// The processed audio written in the format chosen for the output. It goes to a hidden file
// beside the output first and takes the output's name only when complete, so that a failure
// or an interruption never leaves part of a file behind.
#pragma once

#include <sndfile.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/common/sample_coding.h"

class SoundFileWriter {
  public:
    /// Null with the reason in `error` when the file cannot be made in that format. `roles`
    /// names each channel's role (SF_CHANNEL_MAP_*) as the input did, empty for none: a WAV
    /// keeps them as WAVE_FORMAT_EXTENSIBLE's channel mask.
    static std::unique_ptr<SoundFileWriter> create(const std::string& path, SF_INFO format,
                                                   std::vector<int> roles, std::string& error);
    /// Removes the unfinished file unless `commit` succeeded.
    ~SoundFileWriter();
    SoundFileWriter(const SoundFileWriter&) = delete;
    SoundFileWriter& operator=(const SoundFileWriter&) = delete;

    /// Appends `frames` frames; a mono file takes `left` only.
    bool write(const float* left, const float* right, int frames, std::string& error);
    /// Appends `frames` interleaved frames of every channel; for an integer encoding with
    /// `dither`, with triangular (TPDF) dither of one step either side before rounding.
    bool writeInterleaved(const float* samples, int frames, bool dither, std::string& error);
    /// Completes the file and gives it its name.
    bool commit(std::string& error);

  private:
    SoundFileWriter(std::string path, std::string temporary, SNDFILE* file, const SF_INFO& info)
        : path(std::move(path)),
          temporary(std::move(temporary)),
          file(file),
          info(info),
          coding(SampleCoding::of(info.format)) {}

    std::string path;
    std::string temporary;
    SNDFILE* file;
    SF_INFO info;
    SampleCoding coding;
    std::vector<std::int32_t> integers;
    std::vector<float> floats;
    bool committed = false;
    std::uint32_t noise = 0x2545F491u;  ///< the dither's random state
};
