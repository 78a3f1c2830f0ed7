// An audio file read through libsndfile, block by block, as the plug-in's two inputs.
#pragma once

#include <sndfile.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/host/audio_source.h"
#include "tools/host/sample_coding.h"

class SoundFileReader : public AudioSource {
  public:
    /// Null with the reason in `error` when the file is missing, unreadable, not audio that
    /// libsndfile reads, or has more than two channels.
    static std::unique_ptr<SoundFileReader> open(const std::string& path, std::string& error);
    ~SoundFileReader() override;
    SoundFileReader(const SoundFileReader&) = delete;
    SoundFileReader& operator=(const SoundFileReader&) = delete;

    double sampleRate() const override { return info.samplerate; }
    int channels() const override { return info.channels; }
    std::int64_t frames() const override { return info.frames; }
    std::string describe() const override;
    int read(float* left, float* right, int count) override;
    std::string error() const override { return lastError; }

    /// Format, channels and rate, for writing a file like this one.
    const SF_INFO& format() const { return info; }

  private:
    SoundFileReader(std::string path, SNDFILE* file, const SF_INFO& info)
        : path(std::move(path)), file(file), info(info), coding(SampleCoding::of(info.format)) {}

    std::string path;
    SNDFILE* file;
    SF_INFO info;
    SampleCoding coding;
    std::vector<std::int32_t> integers;  ///< interleaved, for integer encodings
    std::vector<float> floats;           ///< interleaved, for float encodings
    std::string lastError;
};

/// The name of a libsndfile format, such as "WAV (Microsoft), Signed 16 bit PCM".
std::string formatName(int format);
