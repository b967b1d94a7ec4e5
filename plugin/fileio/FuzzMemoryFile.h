// Fuzz build only (NORVIK_FUZZ_MEMORY_FILE, set with NORVIK_FUZZ): one read-only
// file held in memory, which WinFile serves for the path kFuzzMemoryFilePath, so
// that a fuzz target hands each damaged clip to the loaded module without writing
// a file and the module reads it without system calls.
//
// The fuzz target sets the bytes through the module's export
// norvik_fuzz_set_memory_file (looked up with dlsym). Ownership: the caller keeps
// the bytes, alive and unchanged, until it sets others; not thread-safe: set only
// while no clip is open.
#pragma once

#ifdef NORVIK_FUZZ_MEMORY_FILE

#include <cstdint>

namespace fileio {

inline constexpr char kFuzzMemoryFilePath[] = "/norvik-fuzz-memory-file.avi";

struct FuzzMemoryBytes {
    const uint8_t* data;
    uint64_t size;
};

// The bytes last set (none at first).
FuzzMemoryBytes fuzzMemoryFile();

}  // namespace fileio

#endif
