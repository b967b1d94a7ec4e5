// Drives a loaded importer module the way the host does. The module-wide
// sequence (describeModule) is imInit, imGetIndFormat 0, 1, ... until
// imBadFormatIndex, imGetSupports8, imGetSubTypeNames per file type, imShutdown.
// Every call is also available on its own, and call() passes any selector with
// the caller's records. A module's odd answers (unterminated names, unexpected
// codes, foreign memory) are reported in the answers, never trusted blindly.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "norvikhost/Host.h"
#include "norvikhost/Platform.h"
#include "prsdk/PrSDK.h"

namespace norvikhost {

struct InitAnswer {
    std::int32_t result = 0;
    prsdk::imImportInfoRec info{};  // the record after the module filled it
};

struct FormatAnswer {
    std::int32_t index = 0;
    std::int32_t result = 0;
    std::uint32_t fileType = 0;
    std::string name;                     // FormatName, read up to its field size
    std::string shortName;                // FormatShortName
    std::vector<std::string> extensions;  // PlatformExtension, a NUL-separated list
};

struct SubType {
    std::uint32_t code = 0;
    std::string name;  // UTF-8
};

struct SubTypeNamesAnswer {
    std::uint32_t fileType = 0;
    std::int32_t result = 0;
    std::vector<SubType> subTypes;
    std::string problem;  // non-empty when the module's answer could not be read
};

struct ModuleAnswers {
    InitAnswer init;
    std::vector<FormatAnswer> formats;  // the last one is the answer that ended the list
    std::int32_t supports8 = 0;
    std::vector<SubTypeNamesAnswer> subTypeNames;  // one per format answered with imNoErr
    std::int32_t shutdown = 0;
};

// A module loaded into a Host. The Host must outlive the driver. Calls are made
// on the caller's thread; not thread-safe itself (the module may be).
class ImporterDriver {
public:
    // Loads the module and finds xImportEntry; throws ModuleLoadError when either fails.
    ImporterDriver(Host& host, const std::filesystem::path& modulePath);

    const std::filesystem::path& modulePath() const { return m_path; }
    Host& host() { return m_host; }

    // Any selector with the caller's parameters and the host's imStdParms.
    // Throws HostError if the module lets a C++ exception escape.
    std::int32_t call(std::int32_t selector, void* param1, void* param2);

    // imInit with a host-filled record (zeroed, reserved bytes kept as given).
    InitAnswer init();
    InitAnswer init(const prsdk::imImportInfoRec& hostRecord);
    FormatAnswer indFormat(std::int32_t index);
    std::int32_t supports8();
    // imGetSubTypeNames: the module fills an array of records from newPtr; the
    // host reads it (only if it is a live host block) and frees it.
    SubTypeNamesAnswer subTypeNames(std::uint32_t fileType);
    std::int32_t shutdown();

    // The whole module-wide sequence. Stops the format list at the first answer
    // other than imNoErr, or after kMaxFormats formats.
    ModuleAnswers describeModule();

    static constexpr int kMaxFormats = 256;

private:
    Host& m_host;
    std::filesystem::path m_path;
    DynamicLibrary m_library;
    prsdk::ImportEntryPoint m_entry = nullptr;
};

}  // namespace norvikhost
