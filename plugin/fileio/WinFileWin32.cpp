// WinFile over the Win32 file calls.
#include <windows.h>

#include "fileio/WinFile.h"
#include "platform/Platform.h"

namespace fileio {
namespace {

// ReadFile and WriteFile take a 32-bit count; larger requests go in pieces of this size.
constexpr uint64_t kMaxPiece = 1u << 30;

}  // namespace

NativeHandle ScopedHandle::invalid() { return INVALID_HANDLE_VALUE; }

void ScopedHandle::reset(NativeHandle h) {
    if (m_handle != invalid()) CloseHandle(m_handle);
    m_handle = h;
}

bool WinFile::open(const char* utf8Path, int flags) {
    const std::u16string wide = platform::toWide(utf8Path ? utf8Path : "");
    return open(wide.c_str(), flags);
}

bool WinFile::open(const char16_t* path, int flags) {
    if (m_isOpen) close();
    DWORD access = 0;
    if (flags & Read) access |= GENERIC_READ;
    if (flags & Write) access |= GENERIC_WRITE;
    DWORD disposition = 0;
    if (flags & Write)
        disposition = (flags & OpenExisting) ? OPEN_EXISTING : CREATE_ALWAYS;
    else if (flags & Read)
        disposition = OPEN_EXISTING;
    if (disposition == 0) return false;
    const DWORD share = (flags & ShareRead) ? FILE_SHARE_READ : 0;
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if (flags & Unbuffered) attributes |= FILE_FLAG_NO_BUFFERING;
    HANDLE h =
        CreateFileW(reinterpret_cast<const wchar_t*>(path), access, share, nullptr, disposition, attributes, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    m_handle.reset(h);
    m_isOpen = true;
    return true;
}

void WinFile::close() {
    m_handle.reset();
    m_isOpen = false;
}

int64_t WinFile::size() {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(m_handle.get(), &size)) return -1;
    return size.QuadPart;
}

int64_t WinFile::tell() {
    LARGE_INTEGER zero{}, position{};
    if (!SetFilePointerEx(m_handle.get(), zero, &position, FILE_CURRENT)) return 0;
    return position.QuadPart;
}

bool WinFile::seek(int64_t offset) {
    LARGE_INTEGER distance{};
    distance.QuadPart = offset;
    return SetFilePointerEx(m_handle.get(), distance, nullptr, FILE_BEGIN) != 0;
}

uint64_t WinFile::read(void* buffer, uint64_t count) {
    uint64_t total = 0;
    while (total < count) {
        const DWORD piece = static_cast<DWORD>(count - total < kMaxPiece ? count - total : kMaxPiece);
        DWORD got = 0;
        if (!ReadFile(m_handle.get(), static_cast<char*>(buffer) + total, piece, &got, nullptr)) return total;
        total += got;
        if (got < piece) break;
    }
    return total;
}

uint64_t WinFile::write(const void* buffer, uint64_t count) {
    uint64_t total = 0;
    while (total < count) {
        const DWORD piece = static_cast<DWORD>(count - total < kMaxPiece ? count - total : kMaxPiece);
        DWORD done = 0;
        if (!WriteFile(m_handle.get(), static_cast<const char*>(buffer) + total, piece, &done, nullptr)) return total;
        total += done;
        if (done < piece) break;
    }
    return total;
}

}  // namespace fileio
