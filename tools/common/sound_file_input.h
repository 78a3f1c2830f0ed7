// An audio file, or standard input, read through libsndfile block by block as interleaved
// floats, with the checks that keep a damaged or cut file from passing as whole: a decoder
// error stops the reading with the file's name, and a file that holds fewer frames than its
// header announces says so with both counts.
#pragma once

#include <sndfile.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/common/memory_stream.h"
#include "tools/common/sample_coding.h"

class SoundFileInput {
  public:
    /// The name that stands for standard input on a command line.
    static constexpr const char* kStandardInput = "-";
    /// Frames a read asks for when any length will do.
    static constexpr int kBlockFrames = 32768;

    /// Null with the reason in `error` when the file is missing, a directory, unreadable
    /// or not audio that libsndfile reads. Standard input is read whole into memory first,
    /// so that any format libsndfile reads will do.
    static std::unique_ptr<SoundFileInput> open(const std::string& path, std::string& error);
    ~SoundFileInput();
    SoundFileInput(const SoundFileInput&) = delete;
    SoundFileInput& operator=(const SoundFileInput&) = delete;

    /// The file's path, or "standard input".
    const std::string& name() const { return path; }
    double sampleRate() const { return info.samplerate; }
    int channels() const { return info.channels; }
    /// Frames in all; -1 when the header does not tell, as in a stream written to a pipe.
    std::int64_t frames() const;
    /// Format, channels and rate, for writing a file like this one.
    const SF_INFO& format() const { return info; }
    /// The magnitude at which a sample is at full scale: the largest the encoding holds.
    float fullScale() const;
    /// The role libsndfile names for each channel (SF_CHANNEL_MAP_*), empty when the file
    /// names none.
    std::vector<int> channelMap() const;

    /// Reads up to `count` frames into `interleaved`; the frames read, 0 at the end, -1 on
    /// a decoder error that `error` explains.
    int read(float* interleaved, int count);
    /// The same, each of `count` channels `channels[c]` taking the file's channel
    /// `sources[c]`: one pass over the samples read.
    int readChannels(float* const* channels, const int* sources, int count, int frames);
    /// The same as doubles, which hold every sample of every encoding exactly.
    int readExact(double* interleaved, int count);
    const std::string& error() const { return lastError; }
    /// Reads again from the first frame. False with the reason.
    bool rewind(std::string& error);

    /// What the user should know before trusting the readings: the header announces more
    /// frames than the file holds. Empty for nothing.
    std::string warning() const;
    /// The same once `framesRead` frames were read to the end: empty when they are all the
    /// header announced (or it announced none).
    std::string shortfall(std::int64_t framesRead) const;

  private:
    SoundFileInput(std::string path, SNDFILE* file, const SF_INFO& info,
                   std::unique_ptr<MemoryStream> memory);
    /// The frames the header announces when libsndfile found fewer, else -1.
    std::int64_t announcedFrames() const;
    /// `got`, or -1 when libsndfile flagged an error during the read.
    int checked(sf_count_t got);
    /// `frames` 16-bit samples `stride` apart as floats of full scale 1, into `to`.
    static void spread(const std::int16_t* from, int stride, float* to, sf_count_t frames);
    /// The same for both channels of stereo at once, in vector code.
    static void spreadStereo(const std::int16_t* from, float* left, float* right,
                             sf_count_t frames);

    std::unique_ptr<MemoryStream> memory;  ///< what `file` reads, for standard input
    std::string path;
    SNDFILE* file;
    SF_INFO info;
    SampleCoding coding;
    std::vector<std::int16_t> shorts;    ///< interleaved, for 16-bit encodings
    std::vector<std::int32_t> integers;  ///< interleaved, for other integer encodings
    std::vector<float> floats;           ///< interleaved, for readChannels of the others
    std::string lastError;
};
