#include "platform/presentation.h"

#include <gtest/gtest.h>

namespace zk {
namespace {

TEST(Presentation, WholeMultiplesWhenTheyFillTheWindow) {
    EXPECT_EQ(presentationRect(800, 600, 800, 600), (Rect{0, 0, 800, 600}));
    EXPECT_EQ(presentationRect(1600, 1200, 800, 600), (Rect{0, 0, 1600, 1200}));
    // 2x fits a slightly larger window, centred with bars.
    EXPECT_EQ(presentationRect(1700, 1250, 800, 600), (Rect{50, 25, 1650, 1225}));
}

TEST(Presentation, LetterboxedFitOtherwise) {
    // 1.8x on a full-HD screen: bars left and right.
    EXPECT_EQ(presentationRect(1920, 1080, 800, 600), (Rect{240, 0, 1680, 1080}));
    // A window smaller than the game shrinks it, aspect kept.
    EXPECT_EQ(presentationRect(400, 400, 800, 600), (Rect{0, 50, 400, 350}));
    // Degenerate sizes never give an empty picture.
    Rect r = presentationRect(0, 0, 800, 600);
    EXPECT_LT(r.left, r.right);
}

TEST(Presentation, WindowPixelsMapToGamePixels) {
    const Rect one{0, 0, 800, 600};
    EXPECT_EQ(outputToGame(0, 0, one, 800, 600), (Point{0, 0}));
    EXPECT_EQ(outputToGame(799, 599, one, 800, 600), (Point{799, 599}));
    const Rect two{0, 0, 1600, 1200};
    EXPECT_EQ(outputToGame(3, 5, two, 800, 600), (Point{1, 2}));
    EXPECT_EQ(outputToGame(1599, 1199, two, 800, 600), (Point{799, 599}));
    // Letterboxed 1.8x: the bars lie outside the game.
    const Rect hd = presentationRect(1920, 1080, 800, 600);
    EXPECT_EQ(outputToGame(240, 0, hd, 800, 600), (Point{0, 0}));
    EXPECT_EQ(outputToGame(239, 540, hd, 800, 600).x, -1);
    EXPECT_EQ(outputToGame(1679, 1079, hd, 800, 600), (Point{799, 599}));
    EXPECT_EQ(outputToGame(1680, 10, hd, 800, 600).x, 800);
    EXPECT_EQ(outputToGame(960, 540, hd, 800, 600), (Point{400, 300}));
}

}  // namespace
}  // namespace zk

namespace zk {
namespace {

TEST(Presentation, ThePlayersScaleModes) {
    // 1.8x fits 800 x 600 into 1920 x 1080; auto takes it, integer keeps 1x.
    EXPECT_EQ(presentationRect(1920, 1080, 800, 600, PictureScale::Integer),
              (Rect{560, 240, 1360, 840}));
    EXPECT_EQ(presentationRect(1920, 1080, 800, 600, PictureScale::Fit),
              presentationRect(1920, 1080, 800, 600));
    // 1700 x 1250: auto takes the whole 2x, fit the 2.08x.
    EXPECT_EQ(presentationRect(1700, 1250, 800, 600, PictureScale::Fit), (Rect{16, 0, 1683, 1250}));
    EXPECT_EQ(presentationRect(1700, 1250, 800, 600, PictureScale::Stretch),
              (Rect{0, 0, 1700, 1250}));
}

}  // namespace
}  // namespace zk
