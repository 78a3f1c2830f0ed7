#include "tools/common/sound_file_input.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "tools/common/sound_format.h"

namespace {

/// What a program that writes to a pipe puts in a 32-bit chunk size it cannot go back to
/// fill in: the stream's length is unknown, not cut.
constexpr long long kUnknownChunkSize = 0xFFFFFFF0LL;

}  // namespace

std::unique_ptr<SoundFileInput> SoundFileInput::open(const std::string& path, std::string& error) {
    SF_INFO info{};
    if (path == kStandardInput) {
        std::unique_ptr<MemoryStream> memory = MemoryStream::readAll(stdin, error);
        if (!memory) {
            return nullptr;
        }
        SNDFILE* file = sf_open_virtual(memory->callbacks(), SFM_READ, &info, memory.get());
        if (!file) {
            error = std::string("libsndfile cannot read standard input: ") + sf_strerror(nullptr);
            return nullptr;
        }
        return std::unique_ptr<SoundFileInput>(
            new SoundFileInput("standard input", file, info, std::move(memory)));
    }
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    if (S_ISDIR(status.st_mode)) {
        error = path + " is a directory, not an audio file";
        return nullptr;
    }
    if (access(path.c_str(), R_OK) != 0) {
        error = "cannot read " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        error = "libsndfile cannot read " + path + ": " + sf_strerror(nullptr);
        return nullptr;
    }
    return std::unique_ptr<SoundFileInput>(new SoundFileInput(path, file, info, nullptr));
}

SoundFileInput::SoundFileInput(std::string path, SNDFILE* file, const SF_INFO& info,
                               std::unique_ptr<MemoryStream> memory)
    : memory(std::move(memory)),
      path(std::move(path)),
      file(file),
      info(info),
      coding(SampleCoding::of(info.format)) {}

SoundFileInput::~SoundFileInput() {
    sf_close(file);
}

std::int64_t SoundFileInput::frames() const {
    return info.frames >= SF_COUNT_MAX / 2 ? -1 : info.frames;
}

float SoundFileInput::fullScale() const {
    return coding.integer ? static_cast<float>((coding.scale - 1.0) / coding.scale) : 1.0f;
}

std::vector<int> SoundFileInput::channelMap() const {
    std::vector<int> map(static_cast<std::size_t>(info.channels));
    if (sf_command(file, SFC_GET_CHANNEL_MAP_INFO, map.data(),
                   static_cast<int>(map.size() * sizeof(int))) != SF_TRUE) {
        map.clear();
    }
    return map;
}

int SoundFileInput::read(float* interleaved, int count) {
    sf_count_t got = 0;
    if (coding.integer) {
        // Through 32-bit integers, so that every sample of up to 24 bits reads exactly.
        const std::size_t samples = static_cast<std::size_t>(count) * info.channels;
        if (integers.size() < samples) {
            integers.resize(samples);
        }
        got = sf_readf_int(file, integers.data(), count);
        for (sf_count_t i = 0; i < got * info.channels; ++i) {
            interleaved[i] = SampleCoding::toFloat(integers[static_cast<std::size_t>(i)]);
        }
    } else {
        got = sf_readf_float(file, interleaved, count);
    }
    return checked(got);
}

int SoundFileInput::readChannels(float* const* channels, const int* sources, int count,
                                 int frames) {
    const auto samples = static_cast<std::size_t>(frames) * static_cast<std::size_t>(info.channels);
    sf_count_t got = 0;
    if (coding.integer && coding.bits == 16) {
        // Read as they are stored: half the bytes to convert of 32-bit integers.
        shorts.resize(std::max(shorts.size(), samples));
        got = sf_readf_short(file, shorts.data(), frames);
        if (info.channels == 2 && count == 2 && sources[0] != sources[1]) {
            float* byFileChannel[2];
            byFileChannel[sources[0]] = channels[0];
            byFileChannel[sources[1]] = channels[1];
            spreadStereo(shorts.data(), byFileChannel[0], byFileChannel[1], got);
        } else {
            for (int c = 0; c < count; ++c) {
                spread(shorts.data() + sources[c], info.channels, channels[c], got);
            }
        }
    } else if (coding.integer) {
        integers.resize(std::max(integers.size(), samples));
        got = sf_readf_int(file, integers.data(), frames);
        for (int c = 0; c < count; ++c) {
            const std::int32_t* from = integers.data() + sources[c];
            for (sf_count_t i = 0; i < got; ++i) {
                channels[c][i] = SampleCoding::toFloat(from[i * info.channels]);
            }
        }
    } else {
        floats.resize(std::max(floats.size(), samples));
        got = sf_readf_float(file, floats.data(), frames);
        for (int c = 0; c < count; ++c) {
            const float* from = floats.data() + sources[c];
            for (sf_count_t i = 0; i < got; ++i) {
                channels[c][i] = from[i * info.channels];
            }
        }
    }
    return checked(got);
}

