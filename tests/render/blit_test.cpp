#include "render/blit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

#include "render_fixture.h"

namespace zk::test {
namespace {

// Each pixel tells its own position: 0x00XXYY.
Image positions(int w, int h) {
    return imageOf(w, h, [](int x, int y) { return uint32_t((x + 1) << 8 | (y + 1)); });
}

TEST(Blit, PatternSkipsColourKeyOnlyWhenTransparent) {
    const Image img = imageOf(4, 1, [](int x, int) { return x % 2 ? 0xFF00FFu : 0x112233u; });
    Surface s(6, 2, 0x777777);
    drawPattern(s, pictureItem(img, true, 0xFF00FF), 0, 1, 0);
    EXPECT_EQ(s.pixel(0, 0), 0x777777u);
    EXPECT_EQ(s.pixel(1, 0), 0x112233u);
    EXPECT_EQ(s.pixel(2, 0), 0x777777u);  // key skipped
    EXPECT_EQ(s.pixel(3, 0), 0x112233u);
    EXPECT_EQ(s.pixel(1, 1), 0x777777u);
    drawPattern(s, pictureItem(img, false, 0xFF00FF), 0, 1, 1);
    EXPECT_EQ(s.pixel(2, 1), 0xFF00FFu);  // opaque item copies every pixel
}

TEST(Blit, PatternIsClippedAndSelectsItsCell) {
    // Two 3 x 2 cells side by side; pattern 1 starts at picture column 3.
    PictureItem item = pictureItem(positions(6, 2), false);
    item.patternWidth = 3;
    item.patternHeight = 2;
    item.prepare();
    ASSERT_EQ(item.patterns().size(), 2u);
    Surface s(4, 4, 0);
    drawPattern(s, item, 1, -1, 3);  // one column off the left, one row off the bottom
    EXPECT_EQ(s.pixel(0, 3), uint32_t(5 << 8 | 1));
    EXPECT_EQ(s.pixel(1, 3), uint32_t(6 << 8 | 1));
    EXPECT_EQ(s.pixel(2, 3), 0u);
    Surface before = s;
    drawPattern(s, item, 2, 0, 0);  // no such pattern
    drawPattern(s, PictureItem{}, 0, 0, 0);
    EXPECT_EQ(s.pixels, before.pixels);
}

TEST(Blit, StretchSamplesWithSixteenSixteenSteps) {
    // 101 source columns into 50: step = 101 * 65536 / 50, column d reads floor(d * step).
    const PictureItem item = pictureItem(positions(101, 1), false);
    Surface s(60, 1, 0);
    drawStretched(s, item, {5, 0, 55, 1});
    const int64_t step = (int64_t{101} << 16) / 50;
    for (int d = 0; d < 50; ++d)
        EXPECT_EQ(s.pixel(5 + d, 0) >> 8, uint32_t((d * step >> 16) + 1)) << d;
    EXPECT_EQ(s.pixel(4, 0), 0u);
    EXPECT_EQ(s.pixel(55, 0), 0u);

    // Enlarged twice: every source pixel covers a 2 x 2 block.
    Surface big(8, 6, 0);
    drawStretched(big, pictureItem(positions(3, 2), false), {1, 1, 7, 5});
    for (int y = 1; y < 5; ++y)
        for (int x = 1; x < 7; ++x)
            EXPECT_EQ(big.pixel(x, y), uint32_t(((x - 1) / 2 + 1) << 8 | ((y - 1) / 2 + 1)));
    EXPECT_EQ(big.pixel(7, 4), 0u);
    EXPECT_EQ(big.pixel(6, 5), 0u);
}

TEST(Blit, ClippedStretchDrawsWhatTheUnclippedOneDraws) {
    const PictureItem item = pictureItem(positions(37, 23), false);
    const Rect dest{-20, -7, 61, 40};  // 81 x 47, reaching off the top left
    Surface whole(200, 200, 0);
    drawStretched(whole, item,
                  {dest.left + 100, dest.top + 100, dest.right + 100, dest.bottom + 100});
    Surface clipped(30, 30, 0);
    drawStretched(clipped, item, dest);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(clipped.pixel(x, y), whole.pixel(x + 100, y + 100)) << x << "," << y;
    Surface alpha(30, 30, 0);
    drawStretchedAlpha(alpha, item, dest, 255);
    EXPECT_EQ(alpha.pixels, clipped.pixels);
}

TEST(Blit, EmptyOrOffSurfaceDestinationsDrawNothing) {
    const PictureItem item = pictureItem(filled(4, 4, 0xFFFFFF), false);
    Surface s(10, 10, 0);
    drawStretched(s, item, {3, 3, 3, 8});
    drawStretched(s, item, {8, 8, 2, 2});
    drawStretched(s, item, {10, 0, 20, 5});
    drawStretched(s, item, {-1000000000, -1000000000, -999999999, 1000000000});
    drawStretchedAlpha(s, item, {4, 4, 4, 6}, 100);
    for (uint32_t p : s.pixels) EXPECT_EQ(p, 0u);
}

TEST(Blit, AlphaBlendsWithinOneUnitAndHonoursTheLimits) {
    // The exact blend for a spread of channel values and alphas.
    for (uint32_t a = 0; a <= 255; a += 5)
        for (uint32_t sv = 0; sv <= 255; sv += 15)
            for (uint32_t dv = 0; dv <= 255; dv += 17) {
                const uint32_t out = blendPixel(rgb(sv, dv, sv), rgb(dv, sv, 255 - sv), a);
                const double exactR = (sv * a + dv * (255.0 - a)) / 255.0;
                const double exactG = (dv * a + sv * (255.0 - a)) / 255.0;
                const double exactB = (sv * a + (255 - sv) * (255.0 - a)) / 255.0;
                ASSERT_LE(std::abs(double(out >> 16) - exactR), 1.0);
                ASSERT_LE(std::abs(double(out >> 8 & 0xFF) - exactG), 1.0);
                ASSERT_LE(std::abs(double(out & 0xFF) - exactB), 1.0);
            }

    const PictureItem red = pictureItem(filled(2, 2, 0xFF0000), true, 0);
    Surface s(2, 2, 0x0000FF);
    drawStretchedAlpha(s, red, {0, 0, 2, 2}, 128);
    const uint32_t half = s.pixel(1, 1);
    EXPECT_NEAR(double(half >> 16), 128.0, 1.0);
    EXPECT_NEAR(double(half & 0xFF), 127.0, 1.0);

    for (int alpha : {0, -5}) {
        Surface t(2, 2, 0x0000FF);
        drawStretchedAlpha(t, red, {0, 0, 2, 2}, alpha);
        EXPECT_EQ(t.pixel(0, 0), 0x0000FFu) << alpha;
    }
    Surface opaque(2, 2, 0x0000FF);
    drawStretchedAlpha(opaque, red, {0, 0, 2, 2}, 300);
    EXPECT_EQ(opaque.pixel(1, 0), 0xFF0000u);
}

TEST(Blit, AlphaSkipsTheColourKey) {
    const Image img = imageOf(2, 1, [](int x, int) { return x ? 0xFFFFFFu : 0x00FF00u; });
    Surface s(2, 1, 0x000000);
    drawStretchedAlpha(s, pictureItem(img, true, 0x00FF00), {0, 0, 2, 1}, 100);
    EXPECT_EQ(s.pixel(0, 0), 0u);
    EXPECT_EQ(s.pixel(1, 0), blendPixel(0xFFFFFF, 0, 100));
    Surface t(2, 1, 0x000000);
    drawStretchedAlpha(t, pictureItem(img, true, 0x00FF00), {0, 0, 2, 1}, 255);
    EXPECT_EQ(t.pixel(0, 0), 0u);
    EXPECT_EQ(t.pixel(1, 0), 0xFFFFFFu);
}

TEST(Blit, FillAndDrawEqualsFillThenDraw) {
    // Key pixels scattered through a picture wider than the vector width.
    const Image img = imageOf(23, 9, [](int x, int y) {
        return (x * 7 + y * 3) % 5 == 0 ? 0x00FF00u : uint32_t(x << 16 | y << 8 | 0x40);
    });
    for (bool transparent : {true, false})
        for (auto [x, y] :
             {std::pair{3, 2}, std::pair{-5, -4}, std::pair{20, 8}, std::pair{40, 0}}) {
            const PictureItem item = pictureItem(img, transparent, 0x00FF00);
            Surface expected(30, 12, 0x999999);
            expected.fill(0x123456);
            drawPattern(expected, item, 0, x, y);
            Surface actual(30, 12, 0x999999);
            fillAndDrawPattern(actual, 0x123456, item, 0, x, y);
            EXPECT_EQ(actual.pixels, expected.pixels) << transparent << " " << x << "," << y;
        }
    Surface none(5, 5, 0x999999);
    fillAndDrawPattern(none, 0, PictureItem{}, 0, 0, 0);
    for (uint32_t p : none.pixels) EXPECT_EQ(p, 0u);
}

TEST(Blit, WideBlendedRowsMatchThePixelBlend) {
    // Rows long enough for the four-pixel path, with key pixels among them; unscaled
    // and enlarged.
    const Image img = imageOf(19, 3, [](int x, int y) {
        return x % 6 == 2 ? 0xFF00FFu : uint32_t((x * 13) << 16 | (y * 70) << 8 | (255 - x * 9));
    });
    const Image ground = imageOf(40, 6, [](int x, int y) { return uint32_t(x * 6 << 8 | y * 40); });
    const PictureItem item = pictureItem(img, true, 0xFF00FF);
    for (int alpha : {1, 77, 128, 254})
        for (const Rect& dest : {Rect{1, 0, 20, 3}, Rect{0, 0, 38, 6}}) {
            Surface s(40, 6);
            s.pixels = ground.pixels;
            drawStretchedAlpha(s, item, dest, alpha);
            const int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
            for (int y = dest.top; y < dest.bottom; ++y)
                for (int x = dest.left; x < dest.right; ++x) {
                    const uint32_t src = img.at((x - dest.left) * 19 / dw, (y - dest.top) * 3 / dh);
                    const uint32_t under = ground.at(x, y);
                    const uint32_t want = src == 0xFF00FF ? under : blendPixel(src, under, alpha);
                    ASSERT_EQ(s.pixel(x, y), want) << alpha << " " << x << "," << y;
                }
        }
}

}  // namespace
}  // namespace zk::test
