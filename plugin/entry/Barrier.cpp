#include "entry/Barrier.h"

#include <string>

#include "entry/ModuleState.h"
#include "log/Log.h"
#include "log/Names.h"
#include "log/Text.h"
#include "prsdk/PrSDK.h"

namespace {

// Hands the text to the host as an error event; the suite may be missing.
void reportToHost(const std::string& text) {
    if (!g_errorSuite) return;
    const std::u16string description = toWide(text);
    const std::u16string title = toWide("NorvikImporter: Internal error");
    const auto* suite = g_errorSuite->get<prsdk::PrSDKErrorSuite3>();
    if (suite && suite->SetEventStringUnicode)
        suite->SetEventStringUnicode(prsdk::kEventTypeError, title.c_str(), description.c_str());
}

}  // namespace

prsdk::prMALError reportUnhandledException(prsdk::int32 selector, const char* what) noexcept {
    try {
        std::string text = "FATAL: Unhandled exception during [";
        text += selectorName(selector);
        text += "] (" + std::to_string(selector) + "): " + (what ? what : "");
        logMessage("%s", text.c_str());
        try {
            reportToHost(text);
        } catch (const std::exception& e) {
            logMessage("Could not report the error to the host: %s", e.what());
        }
    } catch (...) {
        // Out of memory while composing the report: the answer is still 99.
    }
    return prsdk::imUnknownError;
}
