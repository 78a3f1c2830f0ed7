#include "tools/common/sound_file_writer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

/// A new empty file beside `path`, hidden, readable as a new file would be; "" on failure.
std::string makeTemporary(const std::string& path, std::string& error) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string pattern = folder + "." + name + ".pevo-XXXXXX";
    const int descriptor = mkstemp(pattern.data());
    if (descriptor < 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return "";
    }
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
    close(descriptor);
    return pattern;
}

}  // namespace

std::unique_ptr<SoundFileWriter> SoundFileWriter::create(const std::string& path, SF_INFO format,
                                                         std::vector<int> roles,
                                                         std::string& error) {
    const std::string temporary = makeTemporary(path, error);
    if (temporary.empty()) {
        return nullptr;
    }
    format.frames = 0;
    if (static_cast<int>(roles.size()) != format.channels) {
        roles.clear();
    }
    // A plain WAV header has no room for the channels' roles: the extensible one keeps them.
    if (!roles.empty() && (format.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV) {
        format.format = SF_FORMAT_WAVEX | (format.format & ~SF_FORMAT_TYPEMASK);
    }
    SNDFILE* file = sf_open(temporary.c_str(), SFM_WRITE, &format);
    if (!file) {
        error = "cannot write " + path + ": " + sf_strerror(nullptr);
        std::remove(temporary.c_str());
        return nullptr;
    }
    // Before the first sample, so that the header written with it names them.
    if (!roles.empty()) {
        sf_command(file, SFC_SET_CHANNEL_MAP_INFO, roles.data(),
                   static_cast<int>(roles.size() * sizeof(int)));
    }
    return std::unique_ptr<SoundFileWriter>(new SoundFileWriter(path, temporary, file, format));
}

SoundFileWriter::~SoundFileWriter() {
    if (file) {
        sf_close(file);
    }
    if (!committed) {
        std::remove(temporary.c_str());
    }
}

bool SoundFileWriter::write(const float* left, const float* right, int frames, std::string& error) {
    const int channels = info.channels;
    const std::size_t samples = static_cast<std::size_t>(frames) * channels;
    sf_count_t written = 0;
    if (coding.integer) {
        integers.resize(std::max(integers.size(), samples));
        for (int i = 0; i < frames; ++i) {
            integers[i * channels] = coding.fromFloat(left[i]);
            if (channels == 2) {
                integers[i * 2 + 1] = coding.fromFloat(right[i]);
            }
        }
        written = sf_writef_int(file, integers.data(), frames);
    } else {
        floats.resize(std::max(floats.size(), samples));
        for (int i = 0; i < frames; ++i) {
            floats[i * channels] = left[i];
            if (channels == 2) {
                floats[i * 2 + 1] = right[i];
            }
        }
        written = sf_writef_float(file, floats.data(), frames);
    }
    if (written != frames) {
        error = "writing " + path + " failed: " + sf_strerror(file);
        return false;
    }
    return true;
}

bool SoundFileWriter::writeInterleaved(const float* samples, int frames, bool dither,
                                       std::string& error) {
    const std::size_t count = static_cast<std::size_t>(frames) * info.channels;
    sf_count_t written = 0;
    if (coding.integer) {
        integers.resize(std::max(integers.size(), count));
        const double step = 1.0 / coding.scale;
        const auto uniform = [this] {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            return noise * (1.0 / 4294967296.0);
        };
        for (std::size_t i = 0; i < count; ++i) {
            const double offset = dither ? (uniform() - uniform()) * step : 0.0;
            integers[i] = coding.fromFloat(static_cast<float>(samples[i] + offset));
        }
        written = sf_writef_int(file, integers.data(), frames);
    } else {
        written = sf_writef_float(file, samples, frames);
    }
    if (written != frames) {
        error = "writing " + path + " failed: " + sf_strerror(file);
        return false;
    }
    return true;
}

bool SoundFileWriter::commit(std::string& error) {
    const int closed = sf_close(file);
    file = nullptr;
    if (closed != 0) {
        error = "writing " + path + " failed: " + sf_error_number(closed);
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = "cannot name the output " + path + ": " + std::strerror(errno);
        return false;
    }
    committed = true;
    return true;
}
