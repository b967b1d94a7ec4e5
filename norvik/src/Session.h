// The state behind one handle, and the table of open handles.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "Decoder.h"
#include "Encoder.h"
#include "ThreadPool.h"

namespace norvik {

// One handle's state. Used by one caller at a time; owns its decoder, encoder
// and thread pool, and joins the pool's threads when destroyed.
struct Session {
    std::optional<Decoder> decoder;
    std::optional<Encoder> encoder;
    unsigned threads = 0;  // 0: defaultThreadCount()

    // A pool with the wanted number of workers, made on first use.
    ThreadPool& pool();

private:
    std::unique_ptr<ThreadPool> m_pool;
};

// Process-wide table of handles; its functions are thread-safe.
uint32_t openSession();  // 0 when out of handles or memory
std::shared_ptr<Session> findSession(uint32_t handle);
bool closeSession(uint32_t handle);

// Counts users of the library in and out; when the last user leaves, the handles
// still open are closed. Counting and closing happen under the table's lock, so a
// user that comes in at the same time keeps its handles.
void addUser();
void removeUser();

}  // namespace norvik
