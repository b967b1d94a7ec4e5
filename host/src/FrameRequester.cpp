#include "norvikhost/FrameRequester.h"

#include <utility>

#include "norvikhost/HostError.h"
#include "norvikhost/Text.h"

namespace norvikhost {

using namespace prsdk;

ReceivedFrame::ReceivedFrame(ReceivedFrame&& other) noexcept
    : m_store(other.m_store), m_frame(std::exchange(other.m_frame, nullptr)) {}

ReceivedFrame& ReceivedFrame::operator=(ReceivedFrame&& other) noexcept {
    if (this != &other) {
        reset();
        m_store = other.m_store;
        m_frame = std::exchange(other.m_frame, nullptr);
    }
    return *this;
}

void ReceivedFrame::reset() {
    if (m_frame) m_store->dispose(std::exchange(m_frame, nullptr));
}

std::vector<std::uint8_t> ReceivedFrame::picture() const { return m_store->readTopRowFirst(m_frame); }

FrameAnswer receiveFrame(FrameStore& store, const char* selector, std::int32_t result, PPixHand frame) {
    FrameAnswer answer;
    answer.result = result;
    if (result != 0) {
        if (frame)
            throw HostError(std::string(selector) + " wrote outFrame although it answered " + std::to_string(result));
        return answer;
    }
    if (!store.handOver(frame)) throw HostError(std::string(selector) + " answered 0 without a live host frame");
    answer.frame = ReceivedFrame(store, frame);
    return answer;
}

std::string FrameRequester::describeResult(std::int32_t result) const {
    return std::to_string(result) + " (" + resultName(result) + ")";
}

FrameAnswer SourceVideoRequester::request(std::int64_t index) {
    const ClipVideo& video = m_session.video();
    return requestAt(m_session.frameTime(index), {imFrameFormat{video.width, video.height, m_format}});
}

FrameAnswer SourceVideoRequester::requestAt(PrTime time, const std::vector<imFrameFormat>& formats) {
    std::vector<imFrameFormat> offered = formats;  // the module may write into the list
    PPixHand out = nullptr;
    imSourceVideoRec record{};
    record.inPrivateData = m_session.privateData();
    record.inFrameTime = time;
    record.inFrameFormats = offered.empty() ? nullptr : offered.data();
    record.inNumFrameFormats = std::int32_t(offered.size());
    record.outFrame = &out;
    const std::int32_t result = m_session.driver().call(imGetSourceVideo, nullptr, &record);
    return receiveFrame(m_session.host().frames(), "imGetSourceVideo", result, out);
}

}  // namespace norvikhost
