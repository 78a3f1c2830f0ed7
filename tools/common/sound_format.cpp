#include "tools/common/sound_format.h"

#include <sndfile.h>

#include <cctype>

namespace {

struct Encoding {
    int code;
    const char* name;
    int bits;  ///< significant bits, 0 for a lossy codec
    bool floats;
    int bytes;  ///< per sample, uncompressed; 0 for a codec
};

constexpr Encoding kEncodings[] = {
    {SF_FORMAT_PCM_S8, "8-bit PCM", 8, false, 1},
    {SF_FORMAT_PCM_U8, "8-bit unsigned PCM", 8, false, 1},
    {SF_FORMAT_PCM_16, "16-bit PCM", 16, false, 2},
    {SF_FORMAT_PCM_24, "24-bit PCM", 24, false, 3},
    {SF_FORMAT_PCM_32, "32-bit PCM", 32, false, 4},
    {SF_FORMAT_FLOAT, "32-bit float", 24, true, 4},
    {SF_FORMAT_DOUBLE, "64-bit float", 53, true, 8},
    {SF_FORMAT_ULAW, "u-law", 0, false, 1},
    {SF_FORMAT_ALAW, "A-law", 0, false, 1},
    {SF_FORMAT_VORBIS, "Vorbis", 0, true, 0},
    {SF_FORMAT_OPUS, "Opus", 0, true, 0},
    {SF_FORMAT_MPEG_LAYER_III, "MP3", 0, true, 0},
    {SF_FORMAT_ALAC_16, "ALAC 16-bit", 16, false, 0},
    {SF_FORMAT_ALAC_24, "ALAC 24-bit", 24, false, 0},
};

struct Container {
    int code;
    const char* name;
};

constexpr Container kContainers[] = {
    {SF_FORMAT_WAV, "WAV"},   {SF_FORMAT_WAVEX, "WAV"}, {SF_FORMAT_AIFF, "AIFF"},
    {SF_FORMAT_AU, "AU"},     {SF_FORMAT_RAW, "raw"},   {SF_FORMAT_FLAC, "FLAC"},
    {SF_FORMAT_OGG, "Ogg"},   {SF_FORMAT_CAF, "CAF"},   {SF_FORMAT_W64, "Wave64"},
    {SF_FORMAT_RF64, "RF64"}, {SF_FORMAT_MPEG, "MPEG"},
};

const Encoding* encodingOf(int format) {
    for (const Encoding& encoding : kEncodings) {
        if (encoding.code == (format & SF_FORMAT_SUBMASK)) {
            return &encoding;
        }
    }
    return nullptr;
}

/// libsndfile's own name of a format code.
std::string libraryName(int code) {
    SF_FORMAT_INFO info{};
    info.format = code;
    if (sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof(info)) != 0 || !info.name) {
        return "format " + std::to_string(code);
    }
    return info.name;
}

std::string lowered(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

/// The major type whose usual extension `extension` is, or 0.
int typeOfExtension(const std::string& extension) {
    if (extension == "ogg") {
        return SF_FORMAT_OGG;  // libsndfile lists Ogg as .oga
    }
    if (extension == "aif") {
        return SF_FORMAT_AIFF;
    }
    int count = 0;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof(count));
    for (int index = 0; index < count; ++index) {
        SF_FORMAT_INFO info{};
        info.format = index;
        sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof(info));
        if (info.extension && extension == info.extension) {
            return info.format;
        }
    }
    return 0;
}

}  // namespace

std::string SoundFormat::name(int format) {
    std::string type;
    for (const Container& container : kContainers) {
        if (container.code == (format & SF_FORMAT_TYPEMASK)) {
            type = container.name;
        }
    }
    const Encoding* encoding = encodingOf(format);
    return (type.empty() ? libraryName(format & SF_FORMAT_TYPEMASK) : type) + ", " +
           (encoding ? encoding->name : libraryName(format & SF_FORMAT_SUBMASK));
}

int SoundFormat::forOutput(const std::string& path, int inputFormat, int channels, int rate,
                           std::string& error) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    const std::string extension =
        dot == std::string::npos || (slash != std::string::npos && dot < slash)
            ? ""
            : lowered(path.substr(dot + 1));
    const int type = extension.empty() ? 0 : typeOfExtension(extension);
    if (type == 0) {
        error = "cannot tell the format to write " + path +
                " in: give it the extension of one (.wav, .flac, .aiff, .ogg...)";
        return 0;
    }
    // The input's encoding if the type takes it, else the closest that keeps the most.
    const int input = inputFormat & SF_FORMAT_SUBMASK;
    for (const int encoding : {input, int(SF_FORMAT_FLOAT), int(SF_FORMAT_PCM_24),
                               int(SF_FORMAT_PCM_16), int(SF_FORMAT_VORBIS)}) {
        SF_INFO info{};
        info.channels = channels;
        info.samplerate = rate;
        info.format = type | encoding;
        if (sf_format_check(&info)) {
            return info.format;
        }
    }
    error = "libsndfile cannot write " + std::to_string(channels) + "-channel audio at " +
            std::to_string(rate) + " Hz as " + libraryName(type);
    return 0;
}

std::string SoundFormat::loss(int inputFormat, int outputFormat) {
    const Encoding* in = encodingOf(inputFormat);
    const Encoding* out = encodingOf(outputFormat);
    if (!out || out->bits == 0) {
        return name(outputFormat) + " is lossy: the file will not equal the plug-in's output";
    }
    const int inBits = in ? in->bits : 24;
    const bool inFloats = !in || in->floats;
    if (inBits > 24) {
        return "the plug-in takes 32-bit floats: the input's " + std::string(in->name) +
               " samples are rounded to 24 significant bits";
    }
    if (out->bits < inBits || (inFloats && !out->floats)) {
        return "writing " + name(inputFormat) + " audio as " + name(outputFormat) +
               " rounds the samples";
    }
    return "";
}

int SoundFormat::sampleBytes(int format) {
    const Encoding* encoding = encodingOf(format);
    return encoding ? encoding->bytes : 0;
}
