#include "importer/ClipInfo.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>

#include "log/Log.h"
#include "log/Names.h"
#include "log/Text.h"

using namespace prsdk;

namespace {

const VideoInfo& videoOf(const NorvikImporter& session) {
    if (!session.video()) throw std::logic_error("m_videoInfo is NULL");
    return *session.video();
}

void describeVideo(const VideoInfo& video, imFileInfoRec8& info) {
    const bool alpha = video.subTypeInfo.hasAlpha();
    info.vidInfo.imageWidth = static_cast<int32>(video.compressedFormat.width);
    info.vidInfo.imageHeight = static_cast<int32>(video.compressedFormat.height);
    info.vidInfo.depth = alpha ? 32 : 24;
    info.vidInfo.subType = video.subTypeInfo.subType;
    info.vidInfo.fieldType = static_cast<int8>(video.compressedFormat.fieldType & 0xFF);
    info.vidInfo.alphaType = alpha ? alphaStraight : alphaNone;
    info.vidInfo.pixelAspectNum = 1;
    info.vidInfo.pixelAspectDen = 1;
    info.vidInfo.supportsAsyncIO = 1;
    info.vidInfo.supportsGetSourceVideo = 1;
    info.vidInfo.hasPulldown = 0;
    info.vidScale = video.fpsNumerator;
    info.vidSampleSize = video.fpsDenominator;
    info.vidDuration = static_cast<int32>(static_cast<uint32_t>(video.numFrames * video.fpsDenominator));
}

void logAudio(const AudioInfo& audio) {
    const WaveFormat& w = audio.waveFormat;
    if (!audio.valid) logMessage("Audio is INVALID! Dummy:");
    logMessage("Audio info:");
    logMessage("    wFormatTag:      %d", w.wFormatTag);
    logMessage("    format guid:     %s", guidToText(audio.formatGuid()).c_str());
    logMessage("    nChannels:       %d", w.nChannels);
    logMessage("    nSamplesPerSec:  %d", static_cast<int>(w.nSamplesPerSec));
    logMessage("    wBitsPerSample:  %d", w.wBitsPerSample);
    logMessage("    dwChannelMask:   0x%x", w.dwChannelMask);
    logMessage("    numSampleFrames: %d", static_cast<int>(audio.numSampleFrames));
}

void describeAudio(const AudioInfo& audio, imFileInfoRec8& info) {
    logAudio(audio);
    const WaveFormat& w = audio.waveFormat;
    if (audio.valid) {
        info.audInfo.numChannels = w.nChannels;
        info.audInfo.sampleRate = static_cast<float>(w.nSamplesPerSec);
        info.audInfo.sampleType = static_cast<int32>(audio.sampleType);
        info.audDuration = audio.numSampleFrames;
        return;
    }
    // A placeholder, so that the host still sees the stream.
    const int32 channels = std::min<int32>(w.nChannels, 32);
    info.audInfo.numChannels = channels == 0 ? 1 : channels;
    info.audInfo.sampleRate = static_cast<float>(std::clamp<uint32_t>(w.nSamplesPerSec, 1000, 192000));
    info.audInfo.sampleType = kPrAudioSampleType_Other;
    info.audDuration = 0;
}

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof(text), pattern, value);
    return text;
}

std::string mebibytes(uint64_t bytes) { return format("%.2f MiB", static_cast<double>(bytes) / 1048576.0); }

std::string videoBlock(const VideoInfo& video) {
    const uint32_t handler = video.stream->header.fccHandler;
    return "Size: " + mebibytes(video.stream->totalBytes()) + "\n" + "Codec: '" + fourccToText(handler, false) + "', " +
           toUtf8(video.subTypeInfo.subTypeName) + "\n" +
           "Frame size: " + std::to_string(video.compressedFormat.width) + " x " +
           std::to_string(video.compressedFormat.height) + "\n" + "Frame count: " + std::to_string(video.numFrames) +
           "\n" + "Frame rate: " + format("%.3f", static_cast<double>(video.fpsNumerator) / video.fpsDenominator) +
           "\n";
}

