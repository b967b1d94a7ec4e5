// Static set-up and tear-down of the module: log configuration at load, and at
// unload the error suite's release and the log's closing.
#include <cstdlib>

#include "entry/ModuleState.h"
#include "log/Log.h"

namespace {

// Logging and its console mirror start off; only the registry switch turns the log on.
constexpr bool kLogEnabledByDefault = false;
constexpr bool kLogConsoleByDefault = false;

void moduleDestroy() {
    logMessage("Module destroy");
    closeLog();
}

void destroyErrorSuite() { replaceErrorSuite(nullptr); }

struct ModuleSetup {
    ModuleSetup() {
        LogConfig& config = logConfig();
        config.applicationName = "norvik_pr_importer";
        config.enabled = kLogEnabledByDefault;
        config.console = kLogConsoleByDefault;
        logMessage("Module init");
        std::atexit(moduleDestroy);
        std::atexit(destroyErrorSuite);  // runs first: releases the suite while the log is open
    }
};

const ModuleSetup g_moduleSetup;

}  // namespace
