#include "ClipReport.h"

#include <sstream>

#include "ClipNames.h"
#include "norvikhost/HostError.h"
#include "norvikhost/PixelFormatNames.h"

namespace norvikimport {

using namespace norvikhost;
using namespace prsdk;

ClipReport inspectClip(ImporterDriver& driver, const std::filesystem::path& clip) {
    ClipReport report;
    report.fileName = clip.filename().string();
    report.initResult = driver.init().result;
    if (report.initResult != imNoErr) return report;
    for (std::int32_t index = 0; index < ImporterDriver::kMaxFormats; ++index) {
        const FormatAnswer format = driver.indFormat(index);
        if (format.result != imNoErr) break;
        const SubTypeNamesAnswer names = driver.subTypeNames(format.fileType);
        report.subTypes.insert(report.subTypes.end(), names.subTypes.begin(), names.subTypes.end());
    }
    try {
        report.clip = playClip(driver, clip);
    } catch (const HostError&) {
        driver.shutdown();
        throw;
    }
    report.shutdownResult = driver.shutdown();
    return report;
}

bool clipShown(const ClipReport& report) {
    if (report.initResult != imNoErr || !report.clip.opened || report.clip.streams.empty()) return false;
    const std::int32_t first = report.clip.streams.front().result;
    return first == imNoErr || first == imIterateStreams;
}

namespace {

void printVideo(std::ostream& out, const ClipReport& report, const imFileInfoRec8& info) {
    const imImageInfoRec& video = info.vidInfo;
    out << "  video: " << video.imageWidth << " x " << video.imageHeight << ", depth " << video.depth
        << ", pixel aspect " << video.pixelAspectNum << "/" << video.pixelAspectDen << "\n";
    out << "  rate: " << info.vidScale << "/" << info.vidSampleSize;
    if (info.vidSampleSize != 0) out << " = " << fixed(double(info.vidScale) / info.vidSampleSize, 6) << " fps";
    out << "\n";
    out << "  duration: " << info.vidDuration << " units";
    if (info.vidSampleSize != 0) out << " = " << info.vidDuration / info.vidSampleSize << " frames";
    if (info.vidScale != 0) out << " = " << fixed(double(info.vidDuration) / info.vidScale, 6) << " s";
    out << "\n";
    out << "  field type: " << int(video.fieldType) << " (" << fieldTypeName(video.fieldType) << ")\n";
    out << "  alpha type: " << int(video.alphaType) << " (" << alphaTypeName(video.alphaType) << ")\n";
    out << "  subtype: " << codeText(video.subType) << " " << subTypeName(report.subTypes, video.subType) << "\n";
    out << "  async: " << video.supportsAsyncIO << ", source video: " << video.supportsGetSourceVideo << "\n";
}

void printAudio(std::ostream& out, const imFileInfoRec8& info) {
    const imAudioInfoRec7& audio = info.audInfo;
    out << "  audio: " << audio.numChannels << " channels, " << fixed(audio.sampleRate, 0) << " Hz, sample type "
        << audio.sampleType << " (" << sampleTypeName(audio.sampleType) << ")\n";
    out << "  audio duration: " << info.audDuration << " sample frames";
    if (audio.sampleRate > 0) out << " = " << fixed(double(info.audDuration) / audio.sampleRate, 6) << " s";
    out << "\n";
}

void printStream(std::ostream& out, const ClipReport& report, const StreamInfoAnswer& stream) {
    out << "host stream " << stream.streamIdx << ": imGetInfo8 " << resultText(stream.result) << "\n";
    if (stream.result != imNoErr && stream.result != imIterateStreams && stream.result != imBadStreamIndex) return;
    const imFileInfoRec8& info = stream.info;
    if (info.hasVideo)
        printVideo(out, report, info);
    else
        out << "  no video\n";
    if (info.hasAudio)
        printAudio(out, info);
    else
        out << "  no audio\n";
    out << "  access modes: " << info.accessModes << ", data rate: " << int(info.hasDataRate) << "\n";
}

void printPixelFormats(std::ostream& out, const PixelFormatListAnswer& list) {
    out << "pixel formats:\n";
    for (std::size_t i = 0; i < list.formats.size(); ++i)
        out << "  " << i << ": " << pixelFormatName(list.formats[i]) << " '" << pixelFormatText(list.formats[i])
            << "'\n";
    out << "  " << list.endIndex << ": imGetIndPixelFormat " << resultText(list.endResult) << "\n";
}

void printDataRate(std::ostream& out, const DataRateAnswer& answer) {
    out << "data rate: size " << resultText(answer.sizeResult) << ", " << answer.requestedSize << " bytes\n";
    if (!answer.problem.empty()) out << "  problem: " << answer.problem << "\n";
    if (answer.sizeResult != imNoErr || !answer.problem.empty()) return;
    const DataRateSummary summary = summarise(answer.samples);
    out << "  samples: " << resultText(answer.result) << ", " << summary.samples << " samples, " << summary.totalBytes
        << " bytes, smallest " << summary.smallest << ", largest " << summary.largest << "\n";
    out << "  key frames: " << summary.keyFrames
        << ", duration each: " << (summary.sameDuration ? std::to_string(summary.duration) : std::string("varies"))
        << ", base rate: " << answer.baseRate << "\n";
}

void printAnalysis(std::ostream& out, const AnalysisAnswer& answer) {
    out << "analysis: " << resultText(answer.result) << "\n";
    std::istringstream lines(answer.text);
    for (std::string line; std::getline(lines, line);) out << (line.empty() ? "  |" : "  | " + line) << "\n";
}

}  // namespace

std::string clipText(const ClipReport& report) {
    std::ostringstream out;
    out << "file: " << report.fileName << "\n";
    out << "imInit: " << resultText(report.initResult) << "\n";
    if (report.initResult != imNoErr) return out.str();
    const ClipAnswers& clip = report.clip;
    out << "imOpenFile8: " << resultText(clip.openResult) << "\n";
    for (const StreamInfoAnswer& stream : clip.streams) printStream(out, report, stream);
    if (clip.reselected) out << "host stream 0 again: imGetInfo8 " << resultText(clip.reselectResult) << "\n";
    if (clip.pixelFormatsAsked) printPixelFormats(out, clip.pixelFormats);
    if (clip.dataRate.asked) printDataRate(out, clip.dataRate);
    if (clip.analysis.asked) printAnalysis(out, clip.analysis);
    if (clip.closed) {
        out << "imQuietFile: " << resultText(clip.quietResult) << "\n";
        out << "imCloseFile: " << resultText(clip.closeResult) << "\n";
    }
    out << "imShutdown: " << resultText(report.shutdownResult) << "\n";
    return out.str();
}

}  // namespace norvikimport
