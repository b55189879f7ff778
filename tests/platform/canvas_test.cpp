#include "platform/canvas.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform/fonts.h"
#include "platform/surface.h"

namespace zk {
namespace {

// Fonts are slow to open; one set serves every case of this file.
Fonts& sharedFonts() {
    static Fonts fonts;
    return fonts;
}

int countNot(const Surface& s, uint32_t color, const Rect& area) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) n += s.pixel(x, y) != color;
    return n;
}

TEST(Surface, FillRectIsClippedAndExcludesRightAndBottom) {
    Surface s(10, 8, 0x112233);
    EXPECT_EQ(s.pixel(9, 7), 0x112233u);
    s.fillRect({-5, -5, 3, 2}, 0xFF0000);
    EXPECT_EQ(countNot(s, 0x112233, s.bounds()), 3 * 2);
    EXPECT_EQ(s.pixel(2, 1), 0xFF0000u);
    EXPECT_EQ(s.pixel(3, 1), 0x112233u);
    EXPECT_EQ(s.pixel(2, 2), 0x112233u);

    s.fill(0);
    s.fillRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 0xFFFFFF);
    EXPECT_EQ(countNot(s, 0xFFFFFF, s.bounds()), 0);
    s.fill(0);
    s.fillRect({5, 5, 2, 9}, 0xFFFFFF);    // right before left
    s.fillRect({20, 0, 30, 8}, 0xFFFFFF);  // wholly outside
    EXPECT_EQ(countNot(s, 0, s.bounds()), 0);
    // Colours keep the top byte of a pixel zero.
    s.setPixel(0, 0, 0xFF123456);
    EXPECT_EQ(s.pixel(0, 0), 0x123456u);
    EXPECT_EQ(s.pixel(-1, 0), 0u);
}

TEST(Surface, ResizeKeepsPixelsOnlyForTheSameSize) {
    Surface s(4, 4);
    s.setPixel(1, 1, 0xABCDEF);
    s.resize(4, 4);
    EXPECT_EQ(s.pixel(1, 1), 0xABCDEFu);
    s.resize(5, 3);
    EXPECT_EQ(s.pixels.size(), 15u);
    EXPECT_EQ(countNot(s, 0, s.bounds()), 0);
    s.resize(-3, 2);
    EXPECT_EQ(s.width, 0);
    EXPECT_TRUE(s.pixels.empty());
}

TEST(Rect, HitTestCountsEveryEdgeAndIntersectClips) {
    Rect r{10, 20, 30, 40};
    EXPECT_TRUE(r.contains(10, 20));
    EXPECT_TRUE(r.contains(30, 40));
    EXPECT_FALSE(r.contains(31, 40));
    EXPECT_FALSE(r.contains(9, 25));
    EXPECT_EQ(intersect(r, {0, 0, 15, 100}), (Rect{10, 20, 15, 40}));
    EXPECT_TRUE(intersect(r, {30, 0, 50, 50}).empty());
}

class CanvasTest : public ::testing::Test {
  protected:
    Surface surface{640, 480};
    Canvas canvas{surface, sharedFonts()};
};

TEST_F(CanvasTest, WhiteTextOnBlackStaysInsideItsBox) {
    canvas.setFont("Tahoma", 12);
    canvas.setFontColor(0xFFFFFF);
    canvas.setBrushColor(0);
    const std::string text = "Building data structure...";
    canvas.textOut(100, 100, text);
    const int w = canvas.textWidth(text);
    const int h = canvas.textHeight(text);
    EXPECT_GT(w, 100);
    EXPECT_LT(w, 300);
    EXPECT_GE(h, 16);
    EXPECT_LE(h, 24);
    const Rect box{100, 100, 100 + w, 100 + h};
    EXPECT_GT(countNot(surface, 0, box), 150);
    EXPECT_EQ(countNot(surface, 0, surface.bounds()), countNot(surface, 0, box));
    EXPECT_EQ(canvas.penPos(), (Point{100 + w, 100}));
}

TEST(BlendMask, PartialCoverageMixesWithTheBackground) {
    Surface s(4, 3, 0x0000FF);
    TextMask m{3, 2, {0, 128, 255, 255, 64, 0}};
    blendMask(s, m, 1, 1, 0xFF0000);
    EXPECT_EQ(s.pixel(1, 1), 0x0000FFu);
    EXPECT_EQ(s.pixel(2, 1), 0x80007Fu);
    EXPECT_EQ(s.pixel(3, 1), 0xFF0000u);
    EXPECT_EQ(s.pixel(1, 2), 0xFF0000u);
    EXPECT_EQ(s.pixel(2, 2), 0x4000BFu);
    EXPECT_EQ(s.pixel(0, 0), 0x0000FFu);
    // Partly and wholly off the surface.
    blendMask(s, m, -2, 0, 0xFFFFFF);
    EXPECT_EQ(s.pixel(0, 0), 0xFFFFFFu);
    blendMask(s, m, 3, 2, 0x00FF00);
    EXPECT_EQ(s.pixel(3, 2), 0x0000FFu);
    blendMask(s, m, INT_MAX, INT_MIN, 0x00FF00);
}

