// The asynchronous importer of one clip: a session of its own (its own file,
// clip description and host suites, opened from the path of the session that
// created it) and a frame decoder of its own, whose announced frames are decoded
// by background tasks and handed to the host when it collects them. The host reaches it through
// xAsyncImportEntry (AsyncEntry.h).
//
// Threads: OnInitiateAsyncRead, OnGetFrame and OnFlush may be called from several
// host threads at once; they serialise on m_requestMutex. Every announcement
// queues a decode task on the importer's pool of kDecodeWorkers threads, which
// take tasks in the order of announcement, at most kDecodeAhead ahead of the
// collections; a task the host collects before it began moves to the front
// (and starts whatever is ahead), and a flush withdraws the tasks that have not
// begun, so that they never decode. Destruction (aiClose) must not overlap any other
// call; it waits for every task that began, then joins the pool's threads.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>

#include "async/AsyncFrameRequest.h"
#include "async/DecodePool.h"
#include "async/FifoMutex.h"
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

    // aiInitiateAsyncRead: a request and its decode task, queued behind those
    // announced before, for the frame of inSourceRec.inFrameTime; returns at once
    // with 0 (aiNoError). Throws
    // std::logic_error without video, std::runtime_error when the PPix suites
    // cannot be had (no request is added then).
    int32_t OnInitiateAsyncRead(const prsdk::aiAsyncRequest& request);
    // aiGetFrame: takes the oldest request for the frame of inFrameTime (making one
    // when none was announced), moves its task to the front of the queue if it has
    // not begun, waits for it and, on success, hands its host frame over through
    // outFrame. 0 (aiNoError) or 2 (aiUnknownError: the task's host result was
    // not 0). An exception of the task passes through.
    int32_t OnGetFrame(prsdk::imSourceVideoRec& request);
    // aiFlush: withdraws the tasks that have not begun (they never decode) and
    // destroys every request, waiting for the tasks that run; 0.
    int32_t OnFlush();

private:
    using RequestList = std::list<std::unique_ptr<AsyncFrameRequest>>;

    // Two workers: one reads the next frame while the other decodes. The codec
    // session decodes one frame at a time on every core, so a third worker would
    // only hold a task it cannot decode yet, which a flush could no longer drop.
    static constexpr unsigned kDecodeWorkers = 2;
    // Announced frames decoded (or decoding) ahead of the host's collections at
    // most. The codec decodes a frame on every core, so one frame ahead keeps
    // steady playback from waiting, while a jump of the playhead loses at most
    // that one decode (a frame decoded ahead is never shown after a jump).
    static constexpr unsigned kDecodeAhead = 1;

    // REQUIRES m_requestMutex. Appends a request for the record's frame with its
    // task queued at `place`; throws (adding nothing) when the suites cannot be had.
    RequestList::iterator addRequest(const prsdk::imSourceVideoRec& record, DecodePool::Place place);
    // The decode task of one request, on a worker: the frame steps with the read
    // and decode mutexes, never m_requestMutex. Returns the host result.
    static int32_t decodeTask(AsyncFrameRequest* request);
    // REQUIRES m_requestMutex (or no other call, in the destructor). Withdraws
    // the tasks that wait, then destroys the requests oldest first.
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
    // Guards m_decoder: held by a task while it decodes into a host frame, one
    // decode at a time in the order the tasks asked (a worker that just decoded
    // does not pass the other).
    FifoMutex m_decodeMutex;
    FrameDecoder m_decoder;
    // Outstanding requests, oldest first. Guarded by m_requestMutex.
    RequestList m_requests;
    // Runs the decode tasks. Last, so that its threads are joined before the
    // decoder, session and mutexes they use go (the destructor empties the
    // requests first).
    DecodePool m_pool{kDecodeWorkers, kDecodeAhead};
};
