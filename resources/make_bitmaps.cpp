// Draws the seven editor bitmaps and writes bitmap N as bmp00N.bmp into the folder given as
// the only argument.
#include <cstdio>
#include <string>

#include "resources/bmp_image.h"
#include "resources/control_art.h"
#include "resources/font_renderer.h"
#include "resources/panel_art.h"
#include "resources/panel_layout.h"

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
        {kPanelBitmap, 8, PanelArt(fonts).frontPanel()},
        {kSliderTrackBitmap, 4, ControlArt::sliderTrack()},
        {kSliderHandleBitmap, 4, ControlArt::sliderHandle()},
        {kMeterOffBitmap, 8, ControlArt::meterStrip(false)},
        {kMeterOnBitmap, 8, ControlArt::meterStrip(true)},
        {kThreeWaySwitchBitmap, 8,
         ControlArt::switchStrip(layout::kSwitchPositions, layout::kSwitchWidth,
                                 layout::kSwitchSubImage)},
        {kTwoWaySwitchBitmap, 8,
         ControlArt::switchStrip(layout::kRmsSwitchPositions, layout::kRmsSwitchWidth,
                                 layout::kRmsSwitchSubImage)},
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
