// A minimal in-process host for unit tests of the entry: a basic suite that
// serves the Error Suite (recording its events) and can refuse acquisitions.
// Not thread-safe; one test at a time.
#pragma once

#include <string>
#include <vector>

#include "prsdk/PrSDK.h"

struct FakeHostEvent {
    prsdk::uint32 type;
    std::u16string title;
    std::u16string description;
};

struct FakeHost {
    FakeHost();   // resets the shared state
    ~FakeHost();

    prsdk::imStdParms* stdParms() { return &m_stdParms; }
    const prsdk::SPBasicSuite* basicSuite();

    // State shared with the suite functions.
    static bool refuseAcquire;
    static int acquired;
    static int released;
    static std::vector<FakeHostEvent> events;

private:
    prsdk::imStdParms m_stdParms{};
    prsdk::piSuites m_suites{};
    prsdk::PrUtilityFuncs m_util{};
};
