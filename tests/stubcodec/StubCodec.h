// A stand-in for the codec library in tests: it exports the functions the
// importer imports, and its answers and failures are set by the test.
// Not thread-safe; a test configures it before using it.
#pragma once

#include <cstdint>

#include "codec/NorvikLibrary.h"

extern "C" {
// Back to the defaults: everything succeeds, the stream is 1920x1080 type 104,
// Rec.709 limited, every output is accepted, parameters answer 1.
void norvik_stub_reset();
void norvik_stub_fail_init(int32_t code);
void norvik_stub_fail_open(int32_t code);
// The stream the queries describe; type 0 makes every query of a stream fail.
void norvik_stub_set_stream(uint32_t width, uint32_t height, uint32_t type, uint32_t colorSpace, uint32_t range);
// Accept only these outputs: pairs of (output type, colour space); count 0 refuses all.
void norvik_stub_accept_outputs(const uint32_t* typeAndSpacePairs, uint32_t count);
// Parameter queries for types above `maxType` fail; others answer `answer`.
void norvik_stub_set_params(uint32_t maxType, uint32_t answer);
// Compress queries succeed only for these output types (count 0: none).
void norvik_stub_accept_sources(const uint32_t* types, uint32_t count);
// Counters of calls, to check the pairing of init/close and open/close.
int32_t norvik_stub_library_users();
int32_t norvik_stub_open_handles();
}
