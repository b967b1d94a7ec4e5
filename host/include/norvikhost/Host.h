// The substitute host: the environment a loaded importer module sees. It hands
// out imStdParms with the memory functions and the basic suite, serves the
// host's suites by name and version, keeps the frames, memory blocks and error
// events the module leaves behind, and has knobs to make it misbehave.
//
// The host's function tables are plain C functions, so they reach the host
// through Host::current(): at most one Host exists at a time (a second one
// throws). Suites called while no Host exists answer "invalid call" or null.
// Thread-safe: modules may call suites from any thread while the Host lives;
// knobs are meant to be set before the module runs.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "norvikhost/FrameStore.h"
#include "norvikhost/HostMemory.h"
#include "prsdk/PrSDK.h"

namespace norvikhost {

// One SetEventStringUnicode call, texts converted to UTF-8.
struct ErrorEvent {
    std::uint32_t type = 0;
    std::string title;
    std::string description;
};

class Host {
public:
    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The live Host, or null.
    static Host* current();

    // Standard parameters to pass to xImportEntry; valid while the Host lives.
    prsdk::imStdParms* stdParms() { return &m_stdParms; }
    prsdk::SPBasicSuite* basicSuite();

    HostMemory& memory() { return m_memory; }
    FrameStore& frames() { return m_frames; }

    // Basic suite bookkeeping, per suite name (all versions together).
    int acquisitions(std::string_view suiteName) const;
    int releases(std::string_view suiteName) const;
    // Acquisitions without a matching release, over all suites.
    int outstandingSuites() const;

    // Error Suite events in the order they came.
    std::vector<ErrorEvent> errorEvents() const;

    // Knobs.
    void failAcquisition(const std::string& suiteName, bool fail = true);
    void setOriginTopLeft(prsdk::PrPixelFormat format, bool topLeft);
    void setTicksPerSecond(prsdk::PrTime ticks) { m_ticksPerSecond = ticks; }
    void setCreatePPixFails(bool fail) { m_createPPixFails = fail; }
    // While held, CreatePPix waits (the module's frame-making thread is caught in
    // the act) until creation is released again.
    void holdFrameCreation(bool hold);
    // Waits up to `timeout` until `count` CreatePPix calls are being held; false
    // when they do not come.
    bool waitForHeldCreations(std::size_t count, std::chrono::milliseconds timeout);

    // What the suites answer (after knobs).
    bool originTopLeft(prsdk::PrPixelFormat format) const;
    prsdk::PrTime ticksPerSecond() const { return m_ticksPerSecond; }
    bool createPPixFails() const { return m_createPPixFails; }

    // Called by the suite functions.
    std::int32_t acquireSuite(const char* name, std::int32_t version, const void** suite);
    std::int32_t releaseSuite(const char* name, std::int32_t version);
    void recordErrorEvent(ErrorEvent event);
    void passCreationGate();  // returns once frame creation is not held

private:
    HostMemory m_memory;
    FrameStore m_frames;
    prsdk::piSuites m_piSuites{};
    prsdk::imStdParms m_stdParms{};

    mutable std::mutex m_mutex;
    std::map<std::string, int, std::less<>> m_acquisitions;   // guarded by m_mutex
    std::map<std::string, int, std::less<>> m_releases;       // guarded by m_mutex
    std::set<std::string, std::less<>> m_failingSuites;       // guarded by m_mutex
    std::map<prsdk::PrPixelFormat, bool> m_topLeftOverrides;  // guarded by m_mutex
    std::vector<ErrorEvent> m_events;                         // guarded by m_mutex
    std::atomic<prsdk::PrTime> m_ticksPerSecond{prsdk::kHostTicksPerSecond};
    std::atomic<bool> m_createPPixFails{false};

    std::mutex m_gateMutex;
    std::condition_variable m_gateChanged;
    bool m_holdCreation = false;      // guarded by m_gateMutex
    std::size_t m_heldCreations = 0;  // guarded by m_gateMutex
};

// The suite table served for a name and version, or null (SuiteTables.cpp).
const void* findSuiteTable(std::string_view name, std::int32_t version);

}  // namespace norvikhost
