// The meter mark of the editor's strips: a segment meter that lights only the segment at
// its value, leaving the rest of its area to whatever was drawn beneath (the RMS bar).
#pragma once

#include <cstdint>

#include "gui/vu_meter.h"

class CExtendedVuMeter : public CVuMeter {
  public:
    /// The bar meter's arguments; without an off bitmap nothing but the lit segment is drawn.
    CExtendedVuMeter(const CRectangle& size, CResourceBitmap* onBitmap, CResourceBitmap* offBitmap,
                     std::int32_t ledCount, std::int32_t style);
    ~CExtendedVuMeter() override;

    void draw(CDrawContext* context) override;

  private:
    /// The segment's left and right edges, in pixels from the meter's left edge.
    void segmentEdges(float shown, std::int32_t width, std::int32_t& left,
                      std::int32_t& right) const;
    void copy(CResourceBitmap* bitmap, CDrawContext* context, const CRectangle& dest,
              const CPosition& source);
};
