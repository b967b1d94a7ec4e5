// One clip file as the host holds it (the private data of its per-file
// selectors): the importer session (file, description, suites), the frame
// decoder and the audio cursor of its synchronous readers, and the lock of its
// calls. Also the life of a session: opening, quieting and closing.
//
// Ownership: created at imOpenFile8 and deleted at imCloseFile (OnCloseFile);
// the host keeps the pointer in between.
#pragma once

#include <mutex>

#include "audio/AudioCursor.h"
#include "importer/NorvikImporter.h"
#include "prsdk/PrSDK.h"
#include "video/FrameDecoder.h"

// The one file type this module imports: 'AVIV'. imGetIndFormat declares it and
// an opened file is marked with it.
constexpr prsdk::uint32 kNorvikFileType = makeFourCCBigEndian("AVIV");

class FileSession {
public:
    explicit FileSession(const prsdk::imStdParms* stdParms) : m_importer(stdParms) {}
    // The decoder and the cursor go before the session whose description they follow.
    ~FileSession() = default;
    FileSession(const FileSession&) = delete;
    FileSession& operator=(const FileSession&) = delete;

    NorvikImporter& importer() { return m_importer; }
    FrameDecoder& decoder() { return m_decoder; }
    AudioCursor& audioCursor() { return m_audioCursor; }

    // Held by the dispatcher for the whole of every per-file selector of this
    // session (imOpenFile8 on an existing session, imQuietFile, imGetInfo8,
    // imAnalysis, imDataRateAnalysis, imGetIndPixelFormat, imGetSourceVideo,
    // imImportAudio7, imGetAudioChannelLayout); imCloseFile takes it, then deletes
    // the session once it is released. Guards everything above; never held
    // while another session's mutex is taken.
    std::mutex& mutex() { return m_mutex; }

private:
    NorvikImporter m_importer;
    FrameDecoder m_decoder;
    AudioCursor m_audioCursor;
    std::mutex m_mutex;
};

// Creates a session (or reuses `existing`, the one in privatedata) and opens the file.
prsdk::prMALError OnOpenFile8(const prsdk::imStdParms* stdParms, FileSession* existing, prsdk::imFileRef* fileRef,
                              prsdk::imFileOpenRec8* open);
// Closes the file handle; the session and what was parsed stay.
prsdk::prMALError OnQuietFile(FileSession& session, prsdk::imFileRef* fileRef);
// Closes the file handle; the caller deletes the session.
prsdk::prMALError OnCloseFile(FileSession& session, prsdk::imFileRef* fileRef);
