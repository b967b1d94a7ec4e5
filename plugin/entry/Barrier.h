// The exception barrier round every host call: no exception leaves the module.
#pragma once

#include <exception>

#include "prsdk/PrTypes.h"

// Logs "FATAL: Unhandled exception during [<selector>] (<n>): <text>", reports it
// to the host's Error Suite as an error event when the suite can be had, and
// returns 99. Never throws.
prsdk::prMALError reportUnhandledException(prsdk::int32 selector, const char* what) noexcept;

// Runs handler(); an escaping exception becomes reportUnhandledException's 99.
template <class Handler>
prsdk::prMALError runInsideBarrier(prsdk::int32 selector, Handler&& handler) noexcept {
    try {
        return handler();
    } catch (const std::exception& e) {
        return reportUnhandledException(selector, e.what());
    } catch (...) {
        return reportUnhandledException(selector, "unknown exception");
    }
}
