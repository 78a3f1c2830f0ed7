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
    /// The file's name, or what else the source is.
    virtual std::string name() const = 0;
    /// What the source holds, for the report, without a final newline.
    virtual std::string describe() const = 0;
    /// Something the user should know before trusting the readings; empty for nothing.
    virtual std::string warning() const { return ""; }
    /// The same once the source was read to its end after `framesRead` frames: it held
    /// fewer than it announced. Empty for nothing.
    virtual std::string shortfall(std::int64_t /*framesRead*/) const { return ""; }
    /// The magnitude at which a sample is at full scale: the largest an encoding holds.
    virtual float fullScale() const { return 1.0f; }
    /// Reads up to `count` frames, a mono source into both channels. Answers the frames
    /// read, 0 at the end, -1 on a failure that `error` explains.
    virtual int read(float* left, float* right, int count) = 0;
    virtual std::string error() const { return ""; }
};
