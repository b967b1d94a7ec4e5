// The importer's session for one clip file as the host sees it: the open file,
// the description of the clip that the last parse built, and the host suites the
// session uses. Host stream 0 carries the first video stream and the first audio
// stream; host stream k >= 1 carries audio stream k alone.
//
// Ownership: the session owns its file, its suites and its share of the
// description. Not thread-safe: its owner serialises the calls (FileSession's
// mutex for the host's sessions; the asynchronous importer opens and parses its
// own before any task runs, then only reads the description and the file).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "fileio/WinFile.h"
#include "importer/ClipDescription.h"
#include "prsdk/PrSDK.h"
#include "suites/HostSuites.h"

class NorvikImporter {
public:
    explicit NorvikImporter(const prsdk::imStdParms* stdParms);
    // Lets the description go, then closes the file, then releases the suites.
    ~NorvikImporter();
    NorvikImporter(const NorvikImporter&) = delete;
    NorvikImporter& operator=(const NorvikImporter&) = delete;

    // Opens (or reopens) the clip: access 0 reads, 1 reads and writes the existing
    // file without creating or truncating it; any other value fails.
    bool open(const std::u16string& path, int32_t streamIndex, int32_t access);
    // Parses the clip and describes the streams of host stream `streamIndex`:
    // 0, 18 (imIterateStreams: ask for the next stream), 19 (imBadStreamIndex), or an error.
    // The previous description is let go first (holders of a share keep theirs).
    int32_t parse(int32_t streamIndex);
    // open, then parse; 0 (for parse answers 0, 18, 19, after suites()) or the error.
    int32_t openAndParse(const std::u16string& path, int32_t streamIndex, int32_t access);

    // The session's suites, acquired on first need; throws when one cannot be had.
    HostSuites& suites();
    void closeFile() { m_file.close(); }
    fileio::WinFile& file() { return m_file; }
    prsdk::imFileRef fileRef() const;

    // The last parse's description; null before the first parse or after a failed one.
    const std::shared_ptr<const ClipDescription>& description() const { return m_description; }
    // The description's video / audio, or null.
    const std::shared_ptr<const VideoInfo>& video() const;
    const std::shared_ptr<const AudioInfo>& audio() const;

    const std::u16string& path() const { return m_path; }
    const std::string& pathUtf8() const { return m_pathUtf8; }
    int32_t streamIndex() const { return m_streamIndex; }
    int32_t access() const { return m_access; }
    void setImporterID(int32_t id) { m_importerID = id; }

private:
    int32_t describeVideo(ClipDescription& clip);
    void describeAudio(ClipDescription& clip, const std::vector<size_t>& audioStreams, int32_t streamIndex);

    const prsdk::SPBasicSuite* m_basicSuite;  // the host's
    std::unique_ptr<HostSuites> m_suites;
    fileio::WinFile m_file;
    std::shared_ptr<const ClipDescription> m_description;
    std::u16string m_path;
    std::string m_pathUtf8;
    int32_t m_streamIndex = -1;
    int32_t m_access = 0;
    int32_t m_importerID = 0;
};
