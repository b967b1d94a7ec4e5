// What imInit asks the host's Image Processing Suite about pixel formats, for the
// catalogue to build its tables and write its start-up report from.
#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "formats/Catalogue.h"
#include "suites/ScopedSuite.h"

// The formats among `formats` that the host stores top row first, asked in order.
// Throws the suite holder's "Could not acquire suite" error when the suite cannot be had.
std::set<uint32_t> askTopLeftFormats(ScopedSuite& imageProcessing, const std::vector<uint32_t>& formats);

// The host's answers about each of `formats`, in order; throws as above.
std::vector<HostFormatAnswer> askHostFormats(ScopedSuite& imageProcessing, const std::vector<uint32_t>& formats);
