// Where the audio that pevo-host meters comes from: a file or the demo signal.
#pragma once

#include <cstdint>
#include <string>

class AudioSource {
  public:
    virtual ~AudioSource() = default;

    virtual double sampleRate() const = 0;
    /// 1 or 2.
    virtual int channels() const = 0;
    /// Frames in all; negative when the source cannot tell.
    virtual std::int64_t frames() const = 0;
    /// A line about the source for the report, without a newline.
    virtual std::string describe() const = 0;
    /// Reads up to `count` frames, a mono source into both channels. Answers the frames
    /// read, 0 at the end, -1 on a failure that `error` explains.
    virtual int read(float* left, float* right, int count) = 0;
    virtual std::string error() const { return ""; }
};
