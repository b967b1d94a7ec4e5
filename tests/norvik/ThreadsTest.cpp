// Slices decoded on several threads inside one call, and several handles used
// from several threads at once, give the same pictures as one thread.
#include <gtest/gtest.h>
#include <thread>

#include "CodecHelpers.h"

using namespace norvik_test;

TEST(Threads, SlicePoolGivesTheSameFrameAsOneThread) {
    Handle h;
    const auto block = streamFormat(123, 96, 64, 2);
    const auto frame = encodePlanar(h.get(), block, makePicture(123, 96, 64, 9));
    std::vector<uint8_t> one, many;
    norvik_set_thread_count(h.get(), 1);
    ASSERT_EQ(decodePacked(h.get(), block, frame, record(11), 64, 256, one), 0);
    norvik_set_thread_count(h.get(), 4);
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(decodePacked(h.get(), block, frame, record(11, NORVIK_FLAG_BOTTOM_UP), 64, 256, many), 0);
        for (uint32_t y = 0; y < 64; ++y)
            ASSERT_TRUE(std::equal(one.begin() + y * 256, one.begin() + (y + 1) * 256, many.begin() + (63 - y) * 256));
    }
}

TEST(Threads, HandlesOnSeveralThreadsAtOnce) {
    std::vector<std::thread> threads;
    for (uint32_t type : {101, 104, 110, 123}) {
        threads.emplace_back([type] {
            Handle h;
            norvik_set_thread_count(h.get(), 2);
            const auto block = streamFormat(type, 40, 24, 4);
            for (uint32_t round = 0; round < 6; ++round) {
                const Picture pic = makePicture(type, 40, 24, round * 4 + type);
                Picture back = pic;
                EXPECT_EQ(decodePlanar(h.get(), block, encodePlanar(h.get(), block, pic), back), NORVIK_OK) << type;
                for (int p = 0; p < pic.info.planes; ++p) EXPECT_EQ(back.planes[p], pic.planes[p]) << type;
            }
        });
    }
    for (auto& th : threads) th.join();
}
