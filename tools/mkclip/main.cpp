// norvik-mkclip: writes a Norvik AVI clip with synthetic pictures and audio.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <stdexcept>

#include "ClipMaker.h"

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
bool parseAudio(const std::string& s, clipmaker::AudioSpec& a) {
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

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Writes a Norvik AVI clip with moving synthetic pictures and PCM audio."};
    clipmaker::ClipSpec plan;
    std::string output, size = "320x240", rate = "25", index = "both";
    std::vector<std::string> audio;
    app.add_option("output", output, "AVI file to write")->required();
    app.add_option("-t,--type", plan.type, "compressed type (101..123)")->capture_default_str();
    app.add_option("-s,--size", size, "frame size WIDTHxHEIGHT")->capture_default_str();
    app.add_option("-r,--rate", rate, "frame rate NUM[/DEN], e.g. 30000/1001")->capture_default_str();
    app.add_option("-n,--frames", plan.frames, "number of frames")->capture_default_str();
    app.add_option("--field", plan.fieldType, "field type: 0 progressive, 1 upper first, 2 lower first")
        ->capture_default_str();
    app.add_option("--color-space", plan.colorSpace, "1 Rec.601, 2 Rec.709")->capture_default_str();
    app.add_option("--range", plan.range, "1 limited, 2 full")->capture_default_str();
    app.add_option("--slice-height", plan.sliceHeight, "rows per slice (0: codec default)")->capture_default_str();
    app.add_option("--empty", plan.emptyFrames, "frame indices written as empty chunks")->delimiter(',');
    app.add_option("-a,--audio", audio,
                   "audio stream CHANNELSxRATExBITS[f][e] (f float, e extensible), repeatable, e.g. 2x48000x16");
    app.add_option("--index", index, "index kind: odml, idx1 or both")
        ->check(CLI::IsMember({"odml", "idx1", "both"}))
        ->capture_default_str();
    app.add_option("--riff-limit", plan.riffLimit, "bytes per RIFF form")->capture_default_str();
    app.add_option("-j,--threads", plan.threads, "encoder threads (0: one per processor)")->capture_default_str();
    CLI11_PARSE(app, argc, argv);

    if (!parseSize(size, plan.width, plan.height)) return std::fprintf(stderr, "bad --size '%s'\n", size.c_str()), 2;
    if (!parseRate(rate, plan.rateNumerator, plan.rateDenominator))
        return std::fprintf(stderr, "bad --rate '%s'\n", rate.c_str()), 2;
    for (const std::string& a : audio) {
        clipmaker::AudioSpec s;
        if (!parseAudio(a, s)) return std::fprintf(stderr, "bad --audio '%s'\n", a.c_str()), 2;
        plan.audio.push_back(s);
    }
    plan.index = index == "odml"   ? clipmaker::IndexKind::OpenDml
                 : index == "idx1" ? clipmaker::IndexKind::Idx1
                                   : clipmaker::IndexKind::Both;
    try {
        clipmaker::makeClip(output, plan);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "norvik-mkclip: %s\n", e.what());
        return 1;
    }
    return 0;
}
