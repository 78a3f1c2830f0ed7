// The loudness history as the panel data of plugin/panel_data.h: the effect's side writes its
// points in pieces that fit the room it is given, a piece at a time, and from then on each
// new point as it comes; the panel's side takes the pieces into a copy of the history, which
// then equals the effect's. A clear or a merger of points on the effect's side sends the
// whole history again, from its first point.
#pragma once

#include <cstdint>

class LoudnessHistory;
struct PanelDataPiece;

class HistoryStream {
  public:
    /// On the thread that records `history`: the next piece after `piece.cursor`; false when
    /// nothing is new, or a piece of at least one point (or an empty history's start) does
    /// not fit.
    static bool write(const LoudnessHistory& history, PanelDataPiece& piece);
    /// On the thread that owns `copy`: takes a piece. False for a piece that is not one, or
    /// that does not follow the last one taken (one was lost): the effect's side should then
    /// send everything again.
    static bool read(LoudnessHistory& copy, const void* bytes, std::uint32_t size);
};
