#include "suites/ScopedSuite.h"

#include <stdexcept>

#include "log/Log.h"

ScopedSuite::ScopedSuite(const prsdk::SPBasicSuite* basic, const char* name, int32_t version)
    : m_basic(basic), m_name(name), m_version(version) {}

ScopedSuite::~ScopedSuite() { release(); }

void ScopedSuite::acquire() {
    int32_t result = prsdk::suiteError_Fail;
    const void* suite = nullptr;
    if (m_basic && m_basic->AcquireSuite) result = m_basic->AcquireSuite(m_name.c_str(), m_version, &suite);
    m_suite = suite;
    logMessage("Acquiring suite: r: %d, v: %d, n: '%s', ptr: %p", result, m_version, m_name.c_str(), m_suite);
}

void ScopedSuite::release() {
    if (!m_suite) return;
    int32_t result = prsdk::suiteError_Fail;
    if (m_basic && m_basic->ReleaseSuite) result = m_basic->ReleaseSuite(m_name.c_str(), m_version);
    logMessage("Releasing suite: r: %d, v: %d, n: '%s'", result, m_version, m_name.c_str());
    m_suite = nullptr;
}

const void* ScopedSuite::get() {
    if (!m_suite) acquire();
    if (!m_suite)
        throw std::runtime_error("Could not acquire suite: '" + m_name + "', ver: " + std::to_string(m_version));
    return m_suite;
}
