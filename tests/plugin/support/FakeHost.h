// A minimal in-process host for unit tests of the entry: a basic suite that
// serves the Error Suite (recording its events), the Image Processing Suite and
// the Time Suite,
// and can refuse acquisitions.
// Not thread-safe; one test at a time.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "prsdk/PrSDK.h"

struct FakeHostEvent {
    prsdk::uint32 type;
    std::u16string title;
    std::u16string description;
};

struct FakeHost {
    FakeHost();  // resets the shared state
    ~FakeHost();

    prsdk::imStdParms* stdParms() { return &m_stdParms; }
    const prsdk::SPBasicSuite* basicSuite();

    // State shared with the suite functions.
    static bool refuseAcquire;                             // every acquisition fails
    static std::string refuseSuite;                        // acquisitions of this suite fail
    static std::set<prsdk::PrPixelFormat> topLeftFormats;  // answers of FormatIsOriginTopLeft
    static std::vector<std::unique_ptr<char[]>> blocks;    // every newPtr block, freed by the next FakeHost
    static std::vector<prsdk::uint32> blockSizes;
    static std::map<std::string, int> acquired;  // by suite name
    static std::map<std::string, int> released;
    static std::vector<FakeHostEvent> events;

private:
    prsdk::imStdParms m_stdParms{};
    prsdk::piSuites m_suites{};
    prsdk::PrUtilityFuncs m_util{};
    prsdk::PrMemoryFuncs m_memory{};
};
