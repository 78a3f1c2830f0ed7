// What the panel does to a parameter on the main thread, handed to the audio thread (or to
// a flush) to be told to the host as events. One writer and one reader, without locks.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

class EditQueue {
  public:
    enum class Kind : std::uint8_t { begin, value, end };
    struct Edit {
        Kind kind;
        std::int32_t index;  ///< the parameter's index in the product's table
        float value;         ///< 0..1, for `value` only
    };

    /// Writer side (main thread). False, with nothing queued, when the queue is full.
    bool push(const Edit& edit) {
        const std::uint32_t tail = written.load(std::memory_order_relaxed);
        if (tail - read.load(std::memory_order_acquire) == kCapacity) {
            return false;
        }
        slots[tail % kCapacity] = edit;
        written.store(tail + 1, std::memory_order_release);
        return true;
    }

    /// Reader side (audio thread, or the main thread's flush while inactive).
    bool pop(Edit& edit) {
        const std::uint32_t head = read.load(std::memory_order_relaxed);
        if (head == written.load(std::memory_order_acquire)) {
            return false;
        }
        edit = slots[head % kCapacity];
        read.store(head + 1, std::memory_order_release);
        return true;
    }

    /// Reader side: whether an edit waits, at the cost of two loads.
    bool pending() const {
        return read.load(std::memory_order_relaxed) != written.load(std::memory_order_acquire);
    }

    /// Reader side: the oldest edit stays queued until `pop`.
    bool peek(Edit& edit) const {
        const std::uint32_t head = read.load(std::memory_order_relaxed);
        if (head == written.load(std::memory_order_acquire)) {
            return false;
        }
        edit = slots[head % kCapacity];
        return true;
    }

  private:
    static constexpr std::uint32_t kCapacity = 512;  ///< a power of two: indices wrap cleanly
    std::array<Edit, kCapacity> slots{};
    std::atomic<std::uint32_t> written{0};
    std::atomic<std::uint32_t> read{0};
};
