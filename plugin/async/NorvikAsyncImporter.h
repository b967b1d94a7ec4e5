// The asynchronous importer of one clip: a session of its own (its own file,
// clip description and host suites, opened from the path of the session that
// created it) and a frame decoder of its own, whose announced frames are decoded
// by background tasks and handed to the host when it collects them. The host reaches it through
// xAsyncImportEntry (AsyncEntry.h).
//
// Threads: OnInitiateAsyncRead, OnGetFrame and OnFlush may be called from several
// host threads at once; they serialise on m_requestMutex. Every announcement
// starts a decode task on a thread of its own at once. Destruction (aiClose) must
// not overlap any other call; it waits for every task first.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>

#include "async/AsyncFrameRequest.h"
#include "async/DecodeOrder.h"
#include "importer/NorvikImporter.h"
#include "prsdk/PrSDK.h"
#include "video/FrameDecoder.h"

class NorvikAsyncImporter {
public:
    // An importer with nothing open; openAndParse opens the clip.
    explicit NorvikAsyncImporter(const prsdk::imStdParms* stdParms);
    // Destroys the outstanding requests (waiting for their tasks) before the
    // decoder and the session (its file and description) go.
    ~NorvikAsyncImporter();
    NorvikAsyncImporter(const NorvikAsyncImporter&) = delete;
    NorvikAsyncImporter& operator=(const NorvikAsyncImporter&) = delete;

    // Opens and parses the clip in the importer's own session (see
    // NorvikImporter::openAndParse), before any request; 0 or the error.
    int32_t openAndParse(const std::u16string& path, int32_t streamIndex, int32_t access);

    // aiInitiateAsyncRead: a request and its decode task for the frame of
    // inSourceRec.inFrameTime; returns at once with 0 (aiNoError). Throws
    // std::logic_error without video, std::runtime_error when the PPix suites
    // cannot be had (no request is added then).
    int32_t OnInitiateAsyncRead(const prsdk::aiAsyncRequest& request);
    // aiGetFrame: takes the oldest request for the frame of inFrameTime (making one
    // when none was announced), waits for its task and, on success, hands its host
    // frame over through outFrame. 0 (aiNoError) or 2 (aiUnknownError: the task's
    // host result was not 0). An exception of the task passes through.
    int32_t OnGetFrame(prsdk::imSourceVideoRec& request);
    // aiFlush: destroys every request, waiting for tasks that run; 0.
    int32_t OnFlush();

private:
    using RequestList = std::list<std::unique_ptr<AsyncFrameRequest>>;

    // REQUIRES m_requestMutex. Appends a request for the record's frame with its
    // task started; throws (adding nothing) when the suites or a thread cannot be had.
    RequestList::iterator addRequest(const prsdk::imSourceVideoRec& record);
    // The decode task of one request, on its own thread: the frame steps with the
    // read and decode mutexes, never m_requestMutex. Returns the host result.
    static int32_t decodeTask(AsyncFrameRequest* request);
    // REQUIRES m_requestMutex (or no other call, in the destructor). Oldest first.
    void destroyRequests();

    // Guards m_requests. Held through the bodies of OnInitiateAsyncRead, OnFlush
    // and OnGetFrame, except while OnGetFrame waits for its own task. Tasks never
    // take it, so waiting for a task while holding it cannot deadlock.
    std::mutex m_requestMutex;
    // The importer's own session: its file is read by the tasks (under
    // m_readMutex); its description is set by openAndParse and then only read.
    NorvikImporter m_session;
    // The video of m_session's description, kept for the tasks; const.
    std::shared_ptr<const VideoInfo> m_video;
    // Held by a task while it reads a compressed frame: the one file and its
    // position serve one read at a time.
    std::mutex m_readMutex;
    // Guards m_decoder: held by a task while it decodes into a host frame.
    std::mutex m_decodeMutex;
    FrameDecoder m_decoder;
    // Tasks take m_decodeMutex in the order of their requests' decodeTurn.
    DecodeOrder m_decodeOrder;
    // The decodeTurn of the next request. Guarded by m_requestMutex.
    uint64_t m_nextTurn = 0;
    // Outstanding requests, oldest first. Guarded by m_requestMutex.
    RequestList m_requests;
};
