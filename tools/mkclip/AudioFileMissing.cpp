// The build without libsndfile.
#include <stdexcept>

#include "AudioFile.h"

namespace clipmaker {

bool audioFilesAvailable() { return false; }

AudioFile openAudioFile(const std::string& path) {
    throw std::runtime_error("--audio-file " + path +
                             ": audio files are not available in this build (it was built without libsndfile)");
}

}  // namespace clipmaker