namespace {

/// 2^-15 scales a 16-bit sample as toFloat does the same sample shifted to 32 bits: both
/// exact.
constexpr float kShortScale = 1.0f / 32768.0f;
/// Frames converted at a time through local arrays: vector code, and no store to the output
/// can stall a later load of input that happens to share its low address bits.
constexpr int kSpreadLanes = 8;

}  // namespace

void SoundFileInput::spread(const std::int16_t* from, int stride, float* to, sf_count_t frames) {
    for (sf_count_t i = 0; i < frames; ++i) {
        to[i] = static_cast<float>(from[i * stride]) * kShortScale;
    }
}

void SoundFileInput::spreadStereo(const std::int16_t* from, float* left, float* right,
                                  sf_count_t frames) {
    sf_count_t i = 0;
    for (; i + kSpreadLanes <= frames; i += kSpreadLanes) {
        std::int16_t pairs[2 * kSpreadLanes];
        std::memcpy(pairs, from + 2 * i, sizeof pairs);
        float lefts[kSpreadLanes];
        float rights[kSpreadLanes];
        for (int l = 0; l < kSpreadLanes; ++l) {
            lefts[l] = static_cast<float>(pairs[2 * l]) * kShortScale;
            rights[l] = static_cast<float>(pairs[2 * l + 1]) * kShortScale;
        }
        std::memcpy(left + i, lefts, sizeof lefts);
        std::memcpy(right + i, rights, sizeof rights);
    }
    spread(from + 2 * i, 2, left + i, frames - i);
    spread(from + 2 * i + 1, 2, right + i, frames - i);
}

int SoundFileInput::readExact(double* interleaved, int count) {
    return checked(sf_readf_double(file, interleaved, count));
}

int SoundFileInput::checked(sf_count_t got) {
    // A decoder may flag an error on a read it still filled (FLAC losing sync, for one)
    // and clear it on the next: every read is checked.
    if (sf_error(file) != SF_ERR_NO_ERROR) {
        lastError = "reading " + path + " failed: " + sf_strerror(file);
        return -1;
    }
    return static_cast<int>(got);
}

bool SoundFileInput::rewind(std::string& error) {
    if (sf_seek(file, 0, SEEK_SET) != 0) {
        error = "cannot read " + path + " again: " + sf_strerror(file);
        return false;
    }
    return true;
}

std::int64_t SoundFileInput::announcedFrames() const {
    // libsndfile's log reads "data : <announced bytes> (should be <bytes present>)" for
    // WAV, the same with "SSND", whose count includes 8 bytes of offset and block size, for
    // AIFF.
    const int bytes = SoundFormat::sampleBytes(info.format) * info.channels;
    std::string log(16384, '\0');
    sf_command(file, SFC_GET_LOG_INFO, log.data(), static_cast<int>(log.size()));
    for (const auto& [chunk, extra] : {std::pair{"data", 0}, std::pair{"SSND", 8}}) {
        const std::size_t line = log.find(std::string(chunk) + " : ");
        long long announced = 0;
        long long present = 0;
        if (bytes > 0 && line != std::string::npos &&
            std::sscanf(log.c_str() + line + 7, "%lld (should be %lld)", &announced, &present) ==
                2 &&
            announced > present && announced < kUnknownChunkSize) {
            return (announced - extra) / bytes;
        }
    }
    return -1;
}

std::string SoundFileInput::warning() const {
    const std::int64_t announced = announcedFrames();
    if (announced < 0) {
        return "";
    }
    return "cut short: its header announces " + std::to_string(announced) + " frames, " +
           std::to_string(info.frames) + " are present";
}

std::string SoundFileInput::shortfall(std::int64_t framesRead) const {
    if (frames() < 0 || framesRead >= frames()) {
        return "";
    }
    return "cut short: its header announces " + std::to_string(frames()) + " frames, " +
           std::to_string(framesRead) + " could be read";
}
