#include "video/FrameDecoder.h"

#include <algorithm>
#include <exception>
#include <string>

#include "log/Log.h"
#include "log/Names.h"

using namespace prsdk;

namespace {

std::string typeName(uint32_t type) { return codecString(kCodecStringType, static_cast<int32_t>(type)); }
std::string colorSpaceName(uint32_t space) { return codecString(kCodecStringColorSpace, static_cast<int32_t>(space)); }

void logBegin(const CodecFormat& stream, const FormatInfo& format) {
    logMessage("Starting decompression: %s [%s]%s -> %s [%s] (pr: %s [%s])%s%s", typeName(stream.type).c_str(),
               colorSpaceName(stream.colorSpace).c_str(), stream.range == 2 ? " [FULL]" : " [LIMITED]",
               typeName(format.nrvType).c_str(), colorSpaceName(format.colorSpace).c_str(),
               pixelFormatName(format.pixelFormat), fourccToText(format.pixelFormat, false).c_str(),
               format.isTopLeft() ? "" : " [flipped]", format.isAdobe16u() ? " [0-32768]" : "");
}

// Creates the job's host frame and describes its memory as the codec's one plane.
int32_t makeHostFrame(const VideoInfo& video, FrameJob& job, const imFrameFormat& format, CodecPlane& plane) {
    const prRect bounds{0, 0, format.inFrameWidth, format.inFrameHeight};
    PPixHand frame = nullptr;
    const int32_t created =
        job.sources.ppixCreator->CreatePPix(&frame, PrPPixBufferAccess_WriteOnly, format.inPixelFormat, &bounds);
    if (created != 0) {
        logMessage("ERROR: CreatePPix() failed: %d", created);
        return imOtherErr;
    }
    job.hostFrame.adopt(frame);
    char* pixels = nullptr;
    int32_t rowBytes = 0;
    const int32_t gotPixels = job.sources.ppix->GetPixels(frame, PrPPixBufferAccess_WriteOnly, &pixels);
    const int32_t gotRowBytes = job.sources.ppix->GetRowBytes(frame, &rowBytes);
    if (gotPixels != 0 || gotRowBytes != 0 || !pixels || rowBytes <= 0) {
        logMessage("ERROR: GetPixels() / GetRowBytes() failed: %d / %d", gotPixels, gotRowBytes);
        return imOtherErr;
    }
    // A frame too large to describe is described smaller; the codec then refuses it.
    const uint64_t size = uint64_t(uint32_t(rowBytes)) * video.compressedFormat.height;
    plane = CodecPlane{reinterpret_cast<uintptr_t>(pixels), static_cast<uint32_t>(rowBytes),
                       static_cast<uint32_t>(std::min<uint64_t>(size, UINT32_MAX))};
    return imNoErr;
}

}  // namespace

FrameDecoder::FrameDecoder() : m_pixelFormat(PrPixelFormat_Invalid) {}

FrameDecoder::~FrameDecoder() = default;

void FrameDecoder::follow(const std::shared_ptr<const VideoInfo>& video) {
    if (m_video.lock() == video) return;
    // Another description: what was begun belongs to the old one.
    m_codec.reset();
    m_decompressing = false;
    m_pixelFormat = PrPixelFormat_Invalid;
    m_video = video;
}

void FrameDecoder::end() {
    logMessage("Pixel format changed, ending decompression");
    try {
        m_codec->decompressEnd();
    } catch (const std::exception& e) {
        logMessage("Internal error: decompressEnd() failed: %s", e.what());
    }
    m_decompressing = false;
}

int32_t FrameDecoder::begin(const VideoInfo& video, const FormatInfo& format) {
    logBegin(video.compressedFormat, format);
    if (!m_codec) m_codec = std::make_unique<NorvikCodec>();
    m_decodeFormat = formatInfoToCodecFormat(format);
    // The codec describes the stream again, as it did for the description; the
    // description keeps what it was told then.
    CodecFormat filled = emptyCodecFormat();
    try {
        m_codec->decompressBegin(video.compressedData(), m_decodeFormat, filled);
    } catch (const std::exception& e) {
        logMessage("Decompress begin failed: %s", e.what());
        return imBadCompression;
    }
    m_decompressing = true;
    m_pixelFormat = format.pixelFormat;
    return imNoErr;
}

int32_t FrameDecoder::decode(const std::shared_ptr<const VideoInfo>& video, FrameJob& job) {
    follow(video);
    const imFrameFormat format = job.frameFormats.at(0);
    const FormatInfo& info = GetFormatInfo_by_pixelFormat(format.inPixelFormat);
    if (m_decompressing && format.inPixelFormat != m_pixelFormat) end();
    if (!m_decompressing) {
        if (const int32_t result = begin(*video, info)) return result;
    }
    CodecPlane planes[4] = {};
    if (const int32_t result = makeHostFrame(*video, job, format, planes[0])) return result;
    try {
        m_codec->decompress(CodecBuffer{job.compressedData.data(), job.frameSize}, planes);
    } catch (const std::exception& e) {
        logMessage("Decompress failed: %s", e.what());
        return imBadCompression;
    }
    return imNoErr;
}
