#include "gui/native/soft/soft_bitmap.h"

#include <limits>

#include "gui/native/soft/soft_resources.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#include <stb/stb_image.h>

CSoftBitmap::CSoftBitmap(int width, int height, std::vector<std::uint32_t> pixels)
    : CSoftBitmap(width, height,
                  std::make_shared<const std::vector<std::uint32_t>>(std::move(pixels))) {}

CSoftBitmap::CSoftBitmap(int width, int height, Pixels pixels)
    : columns(width), rows(height), pixelData(std::move(pixels)) {}

std::unique_ptr<CSoftBitmap> CSoftBitmap::decode(const unsigned char* bytes, std::size_t size) {
    if (!bytes || size == 0 || size > std::size_t(std::numeric_limits<int>::max())) {
        return nullptr;
    }
    int width = 0, height = 0, channels = 0;
    // Freed however this ends: the pixel array below may fail to allocate.
    const std::unique_ptr<stbi_uc, void (*)(void*)> rgb(
        stbi_load_from_memory(bytes, int(size), &width, &height, &channels, 3), stbi_image_free);
    if (!rgb) {
        return nullptr;
    }
    std::vector<std::uint32_t> pixels(std::size_t(width) * std::size_t(height));
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const stbi_uc* p = rgb.get() + 3 * i;
        pixels[i] = (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
    }
    return std::make_unique<CSoftBitmap>(width, height, std::move(pixels));
}

std::unique_ptr<CSoftBitmap> loadSoftBitmap(int resourceId) {
    for (std::size_t i = 0; i < kEmbeddedBitmapCount; ++i) {
        const CEmbeddedResource& resource = kEmbeddedBitmaps[i];
        if (resource.id == resourceId) {
            return CSoftBitmap::decode(resource.bytes, resource.size);
        }
    }
    return nullptr;
}
