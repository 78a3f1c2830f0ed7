// The loudness history as panel data: whatever the room per piece, a copy fed the pieces
// equals the history, through mergers of points and clears, written while the history
// grows; and the reader refuses what is not a piece of it, or not the next one.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "meter_loudness/history_stream.h"
#include "meter_loudness/loudness_history.h"
#include "plugin/panel_data.h"

namespace {

/// Streams every piece `history` has after `cursor` into `copy` through `room` bytes.
int stream(const LoudnessHistory& history, LoudnessHistory& copy, std::uint64_t& cursor,
           std::uint32_t room) {
    std::vector<std::uint8_t> bytes(room);
    int pieces = 0;
    PanelDataPiece piece{cursor, bytes.data(), room, 0};
    while (HistoryStream::write(history, piece)) {
        EXPECT_LE(piece.size, room);
        EXPECT_TRUE(HistoryStream::read(copy, bytes.data(), piece.size));
        ++pieces;
    }
    cursor = piece.cursor;
    return pieces;
}

void expectEqual(const LoudnessHistory& copy, const LoudnessHistory& history) {
    ASSERT_EQ(copy.size(), history.size());
    EXPECT_EQ(copy.secondsPerPoint(), history.secondsPerPoint());
    EXPECT_EQ(copy.loudest(), history.loudest());
    for (std::uint32_t i = 0; i < history.size(); ++i) {
        ASSERT_EQ(copy.at(i), history.at(i)) << i;
    }
}

float reading(int k) {
    return k % 97 == 0 ? -INFINITY : -30.0f + 10.0f * std::sin(0.01f * float(k));
}

TEST(HistoryStream, ACopyFollowsThroughMergersAndClears) {
    // Room for one point per piece, for some, for all of them.
    for (const std::uint32_t room : {20u, 400u, 40000u}) {
        SCOPED_TRACE(room);
        LoudnessHistory history;
        LoudnessHistory copy;
        std::uint64_t cursor = PanelDataPiece::kFromStart;
        EXPECT_EQ(stream(history, copy, cursor, room), 1);  // an empty history's start
        int k = 0;
        // Steps that cross the first merger, then the second, then a clear.
        for (const int records : {3000, 6000, 9000, 4, -1, 100}) {
            if (records < 0) {
                history.clear();
            }
            for (int i = 0; i < records; ++i) {
                history.record(reading(k++));
            }
            stream(history, copy, cursor, room);
            expectEqual(copy, history);
            EXPECT_EQ(history.recordsPerPoint(), records == 9000 ? 4u : copy.recordsPerPoint());
        }
        EXPECT_EQ(stream(history, copy, cursor, room), 0);  // nothing new
    }
}

TEST(HistoryStream, TheReaderRefusesWhatIsNotTheNextPiece) {
    LoudnessHistory history, copy;
    for (int k = 0; k < 50; ++k) {
        history.record(reading(k));
    }
    std::vector<std::uint8_t> first(16 + 4 * 10), rest(1000);
    PanelDataPiece piece{PanelDataPiece::kFromStart, first.data(), 19, 0};
    EXPECT_FALSE(HistoryStream::write(history, piece));  // no room for a point
    piece.capacity = std::uint32_t(first.size());
    ASSERT_TRUE(HistoryStream::write(history, piece));
    const std::uint32_t firstSize = piece.size;
    piece = {piece.cursor, rest.data(), std::uint32_t(rest.size()), 0};
    ASSERT_TRUE(HistoryStream::write(history, piece));
    EXPECT_FALSE(HistoryStream::read(copy, rest.data(), piece.size));      // not the start
    EXPECT_FALSE(HistoryStream::read(copy, first.data(), firstSize - 4));  // cut
    first[0] ^= 1;
    EXPECT_FALSE(HistoryStream::read(copy, first.data(), firstSize));  // not a piece
    EXPECT_EQ(copy.size(), 0u);
}

}  // namespace
