// Draws the loudness meter's own bitmaps (resource ids 200 and 201) and writes them as
// bmp00200.bmp and bmp00201.bmp into the folder given as the only argument.
#include "resources/bitmap_tool.h"
#include "resources/loudness_panel_art.h"

int main(int argc, char** argv) {
    return runBitmapTool(argc, argv, [](const FontRenderer& fonts) {
        const LoudnessPanelArt art(fonts);
        return std::vector<BitmapOutput>{{loudness_layout::kPanelBitmap, 8, art.frontPanel()},
                                         {loudness_layout::kResetBitmap, 8, art.resetButton()}};
    });
}
