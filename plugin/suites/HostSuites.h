// The host suites one importer session uses, all acquired at construction in
// this order and released in the reverse order by the destructor.
#pragma once

#include "suites/ScopedSuite.h"

struct HostSuites {
    explicit HostSuites(const prsdk::SPBasicSuite* basic);

    ScopedSuite ppixCreator;
    ScopedSuite ppixCache;
    ScopedSuite ppix;
    ScopedSuite time;
    ScopedSuite imageProcessing;
    ScopedSuite audio;
};
