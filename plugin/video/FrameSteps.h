// The three steps that turn a frame request into a decoded host frame, and the
// time-to-frame rule they share with the asynchronous importer. They run in the
// order selectFrame, readFrame, decodeFrame, each only when the one before
// answered 0; each answers 0 or a host result code and logs why it failed.
//
// The steps work only on the stream description and the job they are given, and
// reach the file and the host's suites through the job (FrameJob.h).
// Concurrency: readFrame uses the job's file, decodeFrame the description's codec
// and decompression state; a caller that runs jobs on several threads serialises
// the readFrame calls on one file and the decodeFrame calls on one description.
// selectFrame only reads the description (its rate, frame count and frame size),
// which decodeFrame leaves unchanged, so it needs no lock beside them.
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
// truncating, or kNoFrameIndex. Never divides by zero.
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

// Begins the decompression into the first format's pixel format when none is
// begun for it (ending one begun for another format), creates the host frame
// and decodes into it. 0, 8 (imBadCompression: cannot begin, or a bad frame) or
// 5 (the host frame cannot be made). A pixel format outside the catalogue
// throws std::runtime_error. On failure the job may hold a host frame, which is
// disposed of with the job.
int32_t decodeFrame(VideoInfo& video, FrameJob& job);
