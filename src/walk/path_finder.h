#pragma once
#include <cstdint>
#include <vector>

#include "walk/perspective.h"
#include "walk/walk_mask.h"

namespace zk {

struct WalkPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const WalkPoint&, const WalkPoint&) = default;
};

// One walk, as the game logic asks for it. Coordinates are room pixels.
struct PathRequest {
    WalkPoint start;   // the walker's feet
    WalkPoint target;  // where the walk was told to go
    // Display size from the preferences: the search grid covers it at half resolution.
    int32_t displayWidth = 800;
    int32_t displayHeight = 600;
    // Spacing of path points in grid cells at 100 percent; 0 counts as 1.
    int32_t walkStep = 1;
    // When set, the spacing shrinks with the walker's scale at each point.
    bool perspective = false;
    Perspective scale;  // the walker's rule: room rows, limits of its slot
};

// The walk the game logic follows one point per tick: points 0..last(), where point 0
// is the start and the last point is the target actually used (even coordinates; an
// unreachable target is replaced by the nearest reachable cell). When no route exists
// at all, the path is the start alone and the target is the start.
struct WalkPath {
    std::vector<WalkPoint> points;
    WalkPoint target;
    int32_t last() const { return static_cast<int32_t>(points.size()) - 1; }
};

// Breadth-first search over the walk mask at half resolution (cell (cx, cy) stands for
// pixel (2cx, 2cy)), 4-connected. The grid of labels and the queue are kept between
// searches and only grow, so a search allocates nothing once the finder has seen a room
// of that size; the output path reuses its own storage too.
class PathFinder {
  public:
    void findPath(const WalkMask& mask, const PathRequest& request, WalkPath& out);

  private:
    struct QueueEntry {
        uint32_t cell;  // index into labels_
        uint32_t distance;
    };

    void prepareGrid(const WalkMask& mask, int32_t displayWidth, int32_t displayHeight);
    bool inGrid(int64_t cx, int64_t cy) const {
        return cx >= 0 && cy >= 0 && cx < gridW_ && cy < gridH_;
    }
    uint32_t index(int64_t cx, int64_t cy) const {
        return static_cast<uint32_t>((cy + 1) * paddedW_ + cx + 1);
    }
    // Search label of a cell; 0 for cells outside the grid, unwalkable or not yet found.
    uint32_t labelAt(int64_t cx, int64_t cy) const;
    void enqueue(uint32_t cell, uint32_t distance);
    void expandStart(int64_t sx, int64_t sy);
    void expand(QueueEntry e);
    bool targetReached() const;
    void aimAt(int64_t tx, int64_t ty);
    bool ringSearch(int32_t displayWidth);
    void backtrack(const PathRequest& request, WalkPath& out) const;

    // Cells outside the grid and unwalkable cells carry kBlocked, so the search loop
    // needs no bounds or mask checks: the grid has a blocked border one cell wide.
    static constexpr uint32_t kBlocked = UINT32_MAX;
    std::vector<uint32_t> labels_;
    std::vector<QueueEntry> queue_;
    int32_t gridW_ = 0;
    int32_t gridH_ = 0;
    int32_t paddedW_ = 2;
    size_t head_ = 0;
    size_t tail_ = 0;
    int64_t tx_ = 0;
    int64_t ty_ = 0;
    // Walkable grid cells next to the target: the search ends when one is labelled.
    uint32_t targetNeighbours_[4] = {};
    int targetNeighbourCount_ = 0;
};

}  // namespace zk
