// Takes a picture of a Pevo plug-in's panel without a display: the editor is opened
// without a window before processing, so its meters follow the audio, and the plug-in's own
// snapshot request draws it into memory when the picture is due. Written as a PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/host/hosted_plugin.h"

class PanelCamera {
  public:
    /// The picture is due at `seconds` into the input; below 0 at its end.
    PanelCamera(HostedPlugin& plugin, std::string path, double seconds);
    /// Closes the editor it opened.
    ~PanelCamera();
    PanelCamera(const PanelCamera&) = delete;
    PanelCamera& operator=(const PanelCamera&) = delete;

    /// Whether a picture can be written at `path`; false with the reason. Asked before the
    /// input is metered, not after.
    static bool canWrite(const std::string& path, std::string& error);
    /// Opens the panel; false with the reason when the plug-in cannot draw it.
    bool prepare(std::string& error);
    /// After each block that ends at `seconds`: takes the picture once it is due.
    bool afterBlock(double seconds, std::string& error);
    /// At the end of the input: takes the picture if it has not been taken.
    bool finish(std::string& error);

  private:
    bool take(std::string& error);
    bool writePng(const std::vector<std::uint32_t>& pixels, int width, int height,
                  std::string& error) const;

    HostedPlugin& plugin;
    std::string path;
    double dueAt;
    bool opened = false;
    bool taken = false;
};
