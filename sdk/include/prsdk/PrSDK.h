// Our declarations of the host's importer interface, in one include.
#pragma once

#include "prsdk/PrImporterRecords.h"
#include "prsdk/PrPixelFormats.h"
#include "prsdk/PrSuites.h"
#include "prsdk/PrTypes.h"
#include "prsdk/PrValues.h"
