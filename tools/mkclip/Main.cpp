// norvik-mkclip: writes a Norvik AVI clip from pictures and audio that people
// have (a YUV4MPEG2 stream or raw frames, audio files), or synthetic ones.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <limits>
#include <memory>
#include <stdexcept>

#include "AudioFile.h"
#include "ClipMaker.h"
#include "Layouts.h"
#include "PictureInput.h"
#include "Progress.h"
#include "ProjectVersion.h"

namespace {

// "WIDTHxHEIGHT"
bool parseSize(const std::string& s, uint32_t& w, uint32_t& h) {
    unsigned a = 0, b = 0;
    char end = 0;
    if (std::sscanf(s.c_str(), "%ux%u%c", &a, &b, &end) != 2) return false;
    w = a, h = b;
    return true;
}

// "NUM/DEN" or "NUM"
bool parseRate(const std::string& s, uint32_t& num, uint32_t& den) {
    unsigned a = 0, b = 1;
    char end = 0;
    const int n = std::sscanf(s.c_str(), "%u/%u%c", &a, &b, &end);
    if (n != 1 && n != 2) return false;
    num = a, den = b;
    return true;
}

// "CHANNELSxRATExBITS" with optional suffixes: f (float), e (extensible)
bool parseAudio(const std::string& s, clipmaker::AudioPlan& a) {
    unsigned ch = 0, rate = 0, bits = 0;
    char flags[4] = {0, 0, 0, 0};
    const int n = std::sscanf(s.c_str(), "%ux%ux%u%3[fe]", &ch, &rate, &bits, flags);
    if (n < 3) return false;
    a.channels = static_cast<uint16_t>(ch);
    a.sampleRate = rate;
    a.bits = static_cast<uint16_t>(bits);
    for (char c : std::string(flags)) {
        if (c == 'f') a.isFloat = true;
        if (c == 'e') a.extensible = true;
    }
    return true;
}

struct Options {
    clipmaker::ClipPlan plan;
    std::string output, size = "320x240", rate = "25", index = "both", input, inputFormat;
    std::vector<std::string> audio, audioFiles;
    clipmaker::Stated stated;
    bool framesStated = false;
};

const char* kDescription =
    "Writes a Norvik AVI clip. Pictures come from -i: a YUV4MPEG2 stream (ffmpeg -f yuv4mpegpipe; add -strict -1 "
    "for 10 bits), whose header gives size, rate, field order and range, or raw frames (--input-format and -s). "
    "Each picture is stored exactly, in the type of the same sampling and depth, which is the default type. "
    "Without -i the pictures are synthetic and moving. Audio streams are synthetic tones (-a) and audio files "
    "(--audio-file), in that order. An audio file keeps its sample rate, sample format and channel mask. It must "
    "last into the video's last frame, whose rest is then silence (a file that ends earlier is refused and nothing "
    "is written); a longer file is cut at the video's end.";

void addOptions(CLI::App& app, Options& o) {
    clipmaker::ClipPlan& plan = o.plan;
    app.add_option("output", o.output, "AVI file to write")->required();
    app.add_option("-i,--input", o.input, "pictures: a YUV4MPEG2 stream or raw frames; '-' reads standard input");
    app.add_option("--input-format", o.inputFormat,
                   "raw frames of this ffmpeg pixel format: " + clipmaker::rawLayoutNames());
    app.add_option("-t,--type", plan.type, "compressed type (101..123); with -i, the input's")->capture_default_str();
    app.add_option("-s,--size", o.size, "frame size WIDTHxHEIGHT; raw frames need it, a YUV4MPEG2 header gives it")
        ->capture_default_str();
    app.add_option("-r,--rate", o.rate, "frame rate NUM[/DEN], e.g. 30000/1001; replaces a YUV4MPEG2 header's")
        ->capture_default_str();
    app.add_option("-n,--frames", plan.frames,
                   "number of synthetic frames; with -i at most this many (without -n: all of the input)")
        ->capture_default_str();
    app.add_option("--field", plan.fieldType, "field type: 0 progressive, 1 upper first, 2 lower first")
        ->capture_default_str();
    app.add_option("--color-space", plan.colorSpace, "1 Rec.601, 2 Rec.709")->capture_default_str();
    app.add_option("--range", plan.range, "1 limited, 2 full")->capture_default_str();
    app.add_option("--slice-height", plan.sliceHeight, "rows per slice (0: codec default)")->capture_default_str();
    app.add_option("--empty", plan.emptyFrames, "frame indices written as empty chunks")->delimiter(',');
    app.add_option("-a,--audio", o.audio,
                   "synthetic audio stream CHANNELSxRATExBITS[f][e] (f float, e extensible), repeatable, e.g. "
                   "2x48000x16");
    app.add_option("--audio-file", o.audioFiles,
                   "audio stream from a WAV file (8/16/24/32-bit PCM or 32-bit float), repeatable");
    app.add_option("--index", o.index, "index kind: odml, idx1 or both")
        ->check(CLI::IsMember({"odml", "idx1", "both"}))
        ->capture_default_str();
    app.add_option("--riff-limit", plan.riffLimit, "bytes per RIFF form")->capture_default_str();
    app.add_option("-j,--threads", plan.threads, "encoder threads (0: one per processor)")->capture_default_str();
}

// Fills the plan from the option texts; throws std::runtime_error for a bad one.
void readOptionTexts(const CLI::App& app, Options& o) {
    clipmaker::ClipPlan& plan = o.plan;
    if (!parseSize(o.size, plan.width, plan.height)) throw std::runtime_error("bad --size '" + o.size + "'");
    if (!parseRate(o.rate, plan.rateNumerator, plan.rateDenominator))
        throw std::runtime_error("bad --rate '" + o.rate + "'");
    for (const std::string& a : o.audio) {
        clipmaker::AudioPlan s;
        if (!parseAudio(a, s)) throw std::runtime_error("bad --audio '" + a + "'");
        plan.audio.push_back(s);
    }
    plan.index = o.index == "odml"   ? clipmaker::IndexKind::OpenDml
                 : o.index == "idx1" ? clipmaker::IndexKind::Idx1
                                     : clipmaker::IndexKind::Both;
    o.stated = {app.count("--type") > 0, app.count("--size") > 0, app.count("--rate") > 0, app.count("--field") > 0,
                app.count("--range") > 0};
    o.framesStated = app.count("--frames") > 0;
    if (o.input.empty() && !o.inputFormat.empty()) throw std::runtime_error("--input-format needs -i");
}

// Opens the inputs, fits the plan to them and writes the clip.
void run(const CLI::App& app, Options& o) {
    clipmaker::ClipPlan& plan = o.plan;
    clipmaker::ClipInputs inputs;
    std::unique_ptr<clipmaker::PictureSource> pictures;
    if (!o.input.empty()) {
        const bool raw = !o.inputFormat.empty();
        pictures = clipmaker::openPictureInput(o.input, o.inputFormat, raw && o.stated.size ? plan.width : 0,
                                               raw && o.stated.size ? plan.height : 0);
        clipmaker::fitPlanToInput(plan, pictures->format(), o.stated);
        if (app.count("--color-space") == 0 && !clipmaker::planeLayout(plan.type).rgb)
            std::fprintf(stderr,
                         "norvik-mkclip: the input does not say its colour matrix; labelled %s (--color-space %u). "
                         "ffmpeg's own RGB to YUV conversion is Rec.601: give --color-space 1 for such pictures\n",
                         plan.colorSpace == 1 ? "Rec.601" : "Rec.709", plan.colorSpace);
        if (!o.framesStated) plan.frames = std::numeric_limits<uint32_t>::max();
        inputs.pictures = pictures.get();
    }
    inputs.audio.assign(plan.audio.size(), nullptr);
    std::vector<clipmaker::AudioFile> files;
    for (const std::string& path : o.audioFiles) {
        files.push_back(clipmaker::openAudioFile(path));
        plan.audio.push_back(files.back().stream);
        inputs.audio.push_back(files.back().samples.get());
    }
    ProgressLine progress(o.input.empty() || o.framesStated ? plan.frames : 0);
    inputs.progress = [&progress](uint32_t done) { progress.update(done); };
    clipmaker::makeClip(o.output, plan, inputs);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{kDescription};
    Options o;
    addOptions(app, o);
    app.set_version_flag("--version", std::string("norvik-mkclip (") + projectversion::kProductName + ") " +
                                          projectversion::kVersion);
    CLI11_PARSE(app, argc, argv);
    try {
        readOptionTexts(app, o);
        run(app, o);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "norvik-mkclip: %s\n", e.what());
        return 1;
    }
    return 0;
}
