// The audio reader behind imImportAudio7: delivers `size` sample frames of the
// described stream, from `position` (or, when it is negative, from where the last
// request ended), into the host's float buffers, one per channel. The stream's
// bytes are found through its chunk index, read chunk by chunk into the
// cursor's reused conversion buffer and converted: integer samples by the
// host's Audio Suite, float samples by a bit-exact copy. What the file cannot
// supply (past the end of the data, after a failed seek or a short read) is
// silence, 0.0 in every sample type, and the result stays 0.
//
// Requests the host's record allows but a naive reader would mishandle:
//  - The byte size of a request (block align x sample frames) is 64-bit: it can
//    pass 4 GiB, which a 32-bit count would wrap. Every request is processed in
//    pieces of at most kAudioPieceBytes source bytes, so a request of any size is
//    delivered whole while the conversion buffer never grows past one piece, nor
//    past the bytes the stream can still supply from the request's start: a
//    request that lies past the data allocates nothing.
//  - A position whose byte offset does not fit in 64 bits lies past any data; the
//    end position saturates at INT64_MAX rather than wrapping.
//  - A description whose block align is not channels x bytes per sample, or with
//    more than 32 channels, or of an unknown sample type, is refused with 36
//    (imDecompressionError) and a log line: nothing is read or written and the
//    position stays. (A valid description never gets there: its init checks the
//    same; the guard keeps a wrong one from reading past a piece.)
//  - A request with frames to write but no buffer for some channel is refused
//    with 5 (imOtherErr) and a log line, nothing written.
// Float streams are 32-bit floats: a float stream of 8, 16 or 24 bits per sample
// is refused when the description is made (its samples have no IEEE layout), so
// sample type 6 here always means 4 bytes per sample.
//
// Not thread-safe: one request at a time per description and file (the host's
// calls for one file do not overlap).
#pragma once

#include <cstdint>
#include <functional>

#include "fileio/File.h"
#include "prsdk/PrSDK.h"
#include "audio/AudioCursor.h"
#include "streams/AudioInfo.h"

// Source bytes read and converted per piece: small enough that the piece is
// still in the processor's first- or second-level cache when it is converted
// (measured: 64 KiB converts faster than 16 KiB, 256 KiB or 1 MiB).
constexpr uint64_t kAudioPieceBytes = 1 << 16;

// The host's Audio Suite, asked for only when integer samples are to be
// converted; throws when it cannot be had (the suite holder's error).
using AudioSuiteSource = std::function<const prsdk::PrSDKAudioSuite&()>;

// Delivers one imImportAudio7 request (the record's position, size and buffer).
// Returns 0, or 36 / 5 as above; 5 also when the Audio Suite reports a failed
// conversion. An invalid description answers 0 and touches nothing.
// `pieceBytes` is the piece size (tests make it small).
// The cursor gives the position of a negative request position and the buffer,
// and takes the end position.
int32_t importAudio(const AudioInfo& audio, AudioCursor& cursor, fileio::File& file, const AudioSuiteSource& suite,
                    const prsdk::imImportAudioRec7& request, uint64_t pieceBytes = kAudioPieceBytes);
