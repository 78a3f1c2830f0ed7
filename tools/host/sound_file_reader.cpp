#include "tools/host/sound_file_reader.h"

#include <algorithm>
#include <cstdio>

#include "tools/common/sound_format.h"

std::unique_ptr<SoundFileReader> SoundFileReader::open(const std::string& path,
                                                       std::string& error) {
    std::unique_ptr<SoundFileInput> input = SoundFileInput::open(path, error);
    if (!input) {
        return nullptr;
    }
    if (input->channels() < 1 || input->channels() > 2 || input->sampleRate() <= 0) {
        error = input->name() + " has " + std::to_string(input->channels()) +
                " channels; the plug-in's two inputs take mono or stereo audio";
        return nullptr;
    }
    return std::unique_ptr<SoundFileReader>(new SoundFileReader(std::move(input)));
}

std::string SoundFileReader::describe() const {
    char text[160];
    const std::int64_t length = input->frames();
    std::snprintf(text, sizeof(text), "%s, %d Hz, %s", SoundFormat::name(format().format).c_str(),
                  format().samplerate, input->channels() == 1 ? "mono" : "stereo");
    std::string description = text;
    if (length >= 0) {
        std::snprintf(text, sizeof(text), ", %.3f s",
                      static_cast<double>(length) / input->sampleRate());
        description += text;
    }
    return description;
}

int SoundFileReader::read(float* left, float* right, int count) {
    const int channels = input->channels();
    interleaved.resize(std::max(interleaved.size(), static_cast<std::size_t>(count) * channels));
    const int got = input->read(interleaved.data(), count);
    for (int i = 0; i < got; ++i) {
        left[i] = interleaved[static_cast<std::size_t>(i * channels)];
        right[i] = interleaved[static_cast<std::size_t>(i * channels + channels - 1)];
    }
    return got;
}

bool SoundFileReader::compareWith(const std::string& written, FileComparison& comparison,
                                  std::string& error) {
    std::unique_ptr<SoundFileInput> other = SoundFileInput::open(written, error);
    if (!other || other->channels() != channels() || !input->rewind(error)) {
        error = "cannot read " + written + " back" + (error.empty() ? "" : ": " + error);
        return false;
    }
    constexpr int kFrames = 4096;
    const int width = channels();
    std::vector<double> mine(static_cast<std::size_t>(kFrames * width));
    std::vector<double> theirs(mine.size());
    comparison = {std::max<std::int64_t>(input->frames(), other->frames()), 0, -1};
    for (std::int64_t start = 0;; start += kFrames) {
        const int got = input->readExact(mine.data(), kFrames);
        const int gotBack = other->readExact(theirs.data(), kFrames);
        if (got < 0 || gotBack < 0) {
            error = got < 0 ? input->error() : other->error();
            return false;
        }
        for (int i = 0; i < std::max(got, gotBack) * width; ++i) {
            if (i >= std::min(got, gotBack) * width || mine[i] != theirs[i]) {
                if (comparison.differingSamples++ == 0) {
                    comparison.firstDifference = start + i / width;
                }
            }
        }
        if (got < kFrames && gotBack < kFrames) {
            return true;
        }
    }
}
