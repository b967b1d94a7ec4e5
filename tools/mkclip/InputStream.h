// A sequential byte input: a file, or standard input for "-" (a pipe works).
// Owns the file it opened; standard input is left open. Not thread-safe.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace clipmaker {

class InputStream {
public:
    // `path` is UTF-8, or "-" for standard input (read in binary). Throws
    // std::runtime_error when the file cannot be opened.
    explicit InputStream(const std::string& path);
    ~InputStream();
    InputStream(const InputStream&) = delete;
    InputStream& operator=(const InputStream&) = delete;

    // Reads up to `count` bytes; fewer only at the end of the input. Throws
    // std::runtime_error on a read error.
    size_t read(void* data, size_t count);
    // Reads a line up to '\n' (not kept) into `line`, or `limit` bytes of a longer
    // line; false when the input ends before its first byte. A line cut by the
    // end of the input is returned as it is. Throws std::runtime_error on a read error.
    bool readLine(std::string& line, size_t limit);

    // "standard input" or the path, for messages.
    const std::string& name() const { return m_name; }

private:
    std::FILE* m_file = nullptr;
    bool m_owned = false;
    std::string m_name;
};

// Platform parts (InputStreamPosix.cpp, InputStreamWin32.cpp): a file opened for
// binary reading from a UTF-8 path (null on failure), and standard input switched
// to binary reading.
std::FILE* openBinaryInput(const std::string& utf8Path);
std::FILE* binaryStandardInput();

}  // namespace clipmaker
