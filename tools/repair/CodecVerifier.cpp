#include "CodecVerifier.h"

#include "norvik/norvik_common.h"

namespace repair {
namespace {

constexpr uint32_t kBitmapHeader = 40;
constexpr uint32_t kBgra = 2;

std::string codecError(int32_t code) {
    const char* text = norvik_get_string(NORVIK_STR_ERROR, code);
    return std::string("the codec refuses it: ") + (text ? text : std::to_string(code));
}

}  // namespace

CodecVerifier::CodecVerifier(const std::vector<RecoveredStream>& streams) : m_decoders(streams.size()) {
    norvik_library_init();
    for (size_t i = 0; i < streams.size(); ++i) {
        const std::vector<uint8_t>& format = streams[i].stream->format;
        if (!streams[i].layout || format.size() <= kBitmapHeader) continue;
        Decoder& d = m_decoders[i];
        if (norvik_open(&d.handle) != NORVIK_OK) continue;
        CodecFormat wanted{0, 0, NORVIK_FORM_EXTENDED, NORVIK_FORM_VERSION, kBgra, 0, 0, 0, 0};
        CodecFormat out{0, 0, NORVIK_FORM_EXTENDED, NORVIK_FORM_VERSION, 0, 0, 0, 0, 0};
        const uint32_t blockSize = static_cast<uint32_t>(format.size() - kBitmapHeader);
        if (norvik_decompress_query(d.handle, format.data() + kBitmapHeader, blockSize, nullptr, &out) != NORVIK_OK)
            continue;
        wanted.width = out.width;
        wanted.height = out.height;
        d.begun = norvik_decompress_begin(d.handle, format.data() + kBitmapHeader, blockSize, &wanted, &out) ==
                  NORVIK_OK;
        d.width = out.width;
        d.height = out.height;
    }
}

CodecVerifier::~CodecVerifier() {
    for (Decoder& d : m_decoders) {
        if (d.begun) norvik_decompress_end(d.handle);
        if (d.handle) norvik_close(d.handle);
    }
    norvik_library_close();
}

std::string CodecVerifier::operator()(size_t stream, const uint8_t* frame, uint32_t size) {
    if (stream >= m_decoders.size() || !m_decoders[stream].begun) return {};
    const Decoder& d = m_decoders[stream];
    m_picture.resize(size_t(d.width) * d.height * 4);
    const CodecPlane plane{reinterpret_cast<uint64_t>(m_picture.data()), d.width * 4,
                           static_cast<uint32_t>(m_picture.size())};
    const CodecPlane planes[4] = {plane, {}, {}, {}};
    const int32_t result = norvik_decompress(d.handle, frame, size, planes);
    return result == NORVIK_OK ? std::string() : codecError(result);
}

}  // namespace repair
