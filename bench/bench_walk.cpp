#include <benchmark/benchmark.h>

#include <cstdint>

#include "walk/path_finder.h"
#include "walk/perspective.h"

namespace {

using zk::PathFinder;
using zk::PathRequest;
using zk::WalkMask;
using zk::WalkPath;

// Corner to corner over an 800 x 600 room that is walkable everywhere: the search labels
// nearly every cell of the grid before it meets the target.
void BM_FindPathOpenRoom(benchmark::State& state) {
    WalkMask mask = WalkMask::build(800, 600, [](int32_t, int32_t) { return 1; });
    PathRequest r;
    r.start = {0, 0};
    r.target = {798, 598};
    r.walkStep = 4;
    r.perspective = true;
    r.scale = {.minScaleRow = 100, .maxScaleRow = 500, .minScale = 40, .maxScale = 100};
    PathFinder finder;
    WalkPath path;
    finder.findPath(mask, r, path);  // the first search sizes the grid, queue and path
    for (auto _ : state) {
        finder.findPath(mask, r, path);
        benchmark::DoNotOptimize(path.points.data());
    }
    if (path.target.x != 798 || path.target.y != 598) state.SkipWithError("target not reached");
    state.counters["points"] = static_cast<double>(path.points.size());
}
BENCHMARK(BM_FindPathOpenRoom)->Unit(benchmark::kMillisecond);

// A maze on a 1280 x 1024 display: corridors on every other grid row, joined at
// alternating ends, so the one route runs through half the grid (about 164000 cells).
void BM_FindPathLongMaze(benchmark::State& state) {
    const int32_t gw = 640, gh = 511;  // grid columns; corridor rows stop before the last
    WalkMask mask = WalkMask::build(1280, 1024, [&](int32_t x, int32_t y) {
        int32_t cx = x / 2, cy = y / 2;
        if (cy >= gh) return 0;
        if (cy % 2 == 0) return 1;
        return cx == (cy % 4 == 1 ? gw - 1 : 0) ? 1 : 0;
    });
    PathRequest r;
    r.displayWidth = 1280;
    r.displayHeight = 1024;
    r.start = {0, 0};
    r.target = {0, 2 * (gh - 1)};  // the far end of the last corridor
    r.walkStep = 1;
    PathFinder finder;
    WalkPath path;
    finder.findPath(mask, r, path);
    for (auto _ : state) {
        finder.findPath(mask, r, path);
        benchmark::DoNotOptimize(path.points.data());
    }
    if (path.target.x != r.target.x || path.target.y != r.target.y || path.last() <= 65535)
        state.SkipWithError("the maze route was not walked whole");
    state.counters["points"] = static_cast<double>(path.points.size());
}
BENCHMARK(BM_FindPathLongMaze)->Unit(benchmark::kMillisecond);

}  // namespace
