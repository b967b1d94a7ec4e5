// The host's memory functions (newPtr, disposePtr, handles ...) with a record
// of every block, so that tests can check what a module allocated and freed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "prsdk/PrSDK.h"

namespace norvikhost {

// Bookkeeping of host memory blocks. Thread-safe (one mutex guards the maps).
// Blocks still live when the HostMemory is destroyed are freed then.
class HostMemory {
public:
    HostMemory() = default;
    HostMemory(const HostMemory&) = delete;
    HostMemory& operator=(const HostMemory&) = delete;

    // Pointer blocks. A size of 0 gives a valid block of size 0.
    char* newPtr(std::uint32_t size, bool clear);
    // False when ptr is not a live block of this host (nothing is freed then).
    bool disposePtr(char* ptr);
    // Size of a live block, or -1 when ptr is not one.
    std::int64_t ptrSize(const char* ptr) const;
    // Moves the block to a new size, keeping its contents; false for an unknown block.
    bool setPtrSize(char*& ptr, std::uint32_t newSize);

    // Handles: a host-owned char* slot that points at a block.
    char** newHandle(std::uint32_t size, bool clear);
    bool disposeHandle(char** handle);
    std::int64_t handleSize(char** handle) const;
    bool setHandleSize(char** handle, std::uint32_t newSize);

    // What tests check.
    std::size_t livePtrCount() const;
    std::size_t liveHandleCount() const;
    std::size_t totalAllocations() const;  // pointers and handles ever made
    std::size_t badDisposals() const;      // disposals of unknown blocks or handles

    // The function table handed to modules; its functions reach the current Host.
    static prsdk::PrMemoryFuncs* functionTable();

private:
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::uint32_t size = 0;
    };
    static Block makeBlock(std::uint32_t size, bool clear);

    mutable std::mutex m_mutex;
    std::map<const char*, Block> m_ptrs;                                   // guarded by m_mutex
    std::map<char**, std::pair<std::unique_ptr<char*>, Block>> m_handles;  // guarded by m_mutex
    std::size_t m_allocations = 0;                                         // guarded by m_mutex
    std::size_t m_badDisposals = 0;                                        // guarded by m_mutex
};

}  // namespace norvikhost
