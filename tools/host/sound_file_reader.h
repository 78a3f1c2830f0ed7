// An audio file read through libsndfile, block by block, as the plug-in's two inputs.
#pragma once

#include <sndfile.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/host/audio_source.h"
#include "tools/host/memory_stream.h"
#include "tools/host/sample_coding.h"

/// How a written file compared with the input, sample by sample.
struct FileComparison {
    std::int64_t frames = 0;
    std::int64_t differingSamples = 0;
    std::int64_t firstDifference = -1;  ///< frame, or -1
};

class SoundFileReader : public AudioSource {
  public:
    /// Null with the reason in `error` when the file is missing, unreadable, not audio that
    /// libsndfile reads, or has more than two channels.
    static std::unique_ptr<SoundFileReader> open(const std::string& path, std::string& error);
    /// The same for all that standard input holds, read to its end first.
    static std::unique_ptr<SoundFileReader> openStandardInput(std::string& error);
    ~SoundFileReader() override;
    SoundFileReader(const SoundFileReader&) = delete;
    SoundFileReader& operator=(const SoundFileReader&) = delete;

    double sampleRate() const override { return info.samplerate; }
    int channels() const override { return info.channels; }
    std::int64_t frames() const override { return info.frames; }
    std::string name() const override { return path; }
    std::string describe() const override;
    /// Says when the file holds fewer frames than its header announces.
    std::string warning() const override;
    float fullScale() const override;
    int read(float* left, float* right, int count) override;
    std::string error() const override { return lastError; }

    /// Reads the input again from its start beside the file at `path`, which must have as
    /// many channels. False with the reason when either cannot be read.
    bool compareWith(const std::string& path, FileComparison& comparison, std::string& error);
    /// Format, channels and rate, for writing a file like this one.
    const SF_INFO& format() const { return info; }

  private:
    SoundFileReader(std::string path, SNDFILE* file, const SF_INFO& info,
                    std::unique_ptr<MemoryStream> memory)
        : memory(std::move(memory)),
          path(std::move(path)),
          file(file),
          info(info),
          coding(SampleCoding::of(info.format)) {}
    /// The reader of an opened `file`, or null with the reason.
    static std::unique_ptr<SoundFileReader> adopt(const std::string& name, SNDFILE* file,
                                                  const SF_INFO& info,
                                                  std::unique_ptr<MemoryStream> memory,
                                                  std::string& error);

    std::unique_ptr<MemoryStream> memory;  ///< what `file` reads, for standard input
    std::string path;
    SNDFILE* file;
    SF_INFO info;
    SampleCoding coding;
    std::vector<std::int32_t> integers;  ///< interleaved, for integer encodings
    std::vector<float> floats;           ///< interleaved, for float encodings
    std::string lastError;
};
