/* The Norvik codec library: the eleven decoding functions the importer imports,
 * and the encoder exported beside them for the project's tools and tests.
 *
 * Conventions for every function:
 * - Results are 0 on success, else one of the NORVIK_E_* codes below; the text of
 *   a code comes from norvik_get_string(NORVIK_STR_ERROR, code).
 * - A handle is a non-zero 32-bit value from norvik_open. Different handles may be
 *   used from different threads at the same time; one handle serves one caller at a
 *   time (the caller serialises its own calls on a handle).
 * - Bad input (null pointers, short or malformed blocks and frames, too small
 *   output planes) gives an error result; the library never reads or writes outside
 *   the buffers it is given.
 * - No function throws or keeps a pointer given to it after it returns.
 */
#ifndef NORVIK_NORVIK_COMMON_H
#define NORVIK_NORVIK_COMMON_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(NORVIK_BUILDING_LIBRARY)
#define NORVIK_API __declspec(dllexport)
#else
#define NORVIK_API __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define NORVIK_API __attribute__((visibility("default")))
#else
#define NORVIK_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A format description: nine 32-bit words. `form` is always NORVIK_FORM_EXTENDED
 * (254) and `version` 1. `type` is a compressed type (101..123) or an output type
 * (1, 2, 4, 5, 11, 15, 16, 19, 31, 32, 49, 50). `flags`: bit 0 rows bottom-up,
 * bit 1 the 0..32768 range (16-bit outputs only). A record for the library to fill
 * is passed as 0, 0, 254, 1 and five zeros. */
typedef struct CodecFormat {
    uint32_t width;
    uint32_t height;
    uint32_t form;
    uint32_t version;
    uint32_t type;
    uint32_t flags;
    uint32_t colorSpace; /* 1 Rec.601, 2 Rec.709 */
    uint32_t range;      /* 1 limited (video), 2 full */
    uint32_t fieldType;  /* 0 progressive, 1 upper first, 2 lower first */
} CodecFormat;

/* A block of bytes owned by the caller. */
typedef struct CodecBuffer {
    const void* data;
    uint32_t size;
} CodecBuffer;

/* One plane of pixels owned by the caller: `data` is the address of the first row
 * (the top row as stored in memory), `rowStride` the bytes from one row to the next,
 * `planeSize` the bytes the library may touch from `data` on. */
typedef struct CodecPlane {
    uint64_t data;
    uint32_t rowStride;
    uint32_t planeSize;
} CodecPlane;

#ifdef __cplusplus
static_assert(sizeof(CodecFormat) == 36, "CodecFormat is nine 32-bit words");
static_assert(sizeof(CodecPlane) == 16, "CodecPlane is a 64-bit address and two 32-bit words");
#endif

enum {
    NORVIK_FORM_EXTENDED = 254,
    NORVIK_FORM_VERSION = 1,
    NORVIK_FLAG_BOTTOM_UP = 1,
    NORVIK_FLAG_RANGE_32768 = 2,
    NORVIK_STREAM_FORMAT_SIZE = 24
};

/* Parameters of norvik_get_param. */
enum { NORVIK_PARAM_CAN_FLIP = 7, NORVIK_PARAM_RANGE_32768 = 9 };

/* Categories of norvik_get_string. */
enum { NORVIK_STR_TYPE = 1, NORVIK_STR_ERROR = 2, NORVIK_STR_COLOR_SPACE = 3, NORVIK_STR_PARAM = 4 };

/* Result codes. */
enum {
    NORVIK_OK = 0,
    NORVIK_E_HANDLE = 1,        /* no such handle */
    NORVIK_E_ARGUMENT = 2,      /* null pointer or bad size argument */
    NORVIK_E_MEMORY = 3,        /* out of memory or of handles */
    NORVIK_E_STREAM_FORMAT = 4, /* the stream format block is not a valid Norvik block */
    NORVIK_E_RECORD = 5,        /* a CodecFormat has another form marker or version */
    NORVIK_E_OUTPUT = 6,        /* the wanted output type, flags, size or colour is not supported */
    NORVIK_E_STATE = 7,         /* call out of order (no decompression or compression begun) */
    NORVIK_E_FRAME = 8,         /* the frame is cut short or malformed */
    NORVIK_E_PLANES = 9,        /* an output or source plane is missing or too small */
    NORVIK_E_SOURCE = 10,       /* the encoder does not accept this source for this type */
    NORVIK_E_PARAM = 11,        /* unknown parameter, or a type the parameter does not apply to */
    NORVIK_E_INTERNAL = 12,     /* unexpected internal failure */
    NORVIK_E_CAPACITY = 13      /* the encoder's output buffer is too small */
};

