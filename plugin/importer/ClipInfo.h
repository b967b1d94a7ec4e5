// What the host learns about a clip before it asks for frames: the streams and
// their properties, a properties text, per-frame data sizes and the pixel
// formats a frame can be delivered in.
#pragma once

#include "importer/NorvikImporter.h"
#include "prsdk/PrSDK.h"

prsdk::prMALError onGetInfo8(NorvikImporter& session, prsdk::imFileInfoRec8* info);
prsdk::prMALError onAnalysis(NorvikImporter& session, prsdk::imAnalysisRec* analysis);
prsdk::prMALError onDataRateAnalysis(NorvikImporter& session, prsdk::imDataRateAnalysisRec* dataRate);
prsdk::prMALError onGetIndPixelFormat(NorvikImporter& session, prsdk::uint32 index, prsdk::imIndPixelFormatRec* rec);
