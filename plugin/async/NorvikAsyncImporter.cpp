#include "async/NorvikAsyncImporter.h"

#include <string>
#include <stdexcept>

#include "log/Log.h"
#include "log/Names.h"
#include "video/FrameSteps.h"


using namespace prsdk;

namespace {

void logHandler(const char* name) {
    logMessage("----------------------");
    logMessage("[%s]", name);
}

void logNoError(const char* handler) {
    logMessage("    %s: [%s] (%d)", handler, asyncResultName(aiNoError), int(aiNoError));
}

const VideoInfo& videoOf(const std::shared_ptr<const VideoInfo>& video) {
    if (!video) throw std::logic_error("m_videoInfo is NULL");
    return *video;
}

}  // namespace

NorvikAsyncImporter::NorvikAsyncImporter(const imStdParms* stdParms) : m_session(stdParms) {
    logMessage("NorvikAsyncImporter::NorvikAsyncImporter()");
}

NorvikAsyncImporter::~NorvikAsyncImporter() {
    logMessage("NorvikAsyncImporter::~NorvikAsyncImporter()");
    destroyRequests();
}

int32_t NorvikAsyncImporter::openAndParse(const std::u16string& path, int32_t streamIndex, int32_t access) {
    const int32_t result = m_session.openAndParse(path, streamIndex, access);
    m_video = m_session.video();
    return result;
}

int32_t NorvikAsyncImporter::OnInitiateAsyncRead(const aiAsyncRequest& request) {
    std::lock_guard lock(m_requestMutex);
    logHandler("OnInitiateAsyncRead");
    const imSourceVideoRec& record = request.inSourceRec;
    const uint32_t index = frameTimeToIndex(videoOf(m_video), record.inFrameTime);
    logMessage("REQUEST: Adding: %d, frameTime: %lld", int(index), static_cast<long long>(record.inFrameTime));
    addRequest(record, DecodePool::Place::back);
    logNoError("OnInitiateAsyncRead");
    return aiNoError;
}

int32_t NorvikAsyncImporter::OnGetFrame(imSourceVideoRec& request) {
    std::unique_lock lock(m_requestMutex);
    logHandler("OnGetFrame");
    const uint32_t index = frameTimeToIndex(videoOf(m_video), request.inFrameTime);
    if (!request.outFrame) throw std::logic_error("imSourceVideoRec.outFrame is NULL");
    const auto time = static_cast<long long>(request.inFrameTime);
    logMessage("REQUEST: Requesting: %d, frameTime: %lld", int(index), time);
    auto it = m_requests.begin();
    while (it != m_requests.end() && (*it)->frameIndex != index) ++it;
    if (it == m_requests.end()) {
        logMessage("REQUEST: ERROR: Frame not found: %d, frameTime: %lld", int(index), time);
        it = addRequest(request, DecodePool::Place::front);  // the host waits for it now
    } else {
        m_pool.hurry((*it)->ticket);
    }
    std::unique_ptr<AsyncFrameRequest> taken = std::move(*it);
    m_requests.erase(it);

    lock.unlock();  // announcements and other collections go on while this one waits
    std::future<int32_t> future = std::move(taken->result);
    if (!future.valid()) throw std::future_error(std::future_errc::no_state);
    const int32_t value = future.get();  // throws only for a task that never ran
    future = {};
    m_pool.settle(taken->ticket);  // collected: the next announced frame may start
    if (taken->error) std::rethrow_exception(taken->error);  // `taken` goes with it
    if (value == imNoErr) *request.outFrame = taken->job.hostFrame.release();

    lock.lock();
    int32_t result = aiUnknownError;
    if (value == imNoErr) {
        logMessage("Decoded %d: %s", int(index), pixelFormatName(taken->job.frameFormats.at(0).inPixelFormat));
        result = aiNoError;
    }
    logMessage("    %s: [%s] (%d), [%s] (%d)", "OnGetFrame", asyncResultName(result), result, resultName(value), value);
    taken.reset();  // disposes of a host frame a failed task made
    return result;
}

int32_t NorvikAsyncImporter::OnFlush() {
    std::lock_guard lock(m_requestMutex);
    logHandler("OnFlush");
    videoOf(m_video);
    destroyRequests();
    logNoError("OnFlush");
    return aiNoError;
}

NorvikAsyncImporter::RequestList::iterator NorvikAsyncImporter::addRequest(const imSourceVideoRec& record,
                                                                         DecodePool::Place place) {
    const uint32_t index = frameTimeToIndex(videoOf(m_video), record.inFrameTime);
    m_requests.push_back(std::make_unique<AsyncFrameRequest>(this, FrameJob(record, frameSourcesOf(m_session)), index));
    const auto it = std::prev(m_requests.end());
    AsyncFrameRequest& request = **it;
    DecodePool::Work task([&request] {
        try {
            return decodeTask(&request);
        } catch (...) {
            request.error = std::current_exception();
            return int32_t(imUnknownError);
        }
    });
    request.result = task.get_future();
    try {
        request.ticket = m_pool.submit(std::move(task), place);
    } catch (...) {
        m_requests.erase(it);  // the task never queued: its future is ready without a value
        throw;
    }
    return it;
}

int32_t NorvikAsyncImporter::decodeTask(AsyncFrameRequest* request) {
    NorvikAsyncImporter& importer = *request->importer;
    const VideoInfo& video = *importer.m_video;
    FrameJob& job = request->job;
    int32_t result = selectFrame(video, job);
    if (result != imNoErr) return result;
    {
        std::lock_guard lock(importer.m_readMutex);
        result = readFrame(video, job);
    }
    if (result != imNoErr) return result;
    std::lock_guard lock(importer.m_decodeMutex);
    return importer.m_decoder.decode(importer.m_video, job);
}

void NorvikAsyncImporter::destroyRequests() {
    // Withdrawn first, all of them, so that no worker starts a task while an
    // older one is waited for.
    for (const auto& request : m_requests) m_pool.withdraw(request->ticket);
    while (!m_requests.empty()) {
        const DecodePool::Ticket ticket = m_requests.front()->ticket;
        m_requests.pop_front();  // waits for a task that runs
        m_pool.settle(ticket);
    }
}
