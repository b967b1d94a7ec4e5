// The module's asynchronous importer for a clip the host has open
// (imCreateAsyncImporter), and the calls the host makes on it while it plays:
// announce a frame (aiInitiateAsyncRead), collect it (aiGetFrame), drop what is
// announced (aiFlush), and close (aiClose).
//
// Thread-safe as far as the module's asynchronous entry is: announcements,
// collections and flushes may come from several threads at once; close() must
// not overlap any other call. The session must outlive the importer.
#pragma once

#include <cstdint>
#include <vector>

#include "norvikhost/FrameRequester.h"
#include "norvikhost/FrameSession.h"
#include "prsdk/PrSDK.h"

namespace norvikhost {

// imCreateAsyncImporter's answer and the record's outputs as the module left them.
struct AsyncCreation {
    std::int32_t result = 0;
    prsdk::AsyncEntryPoint entry = nullptr;
    void* privateData = nullptr;
};

// Asks the module for an asynchronous importer of the session's clip.
AsyncCreation createAsyncImporter(FrameSession& session);

class AsyncImporter {
public:
    // Creates the importer. Throws HostError naming the module's answer when it
    // gives no entry point.
    explicit AsyncImporter(FrameSession& session);
    // Flushes and closes unless close() was called (problems are dropped then).
    ~AsyncImporter();
    AsyncImporter(const AsyncImporter&) = delete;
    AsyncImporter& operator=(const AsyncImporter&) = delete;

    // aiInitiateAsyncRead for the frame at `time`, formats in order of preference.
    std::int32_t announce(prsdk::PrTime time, const std::vector<prsdk::imFrameFormat>& formats);
    // aiGetFrame. A frame answered with aiNoError is handed over to the host and
    // disposed of with the answer. Throws HostError when the module breaks the
    // protocol: outFrame written with a failure, or success without a live frame.
    FrameAnswer collect(prsdk::PrTime time, const std::vector<prsdk::imFrameFormat>& formats);
    std::int32_t flush();
    // aiFlush (when asked) and aiClose; the importer is gone afterwards. Returns
    // aiClose's answer, or the flush's when that was not aiNoError.
    std::int32_t close(bool flushFirst = true);
    // Any selector with any parameter (the importer must not be closed).
    std::int32_t call(std::int32_t selector, void* param);

    void* privateData() const { return m_privateData; }
    bool closed() const { return m_closed; }

private:
    FrameSession& m_session;
    prsdk::AsyncEntryPoint m_entry = nullptr;
    void* m_privateData = nullptr;
    bool m_closed = false;
};

}  // namespace norvikhost
