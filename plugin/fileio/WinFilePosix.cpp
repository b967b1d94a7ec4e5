// WinFile over POSIX descriptors, with the Win32 contract (see WinFile.h).
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fileio/FuzzMemoryFile.h"
#include "fileio/WinFile.h"
#include "platform/Platform.h"

namespace fileio {

NativeHandle ScopedHandle::invalid() { return -1; }

void ScopedHandle::reset(NativeHandle h) {
    if (m_handle != invalid()) ::close(m_handle);
    m_handle = h;
}

bool WinFile::open(const char16_t* path, int flags) {
    return open(platform::toUtf8(path ? std::u16string_view(path) : std::u16string_view()).c_str(), flags);
}

bool WinFile::open(const char* utf8Path, int flags) {
    if (m_isOpen) close();
#ifdef NORVIK_FUZZ_MEMORY_FILE
    if (utf8Path && std::strcmp(utf8Path, kFuzzMemoryFilePath) == 0) {
        if (!(flags & Read) || (flags & Write)) return false;  // read-only
        m_inMemory = m_isOpen = true;
        m_position = 0;
        return true;
    }
#endif
    int mode = 0;
    if ((flags & Read) && (flags & Write))
        mode = O_RDWR;
    else if (flags & Write)
        mode = O_WRONLY;
    else if (flags & Read)
        mode = O_RDONLY;
    else
        return false;
    if ((flags & Write) && !(flags & OpenExisting)) mode |= O_CREAT | O_TRUNC;
    const int fd = ::open(utf8Path ? utf8Path : "", mode | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {  // CreateFileW refuses folders too
        ::close(fd);
        return false;
    }
    m_handle.reset(fd);
    m_isOpen = true;
    m_position = 0;
    return true;
}

void WinFile::close() {
#ifdef NORVIK_FUZZ_MEMORY_FILE
    m_inMemory = false;
#endif
    m_handle.reset();
    m_isOpen = false;
    m_position = 0;
}

int64_t WinFile::size() {
#ifdef NORVIK_FUZZ_MEMORY_FILE
    if (inMemory()) return int64_t(fuzzMemoryFile().size);
#endif
    struct stat info {};
    if (!m_handle.valid() || ::fstat(m_handle.get(), &info) != 0) return -1;
    return info.st_size;
}

int64_t WinFile::tell() { return m_handle.valid() || inMemory() ? m_position : 0; }

bool WinFile::seek(int64_t offset) {
    if ((!m_handle.valid() && !inMemory()) || offset < 0) return false;
    m_position = offset;
    return true;
}

uint64_t WinFile::read(void* buffer, uint64_t count) {
#ifdef NORVIK_FUZZ_MEMORY_FILE
    if (inMemory()) {
        const FuzzMemoryBytes bytes = fuzzMemoryFile();
        const uint64_t at = std::min(uint64_t(m_position), bytes.size);
        const uint64_t got = std::min(count, bytes.size - at);
        if (got) std::memcpy(buffer, bytes.data + at, got);
        m_position += int64_t(got);
        return got;
    }
#endif
    uint64_t total = 0;
    while (total < count) {
        const ssize_t got = ::pread(m_handle.get(), static_cast<char*>(buffer) + total, count - total, m_position);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        total += static_cast<uint64_t>(got);
        m_position += got;
    }
    return total;
}

uint64_t WinFile::write(const void* buffer, uint64_t count) {
    uint64_t total = 0;
    while (total < count) {
        const ssize_t done =
            ::pwrite(m_handle.get(), static_cast<const char*>(buffer) + total, count - total, m_position);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) break;
        total += static_cast<uint64_t>(done);
        m_position += done;
    }
    return total;
}

}  // namespace fileio
