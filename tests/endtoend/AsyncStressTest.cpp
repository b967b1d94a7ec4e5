// The module's asynchronous importer under load: several host threads announce,
// collect and flush at random on one importer while another thread asks for
// frames of the same clip through imGetSourceVideo; the last of them to finish
// closes the importer, with requests outstanding or after a flush. Every answer
// must be the one its frame calls for (a frame asked in a pixel format outside
// the catalogue throws in its task: 99), every picture the right one, and every
// host frame handed over or disposed of. Run under ThreadSanitizer (races,
// lock-order inversions) and AddressSanitizer (leaks) by their presets.
//
// NORVIK_STRESS_SEED=S replays a run's calls (the seed is printed; the threads'
// interleaving is the scheduler's); NORVIK_STRESS_OPERATIONS=N sets how many
// asynchronous calls are made. A watchdog fails the test after
// NORVIK_STRESS_SECONDS (default 600) instead of letting a deadlock hang.
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <thread>
#include <utility>

#include "ClipFixtures.h"
#include "norvikhost/AsyncImporter.h"
#include "norvikhost/HostError.h"

namespace fs = std::filesystem;
using namespace norvikhost;
using namespace prsdk;
using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr std::int64_t kGoodFrames = 7;  // frames 0..6 decode; frame 7 is always asked in kOutsideCatalogue
constexpr std::int64_t kFrames = 8;      // frames 8 and 9 lie past the end
constexpr PrPixelFormat kFormats[] = {PrPixelFormat_YUYV_422_8u_601, PrPixelFormat_UYVY_422_8u_601};
constexpr PrPixelFormat kOutsideCatalogue = PrPixelFormat_BGRA_4444_32f;
constexpr int kAsyncThreads = 4;

std::uint64_t setting(const char* name, std::uint64_t fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

// Ends the process as failed when it is not destroyed within the limit.
class Watchdog {
public:
    Watchdog(std::uint64_t seconds, std::uint64_t seed)
        : m_thread([this, seconds, seed] {
              std::unique_lock lock(m_mutex);
              if (m_done.wait_for(lock, std::chrono::seconds(seconds), [this] { return m_finished; })) return;
              std::fprintf(stderr, "watchdog: the stress run (seed %llu) did not end within %llu s: deadlock?\n",
                           static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seconds));
              std::fflush(stderr);
              std::_Exit(3);
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;  // guarded by m_mutex
    std::thread m_thread;     // last: starts once the members above exist
};

using Picture = std::pair<std::int64_t, PrPixelFormat>;  // a frame in a pixel format

class Stress {
public:
    Stress(FrameSession& session, AsyncImporter& importer, std::map<Picture, Bytes> expected)
        : m_session(session), m_importer(importer), m_expected(std::move(expected)) {}

    // One host thread's calls until `remaining` runs out; the last thread to end closes.
    void asyncThread(std::uint64_t seed, std::atomic<std::int64_t>& remaining, std::atomic<int>& running) {
        std::mt19937_64 random(seed);
        try {
            while (remaining.fetch_sub(1) > 0) step(random);
            if (running.fetch_sub(1) == 1) {
                const bool flushFirst = random() % 2 == 0;
                if (m_importer.close(flushFirst) != aiNoError) fail("aiClose (or its flush) failed");
            }
        } catch (const std::exception& e) {
            fail(e.what());
        }
    }

    // imGetSourceVideo on the same clip every millisecond until told to stop.
    void syncThread(std::uint64_t seed, const std::atomic<bool>& stop) {
        std::mt19937_64 random(seed);
        SourceVideoRequester requester(m_session, kFormats[0]);
        try {
            while (!stop) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                const std::int64_t index = std::int64_t(random() % kGoodFrames);
                check(requester.request(index), index, imNoErr);
                ++m_syncCalls;
            }
        } catch (const std::exception& e) {
            fail(e.what());
        }
    }

    std::vector<std::string> problems() {
        std::lock_guard lock(m_mutex);
        return m_problems;
    }
    std::int64_t syncCalls() const { return m_syncCalls; }

private:
    void step(std::mt19937_64& random) {
        const std::int64_t index = std::int64_t(random() % (kFrames + 2));
        const PrTime time = m_session.frameTime(index) + PrTime(random() % std::uint64_t(m_session.ticksPerFrame()));
        const PrPixelFormat format = index == kGoodFrames ? kOutsideCatalogue : kFormats[random() % 2];
        const std::vector<imFrameFormat> formats = {{16, 8, format}};
        const std::uint64_t kind = random() % 100;
        if (kind < 45) {
            if (m_importer.announce(time, formats) != aiNoError) fail("aiInitiateAsyncRead failed");
        } else if (kind < 93) {
            std::int32_t wanted = index < kGoodFrames ? aiNoError : aiUnknownError;
            if (index == kGoodFrames) wanted = imUnknownError;  // the task threw
            check(m_importer.collect(time, formats), index, wanted);
        } else if (m_importer.flush() != aiNoError) {
            fail("aiFlush failed");
        }
    }

    void check(const FrameAnswer& answer, std::int64_t index, std::int32_t wanted) {
        if (answer.result != wanted) {
            fail("frame " + std::to_string(index) + " answered " + std::to_string(answer.result));
            return;
        }
        if (!answer.frame) return;
        const Frame* frame = m_session.host().frames().find(answer.frame.get());
        const auto expected = m_expected.find(Picture{index, frame ? frame->format : 0});
        if (expected == m_expected.end() || answer.frame.picture() != expected->second)
            fail("frame " + std::to_string(index) + " came with another picture");
    }

    void fail(const std::string& problem) {
        std::lock_guard lock(m_mutex);
        if (m_problems.size() < 20) m_problems.push_back(problem);
    }

    FrameSession& m_session;
    AsyncImporter& m_importer;
    const std::map<Picture, Bytes> m_expected;  // written before the threads start
    std::atomic<std::int64_t> m_syncCalls{0};
    std::mutex m_mutex;
    std::vector<std::string> m_problems;  // guarded by m_mutex
};

}  // namespace

