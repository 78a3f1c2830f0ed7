// The short-term loudness of the last minutes, for the panel's graph: the audio thread
// records one point per step of audio time; any thread reads the latest points.
#pragma once

#include <atomic>
#include <cstdint>

class LoudnessHistory {
  public:
    /// Points kept; a reader asks for at most kCapacity / 2, so the audio thread never
    /// overwrites a point while it is read.
    static constexpr std::uint32_t kCapacity = 1024;

    // Audio thread.
    /// Forgets every point; readers see a new generation.
    void clear() {
        recorded.store(0, std::memory_order_relaxed);
        generationCount.fetch_add(1, std::memory_order_release);
    }
    void record(float shortTerm) {
        const std::uint32_t count = recorded.load(std::memory_order_relaxed);
        points[count % kCapacity].store(shortTerm, std::memory_order_relaxed);
        recorded.store(count + 1, std::memory_order_release);
    }

    // Any thread.
    /// Points recorded since the last clear.
    std::uint32_t size() const { return recorded.load(std::memory_order_acquire); }
    /// Counts the clears, so that a reader knows its earlier points are gone.
    std::uint32_t generation() const { return generationCount.load(std::memory_order_acquire); }
    /// Point `index` (< size(), and one of the latest kCapacity / 2), in LUFS or
    /// LoudnessMeter::kUndefined.
    float at(std::uint32_t index) const {
        return points[index % kCapacity].load(std::memory_order_relaxed);
    }

  private:
    std::atomic<float> points[kCapacity] = {};
    std::atomic<std::uint32_t> recorded{0};
    std::atomic<std::uint32_t> generationCount{0};
};
