// What the codec library asks of a particular compiler, in one place: each macro
// has a plain fallback, so the sources build with any C++20 compiler.
#pragma once

// A condition the processor cannot predict (true about half the time on
// pictures): asks for a conditional move rather than a branch.
#if defined(__GNUC__)
#define NORVIK_UNPREDICTABLE(condition) __builtin_expect_with_probability((condition), 1, 0.5)
#else
#define NORVIK_UNPREDICTABLE(condition) (condition)
#endif
