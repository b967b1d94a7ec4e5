// Marks the module's one exported function.
#pragma once

#ifdef _WIN32
#define NORVIK_EXPORT extern "C" __declspec(dllexport)
#else
#define NORVIK_EXPORT extern "C" __attribute__((visibility("default")))
#endif
