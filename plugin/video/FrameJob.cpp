#include "video/FrameJob.h"

#include "importer/NorvikImporter.h"

using namespace prsdk;

FrameSources frameSourcesOf(NorvikImporter& session) {
    HostSuites& suites = session.suites();
    FrameSources sources;
    sources.file = &session.file();
    sources.ppix = suites.ppix.get<PrSDKPPixSuite>();
    sources.ppixCreator = suites.ppixCreator.get<PrSDKPPixCreatorSuite>();
    return sources;
}

FrameJob::FrameJob(const imSourceVideoRec& request, const FrameSources& frameSources)
    : frameTime(request.inFrameTime), hostFrame(frameSources.ppix), sources(frameSources) {
    const imFrameFormat* formats = request.inFrameFormats;
    const int32_t count = request.inNumFrameFormats;
    if (formats && count > 0) frameFormats.assign(formats, formats + count);
}