TEST(AsyncStress, ThreadsAnnounceCollectFlushAndCloseAtRandom) {
    const std::uint64_t seed = setting("NORVIK_STRESS_SEED", std::random_device{}());
    const auto operations = std::int64_t(setting("NORVIK_STRESS_OPERATIONS", NORVIK_STRESS_OPERATIONS));
    std::printf("stress seed: %llu (NORVIK_STRESS_SEED=%llu replays it), %lld asynchronous calls\n",
                static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed),
                static_cast<long long>(operations));
    std::fflush(stdout);
    const Watchdog watchdog(setting("NORVIK_STRESS_SECONDS", 600), seed);

    endtoend::TempFolder folder;
    const fs::path path = folder.path() / "stress.avi";
    clipmaker::ClipSpec plan = endtoend::smallSpec(104, kFrames);
    plan.width = 16;
    plan.height = 8;
    clipmaker::makeClip(endtoend::utf8(path), plan);
    Host host;
    ImporterDriver driver(host, endtoend::modulePath());
    ASSERT_EQ(driver.init().result, imNoErr);
    {
        FrameSession session(driver, path);
        std::map<Picture, Bytes> expected;
        for (PrPixelFormat format : kFormats) {
            SourceVideoRequester requester(session, format);
            for (std::int64_t index = 0; index < kGoodFrames; ++index)
                expected[{index, format}] = requester.request(index).frame.picture();
        }
        AsyncImporter importer(session);
        Stress stress(session, importer, std::move(expected));
        std::atomic<std::int64_t> remaining{operations};
        std::atomic<int> running{kAsyncThreads};
        std::atomic<bool> stop{false};
        std::thread sync([&] { stress.syncThread(seed + kAsyncThreads, stop); });
        std::vector<std::thread> threads;
        for (int i = 0; i < kAsyncThreads; ++i)
            threads.emplace_back([&, i] { stress.asyncThread(seed + std::uint64_t(i), remaining, running); });
        for (std::thread& thread : threads) thread.join();
        stop = true;
        sync.join();

        EXPECT_TRUE(importer.closed());
        EXPECT_GT(stress.syncCalls(), 0);
        for (const std::string& problem : stress.problems()) ADD_FAILURE() << problem;
        EXPECT_EQ(host.frames().liveCount(), 0u) << "every frame was handed over and given back, or disposed of";
        EXPECT_TRUE(session.close().empty());
    }
    driver.shutdown();
    EXPECT_EQ(host.outstandingSuites(), 0);
}
