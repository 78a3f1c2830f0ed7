#include "tests/fuzz/guarded_buffer.h"

#include <algorithm>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PEVO_POISON_GUARDS 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define PEVO_POISON_GUARDS 1
#endif
#if defined(PEVO_POISON_GUARDS)
#include <sanitizer/asan_interface.h>
#endif

GuardedBuffer::GuardedBuffer(std::size_t size) : bytes(size), storage(size + 2 * kGuard, kFill) {
    poison(true);
}

GuardedBuffer::~GuardedBuffer() {
    poison(false);
}

bool GuardedBuffer::guardsIntact() {
    poison(false);
    auto isFill = [](std::uint8_t b) { return b == kFill; };
    const bool intact = std::all_of(storage.begin(), storage.begin() + kGuard, isFill) &&
                        std::all_of(storage.end() - kGuard, storage.end(), isFill);
    poison(true);
    return intact;
}

bool GuardedBuffer::untouched() const {
    return std::all_of(storage.begin() + kGuard, storage.end() - kGuard,
                       [](std::uint8_t b) { return b == kFill; });
}

void GuardedBuffer::poison(bool poisoned) {
#if defined(PEVO_POISON_GUARDS)
    // The buffer starts on a granule boundary; the guard behind it may begin inside one,
    // which the shadow memory expresses as a granule addressable only up to that byte.
    std::uint8_t* back = storage.data() + kGuard + bytes;
    if (poisoned) {
        ASAN_POISON_MEMORY_REGION(storage.data(), kGuard);
        ASAN_POISON_MEMORY_REGION(back, kGuard);
    } else {
        ASAN_UNPOISON_MEMORY_REGION(storage.data(), kGuard);
        ASAN_UNPOISON_MEMORY_REGION(back, kGuard);
    }
#else
    (void)poisoned;
#endif
}
