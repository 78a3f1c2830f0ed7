// The bitmap files built into the library, as the build embeds them.
#pragma once

#include <cstddef>

struct CEmbeddedResource {
    int id;
    const unsigned char* bytes;
    std::size_t size;
};

/// The embedded bitmaps; kEmbeddedBitmapCount entries.
extern const CEmbeddedResource kEmbeddedBitmaps[];
extern const std::size_t kEmbeddedBitmapCount;
