// A host frame (PPix) the importer created, held until it is handed to the host.
// The holder disposes of the frame with the PPix Suite's Dispose when it is
// destroyed or reset while still holding one; release() hands the frame over.
//
// Move-only; not thread-safe (one job uses it at a time).
#pragma once

#include "prsdk/PrSDK.h"

class HostFrame {
public:
    // Holds nothing; `ppix` (the host's, not owned) disposes of what it will hold.
    explicit HostFrame(const prsdk::PrSDKPPixSuite* ppix = nullptr) : m_ppix(ppix) {}
    ~HostFrame() { reset(); }
    HostFrame(HostFrame&& other) noexcept;
    HostFrame& operator=(HostFrame&& other) noexcept;
    HostFrame(const HostFrame&) = delete;
    HostFrame& operator=(const HostFrame&) = delete;

    // Takes a frame the host just created; disposes of one held before.
    void adopt(prsdk::PPixHand frame);
    // Disposes of the held frame, if any; never throws (a failing Dispose is logged).
    void reset();
    // Hands the frame over: the holder forgets it without disposing of it.
    prsdk::PPixHand release();

    prsdk::PPixHand get() const { return m_frame; }
    const prsdk::PrSDKPPixSuite* suite() const { return m_ppix; }

private:
    const prsdk::PrSDKPPixSuite* m_ppix;
    prsdk::PPixHand m_frame = nullptr;
};
