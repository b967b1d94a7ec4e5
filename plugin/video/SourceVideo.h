// imGetSourceVideo: one decoded frame of the session's video into a new host
// frame, in the first pixel format the host asks for.
#pragma once

#include "importer/NorvikImporter.h"
#include "prsdk/PrSDK.h"
#include "video/FrameDecoder.h"

// Runs the frame steps on a job filled from the request and the session, with
// the session's decoder; on success hands the host frame over through outFrame
// (written only then). The step's result otherwise, with the frame made on the
// way disposed of. Throws std::logic_error without video or outFrame, and
// std::runtime_error when the PPix suites cannot be had or the pixel format is
// not in the catalogue.
prsdk::prMALError OnGetSourceVideo(NorvikImporter& session, FrameDecoder& decoder, prsdk::imSourceVideoRec* request);
