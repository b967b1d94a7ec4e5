// Vectors whose resize leaves the new elements unset: the encoder's buffers
// are written whole before anything reads them, so clearing them first (as
// std::vector<uint8_t> does) only costs time, a pass over every coded byte.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace norvik {

template <class T>
struct UnsetAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UnsetAllocator<U>;
    };
    UnsetAllocator() = default;
    template <class U>
    UnsetAllocator(const UnsetAllocator<U>&) noexcept {}

    // Default-initialisation: nothing is written for a byte.
    template <class U>
    void construct(U* p) {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

using ByteBuffer = std::vector<uint8_t, UnsetAllocator<uint8_t>>;
// The same for 16-bit samples (the encoder's planes, filled whole from the source).
using SampleBuffer = std::vector<uint16_t, UnsetAllocator<uint16_t>>;

}  // namespace norvik
