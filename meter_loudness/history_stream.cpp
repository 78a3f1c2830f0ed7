#include "meter_loudness/history_stream.h"

#include <algorithm>
#include <cstring>

#include "meter_loudness/loudness_history.h"
#include "plugin/panel_data.h"

namespace {

/// What begins every piece; its points follow, as floats.
struct PieceHeader {
    std::uint32_t tag;
    /// The index of the piece's first point; 0 starts the copy afresh.
    std::uint32_t first;
    std::uint32_t count;
    std::uint32_t recordsPerPoint;
};

constexpr std::uint32_t kTag = fourCharCode('h', 'i', 's', 't');

}  // namespace

bool HistoryStream::write(const LoudnessHistory& history, PanelDataPiece& piece) {
    const std::uint32_t generation = history.generation();
    const std::uint32_t size = history.size();
    // The cursor holds the generation it was written in, then the next point's index.
    const bool restart = piece.cursor == PanelDataPiece::kFromStart ||
                         static_cast<std::uint32_t>(piece.cursor >> 32) != generation;
    const std::uint32_t first = restart ? 0 : static_cast<std::uint32_t>(piece.cursor);
    if ((!restart && first >= size) || piece.capacity < sizeof(PieceHeader)) {
        return false;
    }
    const std::uint32_t room = (piece.capacity - sizeof(PieceHeader)) / sizeof(float);
    const std::uint32_t count = std::min(size - first, room);
    if (count == 0 && size > first) {
        return false;
    }
    const PieceHeader header{kTag, first, count, history.recordsPerPoint()};
    auto* out = static_cast<unsigned char*>(piece.bytes);
    std::memcpy(out, &header, sizeof header);
    out += sizeof header;
    for (std::uint32_t i = 0; i < count; ++i, out += sizeof(float)) {
        const float point = history.at(first + i);
        std::memcpy(out, &point, sizeof point);
    }
    piece.size = static_cast<std::uint32_t>(sizeof header + count * sizeof(float));
    piece.cursor = (std::uint64_t{generation} << 32) | (first + count);
    return true;
}

bool HistoryStream::read(LoudnessHistory& copy, const void* bytes, std::uint32_t size) {
    PieceHeader header{};
    if (!bytes || size < sizeof header) {
        return false;
    }
    std::memcpy(&header, bytes, sizeof header);
    if (header.tag != kTag || header.count > LoudnessHistory::kCapacity ||
        size != sizeof header + header.count * sizeof(float)) {
        return false;
    }
    if (header.first == 0) {
        copy.clear();
    }
    const auto* in = static_cast<const unsigned char*>(bytes) + sizeof header;
    for (std::uint32_t i = 0; i < header.count; ++i, in += sizeof(float)) {
        float point = 0.0f;
        std::memcpy(&point, in, sizeof point);
        if (!copy.place(header.first + i, point, header.recordsPerPoint)) {
            return false;
        }
    }
    return true;
}
