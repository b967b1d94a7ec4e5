// norvik-import audio FILE [--stream K] [--block N] [--md5] [--raw OUT] [--wav OUT]:
// pulls one host stream's audio as the host does while playing (consecutive
// blocks, position -1 after the first), shows the channel layout, and writes the
// samples as the host received them.
#include <bit>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>

#include "ChannelLabels.h"
#include "ClipNames.h"
#include "Command.h"
#include "Md5.h"
#include "WavWriter.h"
#include "norvikhost/AudioClip.h"
#include "norvikhost/Host.h"
#include "norvikhost/ImporterDriver.h"
#include "norvikhost/Platform.h"

namespace norvikimport {

namespace {

namespace fs = std::filesystem;
using namespace norvikhost;

static_assert(std::endian::native == std::endian::little, "raw output is the host's floats as they are in memory");

// "0,      48000,      48000,    48000,   384000, <md5>": ffmpeg's framemd5 line for a block.
std::string md5Line(std::int64_t position, const AudioBlock& block) {
    const std::size_t bytes = block.samples.size() * sizeof(float);
    char text[128];
    std::snprintf(text, sizeof text, "0, %10lld, %10lld, %8u, %8zu, %s", static_cast<long long>(position),
                  static_cast<long long>(position), block.size, bytes, md5Hex(block.samples.data(), bytes).c_str());
    return text;
}

void printStream(std::ostream& out, const fs::path& file, std::int32_t stream, const AudioStreamInfo& info) {
    out << "file: " << file.filename().string() << "\n";
    out << "host stream " << stream << ": imOpenFile8 " << resultText(info.openResult) << ", imGetInfo8 "
        << resultText(info.infoResult) << "\n";
    if (!info.hasAudio) {
        out << "  no audio\n";
        return;
    }
    out << "  audio: " << info.audio.numChannels << " channels, " << fixed(info.audio.sampleRate, 0)
        << " Hz, sample type " << info.audio.sampleType << " (" << sampleTypeName(info.audio.sampleType) << "), "
        << info.duration << " sample frames\n";
    out << "channel layout: imGetAudioChannelLayout " << resultText(info.layoutResult) << "\n";
    const std::int32_t channels = info.audio.numChannels;  // a packed field: read by value
    const auto shown = std::uint32_t(std::clamp(channels, 0, 32));
    for (std::uint32_t c = 0; c < shown; ++c)
        out << "  " << c << ": " << info.labels[c] << " " << channelLabelName(info.labels[c]) << "\n";
}

std::uint32_t speakerMask(const AudioStreamInfo& info, std::uint32_t channels) {
    std::uint32_t mask = 0;
    for (std::uint32_t c = 0; c < channels && c < 32; ++c) mask |= speakerBit(info.labels[c]);
    return mask;
}

class AudioCommand : public Command {
public:
    CLI::App* add(CLI::App& program) override {
        CLI::App* sub = program.add_subcommand("audio", "Pull a clip's audio as the host does while playing");
        sub->add_option("FILE", m_file, "Norvik AVI clip")->required();
        sub->add_option("--stream", m_stream, "Host stream, numbered as `info` shows them (default 0)");
        sub->add_option("--block", m_block, "Sample frames per request (default: one second)");
        sub->add_flag("--md5", m_md5, "One line per block in ffmpeg's framemd5 layout (interleaved f32le)");
        sub->add_option("--raw", m_raw, "Write all samples as interleaved 32-bit little-endian floats");
        sub->add_option("--wav", m_wav, "Write a 32-bit float WAV with the layout's channel mask");
        return sub;
    }

    int run(const CommonOptions& options) override {
        if (!m_wav.empty() && !WavWriter::available()) {
            std::cerr << "norvik-import: --wav needs libsndfile, which this build does not have; "
                         "--raw writes the same samples as interleaved 32-bit floats\n";
            return kExitUnavailable;
        }
        Host host;
        ImporterDriver driver(host, resolveModulePath(options));
        const std::int32_t init = driver.init().result;
        if (init != prsdk::imNoErr) {
            std::cout << "imInit: " << resultText(init) << "\n";
            return kExitModuleFailed;
        }
        const int exitCode = pull(driver);
        driver.shutdown();
        return exitCode;
    }

private:
    int pull(ImporterDriver& driver) {
        AudioClip clip(driver, fs::path(m_file), m_stream);
        printStream(std::cout, fs::path(m_file), m_stream, clip.info());
        const AudioStreamInfo& info = clip.info();
        if (!clip.ready() || info.audio.sampleType == prsdk::kPrAudioSampleType_Other) {
            std::cerr << "norvik-import: host stream " << m_stream << " has no audio the importer can deliver\n";
            return kExitModuleFailed;
        }
        const std::uint32_t block =
            m_block ? m_block : std::uint32_t(std::max(1.0f, std::round(info.audio.sampleRate)));
        std::optional<std::ofstream> raw;
        if (!m_raw.empty()) raw.emplace(fs::path(m_raw), std::ios::binary | std::ios::trunc);
        if (raw && !*raw) throw std::runtime_error("cannot write '" + m_raw + "'");
        std::optional<WavWriter> wav;
        if (!m_wav.empty())
            wav.emplace(fs::path(m_wav), clip.channels(), std::uint32_t(std::lround(info.audio.sampleRate)),
                        speakerMask(info, clip.channels()));
        const bool progress = standardErrorIsTerminal();
        std::int64_t position = 0;
        std::int32_t failure = prsdk::imNoErr;
        bool guardsBroken = false;
        const bool played = playAudio(clip, block, [&](const AudioBlock& answer) {
            failure = answer.result;
            guardsBroken = !answer.guardsIntact;
            if (m_md5) std::cout << md5Line(position, answer) << "\n";
            if (raw)
                raw->write(reinterpret_cast<const char*>(answer.samples.data()),
                           std::streamsize(answer.samples.size() * sizeof(float)));
            if (wav) wav->write(answer.samples.data(), answer.size);
            position += answer.size;
            if (progress)
                std::cerr << "\rnorvik-import: audio: " << position << " of " << info.duration << " sample frames"
                          << std::flush;
        });
        if (progress) std::cerr << "\n";
        if (wav) wav->close();
        if (raw && !raw->flush()) throw std::runtime_error("cannot write '" + m_raw + "'");
        std::cout << "delivered: " << position << " sample frames in blocks of " << block << "\n";
        if (played) return kExitOk;
        if (guardsBroken) std::cerr << "norvik-import: the module wrote outside the channel buffers\n";
        if (failure != prsdk::imNoErr)
            std::cerr << "norvik-import: imImportAudio7 answered " << resultText(failure) << "\n";
        return kExitModuleFailed;
    }

    std::string m_file;
    std::int32_t m_stream = 0;
    std::uint32_t m_block = 0;
    bool m_md5 = false;
    std::string m_raw;
    std::string m_wav;
};

}  // namespace

std::unique_ptr<Command> makeAudioCommand() { return std::make_unique<AudioCommand>(); }

}  // namespace norvikimport
