#include "tools/loudness/audio_input.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "loudness/loudness_meter.h"

namespace {

/// libsndfile's virtual I/O over bytes in memory.
template <typename Memory>
SF_VIRTUAL_IO memoryIo() {
    SF_VIRTUAL_IO io{};
    io.get_filelen = [](void* data) {
        return static_cast<sf_count_t>(static_cast<Memory*>(data)->bytes.size());
    };
    io.seek = [](sf_count_t offset, int whence, void* data) {
        auto* memory = static_cast<Memory*>(data);
        const auto size = static_cast<sf_count_t>(memory->bytes.size());
        const sf_count_t base = whence == SEEK_SET   ? 0
                                : whence == SEEK_CUR ? memory->position
                                                     : size;
        memory->position = std::clamp<sf_count_t>(base + offset, 0, size);
        return memory->position;
    };
    io.read = [](void* destination, sf_count_t count, void* data) {
        auto* memory = static_cast<Memory*>(data);
        const sf_count_t available =
            static_cast<sf_count_t>(memory->bytes.size()) - memory->position;
        const sf_count_t taken = std::min(count, available);
        std::memcpy(destination, memory->bytes.data() + memory->position,
                    static_cast<std::size_t>(taken));
        memory->position += taken;
        return taken;
    };
    io.write = [](const void*, sf_count_t, void*) { return sf_count_t{0}; };
    io.tell = [](void* data) { return static_cast<Memory*>(data)->position; };
    return io;
}

}  // namespace

SNDFILE* AudioInput::openStandardInput(Memory& memory, SF_INFO& info) {
    char block[1 << 16];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, stdin)) > 0;) {
        memory.bytes.insert(memory.bytes.end(), block, block + got);
    }
    static SF_VIRTUAL_IO io = memoryIo<Memory>();
    return sf_open_virtual(&io, SFM_READ, &info, &memory);
}

std::unique_ptr<AudioInput> AudioInput::open(const std::string& path, std::string& error) {
    std::unique_ptr<AudioInput> input(new AudioInput);
    if (path == kStandardInput) {
        input->memory = std::make_unique<Memory>();
        input->file = openStandardInput(*input->memory, input->info);
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
    if (input->info.channels > LoudnessMeter::kMaxChannels) {
        error = name + " has " + std::to_string(input->info.channels) +
                " channels; only mono and stereo can be measured";
        return nullptr;
    }
    if (input->info.samplerate < LoudnessMeter::kMinSampleRate ||
        input->info.samplerate > LoudnessMeter::kMaxSampleRate) {
        error = name + " has a sample rate of " + std::to_string(input->info.samplerate) +
                " Hz; rates from 8000 to 384000 Hz can be measured";
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
