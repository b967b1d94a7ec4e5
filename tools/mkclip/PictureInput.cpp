// Readers of YUV4MPEG2 streams and raw frames.
#include "PictureInput.h"

#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "InputStream.h"
#include "Layouts.h"

namespace clipmaker {

namespace {

constexpr size_t kHeaderLimit = 4096;  // bytes of a stream or frame header line

// Frames of a fixed size read one after the other; `header` is the text that
// starts each frame, if any.
class FrameReader : public PictureSource {
public:
    FrameReader(std::unique_ptr<InputStream> in, PictureFormat format, std::string frameHeader)
        : m_in(std::move(in)), m_format(std::move(format)), m_frameHeader(std::move(frameHeader)) {}

    const PictureFormat& format() const override { return m_format; }

    bool next(Picture& picture) override {
        shapePicture(m_format, picture);
        if (!m_frameHeader.empty() && !readFrameHeader()) return false;
        const size_t got = m_in->read(picture.bytes.data(), picture.bytes.size());
        if (got == 0 && m_frameHeader.empty()) return false;
        if (got < picture.bytes.size())
            throw std::runtime_error(m_in->name() + " ends inside picture " + std::to_string(m_index) + " (" +
                                     std::to_string(got) + " of its " + std::to_string(picture.bytes.size()) +
                                     " bytes; " + sizeHint() + ")");
        checkSamples(picture);
        ++m_index;
        return true;
    }

private:
    std::string sizeHint() const {
        return "pictures of " + std::to_string(m_format.width) + "x" + std::to_string(m_format.height) + " " +
               m_format.name + (m_frameHeader.empty() ? " as -s and --input-format say" : " as the header says");
    }

    // A line "FRAME" or "FRAME <parameters>"; false at the end of the input.
    bool readFrameHeader() {
        std::string line;
        if (!m_in->readLine(line, kHeaderLimit)) return false;
        if (line.compare(0, m_frameHeader.size(), m_frameHeader) != 0 ||
            (line.size() > m_frameHeader.size() && line[m_frameHeader.size()] != ' '))
            throw std::runtime_error(m_in->name() + ": picture " + std::to_string(m_index) +
                                     " does not start with FRAME where " + sizeHint() + " would");
        return true;
    }

    // Samples above 8 bits are 16-bit little-endian words; their high bits must be clear.
    void checkSamples(const Picture& picture) const {
        if (m_format.sourceType != m_format.type) return;
        const int bits = planeLayout(m_format.type).bits;
        if (bits == 8) return;
        const uint8_t* bytes = picture.bytes.data();
        for (size_t i = 1; i < picture.bytes.size(); i += 2)
            if ((bytes[i] >> (bits - 8)) != 0)
                throw std::runtime_error(m_in->name() + ": picture " + std::to_string(m_index) + " holds the value " +
                                         std::to_string(bytes[i - 1] | bytes[i] << 8) + ", more than " +
                                         std::to_string(bits) + " bits (" + m_format.name + ")");
    }

