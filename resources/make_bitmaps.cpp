// Draws the seven editor bitmaps and writes bitmap N as bmp00N.bmp into the folder given as
// the only argument.
#include "resources/bitmap_tool.h"
#include "resources/control_art.h"
#include "resources/panel_art.h"
#include "resources/panel_layout.h"

int main(int argc, char** argv) {
    return runBitmapTool(argc, argv, [](const FontRenderer& fonts) {
        return std::vector<BitmapOutput>{
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
    });
}
