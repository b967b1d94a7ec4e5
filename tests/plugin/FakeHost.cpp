#include "FakeHost.h"

#include <cstring>

using namespace prsdk;

bool FakeHost::refuseAcquire = false;
int FakeHost::acquired = 0;
int FakeHost::released = 0;
std::vector<FakeHostEvent> FakeHost::events;

namespace {

int32 setEvent(uint32 type, const prUTF16Char* title, const prUTF16Char* description) {
    FakeHost::events.push_back({type, title ? title : u"", description ? description : u""});
    return 0;
}

const PrSDKErrorSuite3 kErrorSuite = {setEvent};

int32 acquireSuite(const char* name, int32 version, const void** suite) {
    *suite = nullptr;
    if (FakeHost::refuseAcquire) return suiteError_Fail;
    if (std::strcmp(name, kPrSDKErrorSuite) != 0 || version != kPrSDKErrorSuiteVersion) return suiteError_IDNotValid;
    *suite = &kErrorSuite;
    ++FakeHost::acquired;
    return 0;
}

int32 releaseSuite(const char*, int32) {
    ++FakeHost::released;
    return 0;
}

const SPBasicSuite kBasicSuite = {acquireSuite, releaseSuite, nullptr, nullptr, nullptr, nullptr, nullptr};

SPBasicSuite* getBasicSuite() { return const_cast<SPBasicSuite*>(&kBasicSuite); }

}  // namespace

FakeHost::FakeHost() {
    refuseAcquire = false;
    acquired = 0;
    released = 0;
    events.clear();
    m_util.getSPBasicSuite = getBasicSuite;
    m_suites.utilFuncs = &m_util;
    m_stdParms.piSuites = &m_suites;
}

FakeHost::~FakeHost() = default;

const SPBasicSuite* FakeHost::basicSuite() { return &kBasicSuite; }
