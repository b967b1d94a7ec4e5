#include "norvikhost/FrameSession.h"

#include <limits>

#include "norvikhost/ClipDriver.h"
#include "norvikhost/HostError.h"
#include "norvikhost/Text.h"

namespace norvikhost {

using namespace prsdk;

namespace {

std::string answered(const char* selector, std::int32_t result) {
    return std::string(selector) + " answered " + std::to_string(result) + " (" + resultName(result) + ")";
}

}  // namespace

FrameSession::FrameSession(ImporterDriver& driver, const std::filesystem::path& clip) : m_driver(driver) {
    open(clip);
    try {
        describe();
    } catch (const HostError&) {
        close();  // what went wrong is the describe failure; the close answers add nothing
        throw;
    }
}

FrameSession::~FrameSession() {
    try {
        close();
    } catch (const HostError&) {
        // A destructor cannot report; close() explicitly to see what went wrong.
    }
}

void FrameSession::open(const std::filesystem::path& clip) {
    const std::u16string path = clip.u16string();
    imFileOpenRec8 record{};
    record.fileinfo.filepath = path.c_str();
    record.inReadWrite = kReadOnly;
    const std::int32_t result = m_driver.call(imOpenFile8, &m_fileRef, &record);
    if (result != imNoErr) throw HostError("cannot open '" + clip.string() + "': " + answered("imOpenFile8", result));
    m_privateData = record.privatedata;
    m_open = true;
}

void FrameSession::describe() {
    imFileInfoRec8 info{};
    info.privatedata = m_privateData;
    info.streamIdx = 0;
    info.vidInfo.importerID = kHostImporterId;
    const std::int32_t result = m_driver.call(imGetInfo8, nullptr, &info);
    if (result != imNoErr && result != imIterateStreams) throw HostError(answered("imGetInfo8", result));
    if (!info.hasVideo) throw HostError("the clip has no video");
    m_video.width = info.vidInfo.imageWidth;
    m_video.height = info.vidInfo.imageHeight;
    m_video.subType = info.vidInfo.subType;
    m_video.rateNumerator = info.vidScale;
    m_video.rateDenominator = info.vidSampleSize;
    if (m_video.rateNumerator <= 0 || m_video.rateDenominator <= 0)
        throw HostError("the module gave the frame rate " + std::to_string(m_video.rateNumerator) + "/" +
                        std::to_string(m_video.rateDenominator));
    m_video.frameCount = std::int64_t(std::uint32_t(info.vidDuration)) / m_video.rateDenominator;
    for (std::int32_t index = 0; index < kMaxPixelFormats; ++index) {
        imIndPixelFormatRec format{};
        format.privatedata = m_privateData;
        if (m_driver.call(imGetIndPixelFormat, reinterpret_cast<void*>(std::intptr_t(index)), &format) != imNoErr)
            break;
        m_video.pixelFormats.push_back(format.outPixelFormat);
    }
}

PrTime FrameSession::ticksPerFrame() const {
    const __int128 ticks = __int128(m_driver.host().ticksPerSecond()) * m_video.rateDenominator / m_video.rateNumerator;
    return ticks > std::numeric_limits<PrTime>::max() ? std::numeric_limits<PrTime>::max() : PrTime(ticks);
}

std::vector<std::string> FrameSession::close() {
    std::vector<std::string> problems;
    if (!m_open) return problems;
    m_open = false;
    const std::int32_t quiet = m_driver.call(imQuietFile, &m_fileRef, m_privateData);
    if (quiet != imNoErr) problems.push_back(answered("imQuietFile", quiet));
    const std::int32_t closed = m_driver.call(imCloseFile, &m_fileRef, m_privateData);
    if (closed != imNoErr) problems.push_back(answered("imCloseFile", closed));
    for (std::string& problem : m_driver.host().frames().checkAtClose()) problems.push_back(std::move(problem));
    return problems;
}

}  // namespace norvikhost
