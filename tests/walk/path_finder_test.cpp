#include "walk/path_finder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <functional>
#include <random>
#include <vector>

namespace zk {
namespace {

using CellOpen = std::function<bool(int32_t cx, int32_t cy)>;

// A mask whose pixel (x, y) is walkable when grid cell (x / 2, y / 2) is open.
WalkMask cellMask(int32_t width, int32_t height, const CellOpen& open) {
    return WalkMask::build(width, height,
                           [&](int32_t x, int32_t y) { return open(x / 2, y / 2) ? 1u : 0u; });
}

PathRequest walk(WalkPoint start, WalkPoint target, int32_t walkStep = 1) {
    PathRequest r;
    r.start = start;
    r.target = target;
    r.walkStep = walkStep;
    return r;
}

std::vector<int32_t> xs(const WalkPath& p) {
    std::vector<int32_t> v;
    for (const WalkPoint& pt : p.points) v.push_back(pt.x);
    return v;
}

WalkPath run(const WalkMask& mask, const PathRequest& r) {
    PathFinder finder;
    WalkPath path;
    finder.findPath(mask, r, path);
    return path;
}

// One cell high, columns 0 to 20 of grid row `row` walkable, nothing else.
WalkMask corridor(int32_t row = 0) {
    return cellMask(800, 600, [row](int32_t cx, int32_t cy) { return cy == row && cx <= 20; });
}

TEST(FindPath, CorridorPointsFollowTheWalkStep) {
    const WalkMask mask = corridor();
    WalkPath p = run(mask, walk({0, 0}, {40, 0}, 1));
    ASSERT_EQ(p.last(), 19);
    std::vector<int32_t> expected{0};
    for (int32_t x = 2; x <= 36; x += 2) expected.push_back(x);
    expected.push_back(40);  // 38, next to the target, is skipped
    EXPECT_EQ(xs(p), expected);
    for (const WalkPoint& pt : p.points) EXPECT_EQ(pt.y, 0);
    EXPECT_EQ(p.target, (WalkPoint{40, 0}));

    EXPECT_EQ(xs(run(mask, walk({0, 0}, {40, 0}, 4))), (std::vector<int32_t>{0, 8, 16, 24, 40}));
    EXPECT_EQ(xs(run(mask, walk({0, 0}, {40, 0}, 0))), expected);  // 0 walks as 1
    // A step longer than the route leaves the target alone: one tick takes the walker there.
    WalkPath jump = run(mask, walk({0, 0}, {40, 0}, 30));
    EXPECT_EQ(jump.points, (std::vector<WalkPoint>{{40, 0}}));

    // Odd coordinates: the start is kept as given, the target becomes the even pixel below.
    p = run(mask, walk({1, 1}, {41, 1}));
    EXPECT_EQ(p.points.front(), (WalkPoint{1, 1}));
    EXPECT_EQ(p.points.back(), (WalkPoint{40, 0}));
    EXPECT_EQ(p.target, (WalkPoint{40, 0}));
    EXPECT_EQ(p.last(), 19);
}

TEST(FindPath, PerspectiveShortensTheSpacing) {
    PathRequest r = walk({0, 0}, {40, 0}, 6);
    r.perspective = true;
    r.scale = {.minScaleRow = 0, .maxScaleRow = 400, .minScale = 50, .maxScale = 100};
    EXPECT_EQ(xs(run(corridor(), r)), (std::vector<int32_t>{0, 6, 12, 18, 24, 30, 40}));
    r.walkStep = 5;  // 2.5 cells round up to 3
    EXPECT_EQ(xs(run(corridor(), r)), (std::vector<int32_t>{0, 6, 12, 18, 24, 30, 40}));

    // The scale is taken at the pixel row (twice the grid row): at grid row 100 it is the
    // scale of row 200, here 100 percent, so the spacing stays 6 cells.
    r = walk({0, 200}, {40, 200}, 6);
    r.perspective = true;
    r.scale = {.minScaleRow = 100, .maxScaleRow = 200, .minScale = 50, .maxScale = 100};
    EXPECT_EQ(xs(run(corridor(100), r)), (std::vector<int32_t>{0, 12, 24, 40}));

    // A scale of 0 percent still gives a point per cell.
    r = walk({0, 0}, {40, 0}, 6);
    r.perspective = true;
    r.scale = {.minScaleRow = 0, .maxScaleRow = 400, .minScale = 0, .maxScale = 0};
    EXPECT_EQ(run(corridor(), r).last(), 19);
}

TEST(FindPath, BacktrackKeepsItsDirectionThenTriesUpLeftDownRight) {
    // Two rows of cells, columns 0 to 6. Each row is a shortest route; the walk back from
    // the target enters row 1 first and keeps going left rather than turning up.
    WalkMask twoRows =
        cellMask(800, 600, [](int32_t cx, int32_t cy) { return cy <= 1 && cx <= 6; });
    WalkPath p = run(twoRows, walk({0, 0}, {12, 2}));
    EXPECT_EQ(p.points,
              (std::vector<WalkPoint>{{0, 0}, {0, 2}, {2, 2}, {4, 2}, {6, 2}, {8, 2}, {12, 2}}));

    // An open field of 10 x 10 cells and a target below it: the ring search picks cell
    // (3, 9). Of its labelled neighbours the right one (label 13) counts, not the upper
    // or left ones (label 11); from there up is tried before left.
    WalkMask field = cellMask(20, 20, [](int32_t, int32_t) { return true; });
    p = run(field, walk({0, 0}, {6, 26}));
    EXPECT_EQ(p.target, (WalkPoint{6, 18}));
    std::vector<WalkPoint> expected{{0, 0}, {2, 0}, {4, 0}, {6, 0}};
    for (int32_t y = 0; y <= 16; y += 2) expected.push_back({8, y});
    expected.push_back({6, 18});
    EXPECT_EQ(p.points, expected);
}

TEST(FindPath, TargetsOnTheGridBorder) {
    // Column 0, rows 0 to 20: the target's up and left neighbours lie outside the grid.
    WalkMask column =
        cellMask(800, 600, [](int32_t cx, int32_t cy) { return cx == 0 && cy <= 20; });
    WalkPath p = run(column, walk({0, 40}, {0, 0}));
    ASSERT_EQ(p.last(), 19);
    EXPECT_EQ(p.points[0], (WalkPoint{0, 40}));
    EXPECT_EQ(p.points[1], (WalkPoint{0, 38}));
    EXPECT_EQ(p.points[18], (WalkPoint{0, 4}));
    EXPECT_EQ(p.points[19], (WalkPoint{0, 0}));

    // The far corner of an 800 x 600 display, on a mask that reaches further: the cells
    // beyond the display are not part of the grid.
    WalkMask wide = cellMask(1000, 700, [](int32_t, int32_t) { return true; });
    p = run(wide, walk({700, 500}, {798, 598}));
    EXPECT_EQ(p.target, (WalkPoint{798, 598}));
    EXPECT_EQ(p.points.back(), (WalkPoint{798, 598}));
    for (const WalkPoint& pt : p.points) {
        EXPECT_LE(pt.x, 798);
        EXPECT_LE(pt.y, 598);
    }
    // A target beyond the display is replaced through the ring search: the first
    // probe that lands in the grid is (-51, -51) on ring 51.
    p = run(wide, walk({700, 500}, {900, 650}));
    EXPECT_EQ(p.target, (WalkPoint{798, 548}));
    EXPECT_EQ(p.points.back(), (WalkPoint{798, 548}));
}

// Open ground of 100 x 100 cells with a block of unwalkable cells in it.
WalkMask blockMask(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    return cellMask(200, 200, [=](int32_t cx, int32_t cy) {
        return !(cx >= x0 && cx <= x1 && cy >= y0 && cy <= y1);
    });
}

TEST(FindPath, TargetInsideABlockEndsAtTheFirstCellTheRingsMeet) {
    // From cell (15, 14) the ring probes straight up would need ring 5; the probe to the
    // right meets open ground on ring 3 at (21, 14).
    WalkPath p = run(blockMask(10, 5, 20, 20), walk({0, 0}, {30, 28}));
    EXPECT_EQ(p.target, (WalkPoint{42, 28}));
    EXPECT_EQ(p.points.back(), (WalkPoint{42, 28}));
    EXPECT_EQ(p.points.front(), (WalkPoint{0, 0}));

    // Near the bottom edge of a block the downward probe of ring 1 wins.
    p = run(blockMask(10, 10, 20, 20), walk({0, 0}, {22, 38}));
    EXPECT_EQ(p.target, (WalkPoint{22, 42}));
    // On ring 2 both the upward and the rightward probe meet open ground; up comes first.
    p = run(blockMask(10, 10, 20, 20), walk({0, 0}, {36, 24}));
    EXPECT_EQ(p.target, (WalkPoint{36, 16}));
}

TEST(FindPath, WalkerInAClosedPocketStaysInIt) {
    // A pocket of 6 x 6 cells walled off from the open ground around it.
    WalkMask mask = cellMask(200, 200, [](int32_t cx, int32_t cy) {
        bool inWall = cx >= 49 && cx <= 56 && cy >= 49 && cy <= 56;
        bool inPocket = cx >= 50 && cx <= 55 && cy >= 50 && cy <= 55;
        return inPocket || !inWall;
    });
    WalkPath p = run(mask, walk({104, 104}, {20, 20}));
    EXPECT_EQ(p.target, (WalkPoint{100, 100}));  // the probe (m, m) on ring 40
    for (size_t i = 1; i < p.points.size(); ++i) {
        EXPECT_GE(p.points[i].x, 100);
        EXPECT_LE(p.points[i].x, 110);
        EXPECT_GE(p.points[i].y, 100);
        EXPECT_LE(p.points[i].y, 110);
    }
}

TEST(FindPath, RingSearchReachesTheFarthestCellOfTheGrid) {
    // Only cells (0, 0) and (1, 0) of a 10 x 10 grid are open; from the opposite corner
    // the diagonal probe of ring 9 meets the walker's own cell.
    WalkMask corner = cellMask(20, 20, [](int32_t cx, int32_t cy) { return cy == 0 && cx <= 1; });
    WalkPath p = run(corner, walk({1, 1}, {18, 18}));
    EXPECT_EQ(p.points, (std::vector<WalkPoint>{{1, 1}, {0, 0}}));
    EXPECT_EQ(p.target, (WalkPoint{0, 0}));

    // A target a billion cells away on a display as wide as the numbers go: the grid is
    // first met by the probe (-2m, 0) of ring 499999996, at cell (8, 0).
    PathRequest far = walk({0, 0}, {2000000000, 0});
    far.displayWidth = INT32_MAX;
    p = run(cellMask(20, 20, [](int32_t, int32_t) { return true; }), far);
    EXPECT_EQ(p.target, (WalkPoint{16, 0}));
}

TEST(FindPath, NoRouteLeavesTheWalkerWhereItIs) {
    // Walled in on all four sides, with open ground elsewhere.
    WalkMask mask = cellMask(400, 400, [](int32_t cx, int32_t cy) {
        return std::abs(cx - 75) > 1 || std::abs(cy - 75) > 1;
    });
    WalkPath p = run(mask, walk({151, 151}, {10, 10}));
    EXPECT_EQ(p.last(), 0);
    EXPECT_EQ(p.points[0], (WalkPoint{151, 151}));
    EXPECT_EQ(p.target, (WalkPoint{151, 151}));

    // An unwalkable start with one walkable cell beside it and nothing beyond: the ring
    // search finds that cell, but there is nothing to walk back from, so no walk.
    WalkMask lone = cellMask(400, 400, [](int32_t cx, int32_t cy) {
        if (cx == 31 && cy == 30) return true;
        return cx > 40 || cy > 40;  // open ground the walker cannot reach
    });
    p = run(lone, walk({60, 60}, {62, 40}));
    EXPECT_EQ(p.points, (std::vector<WalkPoint>{{60, 60}}));
    EXPECT_EQ(p.target, (WalkPoint{60, 60}));

    // The ring search gives up after as many rings as the display is wide: on a display
    // 20 pixels wide the open rows 290 cells above the target are never met.
    WalkMask tall = cellMask(20, 600, [](int32_t, int32_t cy) { return cy <= 1; });
    PathRequest narrow = walk({0, 0}, {10, 580});
    narrow.displayWidth = 20;
    p = run(tall, narrow);
    EXPECT_EQ(p.points, (std::vector<WalkPoint>{{0, 0}}));
    EXPECT_EQ(p.target, (WalkPoint{0, 0}));

    // A display too small for any grid cell.
    PathRequest tiny = walk({0, 0}, {4, 0});
    tiny.displayWidth = 1;
    p = run(corridor(), tiny);
    EXPECT_EQ(p.points, (std::vector<WalkPoint>{{0, 0}}));
}

TEST(WalkMask, OnlyTheRawValueOneIsWalkable) {
    // Palette indices of 1- to 8-bit masks and packed values of deeper ones alike.
    const uint32_t raw[6] = {0, 1, 2, 255, 0x010001, 0xFFFFFF};
    WalkMask m = WalkMask::build(6, 1, [&](int32_t x, int32_t) { return raw[x]; });
    for (int32_t x = 0; x < 6; ++x) EXPECT_EQ(m.walkable(x, 0), x == 1) << x;
    // Outside the picture nothing walks.
    EXPECT_FALSE(m.walkable(-1, 0));
    EXPECT_FALSE(m.walkable(6, 0));
    EXPECT_FALSE(m.walkable(1, 1));
    EXPECT_FALSE(m.walkable(1, -1));
    EXPECT_EQ(WalkMask::build(-5, 3, [](int32_t, int32_t) { return 1; }).width(), 0);

    // A two-colour mask walks on colour 1; in an 8-bit mask a pixel of index 2 at x = 20
    // cuts the corridor, so the walk stops short of it.
    WalkMask oneBit = WalkMask::build(800, 600, [](int32_t, int32_t y) { return y < 2 ? 1 : 0; });
    EXPECT_EQ(run(oneBit, walk({0, 0}, {40, 0})).points.back(), (WalkPoint{40, 0}));
    WalkMask eightBit = WalkMask::build(800, 600, [](int32_t x, int32_t y) -> uint8_t {
        return y >= 2 ? 0 : x == 20 ? 2 : 1;
    });
    WalkPath p = run(eightBit, walk({0, 0}, {40, 0}));
    EXPECT_EQ(p.target, (WalkPoint{16, 0}));  // the ring probe (-12, 0) on ring 6
    for (const WalkPoint& pt : p.points) EXPECT_LT(pt.x, 20);
}

// Rows 0, 2, 4 ... are corridors across the whole grid, joined by single gaps at
// alternating ends: one route of about GW x GH / 2 cells.
bool serpentineOpen(int32_t cx, int32_t cy, int32_t gw) {
    if (cy % 2 == 0) return true;
    return cx == (cy % 4 == 1 ? gw - 1 : 0);
}

TEST(FindPath, RoutesLongerThan65535CellsWork) {
    const int32_t gw = 512, gh = 383;  // the last row stays closed
    WalkMask mask = cellMask(
        1024, 768, [&](int32_t cx, int32_t cy) { return cy < gh && serpentineOpen(cx, cy, gw); });
    PathRequest r = walk({0, 0}, {0, 764});
    r.displayWidth = 1024;
    r.displayHeight = 768;
    WalkPath p = run(mask, r);
    // 192 corridors of 511 steps and 191 gaps of 2: 98494 steps from start to target.
    ASSERT_EQ(p.last(), 98494 - 1);
    EXPECT_EQ(p.target, (WalkPoint{0, 764}));
    EXPECT_EQ(p.points.back(), (WalkPoint{0, 764}));
    for (int32_t i = 0; i + 1 < p.last(); ++i) {
        int32_t d = std::abs(p.points[i + 1].x - p.points[i].x) +
                    std::abs(p.points[i + 1].y - p.points[i].y);
        ASSERT_EQ(d, 2) << "at point " << i;
    }
}

TEST(FindPath, DisplaysLargerThan1024By768WalkEverywhere) {
    WalkMask open = cellMask(1600, 1200, [](int32_t, int32_t) { return true; });
    PathRequest r = walk({0, 0}, {1598, 1198});
    r.displayWidth = 1600;
    r.displayHeight = 1200;
    WalkPath p = run(open, r);
    EXPECT_EQ(p.target, (WalkPoint{1598, 1198}));
    EXPECT_EQ(p.last(), 799 + 599 - 1);
}

// Reference distances by a plain breadth-first search over open cells.
std::vector<int32_t> distances(const std::vector<uint8_t>& open, int32_t gw, int32_t gh, int32_t sx,
                               int32_t sy) {
    std::vector<int32_t> dist(open.size(), -1);
    std::deque<std::pair<int32_t, int32_t>> q{{sx, sy}};
    dist[sy * gw + sx] = 0;
    while (!q.empty()) {
        auto [x, y] = q.front();
        q.pop_front();
        const int32_t d[4][2] = {{0, -1}, {-1, 0}, {0, 1}, {1, 0}};
        for (auto& s : d) {
            int32_t nx = x + s[0], ny = y + s[1];
            if (nx < 0 || ny < 0 || nx >= gw || ny >= gh) continue;
            if (!open[ny * gw + nx] || dist[ny * gw + nx] >= 0) continue;
            dist[ny * gw + nx] = dist[y * gw + x] + 1;
            q.push_back({nx, ny});
        }
    }
    return dist;
}

TEST(FindPath, RandomMasksGiveShortestConnectedWalks) {
    const int32_t gw = 40, gh = 30;
    std::mt19937 rng(7);
    PathFinder finder;  // one finder for every search: nothing may carry over
    WalkPath p;
    int reachedCount = 0;
    int unreachableCount = 0;
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> open(gw * gh);
        for (auto& c : open) c = rng() % 100 < 35 ? 0 : 1;
        int32_t sx = rng() % gw, sy = rng() % gh, tx = rng() % gw, ty = rng() % gh;
        open[sy * gw + sx] = 1;
        WalkMask mask = cellMask(2 * gw, 2 * gh,
                                 [&](int32_t cx, int32_t cy) { return open[cy * gw + cx] != 0; });
        PathRequest r = walk({2 * sx, 2 * sy}, {2 * tx, 2 * ty});
        r.displayWidth = 2 * gw;
        r.displayHeight = 2 * gh;
        finder.findPath(mask, r, p);
        const std::vector<int32_t> dist = distances(open, gw, gh, sx, sy);
        SCOPED_TRACE(::testing::Message() << "round " << round);

        auto reachable = [&](int32_t cx, int32_t cy) {
            return cx >= 0 && cy >= 0 && cx < gw && cy < gh && dist[cy * gw + cx] >= 0;
        };
        auto nearReachable = [&](int32_t cx, int32_t cy) {
            return reachable(cx, cy - 1) || reachable(cx - 1, cy) || reachable(cx, cy + 1) ||
                   reachable(cx + 1, cy);
        };

        ASSERT_FALSE(p.points.empty());
        EXPECT_EQ(p.points.back(), p.target);
        EXPECT_EQ(p.points.front(), r.start);
        const int32_t n = p.last();
        if (!nearReachable(sx, sy)) {
            // A walled-in walker does not move.
            EXPECT_EQ(n, 0);
            EXPECT_EQ(p.target, r.start);
            continue;
        }
        if (nearReachable(tx, ty)) {
            // The walk ends on the target cell, even an unwalkable one beside open ground.
            ++reachedCount;
            EXPECT_EQ(p.target, (WalkPoint{2 * tx, 2 * ty}));
            const int32_t d = dist[ty * gw + tx];
            if (d >= 2) {
                EXPECT_EQ(n, d - 1);  // a shortest route
            }
        } else {
            // Replaced by a reachable cell that a ring probe met, or no walk when the
            // sparse probes meet none.
            ++unreachableCount;
            EXPECT_NE(p.target, (WalkPoint{2 * tx, 2 * ty}));
            if (n == 0) {
                EXPECT_EQ(p.target, r.start);
            } else {
                EXPECT_TRUE(reachable(p.target.x / 2, p.target.y / 2));
            }
        }
        // Every point between start and target is a cell the walker can reach, one cell
        // after the other; the point next to the target is left out, so the last step spans
        // two cells (or none when the walk turns back onto its target).
        for (int32_t i = 1; i <= n; ++i) {
            int32_t step = std::abs(p.points[i].x - p.points[i - 1].x) +
                           std::abs(p.points[i].y - p.points[i - 1].y);
            if (i < n) {
                ASSERT_TRUE(reachable(p.points[i].x / 2, p.points[i].y / 2)) << i;
                EXPECT_EQ(step, 2) << "point " << i;
            } else {
                EXPECT_TRUE(step == 0 || step == 4) << "last step " << step;
            }
        }
    }
    EXPECT_GT(unreachableCount, 20);  // the sweep exercised both kinds of target
    EXPECT_GT(reachedCount, 50);      // the sweep did exercise reachable targets
}

}  // namespace
}  // namespace zk
