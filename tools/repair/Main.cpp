// norvik-repair IN OUT [--verify]: writes OUT with every whole chunk that can be
// recovered from the AVI file IN (a recording cut off, or damaged between its
// chunks), with fresh headers and indexes, and says what was kept and dropped.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

#include "CodecVerifier.h"
#include "Repair.h"
#include "ProjectVersion.h"
#include "RepairProgress.h"

int main(int argc, char** argv) {
    CLI::App app("Recovers every whole frame and audio chunk of a cut or damaged Norvik AVI recording into a new file.",
                 "norvik-repair");
    std::string in, out;
    bool verify = false;
    app.add_option("IN", in, "AVI file to recover from (only read)")->required();
    app.add_option("OUT", out, "AVI file to write (not IN)")->required();
    app.add_flag("--verify", verify, "also decode every frame with the codec; a frame it refuses becomes empty");
    app.set_version_flag("--version", std::string("norvik-repair (") + projectversion::kProductName + ") " +
                                          projectversion::kVersion);
    CLI11_PARSE(app, argc, argv);

    try {
        RepairProgress progress;
        repair::RepairOptions options;
        options.progress = [&](uint64_t done, uint64_t total) { progress.update(done, total); };
        if (verify)
            options.makeVerifier = [](const std::vector<repair::RecoveredStream>& streams) {
                auto verifier = std::make_shared<repair::CodecVerifier>(streams);
                return repair::Recovery::FrameVerifier(
                    [verifier](size_t stream, const uint8_t* data, uint32_t size) { return (*verifier)(stream, data, size); });
            };
        const repair::RepairSummary summary = repair::repairFile(in, out, options);
        progress.end();
        std::cout << repair::summaryText(summary);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "norvik-repair: error: " << e.what() << "\n";
        return 1;
    }
}
