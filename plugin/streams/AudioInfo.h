// The description of one audio stream: its wave format, the host sample type
// that matches it and its length in sample frames. Only uncompressed audio is
// accepted: 8/16/24/32-bit PCM and IEEE float, at most 32 channels. A description
// whose init failed stays as an invalid placeholder.
//
// Built once while the clip is parsed (init), then held const and shared; it
// holds no reading position or buffer (the audio reader's cursor has those).
#pragma once

#include <cstdint>
#include <string>

#include "avi/AviStream.h"

struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    uint8_t data4[8] = {};
    bool operator==(const Guid& other) const;
};

// The 40-byte WAVEFORMATEXTENSIBLE record, little-endian, as laid out in the file.
#pragma pack(push, 1)
struct WaveFormat {
    uint16_t wFormatTag;
    uint16_t nChannels;
    uint32_t nSamplesPerSec;
    uint32_t nAvgBytesPerSec;
    uint16_t nBlockAlign;
    uint16_t wBitsPerSample;
    uint16_t cbSize;
    uint16_t wValidBitsPerSample;
    uint32_t dwChannelMask;
    Guid SubFormat;
};
#pragma pack(pop)
static_assert(sizeof(WaveFormat) == 40);

constexpr uint16_t kWaveFormatExtensible = 0xFFFE;

struct AudioInfo {
    AudioInfo();
    ~AudioInfo();
    AudioInfo(const AudioInfo&) = delete;
    AudioInfo& operator=(const AudioInfo&) = delete;

    // Validates and describes `audioStream`: 0, or 2 (imBadFile) with a log line.
    int32_t init(const AviStream& audioStream);

    // SubFormat for the extensible tag, else {wFormatTag-0000-0010-8000-00aa00389b71}.
    Guid formatGuid() const;

    bool valid = false;
    const AviStream* stream = nullptr;  // not owned; the clip description's parser has it
    int64_t numSampleFrames = 0;        // the stream header's length
    uint32_t sampleType = 0;
    WaveFormat waveFormat{};
};

// "%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", lower case, no braces.
std::string guidToText(const Guid& guid);

// "8 bit", "16 bit", "24 bit", "32 bit", "32 bit float", else "Unknown sample type".
const char* sampleTypeName(uint32_t sampleType);
