#include "norvikhost/HostMemory.h"

#include <algorithm>
#include <cstring>

#include "norvikhost/Host.h"

namespace norvikhost {

HostMemory::Block HostMemory::makeBlock(std::uint32_t size, bool clear) {
    Block block;
    block.bytes.reset(clear ? new char[std::size_t(size) + 1]() : new char[std::size_t(size) + 1]);
    block.size = size;
    return block;
}

char* HostMemory::newPtr(std::uint32_t size, bool clear) {
    Block block = makeBlock(size, clear);
    char* p = block.bytes.get();
    std::lock_guard lock(m_mutex);
    m_ptrs.emplace(p, std::move(block));
    ++m_allocations;
    return p;
}

bool HostMemory::disposePtr(char* ptr) {
    std::lock_guard lock(m_mutex);
    if (m_ptrs.erase(ptr) == 1) return true;
    ++m_badDisposals;
    return false;
}

std::int64_t HostMemory::ptrSize(const char* ptr) const {
    std::lock_guard lock(m_mutex);
    const auto it = m_ptrs.find(ptr);
    return it == m_ptrs.end() ? -1 : std::int64_t(it->second.size);
}

bool HostMemory::setPtrSize(char*& ptr, std::uint32_t newSize) {
    std::lock_guard lock(m_mutex);
    const auto it = m_ptrs.find(ptr);
    if (it == m_ptrs.end()) return false;
    Block block = makeBlock(newSize, true);
    std::memcpy(block.bytes.get(), it->second.bytes.get(), std::min(newSize, it->second.size));
    m_ptrs.erase(it);
    ptr = block.bytes.get();
    m_ptrs.emplace(ptr, std::move(block));
    return true;
}

char** HostMemory::newHandle(std::uint32_t size, bool clear) {
    Block block = makeBlock(size, clear);
    auto slot = std::make_unique<char*>(block.bytes.get());
    char** handle = slot.get();
    std::lock_guard lock(m_mutex);
    m_handles.emplace(handle, std::make_pair(std::move(slot), std::move(block)));
    ++m_allocations;
    return handle;
}

bool HostMemory::disposeHandle(char** handle) {
    std::lock_guard lock(m_mutex);
    if (m_handles.erase(handle) == 1) return true;
    ++m_badDisposals;
    return false;
}

std::int64_t HostMemory::handleSize(char** handle) const {
    std::lock_guard lock(m_mutex);
    const auto it = m_handles.find(handle);
    return it == m_handles.end() ? -1 : std::int64_t(it->second.second.size);
}

bool HostMemory::setHandleSize(char** handle, std::uint32_t newSize) {
    std::lock_guard lock(m_mutex);
    const auto it = m_handles.find(handle);
    if (it == m_handles.end()) return false;
    Block& old = it->second.second;
    Block block = makeBlock(newSize, true);
    std::memcpy(block.bytes.get(), old.bytes.get(), std::min(newSize, old.size));
    old = std::move(block);
    *handle = old.bytes.get();
    return true;
}

std::size_t HostMemory::livePtrCount() const {
    std::lock_guard lock(m_mutex);
    return m_ptrs.size();
}

std::size_t HostMemory::liveHandleCount() const {
    std::lock_guard lock(m_mutex);
    return m_handles.size();
}

std::size_t HostMemory::totalAllocations() const {
    std::lock_guard lock(m_mutex);
    return m_allocations;
}

std::size_t HostMemory::badDisposals() const {
    std::lock_guard lock(m_mutex);
    return m_badDisposals;
}

// The C functions of the table. Without a current Host they allocate nothing
// and report size -1 / failure, so a module called after the host is gone gets
// null rather than a crash.
namespace {

HostMemory* memory() {
    Host* host = Host::current();
    return host ? &host->memory() : nullptr;
}

char* newPtr(std::uint32_t size) { return memory() ? memory()->newPtr(size, false) : nullptr; }
char* newPtrClear(std::uint32_t size) { return memory() ? memory()->newPtr(size, true) : nullptr; }
void disposePtr(char* ptr) {
    if (ptr && memory()) memory()->disposePtr(ptr);
}
std::int32_t getPtrSize(char* ptr) {
    return memory() ? std::int32_t(std::max<std::int64_t>(memory()->ptrSize(ptr), -1)) : -1;
}
void setPtrSize(char** ptr, std::uint32_t newSize) {
    if (ptr && memory()) memory()->setPtrSize(*ptr, newSize);
}
char** newHandle(std::uint32_t size) { return memory() ? memory()->newHandle(size, false) : nullptr; }
char** newHandleClear(std::uint32_t size) { return memory() ? memory()->newHandle(size, true) : nullptr; }
void disposeHandle(char** handle) {
    if (handle && memory()) memory()->disposeHandle(handle);
}
std::int32_t getHandleSize(char** handle) { return memory() ? std::int32_t(memory()->handleSize(handle)) : -1; }
std::int16_t setHandleSize(char** handle, std::uint32_t newSize) {
    return memory() && memory()->setHandleSize(handle, newSize) ? 0 : -1;
}
void lockHandle(char**) {}
void unlockHandle(char**) {}

prsdk::PrMemoryFuncs g_table = {newPtr,        setPtrSize,    getPtrSize,  disposePtr,     newHandle,  setHandleSize,
                                getHandleSize, disposeHandle, newPtrClear, newHandleClear, lockHandle, unlockHandle};

}  // namespace

prsdk::PrMemoryFuncs* HostMemory::functionTable() { return &g_table; }

}  // namespace norvikhost
