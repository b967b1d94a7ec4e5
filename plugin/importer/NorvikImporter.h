// The importer's state for one clip file as the host sees it: the open file,
// its AVI structure, the descriptions of the chosen video and audio streams, and
// the host suites the session uses. Host stream 0 carries the first video stream
// and the first audio stream; host stream k >= 1 carries audio stream k alone.
//
// Ownership: the host keeps the session pointer as the file's private data; the
// dispatcher creates it at imOpenFile8 and deletes it at imCloseFile. No lock:
// the host's calls for one file do not overlap.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "avi/AviParser.h"
#include "fileio/WinFile.h"
#include "prsdk/PrSDK.h"
#include "streams/AudioInfo.h"
#include "streams/VideoInfo.h"
#include "suites/HostSuites.h"

class NorvikImporter {
public:
    explicit NorvikImporter(const prsdk::imStdParms* stdParms);
    virtual ~NorvikImporter();
    NorvikImporter(const NorvikImporter&) = delete;
    NorvikImporter& operator=(const NorvikImporter&) = delete;

    // Opens (or reopens) the clip: access 0 reads, 1 reads and writes the existing
    // file without creating or truncating it; any other value fails.
    bool open(const std::u16string& path, int32_t streamIndex, int32_t access);
    // Parses the clip and describes the streams of host stream `streamIndex`:
    // 0, 18 (imIterateStreams: ask for the next stream), 19 (imBadStreamIndex), or an error.
    int32_t parse(int32_t streamIndex);
    // The session's suites, acquired on first need.
    HostSuites* ensureSuites();
    // open, then parse; 0 (for parse answers 0, 18, 19, after ensureSuites) or the error.
    int32_t openAndParse(const std::u16string& path, int32_t streamIndex, int32_t access);

    void closeFile() { m_file.close(); }
    fileio::WinFile& file() { return m_file; }
    prsdk::imFileRef fileRef() const;

    int32_t importerID = 0;
    const prsdk::SPBasicSuite* basicSuite;  // the host's

    // Destroyed in reverse order: paths, descriptions, parser, file, suites last.
    std::unique_ptr<HostSuites> suites;
    fileio::WinFile m_file;
    AviParser parser;
    std::unique_ptr<VideoInfo> m_videoInfo;
    std::unique_ptr<AudioInfo> m_audioInfo;
    uint64_t audioStreamCount = 0;
    std::u16string filePath;
    std::string m_filePathUtf8;
    int32_t m_streamIndex = -1;
    int32_t access = 0;

private:
    int32_t describeVideo();
    void describeAudio(const std::vector<size_t>& audioStreams, int32_t streamIndex);
};
