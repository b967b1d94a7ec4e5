// The barrier of every exported function: no exception leaves the library.
#pragma once

#include <cstdint>
#include <new>

#include "norvik/norvik_common.h"

namespace norvik {

// Runs f(); an exception becomes NORVIK_E_MEMORY (out of memory) or NORVIK_E_INTERNAL.
// The C interface has only result codes, so the exception's text cannot cross it.
template <typename F>
int32_t guarded(F&& f) noexcept {
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return NORVIK_E_MEMORY;
    } catch (...) {
        return NORVIK_E_INTERNAL;
    }
}

}  // namespace norvik