/* --- The eleven functions the importer imports ---------------------------------- */

/* Counts a user of the library. Always succeeds. */
NORVIK_API int32_t norvik_library_init(void);
/* Opens a handle; writes it to *handle (0 on failure). */
NORVIK_API int32_t norvik_open(uint32_t* handle);
/* Checks a stream format block and fills *out (width, height, type, colour space,
 * range, field type). With `wanted` non-null, also checks that the stream can be
 * decoded into that output. */
NORVIK_API int32_t norvik_decompress_query(uint32_t handle, const void* block, uint32_t blockSize,
                                           const CodecFormat* wanted, CodecFormat* out);
/* As the query, then prepares the handle to decode frames into `wanted`. A begin on
 * a handle that is already decompressing replaces the earlier output. */
NORVIK_API int32_t norvik_decompress_begin(uint32_t handle, const void* block, uint32_t blockSize,
                                           const CodecFormat* wanted, CodecFormat* out);
/* Decodes one frame into planes[0] (packed outputs) or planes[0..3] (planar output,
 * `wanted.type` = the stream's compressed type). Slices run on several threads. */
NORVIK_API int32_t norvik_decompress(uint32_t handle, const void* frame, uint32_t frameSize,
                                     const CodecPlane planes[4]);
/* Ends a begun decompression. */
NORVIK_API int32_t norvik_decompress_end(uint32_t handle);
/* *value holds a type number on entry (valueSize must be 4); on success it holds
 * the answer, non-zero meaning yes. Applies to output types only. */
NORVIK_API int32_t norvik_get_param(uint32_t handle, uint32_t param, void* value, uint32_t valueSize);
/* Answers whether the encoder accepts `source` for the compressed type of
 * `destination` (see FORMAT.md for the accepted pairs). When `maxFrameSize` is
 * non-null and the source has a size, writes the largest frame the encoder can
 * produce for it (else 0). `reserved` is not used. */
NORVIK_API int32_t norvik_compress_query(uint32_t handle, const CodecFormat* source, const CodecFormat* destination,
                                         uint32_t* maxFrameSize, const void* reserved);
/* Names and texts. Never null; the text stays valid at least until the calling
 * thread's next call of this function. */
NORVIK_API const char* norvik_get_string(uint32_t category, int32_t number);
/* Closes a handle (ends what it has begun). */
NORVIK_API int32_t norvik_close(uint32_t handle);
/* Counts a user of the library out. */
NORVIK_API int32_t norvik_library_close(void);

/* --- Project extensions: threads and the encoder --------------------------------- */

/* Sets how many threads a decode or encode call of this handle may use (the
 * calling thread included); 0 means one per processor (at most 16). */
NORVIK_API int32_t norvik_set_thread_count(uint32_t handle, uint32_t threads);

/* Builds the 24-byte stream format block. sliceHeight 0 picks a default. */
NORVIK_API int32_t norvik_make_stream_format(uint32_t type, uint32_t colorSpace, uint32_t range, uint32_t width,
                                             uint32_t height, uint32_t fieldType, uint32_t sliceHeight, void* block,
                                             uint32_t blockSize);

/* Encoder choices; NORVIK_AUTO lets the encoder choose per slice-plane. */
enum { NORVIK_AUTO = 255 };
typedef struct NorvikEncodeOptions {
    uint32_t method;        /* 0 stored, 1 left, 2 gradient, 3 median, or NORVIK_AUTO */
    uint32_t riceParameter; /* 0..bits-1, or NORVIK_AUTO */
} NorvikEncodeOptions;

/* Prepares the handle to encode frames of `source` layout into the stream described
 * by `block`. `source.width/height` must equal the block's; `options` may be null. */
NORVIK_API int32_t norvik_compress_begin(uint32_t handle, const CodecFormat* source, const void* block,
                                         uint32_t blockSize, const NorvikEncodeOptions* options);
/* The largest frame norvik_compress can write for the begun stream. */
NORVIK_API int32_t norvik_compress_bound(uint32_t handle, uint32_t* maxFrameSize);
/* Encodes one frame from planes[0] (packed sources) or planes[0..3] (planar source)
 * into `out` of `capacity` bytes; writes the frame's size to *written. */
NORVIK_API int32_t norvik_compress(uint32_t handle, const CodecPlane planes[4], void* out, uint32_t capacity,
                                   uint32_t* written);
/* Ends a begun compression. */
NORVIK_API int32_t norvik_compress_end(uint32_t handle);

#ifdef __cplusplus
}
#endif

#endif
