// The work record of one frame request, on which the frame steps (FrameSteps.h)
// run: the host's request, the frame chosen, its compressed bytes, the host frame
// made for it, and what the steps need of a session (its file and the host's
// frame suites), so that the steps never reach into a session. The synchronous
// handler and the asynchronous importer fill their jobs the same way.
//
// One job serves one request and is discarded with it. Move-only (it holds a
// host frame); not thread-safe: one step at a time works on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "fileio/File.h"
#include "prsdk/PrSDK.h"
#include "video/HostFrame.h"

class NorvikImporter;

// What the frame steps use of a session. Nothing is owned: the file and the
// suites belong to the session, which must outlive the job.
struct FrameSources {
    fileio::File* file = nullptr;  // read by readFrame; its caller serialises the reads
    const prsdk::PrSDKPPixCreatorSuite* ppixCreator = nullptr;
    const prsdk::PrSDKPPixSuite* ppix = nullptr;
};

// The session's file and its PPix Creator and PPix Suites (the session's suites
// are created on first need). Throws std::runtime_error "Could not acquire
// suite: ..." when either suite cannot be had.
FrameSources frameSourcesOf(NorvikImporter& session);

// Bytes that grow without being cleared (the file fills them) and never shrink.
class FrameBuffer {
public:
    // At least `size` bytes; the contents are lost when it grows.
    void grow(size_t size) {
        if (size <= m_capacity) return;
        m_bytes = std::make_unique_for_overwrite<uint8_t[]>(size);
        m_capacity = size;
    }
    uint8_t* data() const { return m_bytes.get(); }
    size_t capacity() const { return m_capacity; }

private:
    std::unique_ptr<uint8_t[]> m_bytes;
    size_t m_capacity = 0;
};

struct FrameJob {
    // A job for the host's request: its frame time and a copy of its frame
    // formats (none when the count is not positive or the list is null).
    FrameJob(const prsdk::imSourceVideoRec& request, const FrameSources& sources);

    int64_t frameTime;
    std::vector<prsdk::imFrameFormat> frameFormats;  // the first one counts
    uint32_t frameIndex = 0;                         // set by selectFrame
    uint32_t frameSize = 0;                          // bytes of compressedData that hold the frame (readFrame)
    FrameBuffer compressedData;
    HostFrame hostFrame;  // made by decodeFrame; disposed of with the job unless released
    FrameSources sources;
};
