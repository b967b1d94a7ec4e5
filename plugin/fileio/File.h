// Abstract random-access file used by the AVI parser and the frame and audio readers.
//
// Contract of every File:
//   - all offsets are absolute byte positions, 64-bit;
//   - the operations report failure only through their results (false, 0 or a
//     short count); they never throw;
//   - read() may return fewer bytes than asked: at the end of the file it returns
//     what is left, down to 0; callers that need the whole count use readExact();
//   - a File has one current position and no lock: it must not be used from two
//     threads at once (a seek followed by a read is not atomic).
#pragma once

#include <cstdint>
#include <stdexcept>

namespace fileio {

// Open flags, a bit set passed as an int.
enum OpenFlags : int {
    Read = 1,        // read access
    Write = 2,       // write access; creates or truncates the file unless OpenExisting is set
    Unbuffered = 4,  // bypass the system cache (offsets and sizes must follow ioAlignment())
    ShareRead = 8,   // others may read the file while it is open (otherwise exclusive)
    // With Write: open an existing file without creating or truncating it (the
    // importer's read-and-write access to a clip). Without Write it changes nothing.
    OpenExisting = 16,
};

class File {
public:
    virtual ~File() = default;

    // Opens utf8Path with the given OpenFlags; closes the file first if it is open.
    virtual bool open(const char* utf8Path, int flags) = 0;
    virtual void close() = 0;
    // Size in bytes; negative when it cannot be had.
    virtual int64_t size() = 0;
    // Current position; 0 when it cannot be had.
    virtual int64_t tell() = 0;
    // Moves to an absolute position. A position beyond the end succeeds; a negative one fails.
    virtual bool seek(int64_t offset) = 0;
    // Reads up to count bytes at the current position; returns the bytes read (0 on failure).
    virtual uint64_t read(void* buffer, uint64_t count) = 0;
    // Writes count bytes at the current position; returns the bytes written.
    virtual uint64_t write(const void* buffer, uint64_t count) = 0;
    // Alignment of buffers, and of offsets and sizes, for Unbuffered access.
    virtual uint64_t memoryAlignment() { return 4096; }
    virtual uint64_t ioAlignment() { return 4096; }
    // Writes at an absolute offset and restores the position; 0 when the seek fails.
    virtual uint64_t writeAt(const void* buffer, uint64_t count, int64_t offset);
};

// Base of the file-layer exceptions; what() carries the message.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "Seek error: offset: <offset>"
class SeekError : public Error {
public:
    explicit SeekError(int64_t offset);
};

// "Read error: size: <size>, read: <read>"
class ReadError : public Error {
public:
    ReadError(uint64_t size, uint64_t read);
};

// Reads exactly count bytes or throws ReadError(count, bytes got).
void readExact(File& file, void* buffer, uint64_t count);
// Seeks to offset or throws SeekError(offset).
void seekTo(File& file, int64_t offset);

}  // namespace fileio
