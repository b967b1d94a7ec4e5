// Fuzzes the whole clip open path through the loaded importer module, as the
// host drives it: imOpenFile8, imGetInfo8 for every host stream, the pixel
// formats, imAnalysis, imDataRateAnalysis, imQuietFile and imCloseFile. Each
// input is tried three ways: as a whole file; as byte patches (and a cut)
// applied to a valid Norvik clip with audio, idx1 and AVIX forms, which gets
// past the RIFF walk to the stream descriptions and the codec at once; and as
// that patched clip made 1.5 GiB longer by a hole (a sparse file), so that size
// fields can claim more than the memory limits allow and be backed by bytes.
#include <cstdint>

#include "ModuleFuzz.h"
#include "norvikhost/ClipDriver.h"

namespace {

void openClip(const uint8_t* data, size_t size, uint64_t hole = 0) {
    modulefuzz::LoadedModule& module = modulefuzz::loaded();
    fuzzinput::writeFile(module.input, data, size);
    if (hole != 0) std::filesystem::resize_file(module.input, size + hole);
    // Any result code is fine; a crash, a hang, a leak or a thrown exception is not.
    (void)norvikhost::playClip(*module.driver, module.input);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    clipmaker::ClipPlan plan = fuzzinput::smallClip(104, 4);
    plan.audio.push_back(clipmaker::AudioPlan{1, 8000, 16, false, true});
    modulefuzz::loadModule("clip-fuzz", plan);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    openClip(data, size);
    const std::vector<uint8_t> clip = fuzzinput::patched(modulefuzz::loaded().clip, data, size);
    openClip(clip.data(), clip.size());
    openClip(clip.data(), clip.size(), uint64_t(3) << 29);
    return 0;
}
