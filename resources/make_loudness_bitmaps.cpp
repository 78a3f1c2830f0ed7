// Draws the loudness meter's own bitmaps (resource ids 200 and 201) and writes them as
// bmp00200.bmp and bmp00201.bmp into the folder given as the only argument.
#include <cstdio>
#include <string>

#include "resources/font_renderer.h"
#include "resources/loudness_panel_art.h"

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
    const LoudnessPanelArt art(fonts);
    const struct {
        int id;
        BmpImage image;
    } outputs[] = {{loudness_layout::kPanelBitmap, art.frontPanel()},
                   {loudness_layout::kResetBitmap, art.resetButton()}};
    for (const auto& output : outputs) {
        const std::string path =
            std::string(argv[1]) + "/bmp00" + std::to_string(output.id) + ".bmp";
        if (!output.image.writeBmp(path, 8, error)) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
            return 1;
        }
    }
    return 0;
}
