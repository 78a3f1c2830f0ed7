#include "clap/state_blob.h"

#include <cmath>
#include <cstring>

#include "clap/clap_instance.h"

namespace {

constexpr char kMagic[4] = {'P', 'E', 'V', 'O'};
/// More than any product's settings could fill: a longer stream is not a state of ours.
constexpr std::size_t kLargestState = 64 * 1024;

void putWord(std::vector<unsigned char>& bytes, std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<unsigned char>(word >> shift));
    }
}

std::uint32_t wordAt(const std::vector<unsigned char>& bytes, std::size_t at) {
    std::uint32_t word = 0;
    for (int k = 3; k >= 0; --k) {
        word = (word << 8) | bytes[at + static_cast<std::size_t>(k)];
    }
    return word;
}

bool writeAll(const ClapOstream& stream, const std::vector<unsigned char>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::int64_t written =
            stream.write(&stream, bytes.data() + done, bytes.size() - done);
        if (written <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

/// Everything the stream holds, in as many reads as it takes; false on a read error or a
/// stream longer than any state.
bool readAll(const ClapIstream& stream, std::vector<unsigned char>& bytes) {
    unsigned char chunk[1024];
    for (;;) {
        const std::int64_t got = stream.read(&stream, chunk, sizeof chunk);
        if (got == 0) {
            return true;
        }
        if (got < 0 || static_cast<std::uint64_t>(got) > sizeof chunk ||
            bytes.size() + static_cast<std::size_t>(got) > kLargestState) {
            return false;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
}

}  // namespace

bool StateBlob::save(ClapInstance& instance, const ClapOstream& stream) {
    ParameterBridge& parameters = instance.parameters();
    std::vector<unsigned char> bytes(kMagic, kMagic + sizeof kMagic);
    putWord(bytes, kVersion);
    std::vector<std::int32_t> stored;
    for (std::int32_t index = 0; index < static_cast<std::int32_t>(parameters.count()); ++index) {
        if (parameters.isStored(index)) {
            stored.push_back(index);
        }
    }
    putWord(bytes, static_cast<std::uint32_t>(stored.size()));
    for (const std::int32_t index : stored) {
        const float value = parameters.effectValue(index);
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        putWord(bytes, static_cast<std::uint32_t>(index));
        putWord(bytes, bits);
    }
    if (!writeAll(stream, bytes)) {
        instance.log(CLAP_LOG_ERROR, "the state could not be written whole");
        return false;
    }
    return true;
}

bool StateBlob::load(ClapInstance& instance, const ClapIstream& stream) {
    std::vector<unsigned char> bytes;
    std::vector<std::pair<std::int32_t, float>> values;
    std::string error;
    if (!readAll(stream, bytes)) {
        error = "the state could not be read (a read error, or far too long)";
    } else {
        decode(bytes, instance, values, error);
    }
    if (!error.empty()) {
        instance.log(CLAP_LOG_ERROR, ("state refused, settings kept: " + error).c_str());
        return false;
    }
    for (const auto& [index, value] : values) {
        instance.parameters().setEffectValue(index, value);
    }
    instance.valuesChanged();
    return true;
}

bool StateBlob::decode(const std::vector<unsigned char>& bytes, ClapInstance& instance,
                       std::vector<std::pair<std::int32_t, float>>& values, std::string& error) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
        error = "not a state of this plug-in";
        return false;
    }
    const std::uint32_t version = wordAt(bytes, 4);
    if (version == 0 || version > kVersion) {
        error = "format " + std::to_string(version) + " is newer than this build reads (" +
                std::to_string(kVersion) + ")";
        return false;
    }
    const std::uint32_t count = wordAt(bytes, 8);
    if (count > instance.parameters().count() || bytes.size() != 12 + std::size_t(count) * 8) {
        error = "cut short or damaged (" + std::to_string(bytes.size()) + " bytes)";
        return false;
    }
    for (std::uint32_t k = 0; k < count; ++k) {
        const auto index = static_cast<std::int32_t>(wordAt(bytes, 12 + k * 8));
        const std::uint32_t bits = wordAt(bytes, 16 + k * 8);
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof value);
        if (!instance.parameters().isStored(index) || !(value >= 0.0f && value <= 1.0f)) {
            error = "setting " + std::to_string(index) + " is unknown or out of range";
            return false;
        }
        values.emplace_back(index, value);
    }
    return true;
}
