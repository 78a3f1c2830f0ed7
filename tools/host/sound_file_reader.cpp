#include "tools/host/sound_file_reader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "tools/host/sound_format.h"

namespace {

/// The frames a header announces when libsndfile found fewer in the file: its log then
/// reads "data : <announced bytes> (should be <bytes present>)" for WAV, the same with
/// "SSND", whose count includes 8 bytes of offset and block size, for AIFF. -1 when not.
std::int64_t announcedFrames(SNDFILE* file, const SF_INFO& info) {
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
            announced > present) {
            return (announced - extra) / bytes;
        }
    }
    return -1;
}

}  // namespace

std::unique_ptr<SoundFileReader> SoundFileReader::open(const std::string& path,
                                                       std::string& error) {
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
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    return adopt(path, file, info, nullptr, error);
}

std::unique_ptr<SoundFileReader> SoundFileReader::openStandardInput(std::string& error) {
    std::unique_ptr<MemoryStream> memory = MemoryStream::readAll(stdin, error);
    if (!memory) {
        return nullptr;
    }
    SF_INFO info{};
    SNDFILE* file = sf_open_virtual(memory->callbacks(), SFM_READ, &info, memory.get());
    return adopt("standard input", file, info, std::move(memory), error);
}

std::unique_ptr<SoundFileReader> SoundFileReader::adopt(const std::string& name, SNDFILE* file,
                                                        const SF_INFO& info,
                                                        std::unique_ptr<MemoryStream> memory,
                                                        std::string& error) {
    if (!file) {
        error = "libsndfile cannot read " + name + ": " + sf_strerror(nullptr);
        return nullptr;
    }
    if (info.channels < 1 || info.channels > 2 || info.samplerate <= 0) {
        error = name + " has " + std::to_string(info.channels) +
                " channels; the plug-in's two inputs take mono or stereo audio";
        sf_close(file);
        return nullptr;
    }
    return std::unique_ptr<SoundFileReader>(
        new SoundFileReader(name, file, info, std::move(memory)));
}

SoundFileReader::~SoundFileReader() {
    sf_close(file);
}

std::string SoundFileReader::describe() const {
    char text[160];
    std::snprintf(text, sizeof(text), "%s, %d Hz, %s, %.3f s",
                  SoundFormat::name(info.format).c_str(), info.samplerate,
                  info.channels == 1 ? "mono" : "stereo",
                  static_cast<double>(info.frames) / info.samplerate);
    return text;
}

std::string SoundFileReader::warning() const {
    const std::int64_t announced = announcedFrames(file, info);
    if (announced < 0) {
        return "";
    }
    return "cut short: its header announces " + std::to_string(announced) + " frames, " +
           std::to_string(info.frames) + " are present";
}

float SoundFileReader::fullScale() const {
    return coding.integer ? static_cast<float>((coding.scale - 1.0) / coding.scale) : 1.0f;
}

int SoundFileReader::read(float* left, float* right, int count) {
    const std::size_t samples = static_cast<std::size_t>(count) * info.channels;
    sf_count_t got = 0;
    if (coding.integer) {
        if (integers.size() < samples) {
            integers.resize(samples);
        }
        got = sf_readf_int(file, integers.data(), count);
        for (sf_count_t i = 0; i < got; ++i) {
            left[i] = SampleCoding::toFloat(integers[i * info.channels]);
            right[i] = SampleCoding::toFloat(integers[i * info.channels + info.channels - 1]);
        }
    } else {
        if (floats.size() < samples) {
            floats.resize(samples);
        }
        got = sf_readf_float(file, floats.data(), count);
        for (sf_count_t i = 0; i < got; ++i) {
            left[i] = floats[i * info.channels];
            right[i] = floats[i * info.channels + info.channels - 1];
        }
    }
    if (got < count && sf_error(file) != SF_ERR_NO_ERROR) {
        lastError = "reading " + path + " failed: " + sf_strerror(file);
        return -1;
    }
    return static_cast<int>(got);
}

bool SoundFileReader::compareWith(const std::string& written, FileComparison& comparison,
                                  std::string& error) {
    SF_INFO writtenInfo{};
    SNDFILE* other = sf_open(written.c_str(), SFM_READ, &writtenInfo);
    if (!other || writtenInfo.channels != info.channels || sf_seek(file, 0, SEEK_SET) != 0) {
        error = "cannot read " + written + " back: " + sf_strerror(other);
        if (other) {
            sf_close(other);
        }
        return false;
    }
    // Doubles hold every sample of every encoding exactly, whatever the two formats.
    constexpr sf_count_t kFrames = 4096;
    std::vector<double> mine(kFrames * info.channels);
    std::vector<double> theirs(kFrames * info.channels);
    comparison = {std::max<std::int64_t>(info.frames, writtenInfo.frames), 0, -1};
    for (sf_count_t start = 0;; start += kFrames) {
        const sf_count_t got = sf_readf_double(file, mine.data(), kFrames);
        const sf_count_t gotBack = sf_readf_double(other, theirs.data(), kFrames);
        for (sf_count_t i = 0; i < std::max(got, gotBack) * info.channels; ++i) {
            if (i >= std::min(got, gotBack) * info.channels || mine[i] != theirs[i]) {
                if (comparison.differingSamples++ == 0) {
                    comparison.firstDifference = start + i / info.channels;
                }
            }
        }
        if (got < kFrames && gotBack < kFrames) {
            break;
        }
    }
    sf_close(other);
    return true;
}
