#include "fileio/FuzzMemoryFile.h"

#include "platform/Export.h"

namespace {

fileio::FuzzMemoryBytes g_bytes{nullptr, 0};

}  // namespace

// The setter the fuzz targets find in the loaded module (see FuzzMemoryFile.h).
NORVIK_EXPORT void norvik_fuzz_set_memory_file(const uint8_t* data, uint64_t size) { g_bytes = {data, size}; }

namespace fileio {

FuzzMemoryBytes fuzzMemoryFile() { return g_bytes; }

}  // namespace fileio
