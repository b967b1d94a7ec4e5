// What norvik-import check finds in a clip: the facts come from the importer's own
// container code (plugin/avi's AviParser, its indexes and its messages; the audio
// rules of plugin/streams' AudioInfo; the codec library's check of the video
// format block), and from a walk of the chunks that really lie in the movi lists
// (norvik-repair's scanner), so that what the importer will play can be set
// against what the file holds. Whether the importer refuses the clip is the loaded
// module's answer (set by the command, see CheckCommand.cpp).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "prsdk/FourCC.h"

namespace norvikimport {

struct CheckedForm {
    FourCC type = 0;
    std::uint64_t offset = 0;
    std::uint64_t declaredEnd = 0;  // where its size field says it ends
    bool cut = false;               // declaredEnd lies past the end of the file
};

struct CheckedStream {
    std::uint64_t number = 0;  // the stream's number in chunk ids
    FourCC type = 0;           // "vids", "auds", ...
    FourCC codec = 0;          // video: biCompression; audio: 0
    std::string format;        // "Norvik 1280 x 720", "PCM 16 bit, 2 channels, 48000 Hz", ...
    std::string refusal;       // why the importer does not take the stream; empty when it does
    std::uint64_t idx1Entries = 0;
    bool hasSuperIndex = false;
    std::uint64_t superIndexEntries = 0;
    std::uint64_t standardIndexes = 0;
    std::uint64_t odmlEntries = 0;
    bool odmlComplete = false;
    const char* selectedIndex = "none";  // "OpenDML", "idx1" or "none"
    std::uint64_t playable = 0;          // entries of the index the importer uses
    std::uint64_t emptyEntries = 0;      // of those, empty chunks
    std::uint64_t wholeChunks = 0;       // in the movi lists
    bool cutChunk = false;               // the file ends inside one of its chunks
    std::uint64_t recoverable = 0;       // chunks norvik-repair keeps with their data
    std::uint64_t unsound = 0;           // frames norvik-repair keeps as empty frames
    // Audio, in sample frames: the header's length, what the index reaches, what the movi lists hold.
    std::uint64_t audioClaimed = 0, audioIndexed = 0, audioFound = 0;
};

struct ClipCheck {
    std::string fileName;
    std::uint64_t fileSize = 0;
    bool parsed = false;          // the parser found the AVI form, hdrl and avih
    std::string parserMessages;   // the parser's own messages, as it gives them
    std::vector<CheckedForm> forms;
    std::vector<CheckedStream> streams;
    std::string cutDescription;   // what the end of the file cuts; empty when nothing
    std::uint64_t skippedBytes = 0;
    // The loaded module's answer: set by the command.
    bool moduleOpened = false;
    std::string moduleAnswer;     // e.g. "imOpenFile8 answered 2 (imBadFile)"
};

// Gathers the facts; throws std::runtime_error when the file cannot be read.
ClipCheck checkClip(const std::filesystem::path& clip);

// The first video stream, or null.
const CheckedStream* videoStream(const ClipCheck& check);

// The last line's verdict and the exit code: 0 plays fully, 1 damaged, 2 refused.
struct CheckVerdict {
    std::string text;
    int exitCode = 0;
};
CheckVerdict checkVerdict(const ClipCheck& check);

std::string checkText(const ClipCheck& check);
std::string checkJson(const ClipCheck& check);

}  // namespace norvikimport
