// The order in which an asynchronous importer's tasks decode: the order their
// frames were announced. A mutex alone lets any waiting task go next, so the
// frame the host collects first could wait behind every other frame announced
// with it; here task n decodes only after tasks 0..n-1 have decoded or failed.
//
// Turns are numbered by the importer, one per request, without gaps (see
// NorvikAsyncImporter::addRequest). Every turn handed out must be waited for
// exactly once, by its task, whether it decodes or failed before: a turn never
// waited for holds up every later one.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

class DecodeOrder {
public:
    // A turn that has come; passes it on to the next when destroyed.
    class Turn {
    public:
        explicit Turn(DecodeOrder& order) : m_order(order) {}
        ~Turn();
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;

    private:
        DecodeOrder& m_order;
    };

    // Blocks until every turn before `turn` has been passed on. Thread-safe.
    [[nodiscard]] Turn waitFor(uint64_t turn);

private:
    std::mutex m_mutex;  // guards m_served
    std::condition_variable m_passed;
    uint64_t m_served = 0;  // the turn whose task may decode now
};
