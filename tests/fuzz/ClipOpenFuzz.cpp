// Fuzzes the whole clip open path through the loaded importer module, as the
// host drives it: imOpenFile8, imGetInfo8 for every host stream, the pixel
// formats, imAnalysis, imDataRateAnalysis, imQuietFile and imCloseFile. Each
// input is tried three ways: as a whole file; as byte patches (and a cut)
// applied to a valid Norvik clip with audio, idx1 and AVIX forms, which gets
// past the RIFF walk to the stream descriptions and the codec at once; and as
// that patched clip made 1.5 GiB longer by a hole (a sparse file), so that size
// fields can claim more than the memory limits allow and be backed by bytes.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ClipMaker.h"
#include "norvikhost/ClipDriver.h"
#include "norvikhost/Host.h"
#include "norvikhost/ImporterDriver.h"
#include "norvikhost/Platform.h"

namespace {

namespace fs = std::filesystem;

std::unique_ptr<norvikhost::Host> g_host;
std::unique_ptr<norvikhost::ImporterDriver> g_driver;
std::vector<uint8_t> g_template;
fs::path g_input;

std::vector<uint8_t> readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> makeTemplate(const fs::path& path) {
    clipmaker::ClipSpec plan;
    plan.type = 104;
    plan.width = 16;
    plan.height = 8;
    plan.frames = 4;
    plan.threads = 1;
    plan.riffLimit = 2048;
    plan.audio.push_back(clipmaker::AudioSpec{1, 8000, 16, false, true});
    clipmaker::makeClip(path.string(), plan);
    return readAll(path);
}

void openClip(const uint8_t* data, size_t size, uint64_t hole = 0) {
    {
        std::ofstream out(g_input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    if (hole != 0) fs::resize_file(g_input, size + hole);
    // Any result code is fine; a crash, a hang, a leak or a thrown exception is not.
    (void)norvikhost::playClip(*g_driver, g_input);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const fs::path folder = fs::temp_directory_path();
    const std::string tag = std::to_string(std::rand()) + "-" + std::to_string(reinterpret_cast<uintptr_t>(&g_host));
    g_input = folder / ("norvik-clip-fuzz-" + tag + ".avi");
    g_template = makeTemplate(folder / ("norvik-clip-fuzz-template-" + tag + ".avi"));
    fs::remove(folder / ("norvik-clip-fuzz-template-" + tag + ".avi"));
    g_host = std::make_unique<norvikhost::Host>();
    const fs::path module = norvikhost::currentExecutablePath().parent_path() / norvikhost::importerModuleFileName();
    g_driver = std::make_unique<norvikhost::ImporterDriver>(*g_host, module);
    if (g_driver->init().result != 0) std::abort();
    std::atexit([] {
        std::error_code ignored;
        fs::remove(g_input, ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    openClip(data, size);
    // Patches: records of (16-bit position, value); an odd length also cuts the file.
    std::vector<uint8_t> patched = g_template;
    for (size_t i = 0; i + 3 <= size; i += 3)
        patched[(size_t(data[i]) | size_t(data[i + 1]) << 8) % patched.size()] = data[i + 2];
    if (size % 3 == 1) patched.resize((size_t(data[size - 1]) * 16) % patched.size());
    openClip(patched.data(), patched.size());
    openClip(patched.data(), patched.size(), uint64_t(3) << 29);
    return 0;
}
