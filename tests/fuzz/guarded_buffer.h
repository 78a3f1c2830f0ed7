// A buffer handed to the plug-in with guard bytes on both sides. The guards must stay as
// they were filled; under AddressSanitizer they are poisoned too, so that reading them is
// reported at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class GuardedBuffer {
  public:
    static constexpr std::size_t kGuard = 64;
    static constexpr std::uint8_t kFill = 0xA5;

    /// `size` bytes of kFill between the guards; 0 bytes gives a pointer no call may use.
    explicit GuardedBuffer(std::size_t size = 0);
    ~GuardedBuffer();
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;

    void* data() { return storage.data() + kGuard; }
    char* text() { return reinterpret_cast<char*>(data()); }
    float* floats() { return reinterpret_cast<float*>(data()); }
    std::size_t size() const { return bytes; }
    /// True while no guard byte changed.
    bool guardsIntact();
    /// True while the buffer still holds kFill only.
    bool untouched() const;

  private:
    void poison(bool poisoned);

    std::size_t bytes;
    std::vector<std::uint8_t> storage;
};
