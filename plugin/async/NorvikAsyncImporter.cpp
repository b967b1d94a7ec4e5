#include "async/NorvikAsyncImporter.h"

#include <exception>
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
    addRequest(record);
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
        it = addRequest(request);
    }
    std::unique_ptr<AsyncFrameRequest> taken = std::move(*it);
    m_requests.erase(it);

    lock.unlock();  // announcements and other collections go on while this one waits
    std::future<int32_t> future = std::move(taken->result);
    if (!future.valid()) throw std::future_error(std::future_errc::no_state);
    const int32_t value = future.get();  // a task's exception leaves here; `taken` goes with it
    future = {};
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

NorvikAsyncImporter::RequestList::iterator NorvikAsyncImporter::addRequest(const imSourceVideoRec& record) {
    const uint32_t index = frameTimeToIndex(videoOf(m_video), record.inFrameTime);
    auto request = std::make_unique<AsyncFrameRequest>(this, FrameJob(record, frameSourcesOf(m_session)), index);
    request->decodeTurn = m_nextTurn;
    // The task starts before the request joins the list, so that a thread that
    // cannot be had (std::system_error) leaves no request without a future, and
    // its turn is taken only once it runs, so that no later task waits for it.
    request->result = std::async(std::launch::async, &NorvikAsyncImporter::decodeTask, request.get());
    ++m_nextTurn;
    m_requests.push_back(std::move(request));
    return std::prev(m_requests.end());
}

int32_t NorvikAsyncImporter::decodeTask(AsyncFrameRequest* request) {
    NorvikAsyncImporter& importer = *request->importer;
    const VideoInfo& video = *importer.m_video;
    FrameJob& job = request->job;
    int32_t result = imNoErr;
    std::exception_ptr error;
    try {
        result = selectFrame(video, job);
        if (result == imNoErr) {
            std::lock_guard lock(importer.m_readMutex);
            result = readFrame(video, job);
        }
    } catch (...) {
        error = std::current_exception();  // rethrown below, once the turn has come
    }
    // A task that failed still waits for its turn, to pass it on to the next.
    const DecodeOrder::Turn turn = importer.m_decodeOrder.waitFor(request->decodeTurn);
    if (error) std::rethrow_exception(error);
    if (result != imNoErr) return result;
    std::lock_guard lock(importer.m_decodeMutex);
    return importer.m_decoder.decode(importer.m_video, job);
}

void NorvikAsyncImporter::destroyRequests() {
    while (!m_requests.empty()) m_requests.pop_front();
}
