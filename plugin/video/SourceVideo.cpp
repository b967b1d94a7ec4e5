#include "video/SourceVideo.h"

#include <stdexcept>

#include "log/Log.h"
#include "video/FrameJob.h"
#include "video/FrameSteps.h"

using namespace prsdk;

prMALError onGetSourceVideo(NorvikImporter& session, imSourceVideoRec* request) {
    PPixHand* const outFrame = request->outFrame;
    logMessage("outFrame: %p", static_cast<void*>(outFrame));
    if (!session.m_videoInfo) throw std::logic_error("m_videoInfo is NULL");
    if (!outFrame) throw std::logic_error("imSourceVideoRec.outFrame is NULL");
    VideoInfo& video = *session.m_videoInfo;
    FrameJob job(*request, frameSourcesOf(session));
    int32_t result = selectFrame(video, job);
    if (result == imNoErr) result = readFrame(video, job);
    if (result == imNoErr) result = decodeFrame(video, job);
    if (result == imNoErr) *outFrame = job.hostFrame.release();
    return result;
}
