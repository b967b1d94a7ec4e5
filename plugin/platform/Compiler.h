// What the importer asks of a particular compiler, in one place: each macro has a
// plain fallback, so the sources build with any C++20 compiler.
#pragma once

// Lets the compiler check a printf-style format against its arguments (1-based
// positions of the format and of the first argument; a member's `this` is 1).
#if defined(__GNUC__)
#define NORVIK_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define NORVIK_PRINTF(fmt, args)
#endif

// Promises that a pointer's target is reached through no other pointer in scope.
#if defined(__GNUC__)
#define NORVIK_RESTRICT __restrict__
#elif defined(_MSC_VER)
#define NORVIK_RESTRICT __restrict
#else
#define NORVIK_RESTRICT
#endif
