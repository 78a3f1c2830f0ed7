// Draws the seven editor bitmaps (resource ids 128 to 134) and writes them as
// bmp00128.bmp .. bmp00134.bmp into the folder given as the only argument.
#include <cstdio>
#include <string>

#include "resources/bmp_image.h"
#include "resources/control_art.h"
#include "resources/font_renderer.h"
#include "resources/panel_art.h"

namespace {

struct Output {
    int id;
    int bitsPerPixel;
    BmpImage image;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    FontRenderer fonts;
    std::string error;
    if (!fonts.load(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const std::string folder = argv[1];
    const Output outputs[] = {
        {128, 8, PanelArt(fonts).frontPanel()},       {129, 4, ControlArt::sliderTrack()},
        {130, 4, ControlArt::sliderHandle()},         {131, 8, ControlArt::meterStrip(false)},
        {132, 8, ControlArt::meterStrip(true)},       {133, 8, ControlArt::switchStrip(3, 31, 45)},
        {134, 8, ControlArt::switchStrip(2, 27, 28)},
    };
    for (const Output& output : outputs) {
        const std::string path = folder + "/bmp00" + std::to_string(output.id) + ".bmp";
        if (!output.image.writeBmp(path, output.bitsPerPixel, error)) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
            return 1;
        }
    }
    return 0;
}
