// A host suite acquired by name and version through the host's basic suite, and
// released by its destructor.
//
// Not thread-safe: one owner uses it at a time (the module's error suite from the
// host's selector calls, a session's suites from that session).
#pragma once

#include <cstdint>
#include <string>

#include "prsdk/PrSuites.h"
#include "prsdk/PrValues.h"

class ScopedSuite {
public:
    // Does not acquire; call acquire() or get().
    ScopedSuite(const prsdk::SPBasicSuite* basic, const char* name, int32_t version);
    ~ScopedSuite();  // releases; never throws
    ScopedSuite(const ScopedSuite&) = delete;
    ScopedSuite& operator=(const ScopedSuite&) = delete;

    // Calls AcquireSuite and logs the outcome; a failure leaves the pointer null.
    void acquire();
    // Calls ReleaseSuite if acquired and clears the pointer; never throws.
    void release();
    // The suite, acquiring it first if needed; throws std::runtime_error
    // "Could not acquire suite: '<name>', ver: <version>" when it cannot be had.
    const void* get();
    template <class Suite>
    const Suite* get() {
        return static_cast<const Suite*>(get());
    }

    bool isAcquired() const { return m_suite != nullptr; }
    const std::string& name() const { return m_name; }
    int32_t version() const { return m_version; }

private:
    const prsdk::SPBasicSuite* m_basic;  // not owned; the host's
    std::string m_name;
    int32_t m_version;
    const void* m_suite = nullptr;  // the host's table while acquired
};
