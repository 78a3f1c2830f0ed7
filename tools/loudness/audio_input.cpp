#include "tools/loudness/audio_input.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tools/host/memory_stream.h"
#include "tools/loudness/measurement.h"

std::unique_ptr<AudioInput> AudioInput::open(const std::string& path, std::string& error) {
    std::unique_ptr<AudioInput> input(new AudioInput);
    if (path == kStandardInput) {
        input->memory = MemoryStream::readAll(stdin, error);
        if (!input->memory) {
            return nullptr;
        }
        input->file = sf_open_virtual(input->memory->callbacks(), SFM_READ, &input->info,
                                      input->memory.get());
    } else {
        struct stat status {};
        if (stat(path.c_str(), &status) != 0) {
            error = "cannot open " + path + ": " + std::strerror(errno);
            return nullptr;
        }
        if (S_ISDIR(status.st_mode)) {
            error = "cannot measure " + path + ": it is a directory";
            return nullptr;
        }
        input->file = sf_open(path.c_str(), SFM_READ, &input->info);
    }
    const std::string name = path == kStandardInput ? "standard input" : path;
    if (!input->file) {
        error = "libsndfile cannot read " + name + ": " + sf_strerror(nullptr);
        return nullptr;
    }
    if (!Measurement::measurable(name, input->info.channels, input->info.samplerate, error)) {
        return nullptr;
    }
    input->interleaved.resize(kBlockFrames * static_cast<std::size_t>(input->info.channels));
    input->planar.assign(static_cast<std::size_t>(input->info.channels),
                         std::vector<float>(kBlockFrames));
    return input;
}

AudioInput::~AudioInput() {
    if (file) {
        sf_close(file);
    }
}

std::size_t AudioInput::read() {
    const auto got = static_cast<std::size_t>(
        sf_readf_float(file, interleaved.data(), static_cast<sf_count_t>(kBlockFrames)));
    const auto count = static_cast<std::size_t>(info.channels);
    for (std::size_t c = 0; c < count; ++c) {
        float* out = planar[c].data();
        for (std::size_t i = 0; i < got; ++i) {
            out[i] = interleaved[i * count + c];
        }
    }
    return got;
}
