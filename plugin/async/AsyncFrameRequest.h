// One announced frame of the asynchronous importer: the job its decode task works
// on, the frame index by which a collection finds it, and the task's future.
//
// Owned through unique_ptr by the importer's request list until a collection
// takes it out. While the task runs only the task touches the job; the owner
// reads the job again only once the future is ready. A task withdrawn before it
// began never touches the request: its future is ready at once, without a value.
#pragma once

#include <cstdint>
#include <exception>
#include <future>

#include "async/DecodePool.h"
#include "video/FrameJob.h"

class NorvikAsyncImporter;

struct AsyncFrameRequest {
    AsyncFrameRequest(NorvikAsyncImporter* owner, FrameJob&& frameJob, uint32_t index)
        : importer(owner), job(std::move(frameJob)), frameIndex(index) {}
    // Waits for a task that has not finished (withdraw a task that waits first,
    // or this waits for its turn), then releases the future before the job,
    // which disposes of a host frame the host never received.
    ~AsyncFrameRequest();
    AsyncFrameRequest(const AsyncFrameRequest&) = delete;
    AsyncFrameRequest& operator=(const AsyncFrameRequest&) = delete;

    NorvikAsyncImporter* importer;  // not owned; gives the task the stream description and the mutexes
    FrameJob job;
    uint32_t frameIndex;      // frameTimeToIndex of the job's frame time: the key of a collection
    DecodePool::Ticket ticket = 0;  // the task's work in its importer's DecodePool (to hurry, withdraw, settle)
    // The decode task's host result; empty once a collection has taken it.
    std::future<int32_t> result;
    // What the task threw, written by the task before `result` is ready and
    // rethrown by the collection. Kept here rather than in the future, so that
    // the thread that destroys the request, not a worker, frees the exception.
    std::exception_ptr error;
};
