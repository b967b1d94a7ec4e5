// The --verify check of norvik-repair: decodes each structurally sound frame with
// the codec library into BGRA and reports the codec's refusal. Owns one codec
// handle per video stream, closed in the destructor. Not thread-safe.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Recovery.h"

namespace repair {

class CodecVerifier {
public:
    explicit CodecVerifier(const std::vector<RecoveredStream>& streams);
    ~CodecVerifier();
    CodecVerifier(const CodecVerifier&) = delete;
    CodecVerifier& operator=(const CodecVerifier&) = delete;

    // Empty when the frame decodes; else the codec's reason.
    std::string operator()(size_t stream, const uint8_t* frame, uint32_t size);

private:
    struct Decoder {
        uint32_t handle = 0;
        bool begun = false;
        uint32_t width = 0, height = 0;
    };
    std::vector<Decoder> m_decoders;  // one per stream; unused for other than video
    std::vector<uint8_t> m_picture;
};

}  // namespace repair
