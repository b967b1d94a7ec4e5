// The operating-system calls the importer makes, behind one contract.
//
// On Windows every function is the Win32 call it names. On Linux a stand-in
// gives the same contract over POSIX:
//   - the current user's registry is the text file $HOME/.norvik-registry, one
//     value a line, written  Software\Norvik\EnableAdobeLog=dword:00000001
//     (hexadecimal); a missing file or line, or a malformed line, is "no value";
//   - the profile folder is $HOME;
//   - the module path is the path of the running program (/proc/self/exe).
// All functions are thread-safe and never throw, except where noted.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>

namespace platform {

// UTF-16 <-> UTF-8, whole strings (code page 65001 on Windows). An empty input
// gives an empty output; invalid sequences become U+FFFD. Throws std::bad_alloc only.
std::u16string toWide(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);

// Reads a 32-bit value from the current user's registry (ANSI key path such as
// "Software\\Norvik"). False when the key or value is missing or unreadable, or
// when the stored data is longer than 4 bytes.
bool readUserRegistryDword(const char* keyPath, const char* valueName, uint32_t& value);

// The current user's profile folder; empty when it cannot be found.
std::u16string profileFolder();

// Appends one path component with the platform's separator.
std::u16string appendPath(std::u16string_view folder, std::u16string_view component);

// Creates one folder; false when it exists already or cannot be made.
bool makeFolder(const std::u16string& path);

// fopen with a UTF-16 path; mode is a narrow fopen mode ("r", "w", ...).
std::FILE* openFile(const std::u16string& path, const char* mode);

// Path of the program that loaded the module (the host's executable), in the
// platform's narrow encoding; empty on failure.
std::string hostExecutablePath();

// The calling thread's operating-system id.
uint64_t currentThreadId();

// Local broken-down time of a time_t.
std::tm localTime(std::time_t t);

// Console mirror of the log: allocates a console (120 x 500 buffer) and writes to it.
void openConsole();
void writeConsole(const char* text);

}  // namespace platform
