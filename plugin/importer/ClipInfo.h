// What the host learns about a clip before it asks for frames: the streams and
// their properties, a properties text, per-frame data sizes and the pixel
// formats a frame can be delivered in.
#pragma once

#include "importer/NorvikImporter.h"
#include "prsdk/PrSDK.h"

// Parses the clip again (a new description) and tells the host what it holds.
prsdk::prMALError OnGetInfo8(NorvikImporter& session, prsdk::imFileInfoRec8* info);
// The next three throw std::logic_error("m_videoInfo is NULL") without video.
prsdk::prMALError OnAnalysis(const NorvikImporter& session, prsdk::imAnalysisRec* analysis);
prsdk::prMALError OnDataRateAnalysis(const NorvikImporter& session, prsdk::imDataRateAnalysisRec* dataRate);
prsdk::prMALError OnGetIndPixelFormat(const NorvikImporter& session, prsdk::uint32 index,
                                      prsdk::imIndPixelFormatRec* rec);
