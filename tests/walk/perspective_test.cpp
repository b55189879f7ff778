#include "walk/perspective.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace zk {
namespace {

Perspective room(int32_t minScale, int32_t maxScale) {
    return {.minScaleRow = 200, .maxScaleRow = 400, .minScale = minScale, .maxScale = maxScale};
}

TEST(PerspectiveScale, InterpolatesBetweenRowsAndHoldsBeyond) {
    const Perspective p = room(50, 100);
    EXPECT_EQ(perspectiveScale(p, 400), 100);
    EXPECT_EQ(perspectiveScale(p, 200), 50);
    EXPECT_EQ(perspectiveScale(p, 300), 75);
    EXPECT_EQ(perspectiveScale(p, 250), 62);  // 62.5 goes to the even neighbour
    EXPECT_EQ(perspectiveScale(p, 100), 50);
    EXPECT_EQ(perspectiveScale(p, 500), 100);
    // Rows in the other order (nearer rows smaller) work the same way.
    const Perspective flipped{
        .minScaleRow = 400, .maxScaleRow = 200, .minScale = 50, .maxScale = 100};
    EXPECT_EQ(perspectiveScale(flipped, 250), 88);  // 87.5
    EXPECT_EQ(perspectiveScale(flipped, 100), 100);
    EXPECT_EQ(perspectiveScale(flipped, 600), 50);
}

TEST(PerspectiveScale, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(perspectiveScale(room(51, 100), 300), 76);  // 75.5
    EXPECT_EQ(perspectiveScale(room(49, 100), 300), 74);  // 74.5
    // Negative limits round the same way.
    EXPECT_EQ(perspectiveScale(room(-51, 0), 300), -26);  // -25.5
    EXPECT_EQ(perspectiveScale(room(-49, 0), 300), -24);  // -24.5
}

TEST(PerspectiveScale, MinAboveMaxAlwaysGivesMin) {
    const Perspective p = room(80, 60);
    for (int32_t row : {-1000, 0, 200, 300, 400, 1000}) EXPECT_EQ(perspectiveScale(p, row), 80);
}

TEST(PerspectiveScale, EqualRowsGiveMax) {
    Perspective p{.minScaleRow = 300, .maxScaleRow = 300, .minScale = 40, .maxScale = 90};
    for (int32_t row : {0, 299, 300, 301, 1000}) EXPECT_EQ(perspectiveScale(p, row), 90);
    p.minScale = 95;  // still clamped to min when min is above max
    EXPECT_EQ(perspectiveScale(p, 10), 95);
}

TEST(PerspectiveScale, ExtremeValuesStayInRange) {
    const int32_t lo = std::numeric_limits<int32_t>::min();
    const int32_t hi = std::numeric_limits<int32_t>::max();
    const Perspective wide{.minScaleRow = lo, .maxScaleRow = hi, .minScale = lo, .maxScale = hi};
    EXPECT_EQ(perspectiveScale(wide, lo), lo);
    EXPECT_EQ(perspectiveScale(wide, hi), hi);
    EXPECT_EQ(perspectiveScale(wide, 0), 0);
    const Perspective steep{.minScaleRow = 0, .maxScaleRow = 1, .minScale = lo, .maxScale = hi};
    EXPECT_EQ(perspectiveScale(steep, lo), lo);
    EXPECT_EQ(perspectiveScale(steep, hi), hi);
}

}  // namespace
}  // namespace zk
