// Lookup tables for the short Rice codes: for each value of the next
// kRiceTableBits bits of a slice-plane's stream, the residual its first code
// decodes to and that code's length. One lookup then replaces counting the
// zeros, extracting the low bits and undoing the zigzag mapping.
#pragma once

#include <cstdint>

#include "BitIo.h"

namespace norvik {

inline constexpr unsigned kRiceTableBits = BitReader::kTableBits;
inline constexpr uint32_t kRiceTableMask = (1u << kRiceTableBits) - 1u;

// An entry holds (residual << 8) | length: length 0 when the code does not fit
// in the table's bits (a long code or an escape), for the caller to read the
// slow way. Residuals of the codes that fit stay far inside 24 bits.
using RiceEntry = int32_t;

// The table of Rice parameter k, for any k: parameters whose codes never fit
// share a table of zeros. Built once, on first use (thread-safe), then read-only.
const RiceEntry* riceTable(unsigned k);
// A table with no code in it: every code is read the long way (the reference path).
const RiceEntry* emptyRiceTable();

}  // namespace norvik
