// A row of named positions side by side, the chosen one lit: the graph's zoom and range and
// integration's run/pause toggle. A click on a position chooses it, reported to the host as
// one edit.
#pragma once

#include <cstdint>

#include "gui/control.h"

class SegmentSwitch : public CControl {
  public:
    /// `names` holds `count` position names and outlives the switch; position k is the
    /// value k / (count - 1).
    SegmentSwitch(const CRectangle& size, CControlListener* listener, std::int32_t tag,
                  const char* const* names, std::int32_t count);

    void draw(CDrawContext* context) override;
    void mouseDown(CDrawContext* context, const CPosition& where) override;

  private:
    std::int32_t positionShown() const;
    std::int32_t segmentLeft(std::int32_t position) const;

    const char* const* names;
    std::int32_t count;
};
