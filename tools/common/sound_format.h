// libsndfile's format codes as a user knows them, and the format an output file is written
// in: the type its extension names, with the input's encoding where that type takes it.
#pragma once

#include <string>

class SoundFormat {
  public:
    /// Such as "WAV, 16-bit PCM" or "Ogg, Vorbis".
    static std::string name(int format);
    /// The format to write `path` in, for `channels` channels at `rate` Hz of audio read
    /// from a file of `inputFormat`; 0 with the reason when the extension names no type
    /// that libsndfile writes.
    static int forOutput(const std::string& path, int inputFormat, int channels, int rate,
                         std::string& error);
    /// What writing audio read from `inputFormat` into `outputFormat` loses, through the
    /// plug-in's 32-bit floats; empty when nothing is lost.
    static std::string loss(int inputFormat, int outputFormat);
    /// Bytes per sample of an uncompressed encoding, 0 for others.
    static int sampleBytes(int format);
};
