// The diagnostic log.
#include "log/Log.h"

#include <ctime>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace {

std::string formatLocalTime(const char* pattern) {
    const std::tm now = platform::localTime(std::time(nullptr));
    char text[64];
    const size_t n = std::strftime(text, sizeof(text), pattern, &now);
    return std::string(text, n);
}

// Creates the logger on first use, once, even when two threads log at once.
Logger* currentLogger(LogConfig& config) {
    Logger* logger = config.current.load(std::memory_order_acquire);
    if (logger) return logger;
    std::lock_guard<std::mutex> lock(config.creationMutex);
    logger = config.current.load(std::memory_order_relaxed);
    if (!logger && !config.closed) {
        config.logger = std::make_unique<Logger>(config.applicationName, config.console);
        logger = config.logger.get();
        config.current.store(logger, std::memory_order_release);
    }
    return logger;
}

}  // namespace

LogConfig& logConfig() {
    static LogConfig config;
    return config;
}

Logger::Logger(const std::string& applicationName, bool console) {
    if (!openFile(applicationName)) return;  // no profile folder: no file, no console, no lines
    m_console = console;
    if (m_console) platform::openConsole();
    write("Log opened");
    write("Application: %s", platform::hostExecutablePath().c_str());
}

Logger::~Logger() {
    if (m_file) std::fclose(m_file);
}

// <profile>/norvik/adobe/<application>_<YYYYMMDD_HHMMSS>_<NN>.log with the first
// free NN from 00 to 999; an existing name is never overwritten.
bool Logger::openFile(const std::string& applicationName) {
    const std::u16string profile = platform::profileFolder();
    if (profile.empty()) return false;
    std::u16string folder = platform::appendPath(profile, u"norvik");
    platform::makeFolder(folder);
    folder = platform::appendPath(folder, u"adobe");
    platform::makeFolder(folder);
    const std::string stem = applicationName + "_" + formatLocalTime("%Y%m%d_%H%M%S");
    for (int k = 0; k < 1000 && m_file == nullptr; ++k) {
        char suffix[16];
        std::snprintf(suffix, sizeof(suffix), "_%02d.log", k);
        const std::u16string candidate = platform::appendPath(folder, platform::toWide(stem + suffix));
        if (std::FILE* existing = platform::openFile(candidate, "r")) {
            std::fclose(existing);
            continue;
        }
        m_file = platform::openFile(candidate, "w");
    }
    if (m_file) std::setvbuf(m_file, nullptr, _IONBF, 0);
    return true;
}

void Logger::write(const char* format, ...) {
    va_list args;
    va_start(args, format);
    writeV(format, args);
    va_end(args);
}

void Logger::writeV(const char* format, va_list args) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::string time = formatLocalTime("%Y-%m-%d %H:%M:%S");
    const std::string thread = std::to_string(platform::currentThreadId());

    va_list measure;
    va_copy(measure, args);
    const int n = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::vector<char> line(static_cast<size_t>(n < 0 ? 0 : n) + time.size() + thread.size() + 128);

    int used = std::snprintf(line.data(), line.size(), "[%s] [%s] ", time.c_str(), thread.c_str());
    if (used < 0) used = 0;
    const int written = std::vsnprintf(line.data() + used, line.size() - static_cast<size_t>(used), format, args);
    if (written > 0) used += written;
    std::snprintf(line.data() + used, line.size() - static_cast<size_t>(used), "\n");

    if (m_console) platform::writeConsole(line.data());
    if (m_file) std::fputs(line.data(), m_file);
}

void logMessage(const char* format, ...) {
    LogConfig& config = logConfig();
    if (!config.enabled) return;
    Logger* logger = currentLogger(config);
    if (!logger) return;
    va_list args;
    va_start(args, format);
    logger->writeV(format, args);
    va_end(args);
}

void readLogSwitch() {
    uint32_t value = 0;
    if (platform::readUserRegistryDword("Software\\Norvik", "EnableAdobeLog", value) && value != 0)
        logConfig().enabled = true;
}

void closeLog() {
    LogConfig& config = logConfig();
    std::lock_guard<std::mutex> lock(config.creationMutex);
    if (config.logger) config.logger->write("Log closed");
    config.current.store(nullptr, std::memory_order_release);
    config.logger.reset();
    config.closed = true;
}
