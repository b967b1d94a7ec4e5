// Audio streams read from files (WAV, and whatever else libsndfile reads) in their
// own sample format and channel mask. Builds without libsndfile (the Windows cross
// build) have the declarations but refuse every file.
#pragma once

#include <memory>
#include <string>

#include "ClipMaker.h"

namespace clipmaker {

struct AudioFile {
    AudioPlan stream;                      // channels, rate, sample format and extensible format of the file
    std::unique_ptr<AudioSource> samples;  // with the file's channel mask
};

// False in a build without libsndfile.
bool audioFilesAvailable();

// Opens an audio file (UTF-8 path) and reads its header. The samples are read
// on demand, in order. A file that ends inside a requested range (the last video
// frame's) is padded with silence; a range that starts at or past its end throws
// std::runtime_error naming the file's duration. Throws std::runtime_error for a file that cannot
// be read, a sample format other than 8, 16, 24 or 32-bit PCM or 32-bit float,
// or a build without libsndfile.
AudioFile openAudioFile(const std::string& path);

}  // namespace clipmaker
