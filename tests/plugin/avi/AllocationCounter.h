// Counts the bytes this test program holds through operator new, and can make one
// chosen allocation fail: the parser's memory bound and its handling of allocation
// failures are checked with it. It replaces the program's global operator new and
// delete (AllocationCounter.cpp), which covers the parser (a static library) and
// the standard library's containers on every platform and under the sanitizers.
#pragma once

#include <cstdint>

namespace avitest {

struct AllocationCounter {
    // Bytes held now.
    static uint64_t current();
    // Largest current() since the last resetPeak().
    static uint64_t peak();
    static void resetPeak();
};

// While alive, the allocation after the next `succeeding` ones throws std::bad_alloc
// (once). triggered() tells whether it happened.
class FailingAllocation {
public:
    explicit FailingAllocation(uint64_t succeeding);
    ~FailingAllocation();
    FailingAllocation(const FailingAllocation&) = delete;
    FailingAllocation& operator=(const FailingAllocation&) = delete;
    bool triggered() const;
};

}  // namespace avitest
