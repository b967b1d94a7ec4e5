// Marks functions a module exports.
#pragma once

#ifdef _WIN32
#define NORVIK_VISIBLE __declspec(dllexport)
#else
#define NORVIK_VISIBLE __attribute__((visibility("default")))
#endif

// The importer module's one export, with C linkage.
#define NORVIK_EXPORT extern "C" NORVIK_VISIBLE
