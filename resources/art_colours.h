#pragma once

#include "resources/bmp_image.h"
#include "resources/panel_layout.h"

/// The colours that the panel and the control pictures share, so that each control's
/// picture meets the panel around it without a seam.
struct ArtColours {
    using Colour = BmpImage::Colour;

    /// The panel's paint; the editor fills and frames the delay read-out with it.
    static constexpr Colour kPanel{layout::kPaint[0], layout::kPaint[1], layout::kPaint[2]};
    static constexpr Colour kPanelLight{246, 244, 240};
    static constexpr Colour kPanelShade{178, 174, 168};
    static constexpr Colour kPanelEdge{132, 129, 124};
    /// Printed legends on the panel.
    static constexpr Colour kInk{38, 36, 38};
    static constexpr Colour kNote{112, 109, 106};
    /// The meter window behind the strips, and the strips' own ground.
    static constexpr Colour kMeterGround{56, 9, 9};
    static constexpr Colour kMeterRim{22, 4, 4};
    static constexpr Colour kScaleInk{236, 214, 200};
    /// Lit segments: green up to -13 dB, yellow to -7 dB, red above.
    static constexpr Colour kGreen{64, 232, 96};
    static constexpr Colour kYellow{250, 220, 52};
    static constexpr Colour kRed{250, 52, 36};
    /// Switch housings and their lamps.
    static constexpr Colour kHousingTop{72, 70, 76};
    static constexpr Colour kHousingBottom{40, 38, 43};
    static constexpr Colour kHousingLight{128, 126, 132};
    static constexpr Colour kHousingDark{16, 15, 18};
    static constexpr Colour kLampOff{78, 30, 26};
    static constexpr Colour kLampOn{255, 86, 44};
    static constexpr Colour kLampGlint{255, 196, 150};
};
