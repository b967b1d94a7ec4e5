#include "norvikhost/AsyncFrameRequester.h"

#include <algorithm>

#include "norvikhost/HostError.h"
#include "norvikhost/Text.h"

namespace norvikhost {

using namespace prsdk;

AsyncFrameRequester::AsyncFrameRequester(FrameSession& session, AsyncImporter& importer, PrPixelFormat format,
                                         int ahead)
    : m_session(session), m_importer(importer), m_format(format), m_ahead(std::max(ahead, 0)) {}

void AsyncFrameRequester::announceUpTo(std::int64_t last) {
    const ClipVideo& video = m_session.video();
    last = std::min(last, video.frameCount - 1);
    for (; m_announced <= last; ++m_announced) {
        const std::int32_t result =
            m_importer.announce(m_session.frameTime(m_announced), {imFrameFormat{video.width, video.height, m_format}});
        if (result != aiNoError)
            throw HostError("aiInitiateAsyncRead for frame " + std::to_string(m_announced) + " answered " +
                            describeResult(result));
    }
}

FrameAnswer AsyncFrameRequester::request(std::int64_t index) {
    if (index != m_next) {  // the playhead jumped: what is announced is not wanted any more
        if (m_announced > m_next) {
            if (const std::int32_t result = m_importer.flush())
                throw HostError("aiFlush answered " + describeResult(result));
            ++m_flushes;
        }
        m_announced = index;
    }
    m_announced = std::max(m_announced, index);
    announceUpTo(index + m_ahead);
    m_next = index + 1;
    const ClipVideo& video = m_session.video();
    return m_importer.collect(m_session.frameTime(index), {imFrameFormat{video.width, video.height, m_format}});
}

std::string AsyncFrameRequester::describeResult(std::int32_t result) const {
    return std::to_string(result) + " (" + asyncResultName(result) + ")";
}

}  // namespace norvikhost
