#include "async/AsyncFrameRequest.h"

AsyncFrameRequest::~AsyncFrameRequest() {
    // Nobody collects this frame: wait() does not rethrow, so the value or the
    // exception of the task is dropped with the future.
    if (result.valid()) result.wait();
}
