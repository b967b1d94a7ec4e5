// The diagnostic log: off unless the registry switch is on; when on, the first
// line creates <profile>/norvik/adobe/<application>_<YYYYMMDD_HHMMSS>_<NN>.log and
// every line carries the local time and the calling thread's id.
//
// Thread safety: logMessage may be called from any thread; lines are serialised
// by the logger's mutex and never interleave. readLogSwitch and closeLog are
// called by the module entry (first selector, unload) when no other thread logs.
#pragma once

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "platform/Compiler.h"

// The open log file. Created only by logMessage (or directly by tests).
class Logger {
public:
    // Opens a new uniquely named file under the profile folder; on any failure
    // the logger exists without a file and drops its lines.
    Logger(const std::string& applicationName, bool console);
    ~Logger();
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    // Formats and writes one line; the message must not end with a line break.
    void write(const char* format, ...) NORVIK_PRINTF(2, 3);
    void writeV(const char* format, va_list args);

    bool hasFile() const { return m_file != nullptr; }

private:
    // False when the profile folder cannot be found.
    bool openFile(const std::string& applicationName);

    std::FILE* m_file = nullptr;  // owned; unbuffered
    bool m_console = false;
    std::mutex m_mutex;  // guards the writing of one line
};

// Process-wide log settings and the open logger.
struct LogConfig {
    bool enabled = false;
    bool console = false;
    std::string applicationName = "norvik_pr";
    std::unique_ptr<Logger> logger;         // guarded by creationMutex while being created
    std::atomic<Logger*> current{nullptr};  // the logger's address once it exists
    std::mutex creationMutex;               // makes the first-use creation happen once
    bool closed = false;                    // set by closeLog: no logger is created after it
};

LogConfig& logConfig();

// Writes one line when logging is on; costs one flag test when it is off.
void logMessage(const char* format, ...) NORVIK_PRINTF(1, 2);

// Reads HKCU\Software\Norvik EnableAdobeLog; a nonzero value switches logging on.
void readLogSwitch();

// Writes "Log closed", closes the file and drops the logger.
void closeLog();
