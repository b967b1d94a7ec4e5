// Host frames as the importer meets them: padded rows that no row length
// divides, and the books the host keeps for close (guard bytes, frames the
// module kept, frames disposed of by the wrong side).
#include <algorithm>
#include <gtest/gtest.h>

#include "norvikhost/FrameStore.h"
#include "norvikhost/PixelLayout.h"

using namespace norvikhost;
using namespace prsdk;

TEST(FrameStore, RowsArePaddedAndNoWholeNumberOfRowsLong) {
    FrameStore store;
    const std::pair<PrPixelFormat, std::int32_t> cases[] = {
        {PrPixelFormat_BGRA_4444_8u, 1920},     {PrPixelFormat_YUYV_422_8u_601, 1920},
        {PrPixelFormat_V210_422_10u_601, 1920}, {PrPixelFormat_BGRA_4444_16u, 1920},
        {PrPixelFormat_RGB_444_10u, 1280},      {PrPixelFormat_UYVY_422_8u_709, 38}};
    for (const auto& [format, width] : cases) {
        const std::int64_t packed = packedRowBytes(format, width);
        const prRect bounds{0, 0, width, 2};
        PPixHand frame = nullptr;
        ASSERT_EQ(store.create(format, &bounds, true, &frame), 0);
        const Frame& made = *store.find(frame);
        EXPECT_GT(made.rowBytes, packed) << width;
        EXPECT_NE(made.rowBytes % packed, 0) << width;
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(made.pixels) % 16, 0u);
        EXPECT_EQ(store.dispose(frame), 0);
    }
    EXPECT_TRUE(store.checkAtClose().empty());
}

TEST(FrameStore, OverwrittenGuardsAndFramesLeftWithTheModuleAreReported) {
    FrameStore store;
    const prRect bounds{0, 0, 3, 2};
    PPixHand before, after, kept, given, handedOver;
    for (PPixHand* frame : {&before, &after, &kept, &given, &handedOver})
        ASSERT_EQ(store.create(PrPixelFormat_BGRA_4444_8u, &bounds, false, frame), 0);
    store.find(before)->pixels[-1] = 0;
    const Frame& late = *store.find(after);
    late.pixels[late.size] = 0;
    EXPECT_EQ(store.dispose(before, true), 0);
    EXPECT_TRUE(store.handOver(after));
    EXPECT_TRUE(store.handOver(given));
    EXPECT_EQ(store.dispose(given, true), 0);
    EXPECT_TRUE(store.handOver(handedOver));  // the host's to dispose of; not a problem
    int notAFrame = 0;
    EXPECT_EQ(store.dispose(&notAFrame, true), suiteError_InvalidParms);

    std::vector<std::string> problems = store.checkAtClose(),
                             expected = {
                                 "frame 1 (bgra 3x2): the bytes before its buffer were overwritten (found at Dispose)",
                                 "frame 4 (bgra 3x2): the module disposed of a frame it had handed to the host",
                                 "Dispose of a handle that is not a live frame",
                                 "frame 2 (bgra 3x2): the bytes after its buffer were overwritten (found at close)",
                                 "frame 3 (bgra 3x2): the module neither disposed of it nor handed it to the host"};
    std::sort(problems.begin(), problems.end());  // frames at close come in no fixed order
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(problems, expected);
    EXPECT_EQ(store.liveCount(), 3u);
}
