// The operating system's file behind the File contract.
//
// On Windows every operation is the Win32 call it names (CreateFileW, GetFileSizeEx,
// SetFilePointerEx, ReadFile, WriteFile, CloseHandle). On other systems the same
// contract is kept over POSIX (open, fstat, pread, pwrite) with a position of its own;
// there ShareRead and Unbuffered have no effect.
//
// Open flags map to the creation disposition thus: Write alone creates or
// truncates (CREATE_ALWAYS); Write | OpenExisting opens an existing file for
// writing and fails when it is missing (OPEN_EXISTING); otherwise Read opens an
// existing file; neither Read nor Write makes every open fail.
//
// Ownership: a WinFile owns its handle and closes it in close() and in its
// destructor. Not thread-safe (see File).
#pragma once

#include "fileio/File.h"

namespace fileio {

// The native handle type: a Win32 HANDLE, or a POSIX file descriptor.
#ifdef _WIN32
using NativeHandle = void*;
#else
using NativeHandle = int;
#endif

// Move-only owner of a native handle; closes it when destroyed or reset.
class ScopedHandle {
public:
    static NativeHandle invalid();
    ScopedHandle() = default;
    explicit ScopedHandle(NativeHandle h) : m_handle(h) {}
    ScopedHandle(ScopedHandle&& other) noexcept : m_handle(other.release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ~ScopedHandle() { reset(); }

    NativeHandle get() const { return m_handle; }
    bool valid() const { return m_handle != invalid(); }
    NativeHandle release() {
        const NativeHandle h = m_handle;
        m_handle = invalid();
        return h;
    }
    void reset(NativeHandle h = invalid());

private:
    NativeHandle m_handle = invalid();
};

class WinFile : public File {
public:
    WinFile() = default;
    ~WinFile() override = default;  // the handle holder closes the file
    WinFile(const WinFile&) = delete;
    WinFile& operator=(const WinFile&) = delete;

    bool open(const char* utf8Path, int flags) override;
    // The same with a UTF-16 path (the importer session's form).
    bool open(const char16_t* path, int flags);
    void close() override;
    int64_t size() override;
    int64_t tell() override;
    bool seek(int64_t offset) override;
    uint64_t read(void* buffer, uint64_t count) override;
    uint64_t write(const void* buffer, uint64_t count) override;

    // The raw handle (invalid when closed); the WinFile keeps ownership.
    NativeHandle nativeHandle() const { return m_handle.get(); }
    bool isOpen() const { return m_isOpen; }

private:
    ScopedHandle m_handle;
    bool m_isOpen = false;
#ifndef _WIN32
    int64_t m_position = 0;  // POSIX descriptors are read with pread at this position
#endif
#ifdef NORVIK_FUZZ_MEMORY_FILE
    bool m_inMemory = false;  // serving the fuzz build's memory file (FuzzMemoryFile.h)
    bool inMemory() const { return m_inMemory; }
#else
    static constexpr bool inMemory() { return false; }
#endif
};

}  // namespace fileio
