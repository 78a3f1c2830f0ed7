// An audio file, or standard input, read block by block as the plug-in's two inputs.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/common/sound_file_input.h"
#include "tools/host/audio_source.h"

/// How a written file compared with the input, sample by sample.
struct FileComparison {
    std::int64_t frames = 0;
    std::int64_t differingSamples = 0;
    std::int64_t firstDifference = -1;  ///< frame, or -1
};

class SoundFileReader : public AudioSource {
  public:
    /// Null with the reason in `error` when the file (or standard input, for "-") cannot
    /// be read or has more than two channels.
    static std::unique_ptr<SoundFileReader> open(const std::string& path, std::string& error);

    double sampleRate() const override { return input->sampleRate(); }
    int channels() const override { return input->channels(); }
    std::int64_t frames() const override { return input->frames(); }
    std::string name() const override { return input->name(); }
    std::string describe() const override;
    std::string warning() const override { return input->warning(); }
    std::string shortfall(std::int64_t framesRead) const override {
        return input->shortfall(framesRead);
    }
    float fullScale() const override { return input->fullScale(); }
    int read(float* left, float* right, int count) override;
    std::string error() const override { return input->error(); }

    /// Reads the input again from its start beside the file at `path`, which must have as
    /// many channels. False with the reason when either cannot be read.
    bool compareWith(const std::string& path, FileComparison& comparison, std::string& error);
    /// Format, channels and rate, for writing a file like this one.
    const SF_INFO& format() const { return input->format(); }
    /// The role of each channel (SF_CHANNEL_MAP_*), empty when the file names none.
    std::vector<int> channelMap() const { return input->channelMap(); }

  private:
    explicit SoundFileReader(std::unique_ptr<SoundFileInput> input) : input(std::move(input)) {}

    std::unique_ptr<SoundFileInput> input;
    std::vector<float> interleaved;
};