TEST_F(CanvasTest, SolidBrushFillsTheTextBoxAndClearBrushDoesNot) {
    canvas.setFontColor(0xFFFFFF);
    canvas.setBrushColor(0x808080);
    canvas.textOut(50, 60, "Hello");
    const Rect box{50, 60, 50 + canvas.textWidth("Hello"), 60 + canvas.textHeight("Hello")};
    // Every pixel of the box is brush grey or text, none of it background black.
    EXPECT_EQ(countNot(surface, 0, box), (box.right - box.left) * (box.bottom - box.top));
    EXPECT_EQ(surface.pixel(box.left, box.top), 0x808080u);
    EXPECT_EQ(countNot(surface, 0, surface.bounds()), countNot(surface, 0, box));

    surface.fill(0x0000FF);
    canvas.setBrushColor(0xFF0000);
    canvas.setBrushStyle(BrushStyle::Clear);
    canvas.textOut(50, 60, "Hello");
    int red = 0, blue = 0;
    for (uint32_t p : surface.pixels) {
        red += p == 0xFF0000;
        blue += p == 0x0000FF;
    }
    EXPECT_EQ(red, 0);
    const int area = (box.right - box.left) * (box.bottom - box.top);
    EXPECT_GT(countNot(surface, 0x0000FF, box), 20);
    EXPECT_LT(countNot(surface, 0x0000FF, box), area / 2);

    // Setting a colour makes a clear brush solid again.
    canvas.setBrushColor(0x00FF00);
    EXPECT_EQ(canvas.brushStyle(), BrushStyle::Solid);
}

TEST_F(CanvasTest, TextWidthGrowsAndConvertsWindows1252) {
    EXPECT_EQ(canvas.textWidth(""), 0);
    EXPECT_GT(canvas.textWidth("Hello world"), canvas.textWidth("Hello"));
    // 0xE9 is e acute in Windows-1252; 0x80 the euro sign.
    const Font& tahoma = sharedFonts().get("Tahoma", 12);
    EXPECT_EQ(canvas.textWidth("caf\xE9"), tahoma.width("caf\xC3\xA9"));
    EXPECT_EQ(canvas.textWidth("\x80"), tahoma.width("\xE2\x82\xAC"));
    canvas.setFont("Lucida console", 12);
    EXPECT_EQ(canvas.textWidth("iiii"), canvas.textWidth("WWWW"));
}

TEST_F(CanvasTest, TextAtAndBeyondTheEdgesIsClipped) {
    canvas.setFontColor(0xFFFFFF);
    canvas.setBrushColor(0x404040);
    canvas.textOut(-10, -8, "Edge");
    EXPECT_EQ(surface.pixel(0, 0), 0x404040u);
    canvas.textOut(630, 470, "Edge");
    EXPECT_NE(surface.pixel(639, 479), 0u);
    Surface before = surface;
    canvas.textOut(INT_MAX - 3, 10, "Far");
    canvas.textOut(10, INT_MIN, "Far");
    canvas.textOut(INT_MIN, INT_MAX, "Far");
    EXPECT_EQ(surface.pixels, before.pixels);
}

TEST_F(CanvasTest, LinesLeaveOutTheirEndPoint) {
    canvas.setPenColor(0x808080);
    canvas.moveTo(2, 2);
    canvas.lineTo(8, 2);
    EXPECT_EQ(countNot(surface, 0, surface.bounds()), 6);
    EXPECT_EQ(surface.pixel(7, 2), 0x808080u);
    EXPECT_EQ(surface.pixel(8, 2), 0u);
    EXPECT_EQ(canvas.penPos(), (Point{8, 2}));

    // A rain drop of kind 0: from (x, y) to (x, y + 12) covers 12 rows.
    surface.fill(0);
    canvas.moveTo(20, 30);
    canvas.lineTo(20, 42);
    EXPECT_EQ(countNot(surface, 0, surface.bounds()), 12);
    EXPECT_EQ(surface.pixel(20, 30), 0x808080u);
    EXPECT_EQ(surface.pixel(20, 41), 0x808080u);
    EXPECT_EQ(surface.pixel(20, 42), 0u);

    // Drawn upwards as well.
    surface.fill(0);
    canvas.moveTo(5, 20);
    canvas.lineTo(5, 10);
    EXPECT_EQ(surface.pixel(5, 20), 0x808080u);
    EXPECT_EQ(surface.pixel(5, 11), 0x808080u);
    EXPECT_EQ(surface.pixel(5, 10), 0u);

    surface.fill(0);
    canvas.moveTo(0, 0);
    canvas.lineTo(0, 0);
    EXPECT_EQ(countNot(surface, 0, surface.bounds()), 0);
}

