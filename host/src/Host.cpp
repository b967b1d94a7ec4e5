#include "norvikhost/Host.h"

#include <cstdlib>
#include <cstring>

#include "norvikhost/HostError.h"
#include "norvikhost/PixelLayout.h"

namespace norvikhost {

using namespace prsdk;

namespace {

std::atomic<Host*> g_current{nullptr};

// The basic suite's C functions.
int32 acquireSuite(const char* name, int32 version, const void** suite) {
    Host* host = Host::current();
    if (!host) {
        if (suite) *suite = nullptr;
        return suiteError_InvalidCall;
    }
    return host->acquireSuite(name, version, suite);
}

int32 releaseSuite(const char* name, int32 version) {
    Host* host = Host::current();
    return host ? host->releaseSuite(name, version) : suiteError_InvalidCall;
}

int32 isEqual(const char* a, const char* b) { return a && b && std::strcmp(a, b) == 0 ? 1 : 0; }

int32 allocateBlock(size_t size, void** block) {
    if (!block) return suiteError_InvalidParms;
    *block = std::malloc(size ? size : 1);
    return *block ? suiteError_NoError : suiteError_OutOfMemory;
}

int32 freeBlock(void* block) {
    std::free(block);
    return suiteError_NoError;
}

int32 reallocateBlock(void* block, size_t newSize, void** newBlock) {
    if (!newBlock) return suiteError_InvalidParms;
    void* moved = std::realloc(block, newSize ? newSize : 1);
    if (!moved) return suiteError_OutOfMemory;
    *newBlock = moved;
    return suiteError_NoError;
}

int32 undefined() { return suiteError_NotImplemented; }

SPBasicSuite g_basicSuite = {acquireSuite, releaseSuite, isEqual, allocateBlock, freeBlock, reallocateBlock, undefined};

SPBasicSuite* getSPBasicSuite() { return &g_basicSuite; }

PrUtilityFuncs g_utilityFuncs = {nullptr, nullptr, nullptr,         nullptr, nullptr,
                                 nullptr, nullptr, getSPBasicSuite, nullptr};

// Interface versions the host reports (importer interface 23 generation).
constexpr int32 kImporterInterfaceVersion = 23;

}  // namespace

Host::Host() {
    Host* expected = nullptr;
    if (!g_current.compare_exchange_strong(expected, this))
        throw HostError("a substitute host exists already; only one may live at a time");
    m_piSuites.piInterfaceVer = kImporterInterfaceVersion;
    m_piSuites.memFuncs = HostMemory::functionTable();
    m_piSuites.utilFuncs = &g_utilityFuncs;
    m_stdParms.imInterfaceVer = kImporterInterfaceVersion;
    m_stdParms.piSuites = &m_piSuites;
}

Host::~Host() { g_current.store(nullptr); }

Host* Host::current() { return g_current.load(); }

SPBasicSuite* Host::basicSuite() { return &g_basicSuite; }

int32 Host::acquireSuite(const char* name, int32 version, const void** suite) {
    if (!suite) return suiteError_InvalidParms;
    *suite = nullptr;
    if (!name) return suiteError_InvalidParms;
    std::lock_guard lock(m_mutex);
    if (m_failingSuites.count(std::string_view(name))) return suiteError_Fail;
    const void* table = findSuiteTable(name, version);
    if (!table) return suiteError_IDNotValid;
    ++m_acquisitions[name];
    *suite = table;
    return suiteError_NoError;
}

int32 Host::releaseSuite(const char* name, int32 version) {
    if (!name) return suiteError_InvalidParms;
    if (!findSuiteTable(name, version)) return suiteError_IDNotValid;
    std::lock_guard lock(m_mutex);
    ++m_releases[name];
    return suiteError_NoError;
}

int Host::acquisitions(std::string_view suiteName) const {
    std::lock_guard lock(m_mutex);
    const auto it = m_acquisitions.find(suiteName);
    return it == m_acquisitions.end() ? 0 : it->second;
}

int Host::releases(std::string_view suiteName) const {
    std::lock_guard lock(m_mutex);
    const auto it = m_releases.find(suiteName);
    return it == m_releases.end() ? 0 : it->second;
}

int Host::outstandingSuites() const {
    std::lock_guard lock(m_mutex);
    int count = 0;
    for (const auto& [name, n] : m_acquisitions) count += n;
    for (const auto& [name, n] : m_releases) count -= n;
    return count;
}

std::vector<ErrorEvent> Host::errorEvents() const {
    std::lock_guard lock(m_mutex);
    return m_events;
}

void Host::recordErrorEvent(ErrorEvent event) {
    std::lock_guard lock(m_mutex);
    m_events.push_back(std::move(event));
}

void Host::failAcquisition(const std::string& suiteName, bool fail) {
    std::lock_guard lock(m_mutex);
    if (fail)
        m_failingSuites.insert(suiteName);
    else
        m_failingSuites.erase(suiteName);
}

void Host::holdFrameCreation(bool hold) {
    {
        std::lock_guard lock(m_gateMutex);
        m_holdCreation = hold;
    }
    m_gateChanged.notify_all();
}

bool Host::waitForHeldCreations(std::size_t count, std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_gateMutex);
    return m_gateChanged.wait_for(lock, timeout, [&] { return m_heldCreations >= count; });
}

void Host::passCreationGate() {
    std::unique_lock lock(m_gateMutex);
    if (!m_holdCreation) return;
    ++m_heldCreations;
    m_gateChanged.notify_all();
    m_gateChanged.wait(lock, [&] { return !m_holdCreation; });
    --m_heldCreations;
}

void Host::setOriginTopLeft(PrPixelFormat format, bool topLeft) {
    std::lock_guard lock(m_mutex);
    m_topLeftOverrides[format] = topLeft;
}

bool Host::originTopLeft(PrPixelFormat format) const {
    std::lock_guard lock(m_mutex);
    const auto it = m_topLeftOverrides.find(format);
    return it != m_topLeftOverrides.end() ? it->second : pixelFormatDefaultTopLeft(format);
}

}  // namespace norvikhost
