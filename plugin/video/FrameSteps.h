// The first two of the three steps that turn a frame request into a decoded host
// frame, and the time-to-frame rule they share with the asynchronous importer.
// They run in the order selectFrame, readFrame, FrameDecoder::decode, each only
// when the one before answered 0; each answers 0 or a host result code and logs
// why it failed.
//
// The steps read only the (const) stream description and work on the job they
// are given, reaching the file and the host's suites through the job (FrameJob.h).
// Concurrency: selectFrame needs no lock; readFrame uses the job's file, so a
// caller that runs jobs on several threads serialises the readFrame calls on one
// file (and the decodes on one FrameDecoder).
#pragma once

#include <cstdint>

#include "streams/VideoInfo.h"
#include "video/FrameJob.h"

// The answer of frameTimeToIndex for a time that names no frame: a negative
// time, a time whose quotient does not fit in 32 bits, or a stream whose rate
// gives no positive whole number of ticks per frame.
constexpr uint32_t kNoFrameIndex = UINT32_MAX;

// The frame that holds `frameTime` (host ticks): the time divided by the ticks
// per frame (fpsDenominator x ticksPerSecond / fpsNumerator), both divisions
// truncating, or kNoFrameIndex. Never divides by zero nor overflows.
uint32_t frameTimeToIndex(const VideoInfo& video, int64_t frameTime);

// Chooses the frame and checks the first frame format against the clip size (a
// width or height of 0 takes the clip's). 0, 28 (imFrameNotFound: outside the
// clip) or 5 (imOtherErr: no format, or another size).
int32_t selectFrame(const VideoInfo& video, FrameJob& job);

// Reads the chosen frame's compressed bytes, or those of the nearest non-empty
// frame before it (else after it) when it is empty. 0, 28 (every frame empty)
// or 33 (imFileReadFailed: the data lies past the end of the file, or the seek
// or read fails). Nothing is allocated for data the file cannot hold.
int32_t readFrame(const VideoInfo& video, FrameJob& job);
