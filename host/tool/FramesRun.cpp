#include "FramesRun.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "FrameListing.h"
#include "PngFile.h"
#include "norvikhost/PixelFormatNames.h"
#include "norvikhost/Text.h"

namespace norvikimport {

namespace fs = std::filesystem;
using namespace norvikhost;

namespace {

std::string offeredList(const ClipVideo& video) {
    std::string list;
    for (prsdk::PrPixelFormat format : video.pixelFormats) list += (list.empty() ? "" : ", ") + pixelFormatText(format);
    return list.empty() ? "none" : list;
}

fs::path frameFile(const fs::path& folder, std::int64_t index, const char* extension) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06lld.%s", static_cast<long long>(index), extension);
    return folder / name;
}

void writeRaw(const fs::path& path, const std::vector<std::uint8_t>& picture) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(picture.data()), std::streamsize(picture.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

void writeOutputs(const FramesOutput& output, const ClipVideo& video, const FrameFormat& format, std::int64_t index,
                  const std::vector<std::uint8_t>& picture) {
    if (output.md5) *output.md5 << frameMd5Line(index, picture) << std::flush;
    if (!output.rawFolder.empty()) writeRaw(frameFile(output.rawFolder, index, "raw"), picture);
    if (!output.pngFolder.empty())
        writePng(frameFile(output.pngFolder, index, "png"), viewOf(format, video.width, video.height, picture));
}

}  // namespace

const FrameFormat& chooseFrameFormat(const ClipVideo& video, const std::string& code) {
    if (video.pixelFormats.empty()) throw std::runtime_error("the module offers no pixel format for this clip");
    const prsdk::PrPixelFormat wanted = code.empty() ? video.pixelFormats.front() : pixelFormatFromCode(code);
    if (std::find(video.pixelFormats.begin(), video.pixelFormats.end(), wanted) == video.pixelFormats.end())
        throw std::runtime_error("the clip is not offered in " + pixelFormatText(wanted) +
                                 "; it is offered in: " + offeredList(video));
    const FrameFormat* format = findFrameFormat(wanted);
    if (!format) throw std::runtime_error("the frame tools cannot lay out " + pixelFormatText(wanted));
    return *format;
}

std::pair<std::int64_t, std::int64_t> parseFrameRange(const std::string& text, std::int64_t frameCount) {
    std::int64_t first = 0, last = frameCount - 1;
    if (!text.empty()) {
        const std::size_t colon = text.find(':');
        try {
            if (colon == std::string::npos) throw std::invalid_argument("no colon");
            std::size_t used = 0;
            first = std::stoll(text.substr(0, colon), &used);
            if (used != colon) throw std::invalid_argument("junk");
            if (colon + 1 < text.size()) {
                last = std::stoll(text.substr(colon + 1), &used);
                if (used != text.size() - colon - 1) throw std::invalid_argument("junk");
            }
        } catch (const std::logic_error&) {
            throw std::runtime_error("a frame range is FIRST:LAST (or FIRST:), not '" + text + "'");
        }
    }
    if (first < 0 || first > last || last >= frameCount)
        throw std::runtime_error("frames " + std::to_string(first) + " to " + std::to_string(last) +
                                 " are not within the clip's " + std::to_string(frameCount) + " frames");
    return {first, last};
}

FramesResult writeFrames(FrameSession& session, FrameRequester& requester, const FrameFormat& format,
                         std::int64_t first, std::int64_t last, const FramesOutput& output) {
    for (const fs::path& folder : {output.pngFolder, output.rawFolder})
        if (!folder.empty()) fs::create_directories(folder);
    if (output.md5) *output.md5 << frameMd5Header(session.video(), format.pixelFormat);
    FramesResult result;
    for (std::int64_t index = first; index <= last; ++index) {
        if (output.progress)
            *output.progress << "\rframe " << index - first + 1 << "/" << last - first + 1 << std::flush;
        FrameAnswer answer = requester.request(index);
        if (answer.result != prsdk::imNoErr) {
            result.failures.push_back("frame " + std::to_string(index) + ": the module answered " +
                                      requester.describeResult(answer.result));
            continue;
        }
        writeOutputs(output, session.video(), format, index, answer.frame.picture());
        ++result.delivered;
    }
    if (output.progress) *output.progress << "\r" << std::string(32, ' ') << "\r" << std::flush;
    return result;
}

}  // namespace norvikimport
