#include "streams/AudioInfo.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "log/Log.h"
#include "prsdk/PrValues.h"

using namespace prsdk;

namespace {

constexpr uint8_t kWaveGuidTail[8] = {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71};

Guid waveSubFormat(uint32_t formatCode) {
    Guid guid;
    guid.data1 = formatCode;
    guid.data3 = 0x0010;
    std::memcpy(guid.data4, kWaveGuidTail, sizeof(kWaveGuidTail));
    return guid;
}

constexpr uint32_t kFormatPcm = 1;
constexpr uint32_t kFormatFloat = 3;

uint32_t sampleTypeFor(uint32_t formatCode, uint16_t bits) {
    if (formatCode == kFormatFloat) return kPrAudioSampleType_32BitFloat;
    switch (bits) {
        case 8: return kPrAudioSampleType_8BitInt;
        case 16: return kPrAudioSampleType_16BitInt;
        case 24: return kPrAudioSampleType_24BitInt;
        default: return kPrAudioSampleType_32BitInt;
    }
}

}  // namespace

bool Guid::operator==(const Guid& other) const {
    return data1 == other.data1 && data2 == other.data2 && data3 == other.data3 &&
           std::memcmp(data4, other.data4, sizeof(data4)) == 0;
}

AudioInfo::AudioInfo() { logMessage("AudioInfo::AudioInfo()"); }

AudioInfo::~AudioInfo() { logMessage("AudioInfo::~AudioInfo()"); }

Guid AudioInfo::formatGuid() const {
    return waveFormat.wFormatTag == kWaveFormatExtensible ? waveFormat.SubFormat : waveSubFormat(waveFormat.wFormatTag);
}

int32_t AudioInfo::init(const AviStream& audioStream) {
    valid = false;
    stream = &audioStream;
    numSampleFrames = audioStream.header.length;
    if (audioStream.format.size() < 16) {
        logMessage("Avi audio stream format size is too small: %d", static_cast<int>(audioStream.format.size()));
        return imBadFile;
    }
    WaveFormat format{};
    std::memcpy(&format, audioStream.format.data(), std::min<size_t>(audioStream.format.size(), sizeof(format)));
    waveFormat = format;

    const Guid guid = formatGuid();
    if (!(guid == waveSubFormat(kFormatPcm)) && !(guid == waveSubFormat(kFormatFloat))) {
        logMessage("Avi unsupported audio stream format: %s", guidToText(guid).c_str());
        return imBadFile;
    }
    if (format.nChannels > 32) {
        logMessage("Avi too many audio channels: %d", format.nChannels);
        return imBadFile;
    }
    const uint16_t bits = format.wBitsPerSample;
    // Float samples are read as 32-bit floats; narrower float streams are refused
    // rather than misread.
    const bool floatSamples = guid.data1 == kFormatFloat;
    if ((bits != 8 && bits != 16 && bits != 24 && bits != 32) || (floatSamples && bits != 32)) {
        logMessage("Avi unsupported audio bits per sample: %d", bits);
        return imBadFile;
    }
    if (format.nBlockAlign != (bits / 8) * format.nChannels) {
        logMessage("Avi audio stream format error: nBlockAlign != nChannels * (wBitsPerSample / 8)");
        return imBadFile;
    }
    sampleType = sampleTypeFor(guid.data1, bits);
    valid = true;
    return imNoErr;
}

std::string guidToText(const Guid& g) {
    char text[40];
    std::snprintf(text, sizeof(text), "%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", g.data1, g.data2, g.data3,
                  g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4], g.data4[5], g.data4[6], g.data4[7]);
    return text;
}

const char* sampleTypeName(uint32_t sampleType) {
    switch (sampleType) {
        case kPrAudioSampleType_8BitInt: return "8 bit";
        case kPrAudioSampleType_16BitInt: return "16 bit";
        case kPrAudioSampleType_24BitInt: return "24 bit";
        case kPrAudioSampleType_32BitInt: return "32 bit";
        case kPrAudioSampleType_32BitFloat: return "32 bit float";
        default: return "Unknown sample type";
    }
}
