#include "FakeHost.h"

#include <cstring>

using namespace prsdk;

bool FakeHost::refuseAcquire = false;
std::string FakeHost::refuseSuite;
std::set<PrPixelFormat> FakeHost::topLeftFormats;
std::vector<std::unique_ptr<char[]>> FakeHost::blocks;
std::vector<uint32> FakeHost::blockSizes;
std::map<std::string, int> FakeHost::acquired;
std::map<std::string, int> FakeHost::released;
std::vector<FakeHostEvent> FakeHost::events;

namespace {

int32 setEvent(uint32 type, const prUTF16Char* title, const prUTF16Char* description) {
    FakeHost::events.push_back({type, title ? title : u"", description ? description : u""});
    return 0;
}

const PrSDKErrorSuite3 kErrorSuite = {setEvent};

int32 answerNo(PrPixelFormat, prBool* answer) {
    *answer = 0;
    return 0;
}

int32 isTopLeft(PrPixelFormat format, prBool* answer) {
    *answer = FakeHost::topLeftFormats.count(format) ? 1 : 0;
    return 0;
}

int32 bufferSize(PrPixelFormat, int32 width, int32 height, int32* size) {
    *size = width * height * 4;
    return 0;
}

const PrSDKImageProcessingSuite kImageProcessingSuite = {answerNo, answerNo, isTopLeft, bufferSize,
                                                         nullptr,  nullptr,  nullptr};

int32 ticksPerSecond(PrTime* ticks) {
    *ticks = kHostTicksPerSecond;
    return 0;
}

const PrSDKTimeSuite kTimeSuite = {ticksPerSecond, nullptr, nullptr};

const void* suiteNamed(const char* name, int32 version) {
    if (std::strcmp(name, kPrSDKTimeSuite) == 0 && version == kPrSDKTimeSuiteVersion) return &kTimeSuite;
    if (std::strcmp(name, kPrSDKErrorSuite) == 0 && version == kPrSDKErrorSuiteVersion) return &kErrorSuite;
    if (std::strcmp(name, kPrSDKImageProcessingSuite) == 0 && version == kPrSDKImageProcessingSuiteVersion)
        return &kImageProcessingSuite;
    return nullptr;
}

int32 acquireSuite(const char* name, int32 version, const void** suite) {
    *suite = nullptr;
    if (FakeHost::refuseAcquire || FakeHost::refuseSuite == name) return suiteError_Fail;
    *suite = suiteNamed(name, version);
    if (!*suite) return suiteError_IDNotValid;
    ++FakeHost::acquired[name];
    return 0;
}

int32 releaseSuite(const char* name, int32) {
    ++FakeHost::released[name];
    return 0;
}

const SPBasicSuite kBasicSuite = {acquireSuite, releaseSuite, nullptr, nullptr, nullptr, nullptr, nullptr};

char* newPtr(uint32 size) {
    FakeHost::blocks.push_back(std::make_unique<char[]>(size ? size : 1));
    FakeHost::blockSizes.push_back(size);
    return FakeHost::blocks.back().get();
}

SPBasicSuite* getBasicSuite() { return const_cast<SPBasicSuite*>(&kBasicSuite); }

}  // namespace

FakeHost::FakeHost() {
    refuseAcquire = false;
    refuseSuite.clear();
    topLeftFormats.clear();
    acquired.clear();
    released.clear();
    events.clear();
    blocks.clear();
    blockSizes.clear();
    m_util.getSPBasicSuite = getBasicSuite;
    m_memory.newPtr = newPtr;
    m_suites.memFuncs = &m_memory;
    m_suites.utilFuncs = &m_util;
    m_stdParms.piSuites = &m_suites;
}

FakeHost::~FakeHost() = default;

const SPBasicSuite* FakeHost::basicSuite() { return &kBasicSuite; }
