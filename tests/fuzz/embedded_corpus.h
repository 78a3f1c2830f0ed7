// The fuzz targets' committed corpora, built into the replay tests so that every build,
// Windows ones under Wine included, replays them without reading files.
#pragma once

#include <cstddef>
#include <cstdint>

struct EmbeddedCorpusFile {
    const char* target;  ///< the fuzz target, named as its corpus folder
    const char* name;
    const std::uint8_t* bytes;
    std::size_t size;
};

extern const EmbeddedCorpusFile kEmbeddedCorpus[];
extern const std::size_t kEmbeddedCorpusCount;
