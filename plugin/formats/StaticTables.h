// The catalogue's rows as defined, before the host's answers are added.
#pragma once

#include <vector>

#include "formats/Catalogue.h"

std::vector<SubTypeInfo> staticSubTypeInfos();
std::vector<FormatInfo> staticFormatInfos();
