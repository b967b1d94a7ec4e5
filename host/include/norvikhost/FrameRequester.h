// Asking a module for frames. A FrameRequester asks for one frame at a time and
// hands back what the module answered; SourceVideoRequester asks through
// imGetSourceVideo. Other ways of asking (the asynchronous importer) implement the
// same interface, so everything that consumes frames (norvik-import frames and
// bench, the tests) works with any of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "norvikhost/FrameSession.h"
#include "prsdk/PrSDK.h"

namespace norvikhost {

// A frame the host received from the module: the host disposes of it when the
// holder is destroyed. Move-only.
class ReceivedFrame {
public:
    ReceivedFrame() = default;
    ReceivedFrame(FrameStore& store, prsdk::PPixHand frame) : m_store(&store), m_frame(frame) {}
    ~ReceivedFrame() { reset(); }
    ReceivedFrame(ReceivedFrame&& other) noexcept;
    ReceivedFrame& operator=(ReceivedFrame&& other) noexcept;
    ReceivedFrame(const ReceivedFrame&) = delete;
    ReceivedFrame& operator=(const ReceivedFrame&) = delete;

    void reset();
    prsdk::PPixHand get() const { return m_frame; }
    explicit operator bool() const { return m_frame != nullptr; }
    // The picture rows top to bottom without padding (FrameStore::readTopRowFirst).
    std::vector<std::uint8_t> picture() const;

private:
    FrameStore* m_store = nullptr;
    prsdk::PPixHand m_frame = nullptr;
};

struct FrameAnswer {
    std::int32_t result = 0;  // the module's answer (prMALError)
    ReceivedFrame frame;      // set only when result is imNoErr
};

// What the host makes of a module's answer to a frame request (imGetSourceVideo
// or aiGetFrame, named by `selector`) and the frame it wrote: on 0 the frame is
// handed over to the host. Throws HostError when the module breaks the protocol:
// a frame written with a failure, or success without a live host frame.
FrameAnswer receiveFrame(FrameStore& store, const char* selector, std::int32_t result, prsdk::PPixHand frame);

class FrameRequester {
public:
    virtual ~FrameRequester() = default;
    // Frame `index` of the clip, asked for at its start time.
    virtual FrameAnswer request(std::int64_t index) = 0;
    // A result of request() for people: "28 (imFrameNotFound)".
    virtual std::string describeResult(std::int32_t result) const;
};

// imGetSourceVideo with one frame format: the clip's size in the given pixel format.
class SourceVideoRequester : public FrameRequester {
public:
    SourceVideoRequester(FrameSession& session, prsdk::PrPixelFormat format) : m_session(session), m_format(format) {}

    FrameAnswer request(std::int64_t index) override;
    // imGetSourceVideo at any time with any list of frame formats (receiveFrame).
    FrameAnswer requestAt(prsdk::PrTime time, const std::vector<prsdk::imFrameFormat>& formats);

private:
    FrameSession& m_session;
    prsdk::PrPixelFormat m_format;
};

}  // namespace norvikhost
