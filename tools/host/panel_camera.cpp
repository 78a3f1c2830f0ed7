#include "tools/host/panel_camera.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "meter_loudness/loudness_parameters.h"
#include "plugin/panel_snapshot.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace {

void appendBytes(void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<unsigned char>*>(context);
    const auto* first = static_cast<const unsigned char*>(data);
    bytes->insert(bytes->end(), first, first + size);
}

}  // namespace

PanelCamera::PanelCamera(HostedPlugin& plugin, std::string path, double seconds)
    : plugin(plugin), path(std::move(path)), dueAt(seconds) {}

PanelCamera::~PanelCamera() {
    if (opened) {
        plugin.dispatch(effEditClose);
    }
}

bool PanelCamera::canWrite(const std::string& path, std::string& error) {
    const std::string trial = path + ".part";
    std::FILE* file = std::fopen(trial.c_str(), "wb");
    if (!file) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    std::fclose(file);
    std::remove(trial.c_str());
    return true;
}

bool PanelCamera::prepare(std::string& error) {
    const AEffect& record = plugin.record();
    // Only our own plug-ins know the request; another one might take a window-less open
    // badly, so it is not asked.
    const bool ours = record.uniqueID == kPanelSnapshotIndex ||
                      record.uniqueID == loudness::kLoudnessMeterUniqueId;
    if (!ours || !(record.flags & effFlagsHasEditor)) {
        error =
            "--snapshot needs the Pevo plug-in: this one cannot draw its panel without a "
            "display";
        return false;
    }
    opened = plugin.dispatch(effEditOpen, 0, 0, nullptr) != 0;
    if (!opened) {
        error = "the plug-in's panel did not open";
        return false;
    }
    return true;
}

bool PanelCamera::afterBlock(double seconds, std::string& error) {
    if (taken || dueAt < 0.0 || seconds < dueAt) {
        return true;
    }
    return take(error);
}

bool PanelCamera::finish(std::string& error) {
    return taken || take(error);
}

bool PanelCamera::take(std::string& error) {
    taken = true;
    PanelSnapshot picture{0, 0, nullptr};
    plugin.dispatch(effVendorSpecific, kPanelSnapshotIndex, kPanelSnapshotValue, &picture);
    // The size is the plug-in's word: keep it to what a panel can reasonably be.
    if (picture.width <= 0 || picture.height <= 0 || picture.width > 8192 ||
        picture.height > 8192) {
        error = "the plug-in did not tell the size of its panel";
        return false;
    }
    std::vector<std::uint32_t> pixels(std::size_t(picture.width) * std::size_t(picture.height));
    picture.pixels = pixels.data();
    if (plugin.dispatch(effVendorSpecific, kPanelSnapshotIndex, kPanelSnapshotValue, &picture) !=
        1) {
        error = "the plug-in did not draw its panel";
        return false;
    }
    return writePng(pixels, picture.width, picture.height, error);
}

bool PanelCamera::writePng(const std::vector<std::uint32_t>& pixels, int width, int height,
                           std::string& error) const {
    std::vector<unsigned char> rgb;
    rgb.reserve(pixels.size() * 3);
    for (std::uint32_t pixel : pixels) {
        rgb.push_back(static_cast<unsigned char>(pixel >> 16));
        rgb.push_back(static_cast<unsigned char>(pixel >> 8));
        rgb.push_back(static_cast<unsigned char>(pixel));
    }
    std::vector<unsigned char> png;
    if (!stbi_write_png_to_func(appendBytes, &png, width, height, 3, rgb.data(), width * 3)) {
        error = "cannot encode the panel as PNG";
        return false;
    }
    // Through a temporary file, so that a failed write leaves no partial picture.
    const std::string temporary = path + ".part";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    bool written = file && std::fwrite(png.data(), 1, png.size(), file) == png.size();
    written = file && std::fclose(file) == 0 && written;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        error = "cannot write " + path;
        return false;
    }
    return true;
}
