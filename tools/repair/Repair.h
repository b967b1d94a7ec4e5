// norvik-repair's work: reads IN (never writes it), recovers every chunk the scan
// and the frame checks keep (Recovery), and writes them with fresh headers, an
// idx1 and an OpenDML index through the AVI writer into OUT. OUT is written under
// a temporary name beside it and renamed at the end, so a run that fails leaves
// neither a partial OUT nor the temporary file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Recovery.h"

namespace repair {

struct RepairOptions {
    Recovery::Progress progress;      // optional
    // Optional: makes the check of each sound frame beyond its structure (a decode
    // with the codec) once the streams are known.
    std::function<Recovery::FrameVerifier(const std::vector<RecoveredStream>&)> makeVerifier;
    uint64_t riffLimit = 1ull << 30;  // RIFF forms of the copy are closed before this size
};

struct StreamSummary {
    FourCC type = 0;
    uint64_t kept = 0, emptied = 0, trimmed = 0, dropped = 0, bytes = 0;
};

struct RepairSummary {
    uint64_t formsRead = 0;
    uint64_t skippedBytes = 0;
    uint64_t junkBytes = 0;
    uint64_t droppedChunks = 0;
    std::string cutDescription;  // empty when the file did not end inside a chunk
    std::vector<StreamSummary> streams;
    std::vector<std::string> events;
};

// Throws std::runtime_error when OUT is IN, IN cannot be read or has no usable
// headers, or OUT cannot be written; then nothing is left at OUT.
RepairSummary repairFile(const std::filesystem::path& in, const std::filesystem::path& out,
                         const RepairOptions& options = {});

// The summary as lines for people.
std::string summaryText(const RepairSummary& summary);

}  // namespace repair
