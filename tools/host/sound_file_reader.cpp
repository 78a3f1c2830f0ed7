#include "tools/host/sound_file_reader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string formatField(int command, int format) {
    SF_FORMAT_INFO field{};
    field.format = format;
    if (sf_command(nullptr, command, &field, sizeof(field)) != 0 || !field.name) {
        return "format 0x" + std::to_string(format);
    }
    return field.name;
}

}  // namespace

std::string formatName(int format) {
    return formatField(SFC_GET_FORMAT_MAJOR, format & SF_FORMAT_TYPEMASK) + ", " +
           formatField(SFC_GET_FORMAT_SUBTYPE, format & SF_FORMAT_SUBMASK);
}

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
    if (!file) {
        error = "libsndfile cannot read " + path + ": " + sf_strerror(nullptr);
        return nullptr;
    }
    if (info.channels < 1 || info.channels > 2 || info.samplerate <= 0) {
        error = path + " has " + std::to_string(info.channels) +
                " channels; the plug-in's two inputs take mono or stereo audio";
        sf_close(file);
        return nullptr;
    }
    return std::unique_ptr<SoundFileReader>(new SoundFileReader(path, file, info));
}

SoundFileReader::~SoundFileReader() {
    sf_close(file);
}

std::string SoundFileReader::describe() const {
    char text[160];
    std::snprintf(text, sizeof(text), "%s, %d Hz, %s, %.3f s", formatName(info.format).c_str(),
                  info.samplerate, info.channels == 1 ? "mono" : "stereo",
                  static_cast<double>(info.frames) / info.samplerate);
    return path + ": " + text;
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
