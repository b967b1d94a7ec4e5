#include "entry/ModuleState.h"

ScopedSuite* g_errorSuite = nullptr;

void replaceErrorSuite(std::unique_ptr<ScopedSuite> holder) {
    std::unique_ptr<ScopedSuite> old(g_errorSuite);  // released by its destructor
    g_errorSuite = holder.release();
}
