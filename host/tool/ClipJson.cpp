// The clip report as one JSON document.
#include <nlohmann/json.hpp>

#include "ClipNames.h"
#include "ClipReport.h"
#include "norvikhost/PixelFormatNames.h"
#include "norvikhost/Text.h"

namespace norvikimport {

using namespace norvikhost;
using namespace prsdk;
using nlohmann::ordered_json;

namespace {

// The host's records are packed: their fields are read by value, never bound to
// references (which the JSON constructors would do).
template <class T>
T val(T field) {
    return field;
}

ordered_json resultJson(std::int32_t result) { return {{"code", result}, {"name", resultName(result)}}; }

ordered_json videoJson(const ClipReport& report, const imFileInfoRec8& info) {
    const imImageInfoRec& video = info.vidInfo;
    ordered_json json = {
        {"width", val(video.imageWidth)},
        {"height", val(video.imageHeight)},
        {"depth", val(video.depth)},
        {"pixelAspect", {val(video.pixelAspectNum), val(video.pixelAspectDen)}},
        {"rate", {{"numerator", val(info.vidScale)}, {"denominator", val(info.vidSampleSize)}}},
        {"duration", val(info.vidDuration)},
        {"fieldType", {{"code", val(video.fieldType)}, {"name", fieldTypeName(video.fieldType)}}},
        {"alphaType", {{"code", val(video.alphaType)}, {"name", alphaTypeName(video.alphaType)}}},
        {"subType",
         {{"code", fourccText(video.subType)},
          {"value", val(video.subType)},
          {"name", subTypeName(report.subTypes, val(video.subType))}}},
        {"supportsAsyncIO", val(video.supportsAsyncIO)},
        {"supportsGetSourceVideo", val(video.supportsGetSourceVideo)},
    };
    if (info.vidSampleSize != 0) {
        json["rate"]["fps"] = fixed(double(info.vidScale) / val(info.vidSampleSize), 6);
        json["frames"] = val(info.vidDuration) / val(info.vidSampleSize);
    }
    if (info.vidScale != 0) json["seconds"] = fixed(double(info.vidDuration) / val(info.vidScale), 6);
    return json;
}

ordered_json audioJson(const imFileInfoRec8& info) {
    const imAudioInfoRec7& audio = info.audInfo;
    ordered_json json = {
        {"channels", val(audio.numChannels)},
        {"sampleRate", fixed(audio.sampleRate, 0)},
        {"sampleType", {{"code", val(audio.sampleType)}, {"name", sampleTypeName(audio.sampleType)}}},
        {"sampleFrames", val(info.audDuration)},
    };
    if (audio.sampleRate > 0) json["seconds"] = fixed(double(info.audDuration) / val(audio.sampleRate), 6);
    return json;
}

ordered_json streamJson(const ClipReport& report, const StreamInfoAnswer& stream) {
    ordered_json json = {{"index", stream.streamIdx}, {"result", resultJson(stream.result)}};
    if (stream.result != imNoErr && stream.result != imIterateStreams && stream.result != imBadStreamIndex) return json;
    const imFileInfoRec8& info = stream.info;
    json["video"] = info.hasVideo ? videoJson(report, info) : ordered_json(nullptr);
    json["audio"] = info.hasAudio ? audioJson(info) : ordered_json(nullptr);
    json["accessModes"] = val(info.accessModes);
    json["hasDataRate"] = val(info.hasDataRate);
    return json;
}

ordered_json pixelFormatsJson(const PixelFormatListAnswer& list) {
    ordered_json formats = ordered_json::array();
    for (PrPixelFormat format : list.formats)
        formats.push_back({{"name", pixelFormatName(format)}, {"code", pixelFormatText(format)}});
    return {{"formats", formats}, {"end", {{"index", list.endIndex}, {"result", resultJson(list.endResult)}}}};
}

ordered_json dataRateJson(const DataRateAnswer& answer) {
    ordered_json json = {{"sizeResult", resultJson(answer.sizeResult)}, {"bufferSize", answer.requestedSize}};
    if (!answer.problem.empty()) json["problem"] = answer.problem;
    if (answer.sizeResult != imNoErr || !answer.problem.empty()) return json;
    const DataRateSummary summary = summarise(answer.samples);
    json["result"] = resultJson(answer.result);
    json["samples"] = summary.samples;
    json["totalBytes"] = summary.totalBytes;
    json["smallest"] = summary.smallest;
    json["largest"] = summary.largest;
    json["keyFrames"] = summary.keyFrames;
    json["duration"] = summary.sameDuration ? ordered_json(summary.duration) : ordered_json("varies");
    json["baseRate"] = answer.baseRate;
    return json;
}

ordered_json clipAnswersJson(const ClipReport& report) {
    const ClipAnswers& clip = report.clip;
    ordered_json json = {{"open", resultJson(clip.openResult)}};
    json["streams"] = ordered_json::array();
    for (const StreamInfoAnswer& stream : clip.streams) json["streams"].push_back(streamJson(report, stream));
    if (clip.reselected) json["streamZeroAgain"] = resultJson(clip.reselectResult);
    if (clip.pixelFormatsAsked) json["pixelFormats"] = pixelFormatsJson(clip.pixelFormats);
    if (clip.dataRate.asked) json["dataRate"] = dataRateJson(clip.dataRate);
    if (clip.analysis.asked)
        json["analysis"] = {{"result", resultJson(clip.analysis.result)}, {"text", clip.analysis.text}};
    if (clip.closed) {
        json["quiet"] = resultJson(clip.quietResult);
        json["close"] = resultJson(clip.closeResult);
    }
    return json;
}

}  // namespace

std::string clipJson(const ClipReport& report) {
    ordered_json json = {{"file", report.fileName}, {"init", resultJson(report.initResult)}};
    if (report.initResult == imNoErr) {
        json.update(clipAnswersJson(report));
        json["shutdown"] = resultJson(report.shutdownResult);
    }
    // Invalid UTF-8 from a module is replaced rather than refused.
    return json.dump(2, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace norvikimport
