// Linux: the blocks a file holds on disk.
#include <sys/stat.h>

#include "TestFiles.h"

namespace avitest {

uint64_t allocatedBytes(const std::filesystem::path& path) {
    struct stat s {};
    if (::stat(path.c_str(), &s) != 0) return UINT64_MAX;
    return uint64_t(s.st_blocks) * 512;
}

}  // namespace avitest
