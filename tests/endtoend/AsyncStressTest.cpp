// The module's asynchronous importer under load: several host threads announce,
// collect and flush at random on one importer while two other threads ask the
// session that made it for frames at once through imGetSourceVideo, as a host's
// render threads do (the session serialises them); the last of them to finish
// closes the importer, with requests outstanding or after a flush. Every answer
// must be the one its frame calls for (a frame asked in a pixel format outside
// the catalogue throws in its task: 99), every picture the right one, and every
// host frame handed over or disposed of. Run under ThreadSanitizer (races,
// lock-order inversions) and AddressSanitizer (leaks) by their presets; a
// deadlock runs into the test's CTest timeout.
//
// NORVIK_STRESS_SEED=S replays a run's calls (the seed is printed; the threads'
// interleaving is the scheduler's); NORVIK_STRESS_OPERATIONS=N sets how many
// asynchronous calls are made.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <random>
#include <thread>

#include "ClipFixtures.h"
#include "norvikhost/AsyncImporter.h"

namespace fs = std::filesystem;
using namespace norvikhost;
using namespace prsdk;

namespace {

constexpr std::int64_t kGoodFrames = 7;  // frames 0..6 decode; frame 7 is always asked in kOutsideCatalogue
constexpr std::int64_t kFrames = 8;      // frames 8 and 9 lie past the end
constexpr PrPixelFormat kFormats[] = {PrPixelFormat_YUYV_422_8u_601, PrPixelFormat_UYVY_422_8u_601};
constexpr PrPixelFormat kOutsideCatalogue = PrPixelFormat_BGRA_4444_32f;
constexpr int kAsyncThreads = 4;
constexpr int kSyncThreads = 2;  // on the one synchronous session

std::uint64_t setting(const char* name, std::uint64_t fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

using Picture = std::pair<std::int64_t, PrPixelFormat>;  // a frame in a pixel format

// What the threads share: the clip's expected pictures (written before they
// start) and the problems they meet.
struct Stress {
    FrameSession& session;
    AsyncImporter& importer;
    const std::map<Picture, std::vector<std::uint8_t>> expected;
    std::mutex mutex;
    std::vector<std::string> problems;  // guarded by mutex

    void fail(const std::string& problem) {
        std::lock_guard lock(mutex);
        if (problems.size() < 20) problems.push_back(problem);
    }

    void check(const FrameAnswer& answer, std::int64_t index, std::int32_t wanted) {
        if (answer.result != wanted)
            return fail("frame " + std::to_string(index) + " answered " + std::to_string(answer.result));
        if (!answer.frame) return;
        const Frame* frame = session.host().frames().find(answer.frame.get());
        const auto picture = expected.find(Picture{index, frame ? frame->format : 0});
        if (picture == expected.end() || answer.frame.picture() != picture->second)
            fail("frame " + std::to_string(index) + " came with another picture");
    }

    // One asynchronous call at random.
    void step(std::mt19937_64& random) {
        const std::int64_t index = std::int64_t(random() % (kFrames + 2));
        const PrTime time = session.frameTime(index) + PrTime(random() % std::uint64_t(session.ticksPerFrame()));
        const PrPixelFormat format = index == kGoodFrames ? kOutsideCatalogue : kFormats[random() % 2];
        const std::vector<imFrameFormat> formats = {{16, 8, format}};
        const std::uint64_t kind = random() % 100;
        if (kind < 45) {
            if (importer.announce(time, formats) != aiNoError) fail("aiInitiateAsyncRead failed");
        } else if (kind < 93) {
            std::int32_t wanted = index < kGoodFrames ? aiNoError : aiUnknownError;
            if (index == kGoodFrames) wanted = imUnknownError;  // the task threw
            check(importer.collect(time, formats), index, wanted);
        } else if (importer.flush() != aiNoError) {
            fail("aiFlush failed");
        }
    }
};

}  // namespace

TEST(AsyncStress, ThreadsAnnounceCollectFlushAndCloseAtRandom) {
    const std::uint64_t seed = setting("NORVIK_STRESS_SEED", std::random_device{}());
    const auto operations = std::int64_t(setting("NORVIK_STRESS_OPERATIONS", NORVIK_STRESS_OPERATIONS));
    std::printf("stress seed: %llu (NORVIK_STRESS_SEED=%llu replays it), %lld asynchronous calls\n",
                static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed),
                static_cast<long long>(operations));
    std::fflush(stdout);

    endtoend::TempFolder folder;
    const fs::path path = folder.path() / "stress.avi";
    clipmaker::ClipPlan plan = endtoend::smallPlan(104, kFrames);
    plan.width = 16;
    plan.height = 8;
    clipmaker::makeClip(endtoend::utf8(path), plan);
    Host host;
    ImporterDriver driver(host, endtoend::modulePath());
    ASSERT_EQ(driver.init().result, imNoErr);
    {
        FrameSession session(driver, path);
        std::map<Picture, std::vector<std::uint8_t>> expected;
        for (PrPixelFormat format : kFormats) {
            SourceVideoRequester requester(session, format);
            for (std::int64_t index = 0; index < kGoodFrames; ++index)
                expected[{index, format}] = requester.request(index).frame.picture();
        }
        AsyncImporter importer(session);
        Stress stress{session, importer, std::move(expected), {}, {}};
        std::atomic<std::int64_t> remaining{operations}, syncCalls{0};
        std::atomic<int> running{kAsyncThreads};
        std::atomic<bool> stop{false};
        // imGetSourceVideo on the same session from two threads until told to
        // stop, each in its own format, one without pause.
        std::vector<std::thread> sync;
        for (int i = 0; i < kSyncThreads; ++i)
            sync.emplace_back([&, i] {
                std::mt19937_64 random(seed + kAsyncThreads + std::uint64_t(i));
                SourceVideoRequester requester(session, kFormats[i % 2]);
                try {
                    for (; !stop; ++syncCalls) {
                        if (i == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
                        const std::int64_t index = std::int64_t(random() % kGoodFrames);
                        stress.check(requester.request(index), index, imNoErr);
                    }
                } catch (const std::exception& e) {
                    stress.fail(e.what());
                }
            });
        // The host threads' calls until `remaining` runs out; the last thread to end closes.
        std::vector<std::thread> threads;
        for (int i = 0; i < kAsyncThreads; ++i)
            threads.emplace_back([&, i] {
                std::mt19937_64 random(seed + std::uint64_t(i));
                try {
                    while (remaining.fetch_sub(1) > 0) stress.step(random);
                    if (running.fetch_sub(1) == 1 && importer.close(random() % 2 == 0) != aiNoError)
                        stress.fail("aiClose (or its flush) failed");
                } catch (const std::exception& e) {
                    stress.fail(e.what());
                }
            });
        for (std::thread& thread : threads) thread.join();
        stop = true;
        for (std::thread& thread : sync) thread.join();

        EXPECT_TRUE(importer.closed());
        EXPECT_GT(syncCalls, 0);
        for (const std::string& problem : stress.problems) ADD_FAILURE() << problem;
        EXPECT_EQ(host.frames().liveCount(), 0u) << "every frame was handed over and given back, or disposed of";
        EXPECT_TRUE(session.close().empty());
    }
    driver.shutdown();
    EXPECT_EQ(host.outstandingSuites(), 0);
}
