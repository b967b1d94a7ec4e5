#include "video/SourceVideo.h"

#include <stdexcept>

#include "log/Log.h"
#include "video/FrameJob.h"
#include "video/FrameSteps.h"

using namespace prsdk;

prMALError OnGetSourceVideo(NorvikImporter& session, FrameDecoder& decoder, imSourceVideoRec* request) {
    PPixHand* const outFrame = request->outFrame;
    logMessage("outFrame: %p", static_cast<void*>(outFrame));
    const std::shared_ptr<const VideoInfo> video = session.video();
    if (!video) throw std::logic_error("m_videoInfo is NULL");
    if (!outFrame) throw std::logic_error("imSourceVideoRec.outFrame is NULL");
    FrameJob job(*request, frameSourcesOf(session));
    int32_t result = selectFrame(*video, job);
    if (result == imNoErr) result = readFrame(*video, job);
    if (result == imNoErr) result = decoder.decode(video, job);
    if (result == imNoErr) *outFrame = job.hostFrame.release();
    return result;
}