TEST_F(CanvasTest, SlopedLinesHaveOnePixelPerStepNearTheIdealLine) {
    canvas.setPenColor(0xFFFFFF);
    canvas.moveTo(10, 10);
    canvas.lineTo(40, 21);  // 30 steps along x, 11 along y
    EXPECT_EQ(countNot(surface, 0, surface.bounds()), 30);
    for (int x = 10; x < 40; ++x) {
        int found = -1;
        for (int y = 0; y < 480; ++y)
            if (surface.pixel(x, y)) found = y;
        ASSERT_GE(found, 0) << x;
        const double ideal = 10 + (x - 10) * 11.0 / 30.0;
        EXPECT_LE(std::abs(found - ideal), 0.5) << x;
    }
    EXPECT_EQ(surface.pixel(10, 10), 0xFFFFFFu);
}

TEST_F(CanvasTest, ClippedLinesMatchTheUnclippedOnes) {
    // The same line on a small surface it crosses and, shifted, on a large one
    // that holds it whole: the visible pixels must agree.
    Surface small(20, 20);
    Canvas c(small, sharedFonts());
    c.setPenColor(0xFFFFFF);
    const Point from{-30, -7}, to{50, 23};
    c.moveTo(from.x, from.y);
    c.lineTo(to.x, to.y);
    canvas.setPenColor(0xFFFFFF);
    canvas.moveTo(from.x + 100, from.y + 100);
    canvas.lineTo(to.x + 100, to.y + 100);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(small.pixel(x, y), surface.pixel(x + 100, y + 100)) << x << "," << y;
    EXPECT_GT(countNot(small, 0, small.bounds()), 0);

    // A line spanning the whole int range finishes and draws only its visible row.
    small.fill(0);
    c.moveTo(INT_MIN, 5);
    c.lineTo(INT_MAX, 5);
    EXPECT_EQ(countNot(small, 0, small.bounds()), 20);
    EXPECT_EQ(countNot(small, 0, {0, 5, 20, 6}), 20);
    small.fill(0);
    c.moveTo(INT_MIN, INT_MIN);
    c.lineTo(INT_MAX, INT_MAX);
    EXPECT_EQ(countNot(small, 0, small.bounds()), 20);  // the diagonal
    small.fill(0);
    c.moveTo(-50, 30);
    c.lineTo(50, 40);  // below the surface
    EXPECT_EQ(countNot(small, 0, small.bounds()), 0);
}

TEST_F(CanvasTest, FillAndFrameUseTheBrushAndAreClipped) {
    canvas.setPenColor(0x0000FF);
    canvas.setBrushColor(0x008000);
    canvas.frameRect({2, 2, 7, 6});
    // Rows 2 and 5, columns 2 and 6 (right and bottom edges excluded).
    EXPECT_EQ(countNot(surface, 0, surface.bounds()), 5 + 5 + 2 + 2);
    EXPECT_EQ(surface.pixel(2, 2), 0x008000u);
    EXPECT_EQ(surface.pixel(6, 5), 0x008000u);
    EXPECT_EQ(surface.pixel(7, 5), 0u);
    EXPECT_EQ(surface.pixel(6, 6), 0u);
    EXPECT_EQ(surface.pixel(4, 3), 0u);

    surface.fill(0);
    canvas.frameRect({-2, -2, 4, 4});
    EXPECT_EQ(countNot(surface, 0, surface.bounds()), 4 + 3);
    EXPECT_EQ(surface.pixel(3, 0), 0x008000u);
    EXPECT_EQ(surface.pixel(0, 3), 0x008000u);
    EXPECT_EQ(surface.pixel(0, 0), 0u);

    surface.fill(0);
    canvas.frameRect({5, 5, 6, 6});  // one pixel
    EXPECT_EQ(countNot(surface, 0, surface.bounds()), 1);

    surface.fill(0);
    canvas.fillRect({630, 470, 700, 500});
    EXPECT_EQ(countNot(surface, 0, surface.bounds()), 10 * 10);

    surface.fill(0);
    canvas.setBrushStyle(BrushStyle::Clear);
    canvas.fillRect({0, 0, 10, 10});
    canvas.frameRect({0, 0, 10, 10});
    EXPECT_EQ(countNot(surface, 0, surface.bounds()), 0);
}

}  // namespace
}  // namespace zk