std::string audioBlock(const AviStream& stream) {
    AudioInfo audio;
    audio.init(stream);
    if (!audio.valid) return "Invalid audio stream\n";
    return "Size: " + mebibytes(stream.totalBytes()) + "\n" +
           "Channels: " + std::to_string(audio.waveFormat.nChannels) + "\n" +
           "Rate: " + std::to_string(audio.waveFormat.nSamplesPerSec) + " Hz\n" +
           "Type: " + sampleTypeName(audio.sampleType) + "\n";
}

}  // namespace

prMALError OnGetInfo8(NorvikImporter& session, imFileInfoRec8* info) {
    logMessage("fileInfoRec8P->streamIdx: %d", info->streamIdx);
    const prMALError r = session.parse(info->streamIdx);
    if (r != imNoErr && r != imIterateStreams && r != imBadStreamIndex) return r;

    session.setImporterID(info->vidInfo.importerID);
    session.suites();
    info->accessModes = kSeparateSequentialAudio;
    info->hasDataRate = 1;
    const std::shared_ptr<const VideoInfo>& video = session.video();
    const std::shared_ptr<const AudioInfo>& audio = session.audio();
    info->hasVideo = video ? 1 : 0;
    if (video) describeVideo(*video, *info);
    info->hasAudio = audio ? 1 : 0;
    if (audio) describeAudio(*audio, *info);
    return r;
}

prMALError OnAnalysis(const NorvikImporter& session, imAnalysisRec* analysis) {
    logMessage("buffersize: %d", analysis->buffersize);
    const VideoInfo& video = videoOf(session);
    std::string text = "\nVideo stream:\n" + videoBlock(video) + "\n";
    const FourCC audioType = makeFourCC("auds");
    const AviParser& parser = session.description()->parser;
    for (size_t position : parser.streamsOfType(audioType))
        text += "Audio stream " + std::to_string(position) + ":\n" + audioBlock(*parser.streams.at(position)) + "\n";
    if (analysis->buffer && analysis->buffersize > 0)
        std::snprintf(analysis->buffer, static_cast<size_t>(analysis->buffersize), "%s", text.c_str());
    return imNoErr;
}

prMALError OnDataRateAnalysis(const NorvikImporter& session, imDataRateAnalysisRec* dataRate) {
    logMessage("buffersize: %d", dataRate->buffersize);
    const VideoInfo& video = videoOf(session);
    // The host's field is 32-bit: a clip with more samples than it can count
    // reports as many as fit.
    constexpr int64_t kMaxSamples = std::numeric_limits<int32>::max() / sizeof(imDataSample);
    const int64_t samples = std::min<int64_t>(video.numFrames, kMaxSamples);
    if (!dataRate->buffer) {
        dataRate->buffersize = static_cast<int32>(samples * static_cast<int64_t>(sizeof(imDataSample)));
        return imNoErr;
    }
    // Never write past the buffer the host says it has.
    const int64_t room = std::max<int32>(dataRate->buffersize, 0) / static_cast<int64_t>(sizeof(imDataSample));
    const auto& frames = video.stream->frames();
    for (int64_t i = 0; i < std::min(samples, room); ++i) {
        imDataSample sample;
        sample.sampledur = static_cast<uint32>(video.fpsDenominator) | 0x80000000u;
        sample.samplesize = frames.at(static_cast<size_t>(i)).size;
        std::memcpy(dataRate->buffer + i * static_cast<int64_t>(sizeof(imDataSample)), &sample, sizeof(sample));
    }
    dataRate->baserate = 0;
    return imNoErr;
}

prMALError OnGetIndPixelFormat(const NorvikImporter& session, uint32 index, imIndPixelFormatRec* rec) {
    const VideoInfo& video = videoOf(session);
    if (index >= video.decodeFormats.size()) return imBadFormatIndex;
    const uint32_t format = video.decodeFormats[index].pixelFormat;
    rec->outPixelFormat = format;
    logMessage("Adding pixel format: %s [%s]", pixelFormatName(format), fourccToText(format, false).c_str());
    return imNoErr;
}
