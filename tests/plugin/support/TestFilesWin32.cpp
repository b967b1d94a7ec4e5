// Windows: the bytes a file holds on disk (less than its size when it has holes).
#include <windows.h>

#include "TestFiles.h"

namespace avitest {

uint64_t allocatedBytes(const std::filesystem::path& path) {
    DWORD high = 0;
    const DWORD low = GetCompressedFileSizeW(path.c_str(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return UINT64_MAX;
    return uint64_t(high) << 32 | low;
}

}  // namespace avitest