    std::unique_ptr<InputStream> m_in;
    PictureFormat m_format;
    std::string m_frameHeader;
    uint32_t m_index = 0;
};

PictureFormat formatOf(const RawLayout& layout, uint32_t width, uint32_t height) {
    PictureFormat f;
    f.name = layout.name;
    f.type = layout.type;
    f.sourceType = layout.source;
    f.width = width;
    f.height = height;
    f.range = layout.range;
    return f;
}

uint32_t sizeValue(const std::string& text, const std::string& stream) {
    char* end = nullptr;
    const unsigned long v = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < 1 || v > 32768)
        throw std::runtime_error(stream + ": the YUV4MPEG2 header gives the picture size '" + text +
                                 "' (1..32768 wanted)");
    return static_cast<uint32_t>(v);
}

// The parameters of the stream header "YUV4MPEG2 W.. H.. F..:.. I. A..:.. C.. X..".
PictureFormat parseY4mHeader(const std::string& line, const std::string& stream) {
    std::istringstream words(line);
    std::string word, colour = "420jpeg", size[2];
    PictureFormat f;
    words >> word;
    while (words >> word) {
        const std::string value = word.substr(1);
        switch (word[0]) {
            case 'W': size[0] = value; break;
            case 'H': size[1] = value; break;
            case 'C': colour = value; break;
            case 'F':
                if (std::sscanf(value.c_str(), "%u:%u", &f.rateNumerator, &f.rateDenominator) != 2)
                    f.rateNumerator = f.rateDenominator = 0;
                break;
            case 'I':
                if (value == "m")
                    throw std::runtime_error(stream + ": mixed field orders (Im) cannot be kept; the clip needs one");
                f.fieldType = value == "p" ? 0 : value == "t" ? 1 : value == "b" ? 2 : -1;
                break;
            case 'X':
                if (value == "COLORRANGE=FULL") f.range = 2;
                if (value == "COLORRANGE=LIMITED") f.range = 1;
                break;
            default: break;  // aspect ratio and unknown parameters do not matter here
        }
    }
    const RawLayout* layout = findY4mLayout(colour);
    if (layout == nullptr)
        throw std::runtime_error(stream + ": YUV4MPEG2 colour C" + colour +
                                 " has no Norvik type of the same sampling and depth (read: " + y4mTagNames() + ")");
    const PictureFormat shape = formatOf(*layout, sizeValue(size[0], stream), sizeValue(size[1], stream));
    f.name = shape.name;
    f.type = shape.type;
    f.sourceType = shape.sourceType;
    f.width = shape.width;
    f.height = shape.height;
    return f;
}

}  // namespace

std::unique_ptr<PictureSource> openPictureInput(const std::string& path, const std::string& rawLayout, uint32_t width,
                                                uint32_t height) {
    if (!rawLayout.empty()) {
        const RawLayout* layout = findRawLayout(rawLayout);
        if (layout == nullptr)
            throw std::runtime_error("--input-format " + rawLayout +
                                     " is not a layout that a Norvik type holds exactly (read: " + rawLayoutNames() +
                                     ")");
        if (width == 0 || height == 0) throw std::runtime_error("raw frames need their size (-s WIDTHxHEIGHT)");
        return std::make_unique<FrameReader>(std::make_unique<InputStream>(path), formatOf(*layout, width, height), "");
    }
    auto in = std::make_unique<InputStream>(path);
    std::string line;
    in->readLine(line, kHeaderLimit);
    if (line.rfind("YUV4MPEG2 ", 0) != 0)
        throw std::runtime_error(in->name() + (line.empty() ? " is empty" : " is not a YUV4MPEG2 stream") +
                                 " (raw frames need --input-format)");
    PictureFormat format = parseY4mHeader(line, in->name());
    return std::make_unique<FrameReader>(std::move(in), std::move(format), "FRAME");
}

void fitPlanToInput(ClipPlan& plan, const PictureFormat& input, const Stated& stated) {
    if (stated.type && plan.type != input.type)
        throw std::runtime_error(input.name + " input needs " + typeOption(input.type) + ", not -t " +
                                 std::to_string(plan.type) + " (the type must have the same sampling and depth)");
    if (stated.size && (plan.width != input.width || plan.height != input.height))
        throw std::runtime_error("the input's pictures are " + std::to_string(input.width) + "x" +
                                 std::to_string(input.height) + ", not " + std::to_string(plan.width) + "x" +
                                 std::to_string(plan.height) + " as -s says");
    plan.type = input.type;
    plan.width = input.width;
    plan.height = input.height;
    if (!stated.rate && input.rateNumerator != 0 && input.rateDenominator != 0) {
        plan.rateNumerator = input.rateNumerator;
        plan.rateDenominator = input.rateDenominator;
    }
    if (!stated.field && input.fieldType >= 0) plan.fieldType = static_cast<uint32_t>(input.fieldType);
    if (!stated.range && input.range != 0) plan.range = static_cast<uint32_t>(input.range);
}

}  // namespace clipmaker
